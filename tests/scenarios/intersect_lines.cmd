' Points: 1 (1000,1000), 2 due east, 3 due north, 5 between them
KWN
1,1000,1000,2,1000,1100,3,1100,1000,5,1050,1020
ZBI
' A direction and its reverse define the same line; equal directions never
' meet and leave the new point undefined
40,1,45 00 00,2,315 00 00
41,1,225 00 00,2,N 45 W
42,1,45 00 00,2,45 00 00
PTS
43,1,3,2,5
TOF
' Feet on an east line and a north line; the foot may replace the point off
' the line
30,5,1,2,31,5,1,3
5,5,1,2
TOF
' Two line points at the same place give no line: the group is refused and
' tried again, ahead of the next line's fields
32,3,1,1
33,5,1,2
PTS
44,1,1,2,3
ZBI
' A new point number beyond the store
1001,1,45 00 00,2,315 00 00
