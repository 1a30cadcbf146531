(A loop by deflections from point 1, whose last station 13 stands on 1,
taken into LSQ with T: the first course's direction from the start azimuth
and the first deflection, the other deflections as angles from the back
station (deflection plus 180 degrees), the closing azimuth held. Station
13 is stored on point 1. Point 10 keeps its description when LSQ moves
it.)
KWN
1,5000.00,3000.00
TAA
C
1,1,0,0
10,D90 00 10,200.02,
11,D89 59 55,100.01,
12,D90 00 05,199.98,
13,D90 00 00,100.00
DES
10,IRON PIN
LSQ
5,0.01,5,90
T
DSC
10,13
DSE
10,10
(No degrees of freedom: one fixed point, a direction and a distance place
point 20 exactly; no reference variance or chi-square test, the ellipse
from the a-priori errors. Answered No: point 20 stays undefined.)
LSQ
10,0.02,0
F,1,Z,1,20,N 45 E,D,1,20,100
DSC
20
