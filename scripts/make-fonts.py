#!/usr/bin/python3
"""Makes the window's two faces: subsets of Debian's IPA Gothic fonts.

    make-fonts.py [--woff2] OUT_DIR [SOURCE_DIR]
    make-fonts.py --web OUT_DIR [SOURCE_DIR]

Reads the characters to keep from data/fonts/characters.txt and writes
OhmDrillPGothic.ttf and OhmDrillGothic.ttf into OUT_DIR (with --woff2, the
same faces as .woff2 as well). With --web it writes only the web's faces,
OhmDrillPGothic.woff2 and OhmDrillGothic.woff2. SOURCE_DIR holds ipagp.ttf
and ipag.ttf; by default it is where fonts-ipafont-gothic installs them.

The desktop's faces keep the outlines, metrics and hinting instructions as
they are, so the subsets draw the same pixels as the originals. The web's
have no hinting and leave out the characters only the desktop's hinter
measures, and the fixed-pitch one carries only what the window draws in
it. The faces get names of their own, as the IPA Font License requires of
a derived font, and only English name records, so that every locale lists
them under the same family name. The output depends only on the input: the
same fonts and characters give the same bytes.
"""

import argparse
import os
import re
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
CHARACTERS = os.path.join(HERE, "..", "data", "fonts", "characters.txt")
DEFAULT_SOURCE = "/usr/share/fonts/opentype/ipafont-gothic"

# (original file, family, PostScript and file name)
FACES = [
    ("ipagp.ttf", "OhmDrill PGothic", "OhmDrillPGothic"),
    ("ipag.ttf", "OhmDrill Gothic", "OhmDrillGothic"),
]

RANGE = re.compile(r"U\+([0-9A-Fa-f]{4,6})(?:\.\.U\+([0-9A-Fa-f]{4,6}))?$")

# The headings of characters.txt; what comes before the first is "shown".
SECTIONS = {
    "## Only on the desktop": "desktop",
    "## The fixed-pitch face on the web": "web fixed",
}


def read_characters(path):
    """The characters of each section of the list, by section."""
    sections = {"shown": set(), "desktop": set(), "web fixed": set()}
    chars = sections["shown"]
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("##"):
                if line.strip() not in SECTIONS:
                    raise SystemExit(f"{path}: no such section: {line}")
                chars = sections[SECTIONS[line.strip()]]
                continue
            if not line or line.startswith("#"):
                continue
            m = RANGE.match(line.strip())
            if m:
                first = int(m.group(1), 16)
                last = int(m.group(2) or m.group(1), 16)
                chars.update(range(first, last + 1))
            else:
                chars.update(ord(c) for c in line)
    return sections


def rename(font, family, postscript, original):
    version = font["name"].getDebugName(5) or ""
    names = {
        1: family,
        2: "Regular",
        3: f"{postscript} {version}",
        4: family,
        6: postscript,
        10: f"A subset of {original} made for the Ohm's law drill. "
        "Licensed under the IPA Font License Agreement v1.0.",
    }
    kept = {0: None, 5: None, 13: None, 14: None}
    table = font["name"]
    english = {
        r.nameID: r.toUnicode()
        for r in table.names
        if r.platformID == 3 and r.langID == 0x409 and r.nameID in kept
    }
    table.names = []
    for name_id, text in sorted({**english, **names}.items()):
        table.setName(text, name_id, 3, 1, 0x409)


def make(source_dir, out_dir, woff2, web):
    sections = read_characters(CHARACTERS)
    stray = sections["web fixed"] - sections["shown"]
    if stray:
        # The desktop's fixed-pitch face would lack what the web's draws.
        print("the web's fixed-pitch face lists characters the others lack: "
              + " ".join(f"U+{c:04X}" for c in sorted(stray)), file=sys.stderr)
        return 1
    desktop = sorted(sections["shown"] | sections["desktop"])
    on_web = {"ipagp.ttf": sorted(sections["shown"]),
              "ipag.ttf": sorted(sections["web fixed"])}
    os.makedirs(out_dir, exist_ok=True)
    for original, family, postscript in FACES:
        unicodes = on_web[original] if web else desktop
        options = subset.Options()
        options.layout_features = ["*"]
        options.name_IDs = ["*"]
        options.name_languages = ["*"]
        options.notdef_outline = True
        options.glyph_names = False
        # Only the desktop's faces must draw the originals' pixels.
        options.hinting = not web
        font = TTFont(os.path.join(source_dir, original), recalcTimestamp=False,
                      recalcBBoxes=False)
        subsetter = subset.Subsetter(options)
        subsetter.populate(unicodes=unicodes)
        subsetter.subset(font)
        rename(font, family, postscript, font["name"].getDebugName(1) or original)
        if not web:
            font.save(os.path.join(out_dir, postscript + ".ttf"))
        if woff2 or web:
            font.flavor = "woff2"
            font.save(os.path.join(out_dir, postscript + ".woff2"))
        missing = [c for c in unicodes if c not in font.getBestCmap()]
        if missing:
            print(f"{original} lacks " + " ".join(f"U+{c:04X}" for c in missing),
                  file=sys.stderr)
            return 1
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    mode = parser.add_mutually_exclusive_group()
    mode.add_argument("--woff2", action="store_true", help="write .woff2 faces too")
    mode.add_argument("--web", action="store_true",
                      help="write only the web's faces, as .woff2")
    parser.add_argument("out_dir")
    parser.add_argument("source_dir", nargs="?", default=DEFAULT_SOURCE)
    args = parser.parse_args()
    return make(args.source_dir, args.out_dir, args.woff2, args.web)


if __name__ == "__main__":
    sys.exit(main())
