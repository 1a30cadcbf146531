' Legal descriptions: default words, symbols or words, a file of them,
' and what LDW refuses.
KWN
1,5000,3000,7,5000,3225,8,4975,3225,9,4975,3250,3,4820,3250,4,4820,3000
LDW
1,7,C8,9,3,4
' Counterclockwise: the curve turns left.
4,3,9,C8,7,1
LDW
the northwest corner of Lot 12,W,lot12
1,7,C8,9,3,4,1
the southwest corner of Lot 12,,   ' words only: still into lot12.txt
4,3,
9,C8,7,1                       ' continued on a second line
the northwest corner of Lot 12,X
1,7                            ' one course back and forth: refused
7,C8,9                         ' an arc closed by its chord: two courses
1,7,C8,C9,3                    ' refused as ARE refuses it
,,/nonexistent-vantrel-folder/lot12  ' a folder that does not exist
1,7,C8,9,3,4
C8,9,3,4,1,7                   ' a centre first: a figure, refused as ARE refuses it
