KWN
1,1,1,2,2,2,3,3,3,5,5,5,9,9,9,10,10,10
CLR
5,9
9,5
DSC
1,10
CLR
' a line holding only a comment clears every point
DSC

KWN
1,1,1
CLR
