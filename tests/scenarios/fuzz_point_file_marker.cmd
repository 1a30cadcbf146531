' A record holding the undefined marker (-1E10) as one coordinate, found
' by fuzzing point files: the point reads as undefined, is not listed and
' is not saved, so reading the saved file back leaves it undefined.
RCF
marked
DSC
1,3
DCF
saved
CLR

RCF
saved
DSC
1,3
