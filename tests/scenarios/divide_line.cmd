KWN
1,1000,1000,2,1000,1100
DVL
' A group completed on the next line; one part computes nothing; a shorter
' group follows a longer one on the same line
1,2,4,11,12,13
1,2,4,11,12
13
1,2,1,2,1,3,14,15,1,2,2,16
' A count below 1 is refused and stops the line; the next line goes on with
' the fields that followed it
1,2,0,1,2,2,17
1,2,2,18
' A count that can never be held refuses every field held
1,2,60,31,32
DVL
' A new point number beyond the store refuses its group; a new point may
' replace an end (the ends are read once)
1,2,3,18,1001
1,2,4,21,1,22
