' Alignments from other packages: LandXML 1.0 under a prefix with its
' directions in degrees, and 1.1 with them in radians from east; neither
' direction is read. Stations of the key points and a lot corner. Then the
' alignments and the profile out, and back in over themselves: the first
' time kept, the second time replaced. Last, what cannot be read: an
' IrregularLine, no CoordGeom, a Bloss spiral, a circular vertical curve
' (the alignment is read, its profile is not), and joins that miss
' (refused); an alignment named 7 takes that number. A profile whose
' alignment is not defined (9) stays out of the file.
LXR
main_street
ramp
KWN
1,5424.2640687119,5424.2640687119,2,5781.2151594448,6010.8775455700
3,5998.5475213113,7145.8644072874,4,5650,5690
SOF
1,1,2,3,4
SOF
2,1,2,3,4
VCV
9,0,
0,10,
100,11
LXW
corridor
LXR
corridor
corridor
problems
SOF
7,4
