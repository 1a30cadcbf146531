' The worked examples of raw data, each read into an empty store.
COM
Carlson RW5 in metres: a traverse leg, angles left and deflections
RAW
rw5_example1
CLR

COM
Carlson RW5 in US survey feet: a set of two rounds, a 1-second tolerance
RAW
rw5_example2,T1
CLR

COM
Leica GSI-8 in metres and gon: a point on both faces
RAW
gsi8_example1,GSI,900
CLR

COM
Leica GSI-16 in feet and degrees
RAW
gsi16_example2.gsi,910
CLR

COM
Trimble JobXML, metres to international feet
RAW
jobxml_example1.jxl,920,FT
