Metapopulation input file (6.0) map=
Population model of river otters on one river
Cell length 2 km
Three reaches, named after their place on the river


1
4
FALSE
10 FALSE


Local

not spread
0.0000
0.0000,0.0000,0.0000,0.0000
FALSE
10 FALSE


Local

not spread
0.0000
0.0000,0.0000,0.0000,0.0000
FALSE
10 FALSE


Local

not spread
0.0000
0.0000,0.0000,0.0000,0.0000
FALSE
10 FALSE


Local

not spread
0.0000
0.0000,0.0000,0.0000,0.0000
Upper Reach,3.0,40.0,10,LO,1.0,100,0.0,0.0,,0,1,
Middle Reach,2.0,25.0,10,LO,1.0,100,0.0,0.0,,0,1,
Lower Reach,1.0,10.0,10,LO,1.0,100,0.0,0.0,,0,1,
Migration
FALSE
0.000,0.00000,0.00000,0.00000
 0, 0, 0,
 0, 0, 0,
 0, 0, 0,
Correlation
FALSE
Simulation results
1 replications
 Mean  StDev Min Max
Pop. ALL
30.0 0 30 30
20.0 0 20 20
20.0 0 20 20
35.0 0 35 35
Pop. 1
10.0 0 10 10
10.0 0 10 10
0.0 0 0 0
5.0 0 5 5
Pop. 2
10.0 0 10 10
10.0 0 10 10
10.0 0 10 10
10.0 0 10 10
Pop. 3
10.0 0 10 10
0.0 0 0 0
10.0 0 10 10
20.0 0 20 20
Occupancy
1.000 0 1 1
1.000 0 1 1
1.000 0 1 1
1.000 0 1 1
-End of file-
