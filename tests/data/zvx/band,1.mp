Two bands of patches, baseline
Grid 2 km
A,0,0,a.KCH
B,36,10,b.KCH
C,0,20,c.KCH
D,12,30,d.KCH
Migration
Pop. ALL
40 0 0 0
50 0 0 0
0 0 0 0
40 0 0 0
40 0 0 0
Pop. 1
10 0 0 0
10 0 0 0
0 0 0 0
20 0 0 0
10 0 0 0
Pop. 2
10 0 0 0
10 0 0 0
0 0 0 0
10 0 0 0
10 0 0 0
Pop. 3
10 0 0 0
10 0 0 0
0 0 0 0
10 0 0 0
20 0 0 0
Pop. 4
10 0 0 0
20 0 0 0
0 0 0 0
0 0 0 0
0 0 0 0
Occupancy
