#!/usr/bin/env python3
"""Makes halibut's WinHelp file open by context number.

The program opens its help file with WinHelp(HELP_CONTEXT, n), which looks
the number up in the file's |CTXOMAP internal file. halibut writes that
file empty, and it sorts |CONTEXT (topic-name hash -> topic offset) by the
hashes as unsigned numbers, while viewers search it as signed numbers, so
topics whose name hashes to a negative number cannot be found.

This script reads a halibut .hlp file and writes a copy in which
  - |CTXOMAP maps every HELPCTX_* number of the given header to the offset
    of the topic named like the constant (a section of the help source
    carries \\cfg{winhelp-topic}{HELPCTX_OVERVIEW}), or to the topic given
    with --topic NAME=TOPIC (the contents page is halibut's topic "Top");
  - |CONTEXT is sorted by signed hash;
  - the internal file directory is rebuilt for the new file layout.
Every other internal file is copied unchanged. Anything unexpected in the
header or the help file stops the script with a message and exit code 1.

Usage: fix_winhelp.py --header ids.h --input raw.hlp --output WD.HLP
                      [--topic HELPCTX_INDEX=Top] [--verbose]

File layout (after Manfred Winterhoff's description of the format):
  file header   uint32 magic 0x00035F3F, uint32 directory offset,
                int32 first free block (-1), uint32 file size
  internal file uint32 reserved size (with this 9-byte header),
                uint32 used size, uint8 flags, then the data
  B+ tree       uint16 magic 0x293B, uint16 flags, uint16 page size,
                char structure[16], int16 0, int16 page splits,
                int16 root page, int16 -1, int16 page count,
                int16 levels, int32 entries; then the pages.
                Leaf page: uint16 free bytes, int16 entries,
                int16 previous leaf, int16 next leaf, entries.
                Index page: uint16 free bytes, int16 entries,
                int16 first child, then (key, uint16 child) pairs whose
                key is the first key below that child.
  directory     B+ tree of (file name NUL, int32 file offset)
  |CONTEXT      B+ tree of (int32 hash, uint32 topic offset)
  |TTLBTREE     B+ tree of (int32 topic offset, title NUL)
  |CTXOMAP      uint16 count, then (int32 context number, uint32 offset)
"""

import argparse
import os
import re
import struct
import sys

FILE_MAGIC = 0x00035F3F
BTREE_MAGIC = 0x293B
BTREE_HEADER = struct.Struct('<HHH16shhhhhhi')  # 38 bytes
LEAF_HEADER = struct.Struct('<Hhhh')
INDEX_HEADER = struct.Struct('<Hhh')


class HelpFileError(Exception):
    pass


def fail(message):
    raise HelpFileError(message)


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


# ---- Topic names -----------------------------------------------------------

def topic_hash(name):
    """The WinHelp hash of a topic name, as a signed 32-bit number."""
    if not re.fullmatch(r'[A-Za-z0-9._]+', name):
        fail(f'topic name {name!r} may hold only letters, digits, "." and "_"')
    value = 0
    for c in name.upper():
        if c.isalpha():
            code = ord(c) - ord('A') + 17
        elif c == '0':
            code = 10
        elif c.isdigit():
            code = ord(c) - ord('0')
        else:
            code = 12 if c == '.' else 13
        value = (value * 43 + code) & 0xFFFFFFFF
    return value - 2**32 if value >= 2**31 else value


# ---- Reading ------------------------------------------------------------------

def unpack(fmt, data, offset, what):
    size = struct.calcsize(fmt)
    if offset < 0 or offset + size > len(data):
        fail(f'{what} lies outside its data')
    return struct.unpack_from(fmt, data, offset)


def read_internal_file(data, offset, what):
    """(reserved, used, flags, payload) of the internal file at offset."""
    reserved, used, flags = unpack('<IIB', data, offset, f'the header of {what}')
    if used + 9 > reserved or offset + reserved > len(data):
        fail(f'{what} does not fit in the help file')
    return reserved, used, flags, data[offset + 9:offset + 9 + used]


