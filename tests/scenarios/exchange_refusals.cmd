' Refusals of the exchange commands not shown by the other scenarios; the
' notes stand on the code lines, where a note is no data line.
DSE                      ' points outside the store; a reversed range lists nothing
0,3
1001,1002
DSE
5,1
DES                      ' a point number that is no number
x,A
KWN
1,100,200
PNW                      ' a folder that does not exist, a control character
/nonexistent-vantrel-folder/p
/nonexistent-vantrel-folder/badname
LXW
/nonexistent-vantrel-folder/x
DXF
/nonexistent-vantrel-folder/d,1
/nonexistent-vantrel-folder/badname,1
PNR                      ' files with no point: a header alone, an empty file
header
empty
LXR                      ' no CgPoint; empty, plain text; a missing file
nopoints
empty
text
/nonexistent-vantrel-folder/missing
LXR                      ' points already defined: No keeps them
two
DSE
1,2
CLR
1,1000
LXW                      ' nothing defined: a file without points, no parcel
nothing
1,2,3
