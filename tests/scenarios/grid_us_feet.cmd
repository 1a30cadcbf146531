' A UTM zone in metres kept in US survey feet (USFT), as a legacy project
' keeps it; values from
'   cs2cs -E -f %.4f EPSG:4269 EPSG:26912: 430501.4964 4451200.3595 (m)
GCS
EPSG:26912,,USFT
GPS
1,N40 12 30,W111 49
DSC
1,1
GCS
' T and USFT in either order; USFT refused for a system in feet, and given
' twice
EPSG:26912,1,USFT,T
EPSG:3566,,USFT
EPSG:26912,,USFT,USFT
' A convergence of -0.3" and of +0.3" (0.47" of longitude either side of the
' central meridian at 40 degrees) has no sign
KWN
10,1000,1000
GCS
EPSG:26912
GRF
10,N40 00 00,W111 00 0.47
10,N40 00 00,W110 59 59.53
' Albers (equal area): the scale along the meridian and along the parallel
' differ, both are given
GCS
EPSG:5070
GRF
10,N40 00 00,W100 00 00