def read_btree(data, what, read_leaf_entry):
    """Header fields and all leaf entries, in leaf order, of a B+ tree.

    read_leaf_entry(data, offset) returns (entry, next offset)."""
    magic, flags, page_size, structure, _, _, root, _, pages, levels, count = \
        unpack(BTREE_HEADER.format, data, 0, f'the B+ tree header of {what}')
    if magic != BTREE_MAGIC:
        fail(f'{what} is not a B+ tree')
    if page_size < 16 or pages < 1 or levels < 1 or len(data) < BTREE_HEADER.size + pages * page_size:
        fail(f'{what} has a damaged B+ tree header')

    def page_at(number):
        if not 0 <= number < pages:
            fail(f'{what} refers to page {number} of {pages}')
        start = BTREE_HEADER.size + number * page_size
        return start, start + page_size

    page = root
    for _ in range(levels - 1):  # down the first children to the first leaf
        start, _ = page_at(page)
        page = unpack('<h', data, start + 4, what)[0]

    entries = []
    seen = set()
    while page != -1:
        if page in seen:
            fail(f'{what} has a loop in its leaf chain')
        seen.add(page)
        start, end = page_at(page)
        _, n, _, next_page = unpack(LEAF_HEADER.format, data, start, what)
        offset = start + LEAF_HEADER.size
        for _ in range(n):
            entry, offset = read_leaf_entry(data, offset)
            if offset > end:
                fail(f'{what} has an entry that runs past its page')
            entries.append(entry)
        page = next_page
    if len(entries) != count:
        fail(f'{what} holds {len(entries)} entries but its header says {count}')
    return {'flags': flags, 'page_size': page_size, 'structure': structure}, entries


def directory_entry(data, offset):
    end = data.find(b'\0', offset)
    if end < 0:
        fail('an internal file name in the directory is not terminated')
    return (data[offset:end], unpack('<i', data, end + 1, 'the directory')[0]), end + 5


def context_entry(data, offset):
    return unpack('<iI', data, offset, '|CONTEXT'), offset + 8


def title_entry(data, offset):
    topic = unpack('<i', data, offset, '|TTLBTREE')[0]
    end = data.find(b'\0', offset + 4)
    if end < 0:
        fail('a title in |TTLBTREE is not terminated')
    return (topic, data[offset + 4:end].decode('cp1252', 'replace')), end + 1


def read_help_file(data):
    """The directory's B+ tree settings and {name: (reserved, used, flags, payload)}."""
    magic, directory, _, size = unpack('<IIiI', data, 0, 'the file header')
    if magic != FILE_MAGIC:
        fail('not a WinHelp file')
    if size != len(data):
        fail(f'the file header gives {size} bytes, the file has {len(data)}')
    _, _, _, payload = read_internal_file(data, directory, 'the directory')
    settings, entries = read_btree(payload, 'the directory', directory_entry)
    files = {}
    for name, offset in entries:
        if name in files:
            fail(f'the directory lists {name!r} twice')
        files[name] = read_internal_file(data, offset, name.decode('latin-1'))
    return settings, files


# ---- Writing ------------------------------------------------------------------

def build_btree(settings, entries, leaf_bytes, index_bytes):
    """A B+ tree of the sorted entries.

    leaf_bytes(entry) is the entry as a leaf stores it; index_bytes(entry,
    page) the index entry that leads to the page whose first entry it is."""
    page_size = settings['page_size']

    def pack_pages(items, room):
        groups, group, used = [], [], 0
        for item in items:
            if len(item) > room:
                fail('a B+ tree entry is larger than a page')
            if group and used + len(item) > room:
                groups.append(group)
                group, used = [], 0
            group.append(item)
            used += len(item)
        groups.append(group)
        return groups

    pages = []
    leaf_room = page_size - LEAF_HEADER.size
    groups = pack_pages([leaf_bytes(e) for e in entries], leaf_room)
    first_entries, start = [], 0
    for number, group in enumerate(groups):
        first_entries.append(entries[start] if group else None)
        start += len(group)
        body = b''.join(group)
        previous = number - 1 if number > 0 else -1
        following = number + 1 if number + 1 < len(groups) else -1
        pages.append(LEAF_HEADER.pack(leaf_room - len(body), len(group), previous, following) + body)
    level = list(zip(first_entries, range(len(groups))))
    levels = 1
    index_room = page_size - INDEX_HEADER.size
    while len(level) > 1:
        # The first child of an index page needs no key: it goes in the header.
        children, upper = list(level), []
        while children:
            first = children.pop(0)
            body, n = b'', 0
            while children and len(body) + len(index_bytes(*children[0])) <= index_room:
                body += index_bytes(*children.pop(0))
                n += 1
            if n == 0 and children:
                fail('a B+ tree index entry is larger than a page')
            pages.append(INDEX_HEADER.pack(index_room - len(body), n, first[1]) + body)
            upper.append((first[0], len(pages) - 1))
        level = upper
        levels += 1
    header = BTREE_HEADER.pack(BTREE_MAGIC, settings['flags'], page_size, settings['structure'],
                               0, 0, level[0][1], -1, len(pages), levels, len(entries))
    return header + b''.join(p.ljust(page_size, b'\0') for p in pages)


def internal_file(payload, flags=0):
    return struct.pack('<IIB', len(payload) + 9, len(payload), flags) + payload


def data_of_unchanged(entry):
    """An internal file as it was read: its header, data and spare room."""
    reserved, used, flags, payload = entry
    return struct.pack('<IIB', reserved, used, flags) + payload + b'\0' * (reserved - used - 9)


