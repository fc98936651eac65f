#!/usr/bin/env python3
"""Writes the seed corpus of the list-file fuzzer into fuzz/corpus.

Each seed is one kind of input the reader must cope with: well-formed
lists, CR LF line ends, long and cut lines, truncated items, bad numbers
lines, NUL bytes and absent or empty texts. Run it again after changing a
seed; the corpus is kept small on purpose.
"""
import os
import shutil

MAGIC = b"WDv1.0\n"


def item(description, file_name, flags, repeat=0, delay=0, track=0, end=b"\n"):
    """One item's three lines; None stands for an absent text ("*")."""
    def text(t):
        return b"*" if t is None else t
    numbers = b"%d %d %d %d" % (flags, repeat, delay, track)
    return text(description) + end + text(file_name) + end + numbers + end


SEEDS = {
    # Names in any script: UTF-8 lines, a long UTF-8 line cut between
    # characters, and lines in code page 1252 from earlier versions.
    "utf8_names": MAGIC
        + item("Ωδή · песня".encode(), "C:\\音楽\\旋律🎶.WAV".encode(), 1)
        + item(("ж" * 300).encode(), None, 4, 0, 0, 3),
    "legacy_1252": MAGIC
        + item(b"Caf\xe9 cr\xe8me", b"C:\\CH\xc2TEAU.WAV", 1)
        + item(b"\xc3\xa9t\xe9", None, 8, 0, 5),
    # Well-formed lists.
    "every_kind": MAGIC
        + item(b"Morning bell", b"C:\\SOUNDS\\BELL.WAV", 1, 2, 5)
        + item(None, b"C:\\MIDI\\SONG.MID", 2)
        + item(b"Overture", None, 4, 1, 0, 7)
        + item(None, b"Pause 30 s", 8, 0, 30)
        + item(b"Clip", b"D:\\VIDEO\\CLIP.AVI", 16, 0, 3600)
        + item(None, b"C:\\SOUNDS\\DING.WAV", 32769, 100, 0),
    "audio_files": MAGIC
        + item(b"Song", b"C:\\MUSIC\\SONG.MP3", 32, 1, 2)
        + item(None, b"D:\\OGG\\B.OGG", 32800)
        + item(b"old", b"A.WAV", 33),
    "magic_only": MAGIC,
    "unusual_flags": MAGIC
        + item(b"", b"A.WAV", 33) + item(b"x", b"B.WAV", 3)
        + item(b"y", b"C.WAV", 0x10001) + item(None, None, 4294967295, 4294967295, 4294967295, 300),
    "absent_and_empty_texts": MAGIC
        + item(b"", b"", 1) + item(None, None, 4) + item(b"*star", b"**", 1) + item(b"", b"E.WAV", 2),
    "crlf": b"WDv1.0\r\n" + item(b"Bell", b"BELL.WAV", 1, 1, 2, 0, b"\r\n")
        + item(b"", None, 4, 0, 0, 3, b"\r\n"),
    "free_layout_numbers": MAGIC + b"d\nF.WAV\n \t1  2\t\t3 4 \t\r\n" + b"e\nG.WAV\n0007 0 0 0300\n",
    "no_final_lf": MAGIC + item(b"a", b"A.WAV", 1) + b"b\nB.WAV\n2 0 0 0",
    "trailing_blank_lines": MAGIC + item(b"a", b"A.WAV", 1) + b"\n\r\n \t\n\n",
    "only_newlines": MAGIC + b"\n" * 64,
    # Long lines: a text of 511 characters is kept whole, a longer one is cut.
    "long_texts": MAGIC + item(b"d" * 511, b"F" * 511, 1)
        + item(b"L" * 700, b"M" * 600, 2) + item(b"next", b"N.WAV", 1),
    # Broken files: the items before the fault are kept.
    "truncated_after_description": MAGIC + item(b"a", b"A.WAV", 1) + b"half\n",
    "truncated_after_file_name": MAGIC + item(b"a", b"A.WAV", 1) + b"half\nH.WAV\n",
    "truncated_text_without_lf": MAGIC + b"half",
    "numbers_with_sign": MAGIC + item(b"a", b"A.WAV", 1) + b"b\nB.WAV\n-1 0 0 0\n",
    "numbers_overflow": MAGIC + b"b\nB.WAV\n4294967296 0 0 0\n",
    "numbers_three": MAGIC + b"b\nB.WAV\n1 2 3\n",
    "numbers_five": MAGIC + b"b\nB.WAV\n1 2 3 4 5\n",
    "numbers_garbage": MAGIC + b"b\nB.WAV\n1 2x 3 4\n",
    "nul_bytes": MAGIC + b"de\x00sc\nFI\x00LE.WAV\n1 0 0 0\n" + b"\x00\n*\n2 0 0 0\n",
    "magic_refused": b"WDv1.1\n" + item(b"a", b"A.WAV", 1),
}


def write_corpus(folder, extension, seeds):
    """Replaces fuzz/<folder> by one file per seed, named <seed><extension>."""
    corpus = os.path.join(os.path.dirname(os.path.abspath(__file__)), folder)
    shutil.rmtree(corpus, ignore_errors=True)
    os.makedirs(corpus)
    for name, data in sorted(seeds.items()):
        with open(os.path.join(corpus, name + extension), "wb") as f:
            f.write(data)


def main():
    write_corpus("corpus", ".wdl", SEEDS)


if __name__ == "__main__":
    main()
