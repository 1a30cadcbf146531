GCS
' Refused, and the flat model stays: a geographic system, an unknown code,
' a factor out of range, a field after it other than T or USFT, a fifth
' field
EPSG:4269
EPSG:99999
EPSG:3566,1.2
EPSG:3566,0.99985,X
EPSG:3566,1,T,5
EPSG:3566,1,T,USFT,5
GCS
' A refusal keeps the system in use
EPSG:3566
EPSG:4269
GPS
' Positions PROJ refuses store nothing; a position outside the area of use
' converts with one note for the whole command
1,N95 0,W111 0
2,N35 0,W100 0,3,N35 1,W100 0
4,N35 2,W100 0
DSC
1,4
GPS
' Minutes with decimals cannot take seconds, nor can seconds reach 60
5,N40 12.5 30,W111 49
GPS
5,N40 12 60,W111 49
CLR
' CLR does not clear the coordinate system
2,4
GPS
6,N40 12 30,W111 49
DSC
2,6
GRF
' GRF on a position PROJ refuses leaves no reference
7,S95 0,W111 0
GPS
8,.5,49
GCS
' Back to the flat model, where an abbreviated text needs a reference
NONE
GPS
9,.5,49
GPS
9,N40 12.5,W111 49
DSC
7,9
