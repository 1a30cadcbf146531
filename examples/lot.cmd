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
MAP  ' the lot on the map: the corners in order, back to the first
1,2,3,4,1
