' Cutting areas off figures: parallel to a side (P), in a direction (D) and
' from a hinge (H), through straight sides and through arcs.
KWN
' the corner lot of the guide, its street corner rounded about 8
1,5000,3000,7,5000,3225,8,4975,3225,9,4975,3250,3,4820,3250,4,4820,3000
' a 200 ft square whose west side is an arc about 15 bulging into it
11,200,0,12,200,200,13,0,200,14,0,0,15,100,-100
CUT
P,20000,3,4,101,102            ' off the south side: straight sides only
1,7,C8,9,3,4
CUT
p,1 a,4,3,101,102              ' one acre off the south side: through the arc
1,7,
C8,9,3,4                       ' the figure continued on a second line
CUT
D,44000,S 0 E,103,104          ' the part holding point 1, west of the line
1,7,C8,9,3,4
CUT
H,1000,1,105                   ' from corner 1: ends on the arc
1,7,C8,9,3,4
CUT
H,44800,4,106
1,7,C8,9,3,4,1
' The square listed counterclockwise, the arc taken off it.
CUT
D,10000,N 90 E,107,108
11,C15,14,13,12
CUT
P,30000,13,14,107,108
11,C15,14,13,12
