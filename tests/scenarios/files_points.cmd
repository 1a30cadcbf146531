KWN
1,5000.125,4000.1
2,0.1,-3E-20
3,-1234567.890123,987654.321
' Points 1 to 3 are saved, by name and by the name asked for
DCF
lot
DCF

CLR

RCF
lot2
DSC

KWN
' Reading a file that lists point 7 only changes point 7
RCF
only7
DSC

KWN
' Good records of a damaged file are read, the others counted
RCF
bad
DSC
1,12
KWN
' A folder that does not exist; a name not given
DCF
/nonexistent-vantrel-folder/lot.pts
RCF
/nonexistent-vantrel-folder/lot.pts

DSC
20,20
