(Angles of 350 degrees from the back course turn each course 170 degrees:
from the start azimuth 350 the courses run 160, 330 and 140, the closing
azimuth, so the angles close exactly, though the azimuth carried round
passes 720 degrees on the way. The three courses of 100 ft end on
N 916.0288, E 1048.4808, point 2.)
KWN
1,1000,1000,2,916.0288,1048.4808
TAA
C,1,2,350,140,10,350,100,11,350,100,12,350,100
DSC
10,12
