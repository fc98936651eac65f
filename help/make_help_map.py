#!/usr/bin/env python3
"""Maps the program's help context numbers to the pages of WD.CHM.

The program opens its help at a page of the compiled help file for each
HELPCTX_* number of resources/ids.h. A section of the help sources claims a
number with a paragraph of its own,

    \\cfg{help-context}{HELPCTX_OVERVIEW}

(halibut ignores configuration it does not know); a claim before the first
heading belongs to the contents page. halibut names each section's page
after \\cfg{chm-template-filename} (whose only directive must be %k, the
section's keyword) and the contents page after \\cfg{chm-contents-filename}.

The script writes a C++ header with one {number, page} pair per number,
after checking that every number is claimed exactly once, that every claim
names a number of the header, and that every page is in the built .chm
file. Anything wrong stops it with a message and exit code 1, and nothing
is written: a topic cannot lose its number unnoticed.

Usage: make_help_map.py --header ids.h --chm WD.CHM --output help_pages.h
                        [--verbose] source.but...

The .chm directory (after the ITSF description of the format):
  ITSF header   "ITSF", uint32 version (3), uint32 header size, ...;
                at 72 the uint64 offset of the directory
  ITSP header   "ITSP", uint32 version, uint32 header size, uint32 -,
                uint32 chunk size, ..., at 32 int32 first listing chunk,
                at 44 uint32 chunk count; the chunks follow the header
  PMGL chunk    "PMGL", uint32 free bytes at its end, uint32 -,
                int32 previous chunk, int32 next chunk (-1: none), then
                entries: encint name size, name (UTF-8), encint section,
                encint offset, encint size. An encint is big-endian,
                seven bits a byte, the top bit set on all bytes but its last.
"""

import argparse
import os
import re
import struct
import sys


class HelpMapError(Exception):
    pass


def fail(message):
    raise HelpMapError(message)


# ---- Context numbers from the C header ------------------------------------

DEFINE = re.compile(r'^\s*#\s*define\s+(HELPCTX_\w+)\s+(\d+)\s*(?:/\*.*\*/\s*|//.*)?$')


def read_context_numbers(text):
    """Every '#define HELPCTX_NAME number' of the header, in order."""
    numbers = {}
    for line_no, line in enumerate(text.splitlines(), 1):
        if not re.match(r'^\s*#\s*define\s+HELPCTX_', line):
            continue
        match = DEFINE.match(line)
        if not match:
            fail(f'header line {line_no}: not a plain "#define HELPCTX_NAME number": {line.strip()}')
        name, number = match.group(1), int(match.group(2))
        if name in numbers:
            fail(f'header line {line_no}: {name} is defined twice')
        if number in numbers.values():
            fail(f'header line {line_no}: context number {number} is used twice')
        if not 0 < number < 2**31:
            fail(f'header line {line_no}: context number {number} is out of range')
        numbers[name] = number
    if not numbers:
        fail('the header defines no HELPCTX_ constants')
    return numbers


# ---- The help sources ------------------------------------------------------

HEADING = re.compile(r'\\(C|H|S\d*|A|U)(?:\{([^}]*)\}|(?=\s))')
CLAIM = re.compile(r'\\cfg\{help-context\}\{([^}]*)\}\s*')
CONFIG = re.compile(r'\\cfg\{(chm-template-filename|chm-contents-filename)\}\{([^}]*)\}\s*')
PAGE_NAME = re.compile(r'[A-Za-z0-9._-]+')


def paragraphs(text):
    """The paragraphs of a halibut source (blank-line separated), without
    whole-paragraph comments."""
    for paragraph in re.split(r'\n[ \t]*\n', text):
        paragraph = paragraph.strip()
        if paragraph and not (paragraph.startswith('\\#') and not paragraph.startswith('\\#{')):
            yield paragraph


def read_claims(sources):
    """The claims of the sources, in order, as (context name, section
    keyword or None for the contents page, where), and halibut's page name
    settings."""
    claims, settings = [], {}
    for source_name, text in sources:
        section = None
        for paragraph in paragraphs(text):
            where = f'{source_name}: {paragraph.splitlines()[0][:60]}'
            heading = HEADING.match(paragraph)
            if heading:
                section = (heading.group(2) or '', where)
                continue
            config = CONFIG.fullmatch(paragraph)
            if config:
                settings[config.group(1)] = config.group(2)
                continue
            if paragraph.startswith('\\cfg{help-context}'):
                claim = CLAIM.fullmatch(paragraph)
                if not claim:
                    fail(f'{where}: a help context claim is a paragraph of its own: '
                         '\\cfg{help-context}{HELPCTX_NAME}')
                if section and not section[0]:
                    fail(f'{section[1]}: a section that opens by context number needs a keyword')
                claims.append((claim.group(1).strip(), section[0] if section else None, where))
    return claims, settings


def page_names(settings):
    """(page of a section keyword, contents page) as halibut names them."""
    template = settings.get('chm-template-filename')
    if template is None or re.sub('%k', '', template).count('%') or '%k' not in template:
        fail('the help sources must set \\cfg{chm-template-filename} to a name whose one '
             'directive is %k (the section keyword), such as %k.html')
    contents = settings.get('chm-contents-filename', 'Contents.html')
    return (lambda keyword: template.replace('%k', keyword)), contents


