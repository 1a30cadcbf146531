' A group whose angle or distance field gives no value stores nothing: the
' field is reported, the group consumed and the rest of its line left, as
' for an invalid point number. An empty field still reads as 0.
KWN
1,1000,1000,2,1100,1000
3,D100,500,4,500,600
5,1E400,0
LZB
1,5,100,N 95 00 E,1,6,100,N 45 00 E
1,7,D100,90
1,8,,0
LAD
1,2,9,100,N 95 00 E
LLN
1,2,10,-D100
PLL
1,2,D100,11,12
ZBI
13,1,N 45 00 E,2,S 95 00 W
ARR
14,1,D100,2,100,L
TAN
15,1,D100,16,2,10,L,O
AZB
17,1,100,1,N 99 00 E,2
CPA
1,2,18,D100
HA1
1,1,2,4,D100,500,19,20,21
ROT
N 99 00 E
TAA
C,1,1,N 99 00 E,0,
2,90,100,3,90,100
TAA
C,1,1,0,0,
2,N 99 00 E,100,3,90,100
DSC
1,25
