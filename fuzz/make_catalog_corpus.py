#!/usr/bin/env python3
"""Writes the seed corpus of the CD catalog fuzzer into fuzz/catalog_corpus.

Each seed is one kind of catalog the reader must cope with: entries as the
program writes them (CR LF), paths with blanks, lines that are no entries,
numbers out of range, overlong lines and paths, NUL bytes and files whose
first line is wrong. Run it again after changing a seed.
"""
from make_corpus import write_corpus

MAGIC = b"WDv1.0\r\n"


def entry(first, second, path, end=b"\r\n"):
    return b"%d %d " % (first, second) + path + end


SEEDS = {
    "written": MAGIC + entry(3867, 2834000, b"C:\\LISTS\\ROCK.WDL")
        + entry(1043, 4021773, b"C:\\LISTS\\JAZZ.WDL") + entry(3867, 2834000, b"C:\\LATER.WDL"),
    "magic_only": MAGIC,
    "lf_only": b"WDv1.0\n" + entry(1, 2, b"A.WDL", b"\n") + entry(3, 4, b"B.WDL", b"\n"),
    "blanks_in_paths": MAGIC + entry(5, 6, b"C:\\MY LISTS\\PARTY MIX.WDL")
        + b"  7\t 8 \t D:\\A B\\C.WDL \t \r\n" + entry(9, 10, b"E.WDL"),
    "not_entries": MAGIC + b"\r\nhello world\r\n12\r\n12 x C.WDL\r\n-1 2 N.WDL\r\n+1 2 P.WDL\r\n"
        + b"1 2\r\n1 2   \r\n" + entry(1, 2, b"FOUND.WDL"),
    "numbers_at_the_edge": MAGIC + entry(4294967295, 4294967295, b"MAX.WDL")
        + b"4294967296 1 OVER.WDL\r\n0000000000001 2 ZEROS.WDL\r\n",
    "no_final_line_end": MAGIC + entry(1, 2, b"A.WDL") + b"3 4 LAST.WDL",
    "long_paths": MAGIC + entry(1, 1, b"P" * 511) + entry(2, 2, b"Q" * 512)
        + b"3 3 " + b"R" * 1100 + b"\r\n" + entry(4, 4, b"AFTER.WDL"),
    "nul_bytes": MAGIC + b"1 2 A\x00B.WDL\r\n\x00\r\n" + entry(1, 2, b"CLEAN.WDL"),
    "magic_refused": b"WDv1.1\r\n" + entry(1, 2, b"A.WDL"),
    "magic_without_line_end": b"WDv1.0",
    "list_file_instead": b"WDv1.0\r\nMorning bell\r\nC:\\BELL.WAV\r\n1 2 5 0\r\n",
}


def main():
    write_corpus("catalog_corpus", ".dat", SEEDS)


if __name__ == "__main__":
    main()
