#!/usr/bin/env python3
"""Writes the seed corpus of the playlist fuzzer into fuzz/playlist_corpus.

Each seed is one kind of M3U or PLS playlist the readers must cope with:
as other players write them (extended M3U, PLS out of order, names
relative and full, file URIs), as Wendle writes them (its own lines for
CD tracks, Pause objects and numbers), in code page 1252 and UTF-8 with a
byte-order mark, and broken ones. The fuzzer reads every seed both ways,
so the extension only tells a person what it is. Run it again after
changing a seed.
"""
from make_corpus import write_corpus

SEEDS = {
    "extended.m3u": b"#EXTM3U\r\n#EXTINF:123,Artist - Song\r\nMusic\\song.mp3\r\n"
        b"#EXTINF:-1,\r\n..\\Sounds/bell.wav\r\n#EXTGRP:group\r\nC:\\MIDI\\TUNE.MID\r\n",
    "plain_lf.m3u": b"a.wav\nsub/b.ogg\n\n   \n\\\\server\\share\\c.flac\nclip.avi\n",
    "uris.m3u8": b"\xef\xbb\xbf#EXTM3U\nfile:///C:/Music/a%20b.mp3\nfile://server/share/x.mp3\n"
        b"file://localhost/D:/%E6%97%8B%E5%BE%8B.opus\nfile:///C|/old.wav\nfile://C:/slip.m4a\n"
        b"file:///bad%2.mp3\nfile:///nul%00.wav\nfile:relative.mp3\n",
    "web_and_kinds.m3u": b"#EXTM3U\nhttp://radio.example/stream\nhttps://x.example/a.mp3\n"
        b"rtsp://cam/live\nspotify:track:1\nreadme.txt\nkeep.wav\n",
    "legacy_1252.m3u": b"#EXTINF:-1,Caf\xe9 cr\xe8me\r\nCh\xe2teau\\\xe9t\xe9.wav\r\n",
    "iptv.m3u": b'#EXTM3U\n#EXTINF:-1 tvg-name="a,b" group-title="x",Channel, One\nlocal.mp3\n',
    "wendle_own.m3u8": b"#EXTM3U\r\n#WENDLE:1 2 5 0\r\n#EXTINF:-1,Morning bell\r\nSounds\\bell.wav\r\n"
        b"#WENDLE-DESCRIPTION:Overture\r\n#WENDLE-ITEM:4 1 0 7\r\n"
        b"#WENDLE-NAME:Pause 30 sec.\r\n#WENDLE-ITEM:8 0 30 0\r\n"
        b"#WENDLE-DESCRIPTION:\r\n#WENDLE:32 0 0 0\r\nsong.mp3\r\n"
        b"#WENDLE-NAME:#odd.wav\r\n#WENDLE-ITEM:1 0 0 0\r\n",
    "wendle_broken.m3u": b"#WENDLE:1 2\na.wav\n#WENDLE-ITEM:x\n#WENDLE-ITEM:4294967296 0 0 0\n"
        b"#WENDLE:0 0 0 0\nno_kind.xyz\n",
    "long_lines.m3u": b"#EXTINF:-1," + b"t" * 600 + b"\n" + b"n" * 511 + b".wav\n" + b"m" * 507 + b".wav\n"
        + b"file:///" + b"%41" * 600 + b".mp3\n",
    "nul.m3u": b"a.wav\n\x00b.wav\n",
    "utf16.m3u": "a.wav\r\n".encode("utf-16"),
    "out_of_order.pls": b"[playlist]\r\nFile10=ten.mp3\r\nTitle10=Ten\r\nFile3=three.wav\r\nLength3=-1\r\n"
        b"Title3=Three\r\nNumberOfEntries=2\r\nVersion=2\r\n",
    "wendle_own.pls": b"[playlist]\r\nWendle0.1=4 1 0 7\r\nWendleDescription0.1=Overture\r\n"
        b"File1=Sounds\\bell.wav\r\nTitle1=Morning bell\r\nLength1=-1\r\nWendle1=1 2 5 0\r\n"
        b"Wendle1.1=8 0 30 0\r\nWendleName1.1=Pause 30 sec.\r\nFile2=song.mp3\r\nLength2=-1\r\n"
        b"WendleDescription2=\r\nNumberOfEntries=2\r\nVersion=2\r\n",
    "pls_faults.pls": b"[other]\nFile1=outside.wav\n[PlayList]\nFile1=a.wav\nFile01=dup.wav\nTitle2=lonely\n"
        b"File4=http://radio/stream\nFile5=\nWendleName5.1=no numbers\nFile1234567890=huge.wav\n"
        b" file6 = spaced.mid \n",
    "pls_without_section.pls": b"File1=a.wav\nTitle1=A\n",
}


def main():
    write_corpus("playlist_corpus", "", SEEDS)


if __name__ == "__main__":
    main()
