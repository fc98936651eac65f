WDv1.0
b
B.WAV
1 2x 3 4
