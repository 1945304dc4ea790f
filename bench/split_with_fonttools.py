"""Splits a collection with fontTools, the reference the benchmark compares with."""
import os
import sys

from fontTools.ttLib import TTCollection

collection, out = sys.argv[1], sys.argv[2]
for i, font in enumerate(TTCollection(collection)):
    font.save(os.path.join(out, "%d.ttf" % i))
