' GDS when the reference point of GRF has become undefined: positions are
' found from it, so the listing is refused as GPS refuses to place points.
KWN
1,5000,3000,2,5100,3100,3,5200,3300
GRF
1,N40 12.345,W111 50.120
GDS
1,3
ZBI                      ' lines that do not meet leave point 1 undefined
1,2,0,3,0
GDS
1,3
GPS
4,N40 12.400,W111 50.100
GCS
EPSG:3566
GRF
1,N40 12.345,W111 50.120
ZBI
1,2,0,3,0
GDS
1,3
