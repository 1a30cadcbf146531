' A 200 ft square whose west side is an arc about point 5, bulging into the
' parcel: 40000 - 20000 (pi/4 - 1/2) = 34292.037 sq ft either way round.
KWN
1,200,0,2,200,200,3,0,200,4,0,0,5,100,-100
ARE
1,2,3,4,C5,1
1,C5,4,3,2,1
' The arc alone, closed by its chord: the segment, 20000 (pi/4 - 1/2) =
' 5707.963 sq ft.
1,C5,4
' Radii 100 and 100.001 pass; 100 and 100.002 ask, and No drops the figure.
KWN
6,0,0,7,100,0,8,0,100.001,9,0,100.002
ARE
7,C6,8,6,7
7,C6,9,6,7
TPR
Z,7,6,9,C6,7
ARE
7,C6,9,6,7
7,C6,8,6,7
