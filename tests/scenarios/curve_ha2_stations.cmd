' The HA1 tangents with stationing: point 1 is station 10+00.
KWN
1,0,0,2,1000,0,3,1500,866.025,5,2500,866.025
HA2
1000,1,1,2,3,0,500,11,12,13,100
' The next curve, to the left, starts from the first PI: its back point is 2.
2,2,3,5,0,400,14,15,16
' Nine fields are one short of a group: nothing until the interval comes.
100
DSC
11,16
