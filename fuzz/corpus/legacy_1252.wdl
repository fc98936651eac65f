WDv1.0
Café crème
C:\CHÂTEAU.WAV
1 0 0 0
Ã©té
*
8 0 5 0
