' RAW's refusals: nothing is stored from a file that cannot be reduced,
' and faulty records are skipped, each listed with its record.
RAW                      ' no raw data file, an empty one, none at all
points.txt
empty
/nonexistent-vantrel-folder/missing
RAW                      ' refused half-way: nothing of them is stored
binary
mixed
broken.jxl
level.gsi
RAW                      ' an option RAW does not know
mixed,RW6
KWN
1,100,100.5
RAW                      ' faulty records skipped; the defined point 1 kept
faults
DSE
1,100
