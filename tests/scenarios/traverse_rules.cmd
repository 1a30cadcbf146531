(An open traverse of four courses from point 1 to the known point 2. The
courses end at N 5252.357, E 5533.743; point 2 lies 0.157 ft east and
0.107 ft south of that: 0.190 ft, S 55 45 E, 1:4114 over 780 ft. The same
traverse by the compass rule, by the length rule, and not adjusted. The
length rule changes lengths only: station 10 stays on N 30 E from point 1.)
KWN
1,5000,5000,2,5252.25,5533.9
TAB
C,1,2
10,N 30 E,200,11,S 80 E,250,12,15,180,13,110,150
DSC
10,13
TAB
L,1,2
10,N 30 E,200,11,S 80 E,250,12,15,180,13,110,150
DSC
10,13
TAB
L,1,2
10,N 30 E,200,11,S 80 E,250,12,15,180,13,110,150
DSC
10,13
