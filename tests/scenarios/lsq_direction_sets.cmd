(Two control points read with their elevations. A network of direction
sets at every station, distances, centering errors of 0.005 ft at
instrument and target, and a levelling loop from
point 1 through 10, 11, 2 and 12 back to 1: H 10-11 with its own
standard error, the others the default 0.01 ft. Point 1 is fixed with its
elevation, so it also holds the heights.)
PNR
control
LSQ
3,0.01,5,95,0.005,0.005
F,1,2,
R,1,2,0 00 01.2,R,1,10,296 33 53.4,R,1,12,48 00 48.1,R,2,1,359 59 58.5,
R,2,11,81 52 12.0,R,2,12,317 43 36.6,R,10,1,359 59 57.8,R,10,11,233 58 22.2,
R,10,2,284 02 10.2,R,12,1,0 00 01.1,R,12,2,89 42 47.0,R,12,10,34 13 20.3,
R,11,10,0 00 02.4,R,11,2,271 19 55.4,D,1,10,670.824,D,2,11,707.101,
D,10,11,608.279,D,1,12,672.688,D,2,12,743.301,
H,1,10,2.345,H,10,11,1.210,0.004,H,11,2,0.700,H,2,12,-3.120,H,12,1,-1.131
DSE
10,12
(A free station 20 sees 12, 1, 10, 11 and 2 in one set and is placed by
resection; the others are held. E gives the later readings a better
instrument, B asks for data snooping, FH holds the heights of 10 and 11
and a height difference from each reaches 20.)
LSQ
5,0.02,5,90,0.01,0.01,B
F,1,2,10,11,12,FH,10,11,
E,1,0.005,2,0.002,0.002,
R,20,12,0 00 00.8,R,20,1,59 28 11.6,R,20,10,131 02 09.4,R,20,11,198 52 08.8,
R,20,2,284 28 13.6,H,10,20,-1.250,H,11,20,-2.457,0.005
DSE
20
