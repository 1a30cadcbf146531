' A profile with a crest and a sag, its grade elevations every 100 ft.
VCV
1,100,
1000,520,
1600,535,400,
2300,524.5,200,100,
3800,554.5
