' Every figure list reads its entries one way. C-5 names no centre: ARE, TPR
' and LXW refuse the figure, MAP and DXF leave the entry out of the drawing
' (no longer drawn as the corner 5).
KWN
1,5000,3000,2,5000,3200,3,4900,3300,4,4800,3200,5,4900,3200
ARE
1,2,C-5,4,1
TPR
Z,1,2,C-5,4,1
MAP
1,2,C-5,4,1
DXF
lot,1,2,C-5,4,1
LXW
lot
1,2,C-5,4,1
' A figure ending in a comma goes on on the next line, in every list
ARE
1,2,
3,4,1
TPR
B,1,2,
C5,
4,1
LXW
lot
1,2,3,
4,1
