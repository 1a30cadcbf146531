' Map checks of record calls: straight calls, curves to both sides by their
' chord (C), tangent to the course before (T) and by their radial (N).
KWN
1,5000.00,3000.00
MCK
1                              ' no corners stored
L,S 0 00 00 E,150.00,
C,S 45 00 00 E,70.71,50.00,L,  ' chord 70.71 for 70.711: 89 59 56
L,N 90 00 00 E,100.00,
N,N 0 00 00 E,50.00,90 00 00,L,
L,N 0 00 00 W,150.00,
L,S 89 59 50 W,200.00
' The quarter-circle lot: 100 ft north, a tangent curve right of radius 100
' through 90 degrees, 200 ft south, 100 ft west; corners stored from 11.
' Area 10000 + 2500 pi = 17853.982.
1,11
L,N 0 E,100,T,100,157.0796327,R,L,S 0 E,200,L,S 90 W,100
DSC
11,14
MCK
' A half circle closed by its diameter: no tangent length; 1250 pi.
1
N,N 90 E,50,180 0 0,L,L,S 90 W,100
' A curve of more than a half circle (a cul-de-sac bulb), called by its
' radial and central angle: 270 degrees.
1
L,N 0 E,50,
N,N 90 E,25,270 0 0,R,
L,S 90 W,25,
L,S 0 E,25
' Calls that cannot exist: each figure is refused whole, nothing stored.
1,21
L,N 0 E,100,C,N 45 E,300,100,R,L,S 0 E,100
1,21
L,N 0 E,100,C,N 45 E,100,0,R
1,21
T,100,50,R,L,S 0 E,10
1,21
L,N 0 E,10,T,100,700,L
1,21
L,N 0 E,10,N,N 90 E,100,-10,R
1,21
L,N 0 E,-10,L,S 0 E,10
1,21
X,N 0 E,10,                    ' not a call: the rest of the figure is passed over
L,S 0 E,10
1,21
L,N 0 E,10,C,N 45 E,10,100,Q
1,21
L,N 0 E,10,C,N 45 E
1,21
L,N 45,10,L,S 0 E,10              ' a bearing without its E or W
1,21
L,N 0 E,D100                   ' no such distance register
1,999                          ' corners 999 to 1001: beyond the store
L,N 0 E,10,L,N 90 E,10,L,S 0 E,10
1,1                            ' the corners would replace the start
L,N 0 E,10,L,S 0 E,10
DSC
21,22
MCK
1001                           ' a start outside the store
