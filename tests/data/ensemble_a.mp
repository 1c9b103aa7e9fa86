Triangle of height 20
L,0,0,10,Ceiling,1.1,50,0,0,l.KCH,0,1,
R,10,1,10,Ceiling,1.1,50,0,0,r.KCH,0,1,
T,0,20,10,Ceiling,1.1,50,0,0,t.KCH,0,1,
Migration
TRUE
0.1,10.0,1.0,50.0
Simulation results 1/2/2026 09:00:00
1000 replications
 Mean  StDev Min Max
Pop. ALL
30 0 0 0
20 0 0 0
0 0 0 0
Pop. 1
10 1.5 0 20
10 1.5 0 20
0 0 0 0
Pop. 2
10 1.5 0 20
10 1.5 0 20
0 0 0 0
Pop. 3
10 1.5 0 20
0 0 0 0
0 0 0 0
Occupancy
-End of file-
