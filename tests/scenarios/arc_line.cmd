KWN
1,1000,1000,2,1000,1100,3,1100,1000,4,1050,1200,5,890,1010,6,900,1000
ALI
' A line through the centre: the crossing nearer the reference point
50,1,100,6,3,3,51,1,100,6,3,6
AZB
' Two groups on one line; a bearing gives the same point as its azimuth; a
' tangent line touches at one point
52,1,100,6,45 00 00,4,53,1,100,6,N 45 E,4
54,1,100,3,90 00 00,2
ALI
' The new point may replace its reference point
5,1,100,6,3,5
AZB
' A line that misses the arc: no solution, the later group waits
55,1,50,3,90 00 00,2,56,1,100,6,0,3
AZB
' A zero radius; two line points at the same place
57,1,0,6,0,3
ALI
58,1,100,6,6,3
