#!/usr/bin/env python3
"""Builds Wendle's icons and kind pictures from the Tango icon theme.

The pictures come from Debian's public-domain tango-icon-theme
(/usr/share/icons/Tango): its PNGs and its scalable pictures (SVG, rendered
with librsvg's `rsvg-convert`), composed with ImageMagick's `convert`.  Run
it again after changing a recipe and commit the results with it:

    python3 resources/make_images.py [--sheet sheet.png] [--redraw NAME ...]

Writes
  resources/icons/NAME.ico      every picture at 16, 20, 24, 32, 40, 48 and
                                64 pixels, 32-bit with alpha;
  resources/icons/row_KIND.ico  the kind pictures of the list rows, at the
                                same sizes;
  resources/bitmaps/KIND.bmp    the kind bitmaps: 18 x 16, 4 bits per pixel,
                                pure blue where the row shows through.

The 16 and 32 pixel images are the ones Wendle has always shown, so that
the window at 100 % looks as it did: they are taken over from the
committed .ico byte for byte, and a kind bitmap stays as it is.  A picture
without a file yet, or one that --redraw names (its .ico and .bmp), gets
them from its recipe: the theme's 16 and 32 pixel PNGs, or a composite drawn
at 32 and reduced for 16.  Every other size is drawn at its own size: each
layer rendered from SVG at its final pixel size and placed on that size's
grid, the glyphs drawn there, never a bitmap scaled.  A row picture's 16 is
its kind bitmap's picture pixel for pixel, the blue made see-through.
--sheet also writes a PNG overview of every picture at every size.
"""

import argparse
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
TANGO = "/usr/share/icons/Tango"
ICON_DIR = os.path.join(HERE, "icons")
BITMAP_DIR = os.path.join(HERE, "bitmaps")

# Tango palette
GREEN_DARK, GREEN_LIGHT = "#2c5c00", "#8ae234"
BLUE_DARK, BLUE_LIGHT = "#204a87", "#729fcf"
RED_DARK, RED_LIGHT = "#a40000", "#ef2929"
ORANGE_DARK, ORANGE_LIGHT = "#ce5c00", "#fcaf3e"
WAVE_BLUE = "#3465a4"

SIZES = (16, 20, 24, 32, 40, 48, 64)
FROZEN = (16, 32)  # the sizes the program had before: kept as committed

TRANSPARENT_BLUE = (0, 0, 255)
# "none" as a fill colour is taken as opaque by some ImageMagick 6 draw calls
NO_FILL = "#00000000"

work = None  # scratch folder, set in main()


def run(*args):
    subprocess.run([str(a) for a in args], check=True)


def scratch(name):
    return os.path.join(work, name)


def tango(name, size):
    path = os.path.join(TANGO, "%dx%d" % (size, size), name + ".png")
    if not os.path.exists(path):
        sys.exit("missing Tango icon: " + path)
    return path


# ---- building blocks (all coordinates on a 32 x 32 grid) ----------------

def scaled(points, size):
    k = size / 32.0
    return " ".join("%.2f,%.2f" % (x * k, y * k) for x, y in points)


def shaded_shapes(name, size, shapes, dark, light):
    """Polygons filled with a top-to-bottom gradient and outlined, Tango style.

    Each shape is drawn over the ones before it, so overlapping shapes look
    stacked."""
    out = scratch("%s-%d.png" % (name, size))
    stroke = max(1.0, size / 32.0)
    run("convert", "-size", "%dx%d" % (size, size), "xc:none", "PNG32:" + out)
    for kind, points in shapes:
        mvg = "%s %s" % (kind, scaled(points, size))
        layer = scratch("%s-%d-layer.png" % (name, size))
        run("convert",
            "-size", "%dx%d" % (size, size), "gradient:%s-%s" % (light, dark),
            "(", "-size", "%dx%d" % (size, size), "xc:none", "-fill", "white",
            "-draw", mvg, ")",
            "-compose", "CopyOpacity", "-composite",
            "(", "-size", "%dx%d" % (size, size), "xc:none", "-fill", NO_FILL,
            "-stroke", dark, "-strokewidth", stroke, "-draw", mvg, ")",
            "-compose", "Over", "-composite", "PNG32:" + layer)
        run("convert", out, layer, "-compose", "Over", "-composite", "PNG32:" + out)
    return out


