KWN
1,1000,1000,2,1100,1000,3,1100,1100,4,1000,1100
DES
1,IRON PIN FOUND,2, 5/8 REBAR SET ,3,FENCE CORNER
' DSC keeps its rows; an empty description clears it
DSE
1,4
DSC
1,4
DES
3,,4,MAG NAIL
' Moves keep descriptions, a new point over a number clears its own
DSE
1,4
ROT
N 0 0 0 E
TAX
4
DSE
1,4
LZB
4,2,10,N 0 0 0 E
' Refusals: a point outside the store, an undefined point, a long description
DSE
1,4
DES
1001,X
DES
9,CURB
DES
1,12345678901234567890123456789012345678901234567890123456789012345
DES
1,1234567890123456789012345678901234567890123456789012345678901234
' CLR clears the description with the point, a point file brings none
DSE
1,1
CLR
1,1
KWN
1,5,5
DSE
1,1
DES
1,NEW,2,ALSO
DCF
lot7
RCF
lot7
DSE
1,2
