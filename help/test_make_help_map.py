#!/usr/bin/env python3
"""Tests of make_help_map.py on help files that halibut really writes.

Usage: test_make_help_map.py [path of halibut]
"""

import os
import random
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # no __pycache__ in the source folder
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_help_map as hm  # noqa: E402

HALIBUT = 'halibut'

PAGE_SETTINGS = '\\cfg{chm-template-filename}{%k.html}\n\n\\cfg{chm-contents-filename}{index.html}\n'


def make_chm(folder, sources):
    """Runs halibut on (name, text) sources; the bytes of the .chm file."""
    paths = []
    for name, text in sources:
        paths.append(os.path.join(folder, name))
        with open(paths[-1], 'w') as out:
            out.write(text)
    chm = os.path.join(folder, 'TEST.CHM')
    subprocess.run([HALIBUT, f'--chm={chm}'] + paths, check=True, capture_output=True)
    with open(chm, 'rb') as raw:
        return raw.read()


def book(claims_at_top='', chapters=()):
    """A contents source and one source per (keyword, claims, subsections)."""
    sources = [('top.but', f'\\title Test\n\n{PAGE_SETTINGS}\n{claims_at_top}\nContents.\n')]
    for keyword, claims, subsections in chapters:
        text = f'\\C{{{keyword}}} Chapter {keyword}\n\n{claims}\nText of {keyword}.\n'
        for sub_keyword, sub_claims in subsections:
            text += f'\n\\H{{{sub_keyword}}} Section {sub_keyword}\n\n{sub_claims}\nText.\n'
        sources.append((f'{keyword}.but', text))
    return sources


def claim(name):
    return f'\\cfg{{help-context}}{{{name}}}\n'


class MapTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)

    def map_of(self, numbers, sources):
        claims, settings = hm.read_claims(sources)
        return hm.context_map(numbers, claims, settings)

    def test_each_number_opens_the_page_of_the_section_that_claims_it(self):
        sources = book(claim('HELPCTX_TOP'), [
            ('first', claim('HELPCTX_FIRST'), [('first-a', ''), ('first-b', claim('HELPCTX_B'))]),
            ('second', '', [('second-a', claim('HELPCTX_SECOND_A') + '\n\\# ' + claim('HELPCTX_NONE'))])])
        numbers = {'HELPCTX_TOP': 1, 'HELPCTX_FIRST': 7, 'HELPCTX_B': 3, 'HELPCTX_SECOND_A': 12}
        context = self.map_of(numbers, sources)
        self.assertEqual(context, [(1, 'HELPCTX_TOP', 'index.html'), (3, 'HELPCTX_B', 'first-b.html'),
                                   (7, 'HELPCTX_FIRST', 'first.html'), (12, 'HELPCTX_SECOND_A', 'second-a.html')])

        # Every page is one halibut wrote, and the directory lists them all.
        names = hm.chm_file_names(make_chm(self.folder.name, sources))
        hm.check_pages(context, names)
        pages = {n.lstrip('/') for n in names if n.endswith('.html')}
        self.assertEqual(pages, {'index.html', 'first.html', 'first-a.html', 'first-b.html', 'second.html',
                                 'second-a.html'})

        # The header the program compiles holds each pair.
        text = hm.header_text(context)
        for number, _, page in context:
            self.assertIn(f'{{{number}, L"{page}"}}', text)

    def test_a_directory_of_several_chunks_is_read_whole(self):
        rng = random.Random(3)
        keywords = sorted({''.join(rng.choice('abcdefghijklmnopqrstuvwxyz-') for _ in range(rng.randint(8, 30)))
                           for _ in range(400)} - {'index'})
        sources = book('', [(k, '', []) for k in keywords])
        names = {n.lstrip('/') for n in hm.chm_file_names(make_chm(self.folder.name, sources))}
        self.assertTrue({k + '.html' for k in keywords} <= names)
        self.assertIn('index.html', names)

    def test_mistakes_in_header_or_sources_stop_the_build(self):
        for header, message in [
                ('#define HELPCTX_A 1\n#define HELPCTX_B  1\n', 'used twice'),
                ('#define HELPCTX_A 1\n#define HELPCTX_A 2\n', 'defined twice'),
                ('#define HELPCTX_A (1)\n', 'not a plain'),
                ('#define IDS_OTHER 1\n', 'no HELPCTX_')]:
            with self.assertRaisesRegex(hm.HelpMapError, message):
                hm.read_context_numbers(header)

        numbers = {'HELPCTX_A': 1, 'HELPCTX_B': 2}
        for sources, message in [
                (book(claim('HELPCTX_A')), 'no topic claims HELPCTX_B'),
                (book(claim('HELPCTX_A'), [('c', claim('HELPCTX_B') + '\n' + claim('HELPCTX_C'), [])]),
                 'HELPCTX_C is no HELPCTX_ constant'),
                (book(claim('HELPCTX_A'), [('c', claim('HELPCTX_B'), [('d', claim('HELPCTX_B'))])]),
                 'HELPCTX_B is claimed by two sections'),
                (book(claim('HELPCTX_A'), [('c', claim('HELPCTX_B').rstrip() + ' and more text', [])]),
                 'a paragraph of its own'),
                ([('top.but', '\\title T\n\n' + claim('HELPCTX_A') + '\n\\U Unnamed\n\n' + claim('HELPCTX_B'))],
                 'needs a keyword'),
                ([('top.but', '\\title T\n\n' + claim('HELPCTX_A') + '\n\\C{c} C\n\n' + claim('HELPCTX_B'))],
                 'chm-template-filename')]:
            with self.assertRaisesRegex(hm.HelpMapError, message):
                self.map_of(numbers, sources)

        # A page the file does not hold (a section halibut names otherwise).
        with self.assertRaisesRegex(hm.HelpMapError, 'opens gone.html, which the help file does not hold'):
            hm.check_pages([(2, 'HELPCTX_B', 'gone.html')], ['/index.html', '/c.html'])

    def test_the_command_line_writes_the_header_only_when_all_is_well(self):
        sources = book(claim('HELPCTX_A'), [('c', claim('HELPCTX_B'), [])])
        make_chm(self.folder.name, sources)
        path = lambda name: os.path.join(self.folder.name, name)  # noqa: E731
        with open(path('ids.h'), 'w') as out:
            out.write('#define HELPCTX_A 1\n#define HELPCTX_B 2\n')
        args = ['--header', path('ids.h'), '--chm', path('TEST.CHM'), '--output', path('pages.h')]
        sources_args = [path(name) for name, _ in sources]
        self.assertEqual(hm.main(args + sources_args[:1]), 1)  # HELPCTX_B has no section
        self.assertFalse(os.path.exists(path('pages.h')))
        self.assertEqual(hm.main(args + sources_args), 0)
        with open(path('pages.h')) as header:
            self.assertIn('{2, L"c.html"},  // HELPCTX_B', header.read())

    def test_damaged_help_files_are_reported_not_crashed_on(self):
        raw = make_chm(self.folder.name, book('', [('c', '', [])]))
        damaged = [raw[:n] for n in (0, 4, 80, 100, len(raw) // 2)]
        rng = random.Random(5)
        for _ in range(300):
            data = bytearray(raw)
            for _ in range(rng.randint(1, 4)):
                at = rng.randrange(min(len(data), 8192))  # within the headers and the directory
                data[at] = rng.choice((0, 0xFF, rng.randrange(256)))
            damaged.append(bytes(data))
        for data in damaged:
            try:
                hm.chm_file_names(data)
            except hm.HelpMapError:
                pass


if __name__ == '__main__':
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        HALIBUT = sys.argv.pop(1)
    unittest.main()