def tinted(name, size, dark, light):
    """A Tango icon recoloured: its dark parts to `dark`, light parts to `light`."""
    out = scratch("%s-tint-%d.png" % (os.path.basename(name), size))
    run("convert", tango(name, size), "-channel", "RGB",
        "+level-colors", "%s,%s" % (dark, light), "+channel", "PNG32:" + out)
    return out


def stroke_layer(size, colour, width, mvg):
    """An unfilled outline in `colour`.  Drawn as a mask on black first: on a
    transparent canvas ImageMagick 6 fills open paths even with no fill."""
    out = scratch("stroke-%d.png" % size)
    run("convert", "-size", "%dx%d" % (size, size), "xc:" + colour,
        "(", "-size", "%dx%d" % (size, size), "xc:black", "-fill", "black",
        "-stroke", "white", "-strokewidth", width, "-draw", mvg, ")",
        "-alpha", "off", "-compose", "CopyOpacity", "-composite", "PNG32:" + out)
    return out


def compose(name, size, layers, extra=()):
    """Layers (png, width, height, x, y) stacked on a transparent square,
    then drawing commands (stroke colour, stroke width, fill or NO_FILL, mvg)."""
    out = scratch("%s-%d.png" % (name, size))
    args = ["convert", "-size", "%dx%d" % (size, size), "xc:none"]
    for png, w, h, x, y in layers:
        args += ["(", png, "-resize", "%dx%d!" % (w, h), ")",
                 "-geometry", "%+d%+d" % (x, y), "-compose", "Over", "-composite"]
    args.append("PNG32:" + out)
    run(*args)
    for stroke, width, fill, mvg in extra:
        if fill == NO_FILL:
            run("convert", out, stroke_layer(size, stroke, width, mvg),
                "-compose", "Over", "-composite", "PNG32:" + out)
        else:
            run("convert", out, "-fill", fill, "-stroke", stroke, "-strokewidth", width,
                "-draw", mvg, "PNG32:" + out)
    return out


def downsized(png, size):
    out = png[:-len(".png")] + "-to%d.png" % size
    run("convert", png, "-filter", "Lanczos", "-resize", "%dx%d" % (size, size),
        "PNG32:" + out)
    return out


# ---- glyphs drawn in Tango's manner -------------------------------------

PLAY = [(8, 5), (27, 16), (8, 27)]
PLAY_BACK = [(3, 6), (17, 16), (3, 26)]
PLAY_FRONT = [(13, 6), (28, 16), (13, 26)]


def play(size):
    return shaded_shapes("play", size, [("polygon", PLAY)], GREEN_DARK, GREEN_LIGHT)


def play_twice(size):
    return shaded_shapes("playall", size,
                         [("polygon", PLAY_BACK), ("polygon", PLAY_FRONT)],
                         GREEN_DARK, GREEN_LIGHT)


def stop(size):
    return shaded_shapes("stop", size, [("roundrectangle", [(7, 7), (25, 25), (2, 2)])],
                         BLUE_DARK, BLUE_LIGHT)


def pause(size):
    """Amber, so that it reads apart from the blue of a highlighted row."""
    return shaded_shapes("pause", size,
                         [("roundrectangle", [(7, 6), (14, 26), (1.5, 1.5)]),
                          ("roundrectangle", [(18, 6), (25, 26), (1.5, 1.5)])],
                         ORANGE_DARK, ORANGE_LIGHT)


def keyboard_mvg():
    """A small piano keyboard in the lower right corner (MIDI)."""
    cmds = [("#2e3436", 1, "white", "rectangle 13,19 30,30")]
    for x in (17.25, 21.5, 25.75):
        cmds.append(("#2e3436", 1, NO_FILL, "line %.2f,19 %.2f,30" % (x, x)))
    for x in (15.8, 20.1, 24.3, 28.5):
        cmds.append(("#2e3436", 0.5, "#2e3436", "rectangle %.2f,19 %.2f,25" % (x - 1, x + 1)))
    return cmds


# ---- the speaker of the program icon and its animation ------------------

