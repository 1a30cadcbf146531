' The Miller tract: a deed checked from its record calls, two acres cut off
' its north end for sale, and the descriptions of both parts written.
COM
The Miller tract, deed book 412, page 77
Map check of the record calls from the iron pipe at the NW corner
KWN
1,10000.00,5000.00                 ' the iron pipe at the point of beginning
MCK
1,101                              ' from the pipe; corners stored from 101
L,N 89 59 30 E,420.00,             ' north line
L,S 0 00 30 E,300.00,              ' east line
L,S 89 59 30 W,150.00,             ' along the road to the P.C.
T,400.00,209.44,R,                 ' the road curve, tangent, to the right
L,N 60 00 30 W,80.83,
L,N 0 00 30 W,206.00               ' west line back to the pipe: the check
COM

Center of the road curve, 400 ft from the P.C. on the radial
LZB
103,20,400.00,N 0 00 30 W
COM

Two acres off the north end, by a line parallel to the north line
CUT
P,2A,1,101,201,202                 ' new corners 201 (east), 202 (west)
1,101,102,103,C20,104,105
COM

Descriptions of the two acres and of the remainder
LDW
the iron pipe at the northwest corner of the Miller tract,S,miller
1,101,201,202,105
the iron rod set at the northeast corner of the remainder (point 201)
201,102,103,C20,104,202
