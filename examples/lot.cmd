' Lot 7, Block 2 -- boundary of a residential lot, coordinates in feet.
COM
Lot 7, Block 2, Oak Ridge Subdivision
Found monuments at the four corners
KWN
' point, north, east
1,5000.000,4000.000
2,5000.000,4150.000
3,4820.000,4150.000
4,4820.000,4000.000
DSC
1,4
COM

Record courses: the four lines, then the diagonal 1-3 as a check
DAB
1,2,2,3,3,4,4,1
1,3
COM

Rear utility easement 10 ft wide: its north line from 4 and 3
LZB
4,5,10.00,N 0 00 00 E
3,6,10.00,N 0 00 00 E
COM

Courses and area of the lot, bearings
TPR
B
1,2,3,4,1
MAP  ' the lot on the map: the corners in order, back to the first
1,2,3,4,1
5,6
