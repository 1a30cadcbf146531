' Points so far apart that their distance leaves the range of numbers: the
' distance is never written as a number that is no number; 1E154 apart is
' still a distance
KWN
1,1E154,1E154
2,-1E154,-1E154
3,1.5E308,1.5E308
4,-1.5E308,-1.5E308
5,0,0
DAB
3,4
1,5
ARC
5,3,4
TPR
B
5,3,4
