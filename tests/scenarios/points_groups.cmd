' A group may be split over lines, and a line may hold several groups.
KWN
1,100,
200
3,100,200,4,300
400
1001,1,1
5,D03,7
DSC
1,3,4,5
KWN
' A code line discards what is pending: point 6 is never defined.
6,100
DSC
6,6
