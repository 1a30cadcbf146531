' What CUT refuses: a message, and nothing stored.
KWN
1,0,0,2,100,0,3,100,100,4,0,100,5,50,50,6,0,50
' an L: 100 by 50 ft with a 50 by 50 ft arm
31,0,0,32,100,0,33,100,50,34,50,50,35,50,100,36,0,100
' a U: a 300 by 20 ft base and two 100 by 80 ft arms
21,0,0,22,0,300,23,100,300,24,100,200,25,20,200,26,20,100,27,100,100,28,100,0
CUT
P,10000,1,2,101,102            ' the whole square
1,2,3,4
P,2.5A,1,2,101,102
1,2,3,4
P,500,1,3,101,102              ' no side from 1 to 3
1,2,3,4
P,500,4,1,101,102              ' 4 to 1 is an arc here
1,2,3,4,C6,1
H,500,5,101                    ' 5 is not a corner
1,2,3,4
H,500,C6,101
1,2,3,C6,4
D,500,N 0 E,101,102            ' a bow tie
1,3,2,4
P,500,1,2,101,4                ' 4 is a corner of the figure
1,2,3,4
P,500,1,2,101,101              ' refused: its figure is passed over
1,2,3,4
D,3000,N 45 E,101,102          ' the diagonal through 1: no part of 3000 holds 1
1,2,3,4
P,15000,21,22,101,102          ' parallel to the U's base: crosses both arms
21,22,23,24,25,26,27,28
H,2000,32,101                  ' from the L's corner 32 the line leaves the L
31,32,33,34,35,36
X,500,1,2,101,102              ' not a method: its figure is passed over
1,2,3,4
P,-500,1,2,101,102
1,2,3,4
P,500 sq ft,1,2,101,102
1,2,3,4
P,500,1,2,101                  ' a new point short
1,2,3,4
D,500,N 45,101,102             ' a bearing without its E or W
1,2,3,4
P,500,1,7,101,102              ' point 7 is not defined
1,2,3,4
P,500,1,2,101,102
1,2,C7,3,4                     ' refused as ARE refuses it
DSC
101,102
