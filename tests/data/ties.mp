Ties on x
Grid 2.5 km
d,3,2,10,Ceiling,1.1,50,0,0,d.KCH,0,1,
c,1,8,10,Ceiling,1.1,50,0,0,c.KCH,0,1,
b,2,4,10,Ceiling,1.1,50,0,0,b.KCH,0,1,
a,2,0,10,Ceiling,1.1,50,0,0,a.KCH,0,1,
Migration
TRUE
0.1,10.0,1.0,50.0
Simulation results 1/2/2026 09:00:00
1000 replications
 Mean  StDev Min Max
Pop. ALL
4 0 0 0
4 0 0 0
0 0 0 0
9 0 0 0
Pop. 1
1 1.5 0 2
0 1.5 0 0
0 1.5 0 0
2 1.5 0 4
Pop. 2
1 1.5 0 2
0 1.5 0 0
0 1.5 0 0
1 1.5 0 2
Pop. 3
1 1.5 0 2
2 1.5 0 4
0 1.5 0 0
5 1.5 0 10
Pop. 4
1 1.5 0 2
2 1.5 0 4
0 1.5 0 0
1 1.5 0 2
Occupancy
-End of file-