def write_help_file(directory_settings, files):
    """The bytes of a help file holding the given internal files."""
    body, offsets = b'', []
    for name in sorted(files):
        offsets.append((name, 16 + len(body)))
        body += files[name]
    directory = internal_file(build_btree(
        directory_settings, offsets,
        lambda e: e[0] + b'\0' + struct.pack('<i', e[1]),
        lambda e, page: e[0] + b'\0' + struct.pack('<H', page)))
    directory_offset = 16 + len(body)
    size = directory_offset + len(directory)
    return struct.pack('<IIiI', FILE_MAGIC, directory_offset, -1, size) + body + directory


# ---- The fix ------------------------------------------------------------------

def fix_help_file(data, numbers, topics):
    """The fixed file and its context map as (number, name, offset, title)."""
    directory_settings, files = read_help_file(data)
    for required in (b'|CONTEXT', b'|CTXOMAP'):
        if required not in files:
            fail(f'the help file has no {required.decode()}')

    context_settings, contexts = read_btree(files[b'|CONTEXT'][3], '|CONTEXT', context_entry)
    offsets = {}
    for value, offset in contexts:
        if value in offsets:
            fail(f'two topic names share the hash {value}: rename one of the topics')
        offsets[value] = offset

    titles = {}
    if b'|TTLBTREE' in files:
        titles = dict(read_btree(files[b'|TTLBTREE'][3], '|TTLBTREE', title_entry)[1])

    context_map = []
    for name, number in numbers.items():
        topic = topics.get(name, name)
        offset = offsets.get(topic_hash(topic))
        if offset is None:
            fail(f'no topic "{topic}" for {name}: give its section \\cfg{{winhelp-topic}}{{{topic}}}')
        if titles and offset not in titles:
            fail(f'topic "{topic}" for {name} does not start a topic')
        context_map.append((number, name, offset, titles.get(offset, '')))
    context_map.sort()

    new_files = {name: data_of_unchanged(entry) for name, entry in files.items()}
    new_files[b'|CTXOMAP'] = internal_file(
        struct.pack('<H', len(context_map)) +
        b''.join(struct.pack('<iI', number, offset) for number, _, offset, _ in context_map),
        files[b'|CTXOMAP'][2])
    new_files[b'|CONTEXT'] = internal_file(build_btree(
        context_settings, sorted(contexts),
        lambda e: struct.pack('<iI', *e),
        lambda e, page: struct.pack('<iH', e[0], page)), files[b'|CONTEXT'][2])
    return write_help_file(directory_settings, new_files), context_map


def check_fixed_file(data, context_map):
    """Reads the written file back as a viewer would and checks every number."""
    _, files = read_help_file(data)
    payload = files[b'|CTXOMAP'][3]
    count = unpack('<H', payload, 0, '|CTXOMAP')[0]
    mapped = dict(struct.unpack_from('<iI', payload, 2 + 8 * i) for i in range(count))
    for number, name, offset, _ in context_map:
        if mapped.get(number) != offset:
            fail(f'self-check: context {number} ({name}) is not mapped in the written file')
    hashes = [value for value, _ in read_btree(files[b'|CONTEXT'][3], '|CONTEXT', context_entry)[1]]
    if hashes != sorted(hashes):
        fail('self-check: |CONTEXT is not in signed order')


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--header', required=True, help='C header with the HELPCTX_ numbers')
    parser.add_argument('--input', required=True, help="halibut's .hlp file")
    parser.add_argument('--output', required=True, help='the fixed .hlp file to write')
    parser.add_argument('--topic', action='append', default=[], metavar='NAME=TOPIC',
                        help='open the context NAME on the topic TOPIC instead of the topic NAME')
    parser.add_argument('--verbose', action='store_true', help='list the context map')
    args = parser.parse_args(argv)
    try:
        with open(args.header, encoding='latin-1') as header:
            numbers = read_context_numbers(header.read())
        topics = {}
        for item in args.topic:
            name, _, topic = item.partition('=')
            if name not in numbers or not topic:
                fail(f'--topic {item}: expected a HELPCTX_ name of the header, "=" and a topic name')
            topics[name] = topic
        with open(args.input, 'rb') as raw:
            fixed, context_map = fix_help_file(raw.read(), numbers, topics)
        check_fixed_file(fixed, context_map)
        temporary = args.output + '.tmp'
        with open(temporary, 'wb') as out:
            out.write(fixed)
        os.replace(temporary, args.output)
    except (HelpFileError, OSError) as error:
        print(f'fix_winhelp: {args.input}: {error}', file=sys.stderr)
        return 1
    if args.verbose:
        for number, name, offset, title in context_map:
            print(f'{number:5} {name:28} topic offset {offset:6}  {title}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
