KWN
1,0,0,2,1000,0,3,1500,866.025,4,2000,0,5,1000,0
' Neither tangent nor radius: the group waits and blocks the groups behind it.
HA1
1,1,2,3,0,0,11,12,13
2,1,2,3,0,500,11,12,13
' Tangents in line, a back or ahead point on the PI, and point numbers
' outside the store: each group is refused and dropped, nothing is stored.
HA1
3,1,2,4,0,500,14,15,16
4,5,2,3,0,500,14,15,16
5,1,2,5,0,500,14,15,16
6,1,2,3,0,500,14,1001,16
7,1,0,3,0,500,14,15,16
' An interval of zero or below: the curve is reported without a field table.
DSC
14,16
HA2
0,8,1,2,3,0,500,14,15,16,0
HA3
0,9,30,0,500,-25,1000
10,0,0,500,50,1000
' An interval far too small for a field table.
11,30,0,500,0.001,1000
' A station that cannot be read.
HA3
1E999
' Stations far beyond the interval's precision go straight to the PT, and a
' tangent too long to compute refuses its curve without storing anything.
HA3
1E17,12,30,0,500,1,1000
HA1
13,1,2,3,1E308,0,17,18,19
DSC
17,19
