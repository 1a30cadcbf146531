KWN
1,1000,1000,2,1000,1100
TAN
' Outer tangents right and left, the inner tangent; side and kind fields are
' compared whole, so " L" and "Left" are right-hand; a zero radius gives the
' tangent from a point to a circle
20,1,10,21,2,10,R,E
20,1,10,21,2,10,L,E
20,1,10,21,2,10,R,I
22,1,10,23,2,10, L,E,24,1,10,25,2,10,Left,E
26,1,0,27,2,60,R,E
TAN
' No inner tangent of overlapping circles, tried again with the next line;
' none for coincident centres
28,1,60,29,2,60,R,I
30,1,10,31,2,10,R,E
TAN
28,1,10,29,1,20,R,E
KWN
1,1000,1000,2,1000,1100
TAN
' The first new point may replace the second center: the centers are read once
2,1,10,21,2,10,R,E
