KWN
1,1000,1000,2,1000,1100
ARR
' Left and right of the line from the first centre to the second; a side
' field with a leading blank is not L, "Left" counts as L; circles that
' touch meet at one point
10,1,60,2,60,L
11,1,60,2,60,R,13,1,70,2,50,L
14,1,60,2,60, L,15,1,60,2,60,Left
16,1,60,2,40,L
ARR
' Circles too small to meet: refused, and tried again with the next line
12,1,40,2,40,L
17,1,70,2,50,R
ARR
' Coincident centres, then a zero radius
18,1,60,1,60,L
ARR
18,1,0,2,100,L
ARR
' A new point beyond the store is refused before anything is stored
1001,1,60,2,60,L,19,1,60,2,60,L