def speaker32():
    """Tango's speaker without its sound wave, 18 x 20 pixels."""
    out = scratch("speaker-32.png")
    run("convert", tango("status/audio-volume-low", 32), "-crop", "21x23+0+5", "+repage",
        "-resize", "18x20!", "PNG32:" + out)
    return out


WAVE_CENTRE = (10, 21)


def wave_mvg(count):
    """Up to three sound waves to the right of the speaker."""
    cx, cy = WAVE_CENTRE
    cmds = []
    for radius in (11, 15, 19)[:count]:
        dx, dy = radius * math.cos(math.radians(33)), radius * math.sin(math.radians(33))
        cmds.append((WAVE_BLUE, 2, NO_FILL, "path 'M %.2f,%.2f A %d,%d 0 0,1 %.2f,%.2f'"
                     % (cx + dx, cy - dy, radius, radius, cx + dx, cy + dy)))
    return cmds


def sound_frame(name, waves, note_y=None, muted=False):
    """Speaker with 0 to 3 waves and, optionally, a note above it at note_y."""
    layers = [(speaker32(), 18, 20, 0, 11)]
    if note_y is not None:
        layers.append((tango("mimetypes/audio-x-generic", 16), 13, 13, 2, note_y))
    png = compose(name, 32, layers, wave_mvg(waves))
    if muted:
        run("convert", png, "-channel", "RGB", "-modulate", "100,30", "+channel",
            "PNG32:" + png)
    return png


# ---- any other size: drawn at that size ---------------------------------
# The recipes keep their 32 x 32 grid; at() is where a point of it falls on
# a size's own pixel grid.  A layer spans from at(x) to at(x + width), so
# neighbouring edges meet on whole pixels.

def at(value, size):
    return int(math.floor(value * size / 32.0 + 0.5))


def svg(name, width, height=None):
    """A Tango picture rendered from its SVG at exactly width x height."""
    height = height or width
    path = os.path.join(TANGO, "scalable", name + ".svg")
    if not os.path.exists(path):
        sys.exit("missing Tango picture: " + path)
    out = scratch("svg-%s-%dx%d.png" % (name.replace("/", "-"), width, height))
    if not os.path.exists(out):
        run("rsvg-convert", "-w", width, "-h", height, "-o", out, path)
    return out


def art(name):
    return lambda width, height: svg(name, width, height)


def art_tinted(name, dark, light):
    def draw(width, height):
        out = scratch("svg-tint-%s-%dx%d.png" % (os.path.basename(name), width, height))
        run("convert", svg(name, width, height), "-channel", "RGB",
            "+level-colors", "%s,%s" % (dark, light), "+channel", "PNG32:" + out)
        return out
    return draw


def glyph(draw):
    """A glyph of this script drawn on a square of the layer's size."""
    return lambda width, height: draw(width)


def placed(name, size, layers, extra=()):
    """Layers (draw(width, height), x, y, width, height) on the 32 grid, each
    drawn at its pixel size and placed on the size's grid, then extra drawing
    as compose() takes it, in the size's pixels."""
    pictures = []
    for draw, x, y, width, height in layers:
        left, top = at(x, size), at(y, size)
        w, h = at(x + width, size) - left, at(y + height, size) - top
        pictures.append((draw(w, h), w, h, left, top))
    return compose(name + "-at", size, pictures, extra)


def keyboard_at(size):
    """keyboard_mvg() on the size's grid: filled rectangles on whole pixels
    (no strokes), so its keys stay crisp."""
    ink = "#2e3436"
    line = max(1, at(1, size))
    left, top, right, bottom = at(13, size), at(19, size), at(31, size) - 1, at(31, size) - 1
    cmds = [("none", 0, ink, "rectangle %d,%d %d,%d" % (left, top, right, bottom)),
            ("none", 0, "white", "rectangle %d,%d %d,%d"
             % (left + line, top + line, right - line, bottom - line))]
    for x in (17.25, 21.5, 25.75):
        cmds.append(("none", 0, ink, "rectangle %d,%d %d,%d"
                     % (at(x, size), top, at(x, size) + line - 1, bottom)))
    for x in (15.8, 20.1, 24.3, 28.5):
        cmds.append(("none", 0, ink, "rectangle %d,%d %d,%d"
                     % (at(x - 1, size), top, at(x + 1, size) - 1, at(25, size) - 1)))
    return cmds


