' A crest, a sag and an unsymmetric curve; the textbook crest (+3 %, -2 %,
' 400 ft about PVI 5+00 at 100.00) has its PVC at 3+00, 94.00, its PVT at
' 7+00, 96.00, and its high point at 5+40, 97.60.
VCV
2,50,
0,85,
500,100,400,
1000,90,
1400,80,200,400,
2000,92,300,
2600,86
' Curves that touch: the PVT of one is the PVC of the next. No table; then
' a table of more rows than a report should hold.
VCV
3,
0,100,
400,110,400,
800,100,400,
1200,110
VCV
4,0.001,
0,100,
1000,110
' Stakeout with design elevations; beyond the profile, none.
KWN
1,1000,1000,2,1000,3000
ALN
2,-100,L,1,2
LSO
2,21,540,0,22,1700,-12,23,-50,0
' A profile entered again replaces the one before; the alignment keeps it
' when it is entered again.
VCV
2,0,
0,85,
2000,105
ALN
2,-100,L,1,2
LSO
2,24,1000,0
