Four patches on a transect
Grid 2.5 km
A,0,0,10,Ceiling,1.1,50,0,0,a.KCH,0,1,
B,2,10,10,Ceiling,1.1,50,0,0,b.KCH,0,1,
C,4,20,10,Ceiling,1.1,50,0,0,c.KCH,0,1,
D,6,30,10,Ceiling,1.1,50,0,0,d.KCH,0,1,
Migration
TRUE
Pop. ALL
40 0 0 0
40 0 0 0
20 0 0 0
Pop. 1
10 1.5 6 14
0 0 0 0
5 1.2 2 8
Pop. 2
10 1.5 6 14
10 1.5 6 14
5 1.2 2 8
Pop. 3
10 1.5 6 14
10 1.5 6 14
10 1.5 6 14
Pop. 4
10 1.5 6 14
20 2.9 12 27
0 0 0 0
-End of file-
