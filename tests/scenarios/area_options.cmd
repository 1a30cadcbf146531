KWN
1,100,0,2,0,100,3,0,0
' The option may be typed in either case and the figure may follow later.
TPR
b
1, c3, 2, 3, 1

3,2,1
' A refused option discards its line; later figures list azimuths.
TPR
X,1,2,3
3,2,1
