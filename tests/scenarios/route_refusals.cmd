' Alignments refused: the number, the elements, the joins. A refused
' alignment's lines pass over up to the line without a trailing comma.
KWN
1,5000.0000,5000.0000,2,5424.2641,5424.2641,3,5593.4073,5608.1222,4,4803.6592,6221.5536
5,5781.2152,6010.8775,6,5813.3355,6258.6305,7,5856.9134,6756.7279,8,6653.8692,6687.0033
9,5998.5475,7145.8644,10,6227.9781,7473.5252,20,5000,5000
ALN
21,0,
L,1,2
0
X,1,2
2,0,S,100,500,R
2,0,L,1,2,S,250,1000,X
2,0,L,1,2,S,0,1000,R
2,0,L,1,2,S,4000,1000,R
2,0,L,1,11
2,0,L,1,20
2,0,C,1,1,2
2,0,L,1,2,T,3,4
2,0,L,1,2,S,250,1000
3
2,0,
L,1,999,
C,3,4,5,
S,250,1000,R
' A PT off its curve, and a tangent that starts away from the curve's end:
' answered No, nothing is defined; answered Yes, the report lists them.
ALN
4,0,
L,1,2,S,250,1000,R,C,3,4,6,L,7,10
4,0,
L,1,2,S,250,1000,R,C,3,4,6,L,7,10
' Past the start and the end, and outside the kink at the tangent's start:
' no perpendicular reaches that point.
KWN
31,4900,4900,32,6300,7600,33,5835,6507
SOF
4,31,32,33,1
' Station and offset refused: an alignment not defined, a point not
' defined; the line stops at the refused group.
SOF
5
4,11,1
' Stakeout refused: off the alignment, a point number outside the store
' (the group after it waits for a next line).
LSO
4,30,-10,0
31,5000,0
1001,1000,0,32,1000,0
' Profiles refused: the first line, a PVI line, too few PVIs, a curve at
' the first PVI, stations that do not rise, curves that overlap, a
' negative curve length.
VCV
1,50,0
1,50,
1000,500,
1500,510,100,100,100
VCV
1,50,
1000,500
VCV
1,50,
1000,500,200,
1500,510
VCV
1,50,
1000,500,
900,510
VCV
1,50,
1000,500,
1500,510,600,
1700,505
VCV
1,50,
1000,500,
1500,510,-100,200,
1700,505
