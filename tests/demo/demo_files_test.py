#!/usr/bin/env python3
"""The demo list's committed files are exactly what demo/make_demo.py makes,
the list reads as a Wendle list, and its sounds can share one sound sink.

    demo_files_test.py DEMO_DIR
"""

import os
import subprocess
import sys
import tempfile
import unittest
import wave

DEMO = None


class DemoFiles(unittest.TestCase):
    def test_script_reproduces_the_committed_files(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, os.path.join(DEMO, 'make_demo.py'), '--output', out], check=True)
            made = sorted(os.listdir(out))
            self.assertIn('demo.wdl', made)
            for name in made:
                with open(os.path.join(out, name), 'rb') as f:
                    fresh = f.read()
                committed = os.path.join(DEMO, name)
                self.assertTrue(os.path.exists(committed), name + ' is made but not committed')
                with open(committed, 'rb') as f:
                    same = f.read() == fresh
                self.assertTrue(same, name + ' differs from what make_demo.py makes')

    def test_list_reads_and_names_files_beside_it(self):
        with open(os.path.join(DEMO, 'demo.wdl'), 'rb') as f:
            lines = f.read().decode('ascii').split('\n')
        self.assertEqual('WDv1.0', lines[0])
        self.assertEqual('', lines[-1], 'the last line ends with a line feed')
        body = lines[1:-1]
        self.assertEqual(0, len(body) % 3, 'three lines per item')
        self.assertGreater(len(body), 0)
        for i in range(0, len(body), 3):
            description, name, numbers = body[i:i + 3]
            self.assertRegex(numbers, r'^\d+ \d+ \d+ \d+$')
            kind, repeats, delay, track = (int(n) for n in numbers.split())
            self.assertIn(kind, (1, 2, 8, 32), numbers)
            self.assertEqual(0, track)
            if kind == 8:
                # A Pause object: no description, its label as the file name.
                self.assertEqual('*', description)
                self.assertEqual('Pause %u sec.' % delay, name)
                self.assertEqual(0, repeats)
            else:
                # Names without a folder, found in the list's own folder
                # (with the same case, for case-sensitive file systems).
                self.assertNotRegex(name, r'[\\/:]|^\*')
                self.assertTrue(os.path.isfile(os.path.join(DEMO, name)), name)
                self.assertEqual(kind == 1, name.lower().endswith('.wav'), name)
                self.assertEqual(kind == 32, name.lower().endswith('.ogg'), name)

    def test_compressed_sound_is_a_small_ogg_vorbis_file(self):
        # Committed as encoded (make_demo.py --ogg); the audio tests play
        # it under Wine and hear it.
        with open(os.path.join(DEMO, 'bells.ogg'), 'rb') as f:
            ogg = f.read()
        self.assertEqual(b'OggS', ogg[:4])
        self.assertIn(b'\x01vorbis', ogg[:100])
        self.assertLess(len(ogg), 16384)

    def test_sounds_share_one_format(self):
        # The raw sink of a headless run is one stream only when they do.
        formats = set()
        waves = [n for n in os.listdir(DEMO) if n.endswith('.wav')]
        self.assertGreater(len(waves), 0)
        for name in waves:
            with wave.open(os.path.join(DEMO, name)) as w:
                formats.add((w.getnchannels(), w.getsampwidth(), w.getframerate()))
                seconds = w.getnframes() / w.getframerate()
                self.assertTrue(0.5 <= seconds <= 2.0, '%s lasts %.2f s' % (name, seconds))
        self.assertEqual(1, len(formats), formats)
        with open(os.path.join(DEMO, 'tune.mid'), 'rb') as f:
            midi = f.read()
        self.assertEqual(b'MThd', midi[:4])
        self.assertEqual(b'MTrk', midi[14:18])
        self.assertEqual(len(midi) - 22, int.from_bytes(midi[18:22], 'big'))
        self.assertTrue(midi.endswith(b'\xff\x2f\x00'))


if __name__ == '__main__':
    DEMO = os.path.abspath(sys.argv.pop(1))
    unittest.main()
