' Centre 1; 2 at azimuth 90, 3 at 0, 10 at 10, 11 at 210, 12 at 260, 13 at 280
' (radius 100); 4 and 5 due east at radii 100.005 and 100.02
KWN
1,1000,1000,2,1000,1100,3,1100,1000,4,1000,1100.005,5,1000,1100.02
10,1098.4807753,1017.3648178,11,913.3974596,950
12,982.6351822,901.5192247,13,1017.3648178,901.5192247
ARC
' Four fields: the fourth is the register that keeps the length
1,2,3,7
' Six fields: two arcs, no register
1,2,3,1,3,2
' 200 degrees whichever end comes first
1,10,11,1,11,10
' Ends on both sides of due west: the arc not passing west, 340 degrees
1,12,13
' Radii 100.000 and 100.005 pass; 100.000 and 100.020 are asked about, and
' after No the group waits
1,3,4
1,3,5
1,2,3
' No register above 99
1,2,3,150
DSD
1,99
