' A number beyond the range of the program's numbers is reported as any
' other field that cannot be read: where a point would be stored from it,
' nothing is stored
KWN
1,1E400,500
2,100,1D999
3,1000,1000
DSC
1,3
ROT ' degrees are held in single precision: 1E39 degrees is beyond it
1E39
DSC
3,3
LZB
3,4,100,N 1E39 E
RTH
D1 = 1E400 + 2
DSD
1,1
MAP ' a shift is held in single precision too
>1E39,3
DSC
3,3
