[playlist]
File10=ten.mp3
Title10=Ten
File3=three.wav
Length3=-1
Title3=Three
NumberOfEntries=2
Version=2
