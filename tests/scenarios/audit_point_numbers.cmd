KWN ' numbers below 1 are reported; KWN passes over numbers above 1000
1,1,1,2,2,2
0,5,5
70000,5,5
-32769,5,5
CLR ' CLR and DSC report numbers outside 1..1000 and stop the line there
0,2
2,1001
DSC
-1,2
1,70000
1,2,2,1
TAX ' so does TAX; ROT and TAX on a line without fields do nothing
0
65537

ROT

DSC
1,2
