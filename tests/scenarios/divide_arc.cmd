KWN
1,1000,1000,2,1000,1100,3,1100,1000
DVA
' From due north clockwise to due east; from due east clockwise through south
' and west to due north; thirds
3,1,2,2,14
2,1,3,2,15
3,1,2,3,16,17
KWN
2,1000,1100.02
DVA
' Radii differing by more than 0.01 are asked about: Yes uses the mean
' radius; No leaves the group waiting, to be asked about again
3,1,2,2,14
3,1,2,2,18
3,1,2,2,19
DVA
' A count beyond what can be held
3,1,2,48
KWN
1,1000,1000,2,1000,1100
DVA
' A new point may replace the center: the arc's points are read once
3,1,2,3,1,17
