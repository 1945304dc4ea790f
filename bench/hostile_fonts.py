#!/usr/bin/env python3
"""Writes the fonts of bench/hostile.sh: real, valid fonts whose layout asks a
naive reader for work far beyond their size.

  hostile_fonts.py DIR

- chained-N: N+1 ideographs, each glyph a small box, and a GSUB 'liga' of N
  two-glyph ligatures that chain them all (g0 g1, g1 g2, ...): one unit of
  N+1 characters unless units are bounded.
- random-N: N two-glyph ligatures between random pairs of 16,000 glyphs.
- shared-C: every ligature of 1,000 first glyphs shares one Ligature record
  of C components (in the binary: fontTools shares identical records).
The GSUB tables whose offsets repeat (tests/support/HostileInputs.cpp) are
the fuzzers' seeds and the tests' rows.
"""
import os
import random
import struct
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib.tables import otTables


def box():
    pen = TTGlyphPen(None)
    pen.moveTo((100, 0))
    pen.lineTo((100, 700))
    pen.lineTo((800, 700))
    pen.lineTo((800, 0))
    pen.closePath()
    return pen.glyph()


def font_with(count, ligatures, path, name):
    names = [".notdef"] + ["g%d" % i for i in range(count)]
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap({0x4E00 + i: "g%d" % i for i in range(count)})
    glyph = box()
    fb.setupGlyf({n: glyph for n in names})
    fb.setupHorizontalMetrics({n: (1000, 100) for n in names})
    fb.setupHorizontalHeader(ascent=880, descent=-120)
    fb.setupNameTable({"familyName": name, "styleName": "Regular"})
    fb.setupOS2()
    fb.setupPost()
    if ligatures:
        lines = ["languagesystem DFLT dflt;", "feature liga {"]
        lines += ["  sub %s by %s;" % (" ".join(parts), target) for parts, target in ligatures]
        lines.append("} liga;")
        fb.addOpenTypeFeatures("\n".join(lines))
    fb.save(path)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for n in (20000, 40000):
        font_with(n + 1, [(("g%d" % i, "g%d" % (i + 1)), "g%d" % i) for i in range(n)],
                  os.path.join(out, "chained-%d.ttf" % n), "Chained %d" % n)
    rng = random.Random(20261210)
    pairs = sorted({(rng.randrange(16000), rng.randrange(16000)) for _ in range(20000)})
    font_with(16000, [(("g%d" % a, "g%d" % b), "g%d" % a) for a, b in pairs],
              os.path.join(out, "random-20000.ttf"), "Random Pairs")
    for c in (1000, 4000):
        parts = tuple("g%d" % (1 + k % 2) for k in range(c - 1))
        font_with(1000, [(("g%d" % i,) + parts, "g0") for i in range(1000)],
                  os.path.join(out, "shared-%d.ttf" % c), "Shared %d" % c)


if __name__ == "__main__":
    main()
