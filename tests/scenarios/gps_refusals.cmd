GPS
' Without a reference, complete texts place points at N 0 E 0
1,N40 12.000,W111 50.000
GDS
1,1
GPS
' An abbreviated text needs a reference; the group stays pending and is tried again
2,.5,48
3,N40 12.000,W111 50.000
DSC
1,3
GRF
' GRF on an undefined point puts it at N 0 E 0; numbers above the store are passed over
1001,N1 0,E1 0
0,N40 12.000,W111 50.000
9,N40 12,W111 50
DSC
9,9
GPS
' Texts that cannot be split into letter, degrees and minutes
2,N40,W111 50
GPS
2,.5,W111 50
GPS
2,N40 12x,W111 50
GPS
2,N1E9 0,W111 50
GPS
' Point numbers outside the store
0,N40 13,W111 50
1001,N40 13,W111 50
' CLR drops the reference
CLR
1,1
GPS
4,13,50
GDS
9,9
GRF
' A CLR stopped by a refused range still drops the reference, which the
' range cleared before it may have held
9,N40 12.000,W111 50.000
CLR
9,9,0,1
GPS
4,N40 12.500,W111 49.000
DSC
4,4
