(Two courses out of point 1 closing on point 2: 45 and 135 degrees of
100 ft each end 141.421 ft east of point 1; point 2 lies 141.500 ft east,
so the end falls 0.079 ft short to the west: bearing N 90 E to the
closing point, 200 / 0.0786 = 1:2543. The compass rule moves station 10
half of it east.)
KWN
1,5000,4000,2,5000,4141.5
TAB
C
1,2,
10,45,100,11,135,100
DSC
10,11
TAB
C,1,2,10,45,100,11,135,100
DSC
10,11
TAB
c,1,2,10,N 45 E,100,
11,S 45 E,100
DSC
10,11
(A trailing comma may also split a station between two lines.)
TAB
C,1,2,10,45,
100,11,135,100
DSC
10,11
(Without the trailing comma the first station line closes the traverse
at once; the line after it is not added to the computed traverse.)
TAB
C,1,2,10,45,100
11,135,100
DSC
10,11
