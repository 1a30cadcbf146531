(The rectangle of 200 x 100 ft from point 1 with the last angle read
10 seconds short: the azimuth carried round ends 10 seconds before the
closing azimuth, shown as 359 59 50, and each of the four angles takes
+2.50 seconds (listed as 270 0 2: a half second goes to the even
second). Adjusted, the first three courses turn 2.5, 5 and 7.5
seconds: the end lies 0.0024 ft west and 0.0048 ft north of point 1,
0.0054 ft in all, S 26 34 E back to it, 1:110700. Not adjusted (second
run), the last course runs 10 seconds left of north: the end lies
100 x 10 / 206265 = 0.0048 ft west of point 1.)
KWN
1,1000,1000
TAA
C,1,1,0,0
10,270,200,11,270,100,12,270,200,13,269 59 50,100
DSC
10,13
TAA
C,1,1,0,0
10,270,200,11,270,100,12,270,200,13,269 59 50,100
DSC
10,13
