A drifting range with one transient patch
P,20,0,p.KCH
Q,0,10,q.KCH
R,10,20,r.KCH
T,0,40,t.KCH
Migration
Pop. ALL
40 0 0 0
50 0 0 0
50 0 0 0
40 0 0 0
40 0 0 0
40 0 0 0
Pop. 1
10 0 0 0
20 0 0 0
10 0 0 0
0 0 0 0
30 0 0 0
10 0 0 0
Pop. 2
10 0 0 0
10 0 0 0
30 0 0 0
10 0 0 0
10 0 0 0
10 0 0 0
Pop. 3
20 0 0 0
10 0 0 0
10 0 0 0
30 0 0 0
0 0 0 0
20 0 0 0
Pop. 4
0 0 0 0
10 0 0 0
0 0 0 0
0 0 0 0
0 0 0 0
0 0 0 0
Occupancy
