' Back point 1, PI 2, ahead point 3 at azimuth 60 degrees from the PI, and
' its mirror image 4 at azimuth 300.
KWN
1,0,0,2,1000,0,3,1500,866.025,4,1500,-866.025
HA1
1,1,2,3,0,500,11,12,13
2,1,2,4,0,500,14,15,16
' Tangent and radius both given: the tangent governs (R = 300 / tan 30).
3,1,2,3,300,500,17,18,19
' A tangent typed negative is taken by its size: curve 3 again.
5,1,2,3,-300,0,23,24,25
' A group split over two lines.
4,1,2,3,
0,500,20,21,22
DSC
11,25
