' Quarter circle of radius 100 about point 3, and a 200 ft square parcel.
KWN
1,100,0,2,0,100,3,0,0
11,1000,1000,12,1000,1200,13,800,1200,14,800,1000
' The arc as first course and as last course, clockwise and counterclockwise.
ARE
1,C3,2,3,1
1,3,2,c3,1
' The square open and closed, either way round: 40000 sq ft each.
11,12,13,14
11,12,13,14,11
14,13,12,11
' One or two points enclose nothing.
11
11,12
TPR
Z,1,C3,2,3,1
11,12,13,14
11,12,13,14,11
