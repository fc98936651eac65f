File1=a.wav
Title1=A
