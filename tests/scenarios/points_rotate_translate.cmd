' ROT turns about the origin with the program's value of pi, so a point
' due north comes out a hair south of the east axis.
KWN
1,100,0,5,5000,3000,6,5100,3050
ROT
90 00 00
DSC
1,1
ROT

TAX
5
DSC
5,6
TAX
7
1001
KWN
7,-1e10,-1e10
TAX
7
