[other]
File1=outside.wav
[PlayList]
File1=a.wav
File01=dup.wav
Title2=lonely
File4=http://radio/stream
File5=
WendleName5.1=no numbers
File1234567890=huge.wav
 file6 = spaced.mid 
