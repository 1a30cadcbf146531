' Reference point 1 at N 5000 E 5000 and the worked GPS example
KWN
1,5000,5000
GRF
1,N40 12.000
W111 50.000
GPS
2,N40 12.500,W111 49.000
' abbreviated: decimals of the minutes, and minutes only
3,.750,48.5
' lower-case letters, inner blanks, degrees without the letter
4,n40 12 .250,w111 51.000,5,40 11.000,111 50.500
DSC
2,5
GDS
1,5
' minutes below 1, minutes that round up to 60, and 59.9994
KWN
6,-64770.5,5000
GPS
7,N40 59.9996,W111 50
8,N40 59.9994,W111 50
GDS
6,8
