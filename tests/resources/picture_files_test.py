#!/usr/bin/env python3
"""The committed picture files: every icon holds 16, 20, 24, 32, 40, 48 and
64 pixels as 32-bit images with alpha, none of them blank; the 16 and 32
pixel images and the kind bitmaps are the ones the program has always
shown (their hashes below were taken before the other sizes came); the
resource script names every icon file.

    picture_files_test.py RESOURCES_DIR
"""

import hashlib
import os
import re
import struct
import sys
import unittest

RESOURCES = None
SIZES = [16, 20, 24, 32, 40, 48, 64]

# SHA-256 (first 24 hex digits) of each icon's 16 and 32 pixel images
# (the image bytes, header to mask) and of each kind bitmap file.
KEPT_ICONS = {
    "add": ("b24bde8345ffe62106522ba0", "202b62101466ee51e2812bdd"),
    "app": ("0d6705323229b144e5ac27bd", "5f1da14d5c18597107a0fb02"),
    "append": ("e68ad3e985a68606a01e18d1", "d30960706f5840de68ae44d5"),
    "audio": ("b6b7f8082e738090ad0a6e1f", "ddfda7ababb8a09275dcd379"),
    "browse": ("51fc4d70c7148328cdb78611", "c5216cbcb54498c21e7c2397"),
    "catalogcd": ("d44cc1ee598edc98a25c8024", "e9c8a38f99097561f394be7c"),
    "cdtrack": ("8864c4b73a2a7478d4e6e173", "5dc17699382e7e1573051052"),
    "cycle1": ("6409cfc68afdfe2688d59b2f", "fe50235fcbcb92cadaf7c119"),
    "cycle2": ("8f11a2d2731421a3caa6d421", "a726c2e82c77ff14d269d149"),
    "cycle3": ("221f79171c83d5d79c2a2f95", "aca28bf9f26cf8ddab0bc660"),
    "cycle4": ("d43ee41a8503328fdf85ef3d", "d5d9ac3a72855a427f58b554"),
    "help": ("e56135f34eabd9c4338b6935", "1fc7ed2606769ce6d9640468"),
    "hotkeys": ("abca35ddd76ba61bd71da143", "123355f161b1e57245b5b6ee"),
    "idle": ("7d93d82ff756e8c30125c3e4", "71e7c110c15fe31151874e76"),
    "insert": ("4e88a0ef3788b136e257c8f7", "291d54bc6be5f64f50300e2d"),
    "intro1": ("cbcbc8e57f548c37099b05fe", "54089efb9e1d73223bb311f8"),
    "intro2": ("6931f67b90e9f2e217b1642a", "33eed61449132336846d6c24"),
    "intro3": ("7ef413fd7b8ace02d6f90525", "d6784e9d906598cc32cf3fe3"),
    "midi": ("dfc7116049fbc91485e24e46", "bbcb6b8cc3f3ca8bd2c543b8"),
    "modify": ("bb67027b302365b059643c30", "e7aa5ce540e8c82a790bbf6b"),
    "new": ("59462fb23524bbf456ca4aa4", "ce913be22a9037739e15a1e1"),
    "open": ("1cda33916a39ff8ed16de293", "f157b985e1105b0a519c6e0f"),
    "pause": ("78c7ba63c0dac9f46dbab4f8", "1567f1097533d4a8f7b109df"),
    "play": ("d2f218dcc74e596825e6e589", "26ff7272a3318e5705703628"),
    "playall": ("aa36e68a5712da18eee15d62", "0d5b25fd8a735f2f6ac5c00d"),
    "playallmode": ("128429f23501559f0086eee4", "746b7ba0af554dd183f48799"),
    "remove": ("dcbf3e242bb701c0d9b0a780", "29c97baca0e8707687e3d49e"),
    "save": ("4c9d3187a9427665e149a328", "4fe9f514111ce4d6ad20a4ef"),
    "stopplayall": ("f00b433d2f5410416e667364", "0b3bf5685f1f6a1b11883f63"),
    "stopskip": ("2a933356f92875b9d07e2102", "16b69bd7785151ac1115aaa0"),
    "video": ("8b418b8ba98930d3b7abf259", "1b3da6dc94621fd657e55647"),
    "wave": ("c17be9c3aaa8b20ff69abd39", "c7f27bec02eabeb5293cb3ea"),
}
KEPT_BITMAPS = {
    "audio": "8a08ccb5a6383f634f631717",
    "cdtrack": "902e734c9644e31f0e5c48eb",
    "midi": "19ff8f6c8da886bab30d8c4b",
    "pause": "e483e24aca05f4a2b902fdc1",
    "video": "972769a7f16d712f787cdd44",
    "wave": "36411d9a298efb80d074cddb",
}


