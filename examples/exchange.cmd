' Lot 4, Block 2, Cedar Ridge: the found pins come in from the data
' collector (lot4-field.csv), the record boundary is run between them, and
' the lot goes out to the field crew (CSV), the drafter (DXF) and the
' design engineer (LandXML). Feet.
COM
Lot 4, Block 2, Cedar Ridge
PNR
lot4-field                         ' the collector's file: lot4-field.csv
DSE
1,1000
COM

Record boundary from the plat, from the found pin 1 to the found pin 2
TAB
L                                  ' length rule
1,2                                ' start at pin 1, close on pin 2
10,N 89 12 40 E,140.00,            ' back line to the NE corner
11,S 0 47 20 E,165.00,             ' east line to the SE corner
12,N 84 40 24 W,140.80             ' front line: chord of the curve
CLR
12,12                              ' the traverse's end, now on pin 2
ARR
' the front curve's center: 250 ft from both ends, on the street side
20,11,250,2,250,L
DES
10,IRS 5/8 CAP LS 4107,11,IRS 5/8 CAP LS 4107,20,RADIUS POINT
COM

Lot 4: area, with the front line an arc about center 20
ARE
1,10,11,C20,2
DSE
1,1000
PNW
lot4-stake,10,11                   ' the corners to set, for the collector
DXF
lot4,1,10,11,C20,2,1               ' the lot for the drafter: lot4.dxf
LXW
lot4                               ' points and the lot for the engineer
1,10,11,C20,2
