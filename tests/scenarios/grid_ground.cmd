' Grid and ground on NAD83 / Utah Central (ftUS). Grid values from
'   cs2cs -E -f %.6f EPSG:4269 EPSG:3566
' scale factor and convergence at the control point from
'   proj -V +proj=lcc +lat_0=38.3333333333333 +lon_0=-111.5 +lat_1=40.65
'     +lat_2=39.0166666666667 +x_0=500000.00001016 +y_0=2000000.00001016
'     +ellps=GRS80 +units=us-ft
' (0.99992001, -0d12'10.26"); ground values worked from those by hand.
GCS
epsg:3566
GPS
' Without a reference point the grid position itself is stored
1,N40 12 30,W111 49 0
2,n40  13 0.00000,w111 48
DSC
1,2
GDS
1,2
DAB
1,2
' Control point 10 at ground N 5000 E 5000
KWN
10,5000,5000
GRF
10,N40 12 30.000,W111 49 0.000
GCS
EPSG:3566,0.99985
GPS
11,N40 13 0,W111 48 0
12,N40 11 45.5,W111 50 10.25
' the decimals of the seconds, and minutes alone, from the reference
14,.5,.25,15,12.75,48.25
DSC
11,12
GDS
10,15
DAB
10,11
GCS
EPSG:3566, 0.99985 ,t
GPS
13,N40 13 0,W111 48 0
DSC
13,13
GDS
13,13
DAB
10,13
