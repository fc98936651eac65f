[playlist]
Wendle0.1=4 1 0 7
WendleDescription0.1=Overture
File1=Sounds\bell.wav
Title1=Morning bell
Length1=-1
Wendle1=1 2 5 0
Wendle1.1=8 0 30 0
WendleName1.1=Pause 30 sec.
File2=song.mp3
Length2=-1
WendleDescription2=
NumberOfEntries=2
Version=2
