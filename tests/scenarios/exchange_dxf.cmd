' Nothing defined yet: no drawing, no file
DXF
empty
KWN
' A figure, every point, a list continued on the next line; entries that
' name no point are reported and left out; shift fields move no point
1,5000,3000,2,5000,3200,3,4900,3300,4,4800,3200,5,4900,3200
DXF
lot,1,2,C5,4,1
all
long,1,2,
3,4,1
bad,1,2,1001,9,C0,3
shifted,1,2,3,>10,^5
/nonexistent-vantrel-folder/lot
DSC
1,5
