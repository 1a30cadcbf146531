' Rotating or translating the store moves no point when one of them would be
' carried beyond the range of numbers
KWN
1,1.5E308,1.5E308,2,-1.5E308,-1.5E308,3,100,0
ROT
45
TAX
1
DSC
3,3
CLR ' without the far points both work
1,2
ROT
90
TAX
3
DSC
3,3
