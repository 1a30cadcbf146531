COM
Lot 7, block 2, found iron pipe at the northeast corner
Set 5/8 rebar with cap LS 1234
