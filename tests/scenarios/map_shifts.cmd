' MAP moves the listed points by its shift fields, each point once
KWN
1,1000,2000
2,1100,2100
3,1200,2000
MAP
1,2,1,^-50
1,C2,3,>10
' entries that name no drawable point are reported and never moved
2,0,1001,C7,7,>5,^5
' a shift field under another command is only taken out of the line
DSC
1,3,>100
