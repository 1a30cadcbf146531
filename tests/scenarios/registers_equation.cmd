RTH
' Distances: a literal, a copy, the four operators and a power
D1=100.5
D2 = D1
D3 = D1 * 2
d4 = d3 - d1
D5=D4/4
D6=D5+D1
D7=D5^2
' An angle equation reads plain numbers as degrees, minutes and seconds
A1=45 30
A2 = 10 15 30
A3 = A1 + A2
A4=A3-A1
' Zero minus a value gives a negative register
D8=0-5
DSD
1,8
DSA
1,4
RTH
' Rejected forms leave every register as it was
D1=D2+D3-D4
D1+D2=D3
D1=
X1=D2+D3
=D2
D100=5
D-1=5
D1=D2/0
D1=D8^.5
DSD
1,1
RTH
' An empty line is no equation and leaves the listing before it current

DSD
2,2
