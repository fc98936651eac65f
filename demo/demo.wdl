WDv1.0
Rising chime
chime.wav
1 0 0 0
Low tone, played twice
low.wav
1 1 0 0
*
Pause 2 sec.
8 0 2 0
Arpeggio, then a second of quiet
arpeggio.wav
1 0 1 0
A little tune (MIDI)
tune.mid
2 0 0 0
Falling bells (Ogg Vorbis)
bells.ogg
32 0 0 0
