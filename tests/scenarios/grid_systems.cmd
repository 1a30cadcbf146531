' A UTM zone in metres is stored in international feet; values from
'   cs2cs -E -f %.4f EPSG:4269 EPSG:26912: 430501.4964 4451200.3595 (m)
GCS
EPSG:26912
GPS
1,N40 12 30,W111 49
DSC
1,1
GDS
1,1
' A system in international feet, typed as its WKT (more than 50 commas);
'   cs2cs -E -f %.4f EPSG:4269 EPSG:2222: 522009.0421 879628.4648 (ft)
GCS
PROJCRS["NAD83 / Arizona East (ft)",BASEGEOGCRS["NAD83",DATUM["North American Datum 1983",ELLIPSOID["GRS 1980",6378137,298.257222101,LENGTHUNIT["metre",1]]],PRIMEM["Greenwich",0,ANGLEUNIT["degree",0.0174532925199433]],ID["EPSG",4269]],CONVERSION["SPCS83 Arizona East zone (International feet)",METHOD["Transverse Mercator",ID["EPSG",9807]],PARAMETER["Latitude of natural origin",31,ANGLEUNIT["degree",0.0174532925199433],ID["EPSG",8801]],PARAMETER["Longitude of natural origin",-110.166666666667,ANGLEUNIT["degree",0.0174532925199433],ID["EPSG",8802]],PARAMETER["Scale factor at natural origin",0.9999,SCALEUNIT["unity",1],ID["EPSG",8805]],PARAMETER["False easting",700000,LENGTHUNIT["foot",0.3048],ID["EPSG",8806]],PARAMETER["False northing",0,LENGTHUNIT["foot",0.3048],ID["EPSG",8807]]],CS[Cartesian,2],AXIS["easting (X)",east,ORDER[1],LENGTHUNIT["foot",0.3048]],AXIS["northing (Y)",north,ORDER[2],LENGTHUNIT["foot",0.3048]],USAGE[SCOPE["Engineering survey, topographic mapping."],AREA["United States (USA) - Arizona - counties Apache; Cochise; Gila; Graham; Greenlee; Navajo."],BBOX[31.33,-111.71,37.01,-109.04]],ID["EPSG",2222]]
GPS
2,N33 25,W110 45
DSC
2,2
GDS
2,2
' GRF under UTM: scale factor and convergence from
'   proj -V +proj=utm +zone=12 +ellps=GRS80: 0.99965946, -0d31'38.048"
KWN
10,1000,1000
GCS
EPSG:26912,0.9996,T
GRF
10,N40 12 30,W111 49
