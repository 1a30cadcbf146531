' A stored point that is not defined gives no result: each command that
' reads point 9 says so, computes nothing and stores nothing; the next line
' goes on with defined points
KWN
1,0,0
2,100,0
3,0,100
DAB
1,9
1,2
AZM
1,9,1
DIS
1,1,9
ANG
1,1,2,9
TAN
50,9,10,51,1,10,L,O
PLL
1,9,10,50,51
LZB
9,50,100,N 45 0 0 E
1,50,100,N 45 0 0 E
LAD
1,9,51,100,90
LLN
9,2,52,10
DVA
2,9,3,2,53
DVL
1,9,2,53
PTS
54,1,9,2,3
ZBI
54,9,N 0 0 0 E,1,N 90 0 0 E
ARR
54,1,100,9,100,L
TOF
54,9,1,2
ALI
55,1,100,9,2,3
ALI
55,1,100,2,9,3
AZB
55,1,100,2,N 0 0 0 E,9
CPA
9,2,56,10
ARC
1,2,9
HA1
1,9,1,3,10,0,57,58,59
HA2
0
1,2,1,9,10,0,57,58,59,50
ARE
1,2,9,3
TPR
B
1,C9,3
PAJ
C
1,2,9
TAX
9
KWN ' a geographic reference that has become undefined places nothing
8,0,0
GRF
8,N40 0.000,W111 0.000
KWN
8,-1E10,-1E10
GPS
60,N40 0.100,W111 0.100
DSC

