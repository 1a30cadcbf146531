' The Hale boundary from the field: the collector's raw file reduced and
' checked, the traverse closed by the compass rule, the same observations
' adjusted by least squares, and the corners written out.
COM
Hale boundary, field work of May 6
RAW
hale,L                             ' reduce hale.rw5; L writes hale-lsq.cmd
COM

Closure of the traverse 1-2-3-4-1, angles closed on the monument 6
TAA
C
1,6,179 40 21,359 40 21            ' arriving at 1 from 6; closing on 1 to 6
2,88 01 05,306.125,                ' the angles right and distances reported
3,269 50 51,292.509,
4,269 56 12,328.500,
9,274 25 23,294.529,               ' back on 1 (spare number 9)
10,177 46 24,350.016               ' to the monument (spare number 10)
CLR
9,10
COM

The same observations by least squares (the lines of hale-lsq.cmd)
LSQ
5.0,0.010,5.0
F,1,6,
R,1,6,359 40 21.36,
R,1,2,87 41 26.36,
R,1,101,88 49 09.36,
D,1,6,349.9978,
H,1,6,2.0090,0.0085,
D,1,2,306.1250,
H,1,2,1.2027,0.0074,
D,1,101,150.2398,
H,1,101,0.3542,0.0036,
R,2,1,267 41 26.36,
R,2,3,177 32 17.36,
R,2,102,178 12 06.36,
D,2,1,306.1135,
H,2,1,-1.2059,0.0074,
D,2,3,292.5093,
H,2,3,-1.4050,0.0071,
D,2,102,131.9204,
H,2,102,-0.5834,0.0032,
R,3,2,357 32 17.36,
R,3,4,267 28 29.36,
R,3,103,269 35 01.36,
R,3,104,179 15 26.36,
D,3,2,292.5124,
H,3,2,1.3951,0.0071,
D,3,4,328.5003,
H,3,4,-1.3878,0.0080,
D,3,103,165.7965,
H,3,103,-0.7461,0.0040,
D,3,104,119.8810,
H,3,104,-0.8991,0.0029,
R,4,3,87 28 29.36,
R,4,1,1 53 52.36,
R,4,105,1 38 41.36,
D,4,3,328.5153,
H,4,3,1.3879,0.0080,
D,4,1,294.5290,
H,4,1,1.5936,0.0071,
D,4,105,144.7781,
H,4,105,0.7982,0.0035,
R,1,4,181 53 42.45,
R,1,6,359 40 06.45,
D,1,4,294.5451,
H,1,4,-1.5965,0.0071,
D,1,6,350.0159,
H,1,6,1.9955,0.0085
COM

The boundary corners and the sideshots out: a CSV for the collector and a
drawing for the drafter
ARE
1,2,3,4,1
PNW
hale,1,105
DXF
hale,1,2,3,4,1
