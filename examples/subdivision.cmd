' Lot 12, Block 3, Maple Court: boundary survey of a lot on the outside of
' a street curve. Feet, on the local grid of the recorded plat.
COM
Lot 12, Block 3, Maple Court
Boundary survey from the found rod at the west front corner (point 1)
KWN
' point, north, east: street centreline monuments from the plat
30,4967.708,4681.633       ' P.O.T. on the back tangent, station 10+00
31,5000.000,5000.000       ' P.I.
32,5223.691,5199.906       ' P.O.T. on the ahead tangent
' the found 5/8 in. iron rod at the west front corner of the lot
1,4970.663,4947.452
COM

Maple Court centreline: radius 200 ft, stations every 25 ft
HA2
1000                       ' station of point 30 (10+00)
' curve, back pt, P.I., ahead pt, tangent (0: from the radius), radius,
' new P.C., new P.T., new center, station interval
1,30,31,32,0,200,33,34,35,25
COM

Closed traverse around the lot, angles right, compass rule
Basis of bearings: the west line of the lot, N 11 30 00 W per plat
TAA
C                                  ' compass rule
1,1,N 11 30 00 W,N 11 30 00 W      ' start, closing pt, start and closing azimuth
2,258 15 04,91.62,                 ' at 1: backsight 4, foresight 2
3,258 14 57,120.02,                ' at 2
4,281 45 06,140.53,                ' at 3
5,281 45 04,120.02                 ' at 4: back to the rod, no comma: done
COM

Adjusted corners (point 5 is where the traverse came back to point 1)
DSC
1,5
COM

Lot 12: courses and area; the front line is an arc about center 35
TPR
B                                  ' bearings
1,C35,2,3,4,1
MAP
' the lot: front arc about 35, then the straight lines back to 1
1,C35,2,3,4,1
