' Points far off, as the fuzzer typed them: a field beyond the range of
' numbers is reported and stores no point, and a distance that overflows is
' reported and leaves its register as it was.
RTH
D6 = 12.5
KWN
3,1.5e308,-1.5e308,4,-1.5e308,1.5e308
5,-1e315,1.5e308
DIS
6,3,4
DSD
6,6
