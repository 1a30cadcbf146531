(A 200 x 100 ft rectangle run clockwise from point 1 and closing on it:
arriving at point 1 heading north, every angle from the back course is
270 degrees, so the azimuth carried round, 0 + 4 x (270 + 180) = 1800
degrees, is five whole turns, the closing azimuth 0: no angular error and
no linear error.)
KWN
1,1000,1000
TAA
C,1,1,0,0,
10,270,200,11,270,100,
12,270 00 00,200,13,270,100
DSC
10,13
(The same rectangle by deflections of 90 degrees right; only the last
angle carries the D, which makes every angle a deflection.)
TAA
C,1,1,0,0
20,90,200,21,90,100,22,90,200,23,D90,100
DSC
20,23