def speaker_at(width, height):
    """speaker32()'s part of Tango's speaker, rendered eight times as large
    and reduced by area to width x height."""
    m = 8
    out = scratch("speaker-%dx%d.png" % (width, height))
    run("convert", svg("status/audio-volume-low", 32 * m),
        "-crop", "%dx%d+0+%d" % (21 * m, 23 * m, 5 * m), "+repage",
        "-filter", "Box", "-resize", "%dx%d!" % (width, height), "PNG32:" + out)
    return out


def waves_at(count, size):
    """wave_mvg() on the size's grid, the strokes as wide as the grid makes
    them but never thinner than a pixel."""
    k = size / 32.0
    cx, cy = WAVE_CENTRE
    cmds = []
    for radius in (11, 15, 19)[:count]:
        dx, dy = radius * math.cos(math.radians(33)), radius * math.sin(math.radians(33))
        cmds.append((WAVE_BLUE, "%.2f" % max(1.0, 2 * k), NO_FILL,
                     "path 'M %.2f,%.2f A %.2f,%.2f 0 0,1 %.2f,%.2f'"
                     % ((cx + dx) * k, (cy - dy) * k, radius * k, radius * k,
                        (cx + dx) * k, (cy + dy) * k)))
    return cmds


def sound_frame_at(name, waves, note_y=None, muted=False):
    def draw(size):
        layers = [(speaker_at, 0, 11, 18, 20)]
        if note_y is not None:
            layers.append((art("mimetypes/audio-x-generic"), 2, note_y, 13, 13))
        png = placed(name, size, layers, waves_at(waves, size))
        if muted:
            run("convert", png, "-channel", "RGB", "-modulate", "100,30", "+channel",
                "PNG32:" + png)
        return png
    return draw


# ---- the recipes ---------------------------------------------------------
# Each picture has two ways to be made: `frozen(size)` for 16 and 32, as the
# program has always had them (composites drawn at 32 and reduced for 16,
# plain Tango icons the theme's own PNGs), and `scalable(size)` for every
# other size.

class Recipe:
    def __init__(self, frozen, scalable):
        self.frozen, self.scalable = frozen, scalable

    def draw(self, size):
        return self.frozen(size) if size in FROZEN else self.scalable(size)


def native(name):
    return Recipe(lambda size: tango(name, size), lambda size: svg(name, size))


def drawn(draw):
    """A glyph this script draws at every size alike."""
    return Recipe(draw, draw)


def composite(build32):
    """Drawn once at 32 x 32 and reduced for the smaller size."""
    made = []

    def make(size):
        if not made:
            made.append(build32())
        return made[0] if size == 32 else downsized(made[0], size)
    return make


def layered(name, build32, layers, extra_at=lambda size: ()):
    return Recipe(composite(build32),
                  lambda size: placed(name, size, layers, extra_at(size)))


def with_badge(name, base, badge, bw, bx, by):
    return layered(name,
                   lambda: compose(name, 32, [(tango(base, 32), 32, 32, 0, 0),
                                              (tango(badge, 22), bw, bw, bx, by)]),
                   [(art(base), 0, 0, 32, 32), (art(badge), bx, by, bw, bw)])


def document_with_arrow(name, arrow, x, y):
    text = "mimetypes/text-x-generic"
    return layered(name,
                   lambda: compose(name, 32, [(tango(text, 32), 32, 32, 3, 0),
                                              (tango(arrow, 22), 20, 20, x, y)]),
                   [(art(text), 3, 0, 32, 32), (art(arrow), x, y, 20, 20)])


def sound(name, waves, note_y=None, muted=False):
    return Recipe(composite(lambda: sound_frame(name, waves, note_y, muted)),
                  sound_frame_at(name, waves, note_y, muted))


AUDIO = "mimetypes/audio-x-generic"