def context_map(numbers, claims, settings):
    """[(number, name, page)] sorted by number."""
    section_page, contents_page = page_names(settings)
    pages = {}
    for name, keyword, where in claims:
        if name not in numbers:
            fail(f'{where}: {name} is no HELPCTX_ constant of the header')
        if name in pages:
            fail(f'{where}: {name} is claimed by two sections')
        page = contents_page if keyword is None else section_page(keyword)
        if not PAGE_NAME.fullmatch(page):
            fail(f'{where}: page name {page!r} may hold only letters, digits, ".", "_" and "-"')
        pages[name] = page
    missing = [name for name in numbers if name not in pages]
    if missing:
        fail('no topic claims ' + ', '.join(missing) +
             ': give its section a paragraph \\cfg{help-context}{' + missing[0] + '}')
    return sorted((numbers[name], name, pages[name]) for name in numbers)


# ---- The compiled help file ------------------------------------------------

def read_encint(data, at, end):
    value = 0
    while True:
        if at >= end:
            fail('the .chm directory has an entry that runs past its chunk')
        byte = data[at]
        at += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, at


def chm_file_names(data):
    """The names of every entry in a .chm file's directory."""
    def unpack(fmt, at, what):
        if at < 0 or at + struct.calcsize(fmt) > len(data):
            fail(f'{what} lies outside the .chm file')
        return struct.unpack_from(fmt, data, at)

    if data[:4] != b'ITSF':
        fail('not a compiled HTML Help file')
    directory = unpack('<Q', 72, 'the ITSF header')[0]
    if data[directory:directory + 4] != b'ITSP':
        fail('the .chm directory has no ITSP header')
    header_size, _, chunk_size = unpack('<III', directory + 8, 'the ITSP header')
    chunk, count = unpack('<i', directory + 32, 'the ITSP header')[0], unpack('<I', directory + 44, 'the ITSP header')[0]
    if chunk_size < 20:
        fail('the .chm directory has a damaged chunk size')
    names, seen = [], set()
    while chunk != -1:
        if not 0 <= chunk < count or chunk in seen:
            fail(f'the .chm directory refers to chunk {chunk} of {count}')
        seen.add(chunk)
        start = directory + header_size + chunk * chunk_size
        magic, free, _, _, following = unpack('<4sIIii', start, 'a .chm directory chunk')
        if magic != b'PMGL' or free > chunk_size - 20:
            fail(f'the .chm directory chunk {chunk} is damaged')
        at, end = start + 20, start + chunk_size - free
        while at < end:
            size, at = read_encint(data, at, end)
            if at + size > end:
                fail('the .chm directory has a name that runs past its chunk')
            names.append(data[at:at + size].decode('utf-8', 'replace'))
            at += size
            for _ in range(3):  # section, offset, size
                _, at = read_encint(data, at, end)
        chunk = following
    return names


def check_pages(context, chm_names):
    present = {name.lstrip('/') for name in chm_names}
    for number, name, page in context:
        if page not in present:
            fail(f'{name} ({number}) opens {page}, which the help file does not hold')


# ---- The header ------------------------------------------------------------

def header_text(context):
    lines = ['// Made by help/make_help_map.py from resources/ids.h and the help',
             '// sources: the page of WD.CHM that each help context number opens.',
             '#ifndef WENDLE_HELP_PAGES_H',
             '#define WENDLE_HELP_PAGES_H',
             '',
             'struct HelpPage {',
             '  unsigned context;',
             '  const wchar_t* page;',
             '};',
             '',
             'constexpr HelpPage kHelpPages[] = {']
    lines += [f'    {{{number}, L"{page}"}},  // {name}' for number, name, page in context]
    lines += ['};', '', '#endif', '']
    return '\n'.join(lines)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--header', required=True, help='C header with the HELPCTX_ numbers')
    parser.add_argument('--chm', required=True, help='the compiled help file made of the sources')
    parser.add_argument('--output', required=True, help='the C++ header to write')
    parser.add_argument('--verbose', action='store_true', help='list the map')
    parser.add_argument('sources', nargs='+', help='the halibut sources, in the order of the book')
    args = parser.parse_args(argv)
    try:
        with open(args.header, encoding='latin-1') as header:
            numbers = read_context_numbers(header.read())
        sources = []
        for path in args.sources:
            with open(path, encoding='utf-8') as source:
                sources.append((os.path.basename(path), source.read()))
        claims, settings = read_claims(sources)
        context = context_map(numbers, claims, settings)
        with open(args.chm, 'rb') as chm:
            check_pages(context, chm_file_names(chm.read()))
        temporary = args.output + '.tmp'
        with open(temporary, 'w', newline='\n') as out:
            out.write(header_text(context))
        os.replace(temporary, args.output)
    except (HelpMapError, OSError) as error:
        print(f'make_help_map: {error}', file=sys.stderr)
        return 1
    if args.verbose:
        for number, name, page in context:
            print(f'{number:5} {name:28} {page}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
