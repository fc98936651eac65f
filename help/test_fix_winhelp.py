#!/usr/bin/env python3
"""Tests of fix_winhelp.py on help files that halibut really writes.

Usage: test_fix_winhelp.py [path of halibut]
The fixed files are read back the way Wine's help viewer reads them: the
directory and |CONTEXT searched as B+ trees (hashes compared as signed
numbers), |CTXOMAP taken as it stands.
"""

import os
import random
import struct
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # no __pycache__ in the source folder
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fix_winhelp as fw  # noqa: E402

HALIBUT = 'halibut'


def make_help(folder, source):
    """Runs halibut on a source text; the bytes of the .hlp file."""
    but = os.path.join(folder, 'test.but')
    hlp = os.path.join(folder, 'TEST.HLP')
    with open(but, 'w') as out:
        out.write(source)
    subprocess.run([HALIBUT, f'--winhelp={hlp}', but], check=True, capture_output=True)
    with open(hlp, 'rb') as raw:
        return raw.read()


def internal_files(data):
    """{name: payload}, found through the directory as a viewer finds them."""
    _, directory, _, _ = struct.unpack_from('<IIiI', data, 0)
    tree = data[directory + 9:]
    names = [name for name, _ in fw.read_btree(tree, 'dir', fw.directory_entry)[1]]
    files = {}
    for name in names:
        entry = tree_search(tree, name, directory_key)
        offset = struct.unpack_from('<i', entry, len(name) + 1)[0]
        _, used, _ = struct.unpack_from('<IIB', data, offset)
        files[name] = data[offset + 9:offset + 9 + used]
    return files


def directory_key(data, at, leaf):
    end = data.index(b'\0', at)
    return data[at:end], end + (5 if leaf else 3)


def context_key(data, at, leaf):
    return struct.unpack_from('<i', data, at)[0], at + (8 if leaf else 6)


def tree_search(tree, key, read_key):
    """The leaf entry with the key, searched like Wine's HLPFILE_BPTreeSearch."""
    page_size, = struct.unpack_from('<H', tree, 4)
    root, _, _, levels = struct.unpack_from('<hhhh', tree, 26)
    page = root
    for _ in range(levels - 1):
        at = 38 + page * page_size
        count, = struct.unpack_from('<h', tree, at + 2)
        child, at = struct.unpack_from('<h', tree, at + 4)[0], at + 6
        for _ in range(count):
            entry_key, after = read_key(tree, at, False)
            if entry_key > key:
                break
            child, = struct.unpack_from('<H', tree, after - 2)
            at = after
        page = child
    at = 38 + page * page_size
    count, = struct.unpack_from('<h', tree, at + 2)
    at += 8
    for _ in range(count):
        entry_key, after = read_key(tree, at, True)
        if entry_key == key:
            return tree[at:after]
        if entry_key > key:
            return None
        at = after
    return None


def source_with_topics(names, filler=''):
    parts = ['\\title Test\n\nContents.\n']
    for i, name in enumerate(names):
        parts.append(f'\\C{{c{i}}} Chapter {name}\n\n\\cfg{{winhelp-topic}}{{{name}}}\n\n'
                     f'Text of {name}; see \\k{{c{(i + 1) % len(names)}}}.{filler}\n')
    return '\n'.join(parts)


class FixTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)

    def test_hashes_match_the_topic_names_halibut_hashed(self):
        # Mixed case, digits, "." and "_", and names whose hash is negative.
        names = ['HELPCTX_INDEX', 'Overview', 'dlg.prefs_2', 'A', 'Z90', 'HELPCTX_SOUND_EDITOR']
        data = make_help(self.folder.name, source_with_topics(names))
        context = internal_files(data)[b'|CONTEXT']
        hashes = {value for value, _ in fw.read_btree(context, 'c', fw.context_entry)[1]}
        for name in names:
            self.assertIn(fw.topic_hash(name), hashes, name)
        self.assertTrue(any(fw.topic_hash(n) < 0 for n in names))

    def test_every_number_opens_its_topic_and_every_topic_stays_reachable(self):
        # Enough topics for a |CONTEXT tree of several leaves and an index
        # level, so that the rebuilt trees are searched through their index.
        rng = random.Random(1)
        names = sorted({''.join(rng.choice('ABCDEFGHIJKLMNOPQRSTUVWXYZ_') for _ in range(rng.randint(6, 14)))
                        for _ in range(700)})
        self.assertGreater(sum(fw.topic_hash(n) < 0 for n in names), 200)  # both signs well mixed
        raw = make_help(self.folder.name, source_with_topics(names))
        numbers = {name: 1000 + i for i, name in enumerate(names[::7])}
        numbers['HELPCTX_START'] = 1
        fixed, _ = fw.fix_help_file(raw, numbers, {'HELPCTX_START': 'Top'})

        before, after = internal_files(raw), internal_files(fixed)
        raw_offsets = dict(fw.read_btree(before[b'|CONTEXT'], 'c', fw.context_entry)[1])
        tree = after[b'|CONTEXT']
        self.assertGreater(struct.unpack_from('<h', tree, 32)[0], 1, 'expected an index level')
        for value, offset in raw_offsets.items():
            entry = tree_search(tree, value, context_key)
            self.assertIsNotNone(entry, f'hash {value} not found')
            self.assertEqual(struct.unpack_from('<iI', entry)[1], offset)

        count, = struct.unpack_from('<H', after[b'|CTXOMAP'])
        mapped = dict(struct.unpack_from('<iI', after[b'|CTXOMAP'], 2 + 8 * i) for i in range(count))
        self.assertEqual(len(mapped), len(numbers))
        for name, number in numbers.items():
            topic = 'Top' if name == 'HELPCTX_START' else name
            self.assertEqual(mapped[number], raw_offsets[fw.topic_hash(topic)], name)
        self.assertEqual(mapped[1], 0)  # the contents page starts the topics

        for name in before:
            if name not in (b'|CONTEXT', b'|CTXOMAP'):
                self.assertEqual(after[name], before[name], name)
        self.assertEqual(struct.unpack_from('<I', fixed, 12)[0], len(fixed))

    def test_mistakes_in_header_or_source_stop_the_build(self):
        for header, message in [
                ('#define HELPCTX_A 1\n#define HELPCTX_B  1\n', 'used twice'),
                ('#define HELPCTX_A 1\n#define HELPCTX_A 2\n', 'defined twice'),
                ('#define HELPCTX_A (1)\n', 'not a plain'),
                ('#define HELPCTX_A 0x10\n', 'not a plain'),
                ('#define IDS_OTHER 1\n', 'no HELPCTX_')]:
            with self.assertRaisesRegex(fw.HelpFileError, message):
                fw.read_context_numbers(header)
        numbers = fw.read_context_numbers('#define HELPCTX_A 1 /* a */\n#define HELPCTX_B 2\n')
        self.assertEqual(numbers, {'HELPCTX_A': 1, 'HELPCTX_B': 2})

        raw = make_help(self.folder.name, source_with_topics(['HELPCTX_A']))
        with self.assertRaisesRegex(fw.HelpFileError, 'no topic "HELPCTX_B"'):
            fw.fix_help_file(raw, numbers, {})

        # The command line reports the mistake and writes nothing.
        paths = [os.path.join(self.folder.name, n) for n in ('ids.h', 'raw.hlp', 'WD.HLP')]
        with open(paths[0], 'w') as out:
            out.write('#define HELPCTX_A 1\n#define HELPCTX_B 2\n')
        with open(paths[1], 'wb') as out:
            out.write(raw)
        args = ['--header', paths[0], '--input', paths[1], '--output', paths[2]]
        self.assertEqual(fw.main(args), 1)
        self.assertFalse(os.path.exists(paths[2]))
        self.assertEqual(fw.main(args + ['--topic', 'HELPCTX_B=Top']), 0)
        self.assertTrue(os.path.exists(paths[2]))

    def test_damaged_files_are_reported_not_crashed_on(self):
        raw = make_help(self.folder.name, source_with_topics(['HELPCTX_A', 'HELPCTX_B']))
        numbers = {'HELPCTX_A': 1, 'HELPCTX_B': 2}
        damaged = [raw[:n] for n in (0, 10, 16, 100, len(raw) // 2, len(raw) - 1)]
        rng = random.Random(5)
        for _ in range(400):
            data = bytearray(raw)
            for _ in range(rng.randint(1, 4)):
                at = rng.randrange(len(data))
                data[at] = rng.choice((0, 0xFF, rng.randrange(256)))
            damaged.append(bytes(data))
        for data in damaged:
            try:
                fw.fix_help_file(data, numbers, {})
            except fw.HelpFileError:
                pass


if __name__ == '__main__':
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        HALIBUT = sys.argv.pop(1)
    unittest.main()