ICONS = [
    # id, file name, recipe
    (1501, "app", sound("app", 3, 0)),
    (1502, "add", with_badge("add", AUDIO, "actions/list-add", 20, 12, 12)),
    (1503, "append", document_with_arrow("append", "actions/go-bottom", 12, 12)),
    (1504, "browse", with_badge("browse", "places/folder", "actions/system-search", 22, 10, 10)),
    (1505, "hotkeys", native("apps/preferences-desktop-keyboard-shortcuts")),
    (1506, "catalogcd", with_badge("catalogcd", "devices/media-optical",
                                   "mimetypes/x-office-address-book", 18, 14, 14)),
    (1507, "help", native("apps/help-browser")),
    (1508, "insert", document_with_arrow("insert", "actions/go-next", 0, 6)),
    (1509, "midi", layered("midi", lambda: compose("midi", 32, [
        (tango(AUDIO, 32), 28, 28, 0, 0)], keyboard_mvg()),
        [(art(AUDIO), 0, 0, 28, 28)], keyboard_at)),
    (1510, "modify", native("apps/accessories-text-editor")),
    (1511, "new", native("actions/document-new")),
    (1512, "open", native("actions/document-open")),
    (1513, "pause", drawn(pause)),
    (1514, "playall", drawn(play_twice)),
    (1515, "play", drawn(play)),
    (1516, "playallmode", layered("playallmode", lambda: compose("playallmode", 32, [
        (play_twice(32), 26, 26, 0, 0),
        (tango("emblems/emblem-system", 22), 18, 18, 14, 14)]),
        [(glyph(play_twice), 0, 0, 26, 26), (art("emblems/emblem-system"), 14, 14, 18, 18)])),
    (1517, "remove", layered("remove", lambda: compose("remove", 32, [
        (tango(AUDIO, 32), 32, 32, 0, 0),
        (tinted("actions/list-remove", 22, RED_DARK, RED_LIGHT), 20, 20, 12, 12)]),
        [(art(AUDIO), 0, 0, 32, 32),
         (art_tinted("actions/list-remove", RED_DARK, RED_LIGHT), 12, 12, 20, 20)])),
    (1518, "save", native("actions/document-save")),
    (1519, "stopskip", drawn(stop)),
    (1520, "wave", native("status/audio-volume-high")),
    (1521, "stopplayall", native("actions/process-stop")),
    (1522, "cdtrack", native("devices/media-optical")),
    # Animation of the minimized window: after 1501 the intro frames let the
    # waves grow; the cycle frames pulse them while the note bobs.
    (1524, "intro1", sound("intro1", 0, 0)),
    (1525, "intro2", sound("intro2", 1, 0)),
    (1526, "intro3", sound("intro3", 2, 0)),
    (1527, "idle", sound("idle", 0, None, muted=True)),
    (1528, "cycle1", sound("cycle1", 0, 4)),
    (1529, "cycle2", sound("cycle2", 1, 3)),
    (1530, "cycle3", sound("cycle3", 2, 2)),
    (1531, "cycle4", sound("cycle4", 3, 1)),
    (1533, "video", native("categories/applications-multimedia")),
    (1534, "audio", native("devices/multimedia-player")),
]

# Kinds: bitmap id, file name, recipe; frozen(16) is the bitmap's picture.
# Each kind also has a row picture, an icon of id + ROW_ID_OFFSET.
BITMAPS = [
    (1540, "wave", native("status/audio-volume-high")),
    (1541, "midi", native(AUDIO)),
    (1542, "pause", drawn(pause)),
    (1543, "cdtrack", native("devices/media-optical")),
    (1544, "video", native("categories/applications-multimedia")),
    (1545, "audio", native("devices/multimedia-player")),
]
ROW_ID_OFFSET = 10


# ---- output --------------------------------------------------------------
# An .ico entry is (width, height, colours, planes, bits, image bytes); the
# image bytes are what the resource compiler copies into the program.

MASK_THRESHOLD = 128  # alpha below it is see-through in the AND mask too


