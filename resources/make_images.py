#!/usr/bin/env python3
"""Builds Wendle's icons and kind bitmaps from the Tango icon theme.

The pictures come from Debian's public-domain tango-icon-theme
(/usr/share/icons/Tango), composed with ImageMagick's `convert`; the icons
are packed with icoutils' `icotool`.  Run it again after changing a recipe
and commit the results with it:

    python3 resources/make_images.py [--sheet contact_sheet.png]

Writes resources/icons/*.ico (16x16 and 32x32, 32-bit) and
resources/bitmaps/*.bmp (18 x 16, 4 bits per pixel, pure blue where the
row shows through).  --sheet also writes a PNG overview of everything.
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


# ---- the recipes ---------------------------------------------------------
# name -> function(size) returning a PNG of that size.  Composites are drawn
# at 32 and reduced for 16; plain Tango icons use the theme's own 16 x 16.

def native(name):
    return lambda size: tango(name, size)


def composite(build32):
    """Drawn once at 32 x 32 and reduced for the smaller size."""
    made = []

    def make(size):
        if not made:
            made.append(build32())
        return made[0] if size == 32 else downsized(made[0], size)
    return make


def with_badge(name, base, badge, bw, bx, by):
    return composite(lambda: compose(name, 32, [(base, 32, 32, 0, 0), (badge, bw, bw, bx, by)]))


def document_with_arrow(name, arrow, x, y):
    return composite(lambda: compose(name, 32, [
        (tango("mimetypes/text-x-generic", 32), 32, 32, 3, 0),
        (tango(arrow, 22), 20, 20, x, y)]))


ICONS = [
    # id, file name, recipe
    (1501, "app", composite(lambda: sound_frame("app", 3, 0))),
    (1502, "add", with_badge("add", tango("mimetypes/audio-x-generic", 32),
                             tango("actions/list-add", 22), 20, 12, 12)),
    (1503, "append", document_with_arrow("append", "actions/go-bottom", 12, 12)),
    (1504, "browse", with_badge("browse", tango("places/folder", 32),
                                tango("actions/system-search", 22), 22, 10, 10)),
    (1505, "hotkeys", native("apps/preferences-desktop-keyboard-shortcuts")),
    (1506, "catalogcd", with_badge("catalogcd", tango("devices/media-optical", 32),
                                   tango("mimetypes/x-office-address-book", 22), 18, 14, 14)),
    (1507, "help", native("apps/help-browser")),
    (1508, "insert", document_with_arrow("insert", "actions/go-next", 0, 6)),
    (1509, "midi", composite(lambda: compose("midi", 32, [
        (tango("mimetypes/audio-x-generic", 32), 28, 28, 0, 0)], keyboard_mvg()))),
    (1510, "modify", native("apps/accessories-text-editor")),
    (1511, "new", native("actions/document-new")),
    (1512, "open", native("actions/document-open")),
    (1513, "pause", pause),
    (1514, "playall", play_twice),
    (1515, "play", play),
    (1516, "playallmode", composite(lambda: compose("playallmode", 32, [
        (play_twice(32), 26, 26, 0, 0),
        (tango("emblems/emblem-system", 22), 18, 18, 14, 14)]))),
    (1517, "remove", composite(lambda: compose("remove", 32, [
        (tango("mimetypes/audio-x-generic", 32), 32, 32, 0, 0),
        (tinted("actions/list-remove", 22, RED_DARK, RED_LIGHT), 20, 20, 12, 12)]))),
    (1518, "save", native("actions/document-save")),
    (1519, "stopskip", stop),
    (1520, "wave", native("status/audio-volume-high")),
    (1521, "stopplayall", native("actions/process-stop")),
    (1522, "cdtrack", native("devices/media-optical")),
    # Animation of the minimized window: after 1501 the intro frames let the
    # waves grow; the cycle frames pulse them while the note bobs.
    (1524, "intro1", composite(lambda: sound_frame("intro1", 0, 0))),
    (1525, "intro2", composite(lambda: sound_frame("intro2", 1, 0))),
    (1526, "intro3", composite(lambda: sound_frame("intro3", 2, 0))),
    (1527, "idle", composite(lambda: sound_frame("idle", 0, None, muted=True))),
    (1528, "cycle1", composite(lambda: sound_frame("cycle1", 0, 4))),
    (1529, "cycle2", composite(lambda: sound_frame("cycle2", 1, 3))),
    (1530, "cycle3", composite(lambda: sound_frame("cycle3", 2, 2))),
    (1531, "cycle4", composite(lambda: sound_frame("cycle4", 3, 1))),
    (1533, "video", native("categories/applications-multimedia")),
    (1534, "audio", native("devices/multimedia-player")),
]

# Kind bitmaps: id, file name, recipe of the 16 x 16 picture
BITMAPS = [
    (1540, "wave", native("status/audio-volume-high")),
    (1541, "midi", native("mimetypes/audio-x-generic")),
    (1542, "pause", pause),
    (1543, "cdtrack", native("devices/media-optical")),
    (1544, "video", native("categories/applications-multimedia")),
    (1545, "audio", native("devices/multimedia-player")),
]


# ---- output --------------------------------------------------------------

def make_icon(name, recipe):
    png16, png32 = recipe(16), recipe(32)
    out = os.path.join(ICON_DIR, name + ".ico")
    run("icotool", "-c", "-o", out, png16, png32)
    return png16, png32


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
    placed = scratch("bmp-%s.png" % name)
    run("convert", "-size", "%dx%d" % (width, height), "xc:none", recipe(16),
        "-geometry", "+1+0", "-compose", "Over", "-composite", "PNG32:" + placed)
    alpha = [p[3] for p in raw_pixels(placed, width, height, "rgba")]
    # Edges are blended onto white (the list's background) before reducing
    # to 15 colours, so they stay smooth on an ordinary row.
    colours = raw_pixels(placed, width, height, "rgb", "-background", "white",
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


def contact_sheet(path, icons, bitmaps):
    tiles = []
    for ident, name, png16, png32 in icons:
        tile = scratch("tile-%d.png" % ident)
        run("convert", "-size", "76x48", "xc:#c0c0c0",
            png32, "-geometry", "+2+2", "-composite",
            png16, "-geometry", "+40+2", "-composite",
            "-font", "DejaVu-Sans", "-pointsize", "9", "-fill", "black",
            "-annotate", "+2+46", "%d %s" % (ident, name), tile)
        tiles.append(tile)
    for ident, name, bmp in bitmaps:
        tile = scratch("tile-%d.png" % ident)
        run("convert", "-size", "76x48", "xc:#c0c0c0",
            "(", bmp, "-scale", "200%", ")", "-geometry", "+2+2", "-composite",
            "(", bmp, "-fill", "white", "-opaque", "rgb(0,0,255)", ")",
            "-geometry", "+44+2", "-composite",
            "-font", "DejaVu-Sans", "-pointsize", "9", "-fill", "black",
            "-annotate", "+2+46", "%d %s" % (ident, name), tile)
        tiles.append(tile)
    run("montage", *tiles, "-tile", "8x", "-geometry", "+2+2", "-background", "#808080",
        scratch("sheet.png"))
    run("convert", scratch("sheet.png"), "-scale", "200%", path)


def main():
    global work
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sheet", help="also write a PNG contact sheet here")
    args = parser.parse_args()
    for tool in ("convert", "montage", "icotool"):
        if not shutil.which(tool):
            sys.exit("needs %s (Debian packages imagemagick, icoutils)" % tool)
    os.makedirs(ICON_DIR, exist_ok=True)
    os.makedirs(BITMAP_DIR, exist_ok=True)
    work = tempfile.mkdtemp(prefix="wendle-images-")
    try:
        icons = []
        for ident, name, recipe in ICONS:
            png16, png32 = make_icon(name, recipe)
            icons.append((ident, name, png16, png32))
        bitmaps = []
        for ident, name, recipe in BITMAPS:
            bitmaps.append((ident, name, make_bitmap(name, recipe)))
        if args.sheet:
            contact_sheet(os.path.abspath(args.sheet), icons, bitmaps)
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
