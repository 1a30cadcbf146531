' Files in other encodings: Windows-1252 and UTF-16 decoded; characters XML
' cannot carry refuse a LandXML file.
PNR                      ' Windows-1252
cafe
PNR                      ' UTF-16 little-endian with its mark
wide
LXR                      ' UTF-16 big-endian
wide
LXR                      ' a surrogate referenced, U+FFFE as it is
surrogate
nonchar
DSE
1,6
LXW                      ' written and read back: a well-formed file
lot
CLR
1,1000
LXR
lot
DSE
1,6
DXF                      ' a character beyond U+FFFF in a DXF drawing
lot,1,2,3,4