def digest(data):
    return hashlib.sha256(data).hexdigest()[:24]


def icon_images(path):
    """[(size, bits of the directory, image bytes)] in file order."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1), path + " is no icon file"
    images = []
    for i in range(count):
        w, h, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        assert w == h, path + " holds a picture that is not square"
        assert offset + size <= len(data), path + " is cut short"
        images.append((w or 256, bits, data[offset:offset + size]))
    return images


def pixels(size, image):
    """rgba tuples, top row first, and the AND mask's bits the same way."""
    stride = ((size + 31) // 32) * 4
    colour = image[40:40 + size * size * 4]
    mask = image[40 + size * size * 4:]
    rgba, clear = [], []
    for y in range(size - 1, -1, -1):
        for x in range(size):
            b, g, r, a = colour[(y * size + x) * 4:(y * size + x) * 4 + 4]
            rgba.append((r, g, b, a))
            clear.append(bool(mask[y * stride + x // 8] & (0x80 >> (x % 8))))
    return rgba, clear


class PictureFiles(unittest.TestCase):
    def icons(self):
        folder = os.path.join(RESOURCES, "icons")
        return sorted(os.path.join(folder, n) for n in os.listdir(folder) if n.endswith(".ico"))

    def test_every_icon_holds_the_seven_sizes_at_32_bits_and_none_is_blank(self):
        for path in self.icons():
            images = icon_images(path)
            self.assertEqual(SIZES, [size for size, _, _ in images], path)
            for size, bits, image in images:
                where = "%s at %d" % (os.path.basename(path), size)
                stride = ((size + 31) // 32) * 4
                self.assertEqual(32, bits, where)
                self.assertEqual(40 + size * size * 4 + stride * size, len(image), where)
                header = struct.unpack_from("<IiiHHI", image, 0)
                self.assertEqual((40, size, 2 * size, 1, 32, 0), header, where)
                rgba, clear = pixels(size, image)
                opaque = sum(1 for _, _, _, a in rgba if a >= 128)
                self.assertGreaterEqual(opaque, size * size // 8, where + " is (nearly) blank")
                # Drawn without alpha (greyed, or by an old system) the
                # mask alone says what is see-through.
                self.assertEqual([a < 128 for _, _, _, a in rgba], clear, where + ": mask unlike alpha")
                self.assertFalse([p for p in rgba if p[3] == 0 and p[:3] != (0, 0, 0)],
                                 where + ": colour behind clear pixels")

    def test_the_16_and_32_pixel_images_and_the_kind_bitmaps_are_kept(self):
        names = [os.path.basename(p)[:-4] for p in self.icons()]
        self.assertEqual(sorted(KEPT_ICONS), sorted(n for n in names if not n.startswith("row_")))
        for name, (kept16, kept32) in KEPT_ICONS.items():
            images = {size: image for size, _, image in icon_images(os.path.join(RESOURCES, "icons", name + ".ico"))}
            self.assertEqual(kept16, digest(images[16]), name + " at 16 changed")
            self.assertEqual(kept32, digest(images[32]), name + " at 32 changed")
        for name, kept in KEPT_BITMAPS.items():
            with open(os.path.join(RESOURCES, "bitmaps", name + ".bmp"), "rb") as f:
                self.assertEqual(kept, digest(f.read()), name + ".bmp changed")

    def test_the_resource_script_names_every_icon_file(self):
        with open(os.path.join(RESOURCES, "wendle.rc"), encoding="utf-8") as f:
            named = re.findall(r'^\w+\s+ICON\s+"resources/icons/([^"]+)"', f.read(), re.M)
        self.assertEqual(len(named), len(set(named)), "an icon file named twice")
        self.assertEqual(sorted(os.path.basename(p) for p in self.icons()), sorted(named))


if __name__ == "__main__":
    RESOURCES = sys.argv.pop(1)
    unittest.main()
