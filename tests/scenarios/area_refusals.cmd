KWN
1,100,0,2,0,100,3,0,0
' Refused figures are reported and dropped, never joined to the next line.
ARE
C3,2,3,1
1,C3
1,2,3,1
1,C3,C2,3,1
1,1001,3,1
1,C1001,2,1
1,C-2,3,1
0,1,2
1,2,3,1
TPR
Z,1,2,C3
1,2,3,1
' Coordinates too large for an area.
KWN
5,1E300,1E300,6,-1E300,1E300
ARE
5,6,1,5
