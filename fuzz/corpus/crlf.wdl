WDv1.0
Bell
BELL.WAV
1 1 2 0

*
4 0 0 3
