' A road centreline from the plans: a tangent, a spiral into a curve to
' the right and out of it, a tangent, a simple curve to the left and a
' tangent. Points 2 to 9 are the TS, SC, curve centre, CS, ST, PC, centre
' and PT.
KWN
1,5000.0000,5000.0000,2,5424.2641,5424.2641,3,5593.4073,5608.1222,4,4803.6592,6221.5536
5,5781.2152,6010.8775,6,5813.3355,6258.6305,7,5856.9134,6756.7279,8,6653.8692,6687.0033
9,5998.5475,7145.8644,10,6227.9781,7473.5252
101,5480,5160,102,5575,5265,103,5480,5350,104,5385,5245
105,5650,6160,106,5560,6420,107,5480,6400,108,5520,6130
ALN
1,1000,
L,1,2,
S,250,1000,R,
C,3,4,5,
S,250,1000,R,
L,6,7,
C,7,8,9,
L,9,10
' Lot corners left and right of the road; the key points; points before
' the start and beyond the end; the centre of the simple curve, as near to
' all of it.
SOF
1,101,102,103,104,105,106,107,108
2,3,5,6,7,9,1,10
8
' Stakeout on every kind of element, then back to station and offset.
LSO
1,201,1000,0,202,1725,-30,203,2000,15.5,204,2400,-40
205,2800,0,206,3250,25,207,3867.011,0
SOF
1,201,202,203,204,205,206,207
' Two alignments on one ALN: the second starts with a curve (the shorter
' arc), the third runs the other way round the same curve.
ALN
2,0,C,7,8,9,L,9,10
3,500,L,10,9,C,9,8,7
SOF
3,201,205,206
