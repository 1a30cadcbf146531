' County Road 12 realignment: the centreline from the plans (a tangent, a
' spiralled curve to the right, a simple curve to the left), its profile
' with a crest and a sag, the station and offset of the corners of Lot 5,
' centreline stakes every 50 ft through the first curve, and the
' alignment out to the design engineer (LandXML). Feet.
COM
County Road 12 realignment, Sta 10+00 to 38+67
KWN
1,5000.0000,5000.0000,2,5424.2641,5424.2641      ' POB and TS
3,5593.4073,5608.1222,4,4803.6592,6221.5536      ' SC and the curve's centre
5,5781.2152,6010.8775,6,5813.3355,6258.6305      ' CS and ST
7,5856.9134,6756.7279,8,6653.8692,6687.0033      ' PC and the curve's centre
9,5998.5475,7145.8644,10,6227.9781,7473.5252     ' PT and the end
ALN
1,1000,                            ' alignment 1 starts at station 10+00
L,1,2,                             ' tangent from the POB to the TS
S,250,1000,R,                      ' spiral in: 250 ft into a 1000-ft curve, right
C,3,4,5,                           ' the curve from the SC about 4 to the CS
S,250,1000,R,                      ' spiral out of it
L,6,7,                             ' tangent from the ST to the PC
C,7,8,9,                           ' curve to the left about 8
L,9,10                             ' tangent to the end: no comma, complete
VCV
1,100,                             ' profile of alignment 1, elevations every 100 ft
1000,520,                          ' PVI at the start
1600,535,400,                      ' crest: a 400-ft curve
2300,524.5,300,                    ' sag: a 300-ft curve
3800,554.5                         ' PVI at the end: no comma, complete
COM

Lot 5, corners from the plat
KWN
11,5616.82,5711.29,12,5701.99,5883.01,13,5561.62,5935.91,14,5489.77,5791.02
SOF
1,11,12,13,14
COM

Centreline stakes every 50 ft, TS to past the SC
LSO
1,101,1600,0,102,1650,0,103,1700,0
104,1750,0,105,1800,0,106,1850,0,107,1900,0
LXW
cr12                               ' points and alignment 1 with its profile
