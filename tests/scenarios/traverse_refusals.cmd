(Traverses that would lose a stored point or cannot be computed are
refused whole, with the station named, before anything is written; points
1, 2 and 10 keep their coordinates throughout.)
KWN
1,1000,1000,2,1000,1200,10,7,7,12,7,7
TAB
C,1,2,10,90,100,1,90,100
TAB
C,1,2,10,90,100,2,90,100
TAB
C,1,2,10,90,100,11,90,50,10,90,50
TAB
C,0,2,10,90,100
TAB
C,1,2,10,90,100,1001,90,100
TAB
C,1,5,10,90,100
TAB
C,1,2,10,90,100,11,90,-100
TAB
C,1,2,10,90,100,11,90
TAB
C,1,2

DSC
1,2,10,11
(An exact closure: one course due north onto point 3.)
KWN
3,1100,1000
TAB
C,1,3,10,0,100
DSC
10,10
(The length rule cannot adjust a single course; nothing is stored.)
KWN
10,7,7,4,1100.1,1000
TAB
L,1,4,10,0,100
DSC
10,10
PAJ
C,1,2
PAJ
C,1,10,1001,2
1,5,2
1,10,3,10,2
1,10,12,2
