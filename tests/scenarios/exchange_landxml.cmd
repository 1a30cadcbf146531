' Another package's file: a prefix, attributes in any order, pntRef, CDATA
LXR
other
DSE
200,210
KWN
' Points and two parcels written, cleared, read back
1,5000,3000,2,5000,3200,3,4900,3300,4,4800,3200,5,4900,3200
DES
1,IRON PIN,2,<CAP> & "PIN"
LXW
lot
1,2,C5,4,1
1,2,3,4,1
ARE
1,2,C5,4,1
CLR
1,1000
LXR
lot
DSE
1,10
KWN
' Refusals: a broken file, metric units, a figure with an undefined point
LXR
broken
metric
LXW
lot2,FT
1,2,9,1
