(Points 10, 11 and 12 were stored from a traverse out of point 1 that
should have ended on point 2; 12 lies 0.160 ft north and 0.211 ft west of
it. PAJ moves 10, 11 and 12 so that 12 falls on 2 and leaves 1 and 2
alone. Compass rule by hand, courses 200.000, 250.000 and 180.000 ft:
10 moves 200/630 of the misclosure: 0.051 S and 0.067 E. Then a loop of
four courses from point 1 back onto it by the length rule: every course
keeps its direction, 23 falls on 1.)
KWN
1,5000,5000,2,5303.5,5393
10,5173.205,5100,11,5129.793,5346.202,12,5303.66,5392.789
PAJ
C,1,10,11,12,2
DSC
1,2,10,12
(Each line is a list of its own: the list above is not taken again in
front of the next one. A trailing comma carries a list to the next line.)
KWN
20,5100.02,5000.01,21,5100.05,5100.03,22,5000.08,5100.01,23,5000.03,4999.95
PAJ
L

1,20,21,
22,23,1
DSC
20,23
