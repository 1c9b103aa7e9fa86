Four patches along y
A,0,0,10,Ceiling,1.1,50,0,0,a.KCH,0,1,
B,2,10,10,Ceiling,1.1,50,0,0,b.KCH,0,1,
C,4,20,10,Ceiling,1.1,50,0,0,c.KCH,0,1,
D,6,30,10,Ceiling,1.1,50,0,0,d.KCH,0,1,
Migration
TRUE
0.1,10.0,1.0,50.0
Simulation results 1/2/2026 09:00:00
1000 replications
 Mean  StDev Min Max
Pop. ALL
40 0 0 0
40 0 0 0
20 0 0 0
Pop. 1
10 1.5 0 20
0 1.5 0 0
5 1.5 0 10
Pop. 2
10 1.5 0 20
10 1.5 0 20
5 1.5 0 10
Pop. 3
10 1.5 0 20
10 1.5 0 20
10 1.5 0 20
Pop. 4
10 1.5 0 20
20 1.5 0 40
0 1.5 0 0
Occupancy
-End of file-