def read_ico(path):
    """The entries of an .ico file by size."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        sys.exit("not an icon file: " + path)
    entries = {}
    for i in range(count):
        w, h, colours, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        entries[w or 256] = (w, h, colours, planes, bits, data[offset:offset + size])
    return entries


def write_ico(path, entries):
    offset = 6 + 16 * len(entries)
    directory, images = [], []
    for w, h, colours, planes, bits, image in entries:
        directory.append(struct.pack("<BBBBHHII", w, h, colours, 0, planes, bits, len(image), offset))
        images.append(image)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(entries)) + b"".join(directory) + b"".join(images))


def icon_entry(size, rgba):
    """A 32-bit image with alpha, rows bottom-up, and its AND mask.  rgba is
    size * size tuples, top row first."""
    stride = ((size + 31) // 32) * 4
    pixels, mask = bytearray(), bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(stride)
        for x in range(size):
            r, g, b, a = rgba[y * size + x]
            pixels += bytes((b, g, r, a)) if a else bytes(4)  # nothing behind a clear pixel
            if a < MASK_THRESHOLD:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(pixels), 0, 0, 0, 0)
    return (size % 256, size % 256, 0, 1, 32, header + bytes(pixels) + bytes(mask))


def entry_pixels(entry):
    """The rgba tuples of a 32-bit entry, top row first."""
    w = entry[0] or 256
    image = entry[5]
    if struct.unpack_from("<H", image, 14)[0] != 32:
        sys.exit("not a 32-bit image")
    rows = [image[40 + y * w * 4:40 + (y + 1) * w * 4] for y in range(w - 1, -1, -1)]
    return [(row[i + 2], row[i + 1], row[i], row[i + 3]) for row in rows for i in range(0, 4 * w, 4)]


def make_icon(name, recipe, redraw):
    """name.ico at every size, keeping its committed 16 and 32."""
    path = os.path.join(ICON_DIR, name + ".ico")
    kept = read_ico(path) if os.path.exists(path) and not redraw else {}
    entries = []
    for size in SIZES:
        if size in FROZEN and size in kept:
            entries.append(kept[size])
        else:
            entries.append(icon_entry(size, raw_pixels(recipe.draw(size), size, size, "rgba")))
    write_ico(path, entries)
    return path


def bitmap_picture(path):
    """The 16 x 16 picture of an 18 x 16 kind bitmap (columns 1 to 16) as
    rgba tuples: its colours, the pure blue see-through."""
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    _, width, height, _, bits = struct.unpack_from("<IiiHH", data, 14)
    if (width, height, bits) != (18, 16, 4):
        sys.exit("unexpected kind bitmap " + path)
    palette = [tuple(data[54 + 4 * i:54 + 4 * i + 3][::-1]) for i in range(16)]
    stride = ((width * 4 + 31) // 32) * 4
    rgba = []
    for y in range(height):
        row = data[offset + (height - 1 - y) * stride:]
        for x in range(1, 17):
            index = row[x // 2] >> 4 if x % 2 == 0 else row[x // 2] & 15
            colour = palette[index]
            rgba.append((0, 0, 0, 0) if colour == TRANSPARENT_BLUE else colour + (255,))
    return rgba


def make_row_picture(name, recipe, bmp):
    """row_name.ico: the bitmap's picture at 16, the recipe drawn at the rest."""
    path = os.path.join(ICON_DIR, "row_" + name + ".ico")
    entries = [icon_entry(16, bitmap_picture(bmp))]
    for size in SIZES[1:]:
        entries.append(icon_entry(size, raw_pixels(recipe.scalable(size), size, size, "rgba")))
    write_ico(path, entries)
    return path


def raw_pixels(png, width, height, fmt, *pre):
    data = subprocess.run(["convert", png] + list(pre) + ["-depth", "8", "%s:-" % fmt],
                          check=True, stdout=subprocess.PIPE).stdout
    step = len(fmt)
    if len(data) != width * height * step:
        sys.exit("unexpected pixel data from " + png)
    return [tuple(data[i:i + step]) for i in range(0, len(data), step)]


def write_bmp4(path, width, height, palette, indices):
    """A bottom-up 4-bit BI_RGB BMP with a 16-entry palette."""
    palette = list(palette) + [(0, 0, 0)] * (16 - len(palette))
    stride = ((width * 4 + 31) // 32) * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            idx = indices[y * width + x]
            row[x // 2] |= idx << 4 if x % 2 == 0 else idx
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header_size = 14 + 40 + 16 * 4
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels),
                       2835, 2835, 16, 16)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size))
        f.write(info + pal + pixels)


