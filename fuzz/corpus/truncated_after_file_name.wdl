WDv1.0
a
A.WAV
1 0 0 0
half
H.WAV
