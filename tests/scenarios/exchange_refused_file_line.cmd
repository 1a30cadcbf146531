' A file line that gives no file to write: the figure lines after it are
' refused up to the next code line, never taken as file names (1.xml is an
' unrelated file of the folder).
KWN
1,5000,3000,2,5000,3200,3,4900,3300,4,4800,3200,5,4900,3200
LXW                      ' a folder that does not exist
/nonexistent-vantrel-folder/prot
1,2,C5,4,1
2,3,4
LXR                      ' 1.xml as it was: point 9 alone
1
DSE
9,9
LXW                      ' a new LXW with a file that can be written
lot
1,2,C5,4,1
LXR
lot
