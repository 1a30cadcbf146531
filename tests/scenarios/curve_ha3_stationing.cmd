' Deflection 30 degrees, radius 500, stations every 50 ft, PI 1000 ft from
' the starting station 0+00; the second curve's PI is 1000 ft further on,
' measured from the first PI (station 993.850 after the first curve).
HA3
0,1,30,0,500,50,1000
2,30,0,500,50,1000
' A new code line reads a new starting station. The deflection's sign is
' ignored; a given tangent sets the radius (100 / tan 15 = 373.205), and a
' PC on a full station gives its own row first.
HA3
0
3,-30,100,0,50,100
' A 10 degree arc that reaches no full station: the PC and PT rows only.
HA3
1000
4,10,0,100,50,8.749
' A radius typed negative is taken by its size: curve 4 again.
HA3
1000
7,10,0,-100,50,8.749
' A PC before station 0+00: every full station is listed, -100 included.
HA3
0
5,30,0,500,50,14
' A PC a hair below a full station (the tangent of 45 degrees with the
' program's pi is not exactly 1) gets one row, not two.
HA3
0
6,90,0,500,50,150