def make_bitmap(name, recipe):
    """18 x 16, 16 colours: 15 for the picture, pure blue where it is clear."""
    width, height = 18, 16
    canvas = scratch("bmp-%s.png" % name)
    run("convert", "-size", "%dx%d" % (width, height), "xc:none", recipe.frozen(16),
        "-geometry", "+1+0", "-compose", "Over", "-composite", "PNG32:" + canvas)
    alpha = [p[3] for p in raw_pixels(canvas, width, height, "rgba")]
    # Edges are blended onto white (the list's background) before reducing
    # to 15 colours, so they stay smooth on an ordinary row.
    colours = raw_pixels(canvas, width, height, "rgb", "-background", "white",
                         "-alpha", "remove", "-alpha", "off", "+dither", "-colors", "15")
    palette = []
    indices = []
    for a, c in zip(alpha, colours):
        if a < 128:
            indices.append(15)
            continue
        if c == TRANSPARENT_BLUE:  # never let the picture itself turn clear
            c = (0, 0, 224)
        if c not in palette:
            palette.append(c)
        indices.append(palette.index(c))
    if len(palette) > 15:
        sys.exit("too many colours in " + name)
    palette += [(0, 0, 0)] * (15 - len(palette))
    palette.append(TRANSPARENT_BLUE)
    out = os.path.join(BITMAP_DIR, name + ".bmp")
    write_bmp4(out, width, height, palette, indices)
    return out


def contact_sheet(path, icons):
    """Every picture at every size as the program holds it, read back from
    the .ico files: icons on a button's grey, row pictures on a row's white
    and on a highlighted row's blue."""
    cell = max(SIZES) + 6
    strips = []
    for n, (ident, name, ico, backgrounds) in enumerate(icons):
        entries = read_ico(ico)
        for b, background in enumerate(backgrounds):
            args = ["convert", "-size", "%dx%d" % (110 + cell * len(SIZES), cell), "xc:" + background]
            for i, size in enumerate(SIZES):
                raw = scratch("sheet-%d-%d.rgba" % (n, size))
                with open(raw, "wb") as f:
                    f.write(bytes(v for p in entry_pixels(entries[size]) for v in p))
                args += ["(", "-size", "%dx%d" % (size, size), "-depth", "8", "rgba:" + raw, ")",
                         "-geometry", "+%d+3" % (110 + cell * i), "-compose", "Over", "-composite"]
            strip = scratch("strip-%d-%d.png" % (n, b))
            run(*args, "-font", "DejaVu-Sans", "-pointsize", "10", "-fill", "black",
                "-annotate", "+4+14", "%d %s" % (ident, name), strip)
            strips.append(strip)
    run("montage", *strips, "-tile", "2x", "-geometry", "+2+2", "-background", "#808080",
        scratch("sheet.png"))
    run("convert", scratch("sheet.png"), "-scale", "200%", path)


def main():
    global work
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sheet", help="also write a PNG contact sheet here")
    parser.add_argument("--redraw", action="append", default=[], metavar="NAME",
                        help="draw NAME.ico's 16 and 32 and NAME.bmp anew ('all': every one)")
    args = parser.parse_args()
    for tool, package in (("convert", "imagemagick"), ("montage", "imagemagick"),
                          ("rsvg-convert", "librsvg2-bin")):
        if not shutil.which(tool):
            sys.exit("needs %s (Debian package %s)" % (tool, package))
    names = [name for _, name, _ in ICONS + BITMAPS]
    for name in args.redraw:
        if name != "all" and name not in names:
            sys.exit("no picture named " + name)
    redraw = set(names) if "all" in args.redraw else set(args.redraw)
    os.makedirs(ICON_DIR, exist_ok=True)
    os.makedirs(BITMAP_DIR, exist_ok=True)
    work = tempfile.mkdtemp(prefix="wendle-images-")
    try:
        made = []
        for ident, name, recipe in ICONS:
            made.append((ident, name, make_icon(name, recipe, name in redraw), ["#c0c0c0"]))
        for ident, name, recipe in BITMAPS:
            bmp = os.path.join(BITMAP_DIR, name + ".bmp")
            if name in redraw or not os.path.exists(bmp):
                make_bitmap(name, recipe)
            made.append((ident + ROW_ID_OFFSET, "row_" + name, make_row_picture(name, recipe, bmp),
                         ["white", "#316ac5"]))
        if args.sheet:
            contact_sheet(os.path.abspath(args.sheet), made)
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
