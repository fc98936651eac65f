WDv1.0
d
F.WAV
 	1  2		3 4 	
e
G.WAV
0007 0 0 0300
