' A data collector's file: a header, a byte order mark, any line ends,
' quoted descriptions, points with and without elevations; bad records
' are counted
PNR
collector
DSE
101,120
KWN
' Written and read back after a clear, all points and a range
1,1234567.890123,-0.1,2,1E-7,3.3333333333333335
DES
1,TRAV PT,2,"QUOTED"
PNW
round
part,101,104
CLR
1,1000
PNR
round
DSE
1,120
CLR
1,1000
PNR
part
DSE
1,120
KWN
' Replacing defined points asks first; No keeps them and reads the others
101,1,1
PNR
collector
DSE
101,103
CLR
1,1000
KWN
' Refusals: nothing to write, a point outside the store, a reversed range,
' a missing file
PNW
empty
x,1,1001
rev,2,1
PNR
/nonexistent-vantrel-folder/a.csv
