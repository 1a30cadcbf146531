KWN
1,1000,1000,3,1100,1000
CPA
' A quarter of the circumference, clockwise and counter-clockwise
1,3,60,157.0796327,1,3,61,-157.0796327
CPA
' A point on the centre lies on no arc: refused, tried again with the next
' line
1,1,62,10
1,3,63,0
