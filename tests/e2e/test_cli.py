"""tessaglyph-cli end to end on the Debian fonts, checked with fontTools and ots-sanitize."""

import filecmp
import fnmatch
import glob
import json
import os
import re
import shutil
import struct
import subprocess
import tempfile
import unicodedata
import unittest

from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.ttLib import TTCollection, TTFont

from gb2312 import level1_hanzi

CLI = os.environ["TESSAGLYPH_CLI"]
DROID = "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf"
DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
ZENHEI = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
MICROHEI = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
NOTO_SANS = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
D2CODING = "/usr/share/fonts/truetype/naver-d2coding/D2Coding-Ver1.3.2-20180524-all.ttc"
STORE = os.path.join(os.environ["XDG_DATA_HOME"], "tessaglyph")


def run(*args, env=None, stdin=None, cwd=None):
    return subprocess.run([CLI, *args], capture_output=True, text=True, timeout=300,
                          env=dict(os.environ, **(env or {})), input=stdin, cwd=cwd)


def outlines(font, text):
    """What each character's glyph draws, components and subroutines expanded."""
    cmap, glyphs = font.getBestCmap(), font.getGlyphSet()
    drawn = []
    for char in text:
        pen = DecomposingRecordingPen(glyphs)
        glyphs[cmap[ord(char)]].draw(pen)
        drawn.append(pen.value)
    return drawn


def css_slices(css):
    """(file, code points of its unicode-range) for each @font-face rule of a slice (the fallback
    faces, of local fonts, have no url())."""
    slices = []
    for rule in re.findall(r"@font-face \{(.*?)\}", css, re.S):
        if "url(" not in rule:
            continue
        points = set()
        for part in re.search(r"unicode-range: ([^;]*);", rule).group(1).split(", "):
            first, _, last = part[2:].partition("-")
            points.update(range(int(first, 16), int(last or first, 16) + 1))
        slices.append((re.search(r'url\("([^"]+)"\)', rule).group(1), points))
    return slices


def layout_font(path, features, kern=None):
    """A font of boxes mapping ASCII, Devanagari's KA and a Vedic sign, and four blocks of symbols
    and marks, far enough apart to be sliced apart, with the given feature code (feaLib) and legacy
    kern pairs ({(left, right): value}, one format 0 subtable); glyphs are named uniXXXX."""
    from fontTools.fontBuilder import FontBuilder
    from fontTools.pens.ttGlyphPen import TTGlyphPen
    points = [*range(0x20, 0x7F), 0x915, 0x1CD3, *range(0x1DC0, 0x1F00), *range(0x2190, 0x2200),
              *range(0x2200, 0x2300), *range(0x2600, 0x2700)]
    names = [".notdef"] + ["uni%04X" % p for p in points] + ["alt"]
    pen = TTGlyphPen(None)
    pen.moveTo((100, 0)), pen.lineTo((100, 700)), pen.lineTo((500, 700)), pen.lineTo((500, 0)), pen.closePath()
    box = pen.glyph()
    builder = FontBuilder(1000, isTTF=True)
    builder.setupGlyphOrder(names)
    builder.setupCharacterMap({p: "uni%04X" % p for p in points})
    builder.setupGlyf({n: box for n in names})
    builder.setupHorizontalMetrics({n: (600, 100) for n in names})
    builder.setupHorizontalHeader(ascent=880, descent=-120)
    builder.setupNameTable({"familyName": "Layout Units", "styleName": "Regular"})
    builder.setupOS2()
    builder.setupPost()
    builder.addOpenTypeFeatures("languagesystem DFLT dflt;\n" + features)
    if kern:
        import logging
        from fontTools.ttLib import newTable
        from fontTools.ttLib.tables._k_e_r_n import KernTable_format_0
        subtable = KernTable_format_0()
        subtable.version, subtable.coverage, subtable.kernTable = 0, 1, dict(kern)
        builder.font["kern"] = newTable("kern")
        builder.font["kern"].version, builder.font["kern"].kernTables = 0, [subtable]
        # Its pairs are more than one subtable's length counts, on purpose.
        logging.getLogger("fontTools.ttLib.tables._k_e_r_n").setLevel(logging.ERROR)
    builder.save(path)


def shaped(font, text, features=""):
    """Where HarfBuzz puts the text's glyphs, and their advances, whatever their numbers."""
    return re.sub(r"(?<=[\[|])\d+=", "", subprocess.run(["hb-shape", "--no-glyph-names", "--features=" + features,
                                                         font, text], capture_output=True, text=True,
                                                        check=True).stdout)


def member(collection, family):
    return next(f for f in TTCollection(collection).fonts if f["name"].getDebugName(1) == family)


class CliTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.dir, True)

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def folder(self, name):
        os.mkdir(self.path(name))
        return self.path(name)

    def subset(self, *args, out=None, env=None):
        result = run("subset", *args, "--output-dir", out or self.dir, env=env)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result

    def test_gb2312_level1_subset_of_droid(self):
        text = level1_hanzi()
        text_file = self.path("level1.txt")
        with open(text_file, "wb") as f:
            f.write(text.encode("gb2312"))  # no BOM, not UTF-8: read as GB2312
        result = self.subset("--font", DROID, "--text-file", text_file)
        output = self.path("DroidSansFallbackFull.ttf")
        self.assertEqual(result.stdout, output + "\n")
        self.assertIn(output + ": ", result.stderr)

        source, subset = TTFont(DROID), TTFont(output)
        wanted = {ord(c) for c in text}
        self.assertEqual(set(subset.getBestCmap()), wanted & set(source.getBestCmap()))
        self.assertGreater(len(subset.getBestCmap()), 3700)
        self.assertGreater(subset["glyf"][".notdef"].numberOfContours, 0)  # .notdef keeps its outline
        names = lambda font: sorted((n.platformID, n.platEncID, n.langID, n.nameID, n.toUnicode())
                                    for n in font["name"].names)
        self.assertEqual(names(subset), names(source))
        self.assertEqual(outlines(subset, "的一是了我"), outlines(source, "的一是了我"))

        # The same subset for the web: it decodes to the same tables, and OTS takes it.
        result = self.subset("--font", DROID, "--text-file", text_file, "--format", "woff2")
        self.assertEqual(result.stdout, self.path("DroidSansFallbackFull.woff2") + "\n")
        woff2 = TTFont(self.path("DroidSansFallbackFull.woff2"))
        self.assertEqual(woff2.flavor, "woff2")
        self.assertEqual(sorted(woff2.reader.keys()), sorted(subset.reader.keys()))
        for tag in subset.reader.keys():
            decoded, plain = woff2.reader[tag], subset.reader[tag]
            if tag == "head":  # WOFF2 marks the font as transformed (flags bit 11) and its checksum changes
                flags = lambda head: struct.unpack(">H", head[16:18])[0] & ~0x0800
                self.assertEqual(flags(decoded), flags(plain))
                decoded, plain = decoded[:8] + decoded[12:16] + decoded[18:], plain[:8] + plain[12:16] + plain[18:]
            self.assertEqual(decoded, plain, tag)
        ots = subprocess.run(["ots-sanitize", self.path("DroidSansFallbackFull.woff2"), self.path("ots")],
                             capture_output=True)
        self.assertEqual(ots.returncode, 0, ots.stderr)

    def test_woff2_font_is_read(self):
        # A WOFF2 of Droid Sans Fallback's CJK, made by the program itself.
        web = self.folder("web")
        self.subset("--font", DROID, "--text", "的一是了我字体", "--format", "woff2", out=web)
        woff2 = os.path.join(web, "DroidSansFallbackFull.woff2")
        out = self.folder("out")
        result = self.subset("--font", woff2, "--text", "的一是", out=out)
        output = os.path.join(out, "DroidSansFallbackFull.ttf")
        self.assertEqual(result.stdout, output + "\n")
        source, subset = TTFont(DROID), TTFont(output)
        self.assertEqual(set(subset.getBestCmap()), {ord(c) for c in "的一是"})
        self.assertEqual(outlines(subset, "的一是"), outlines(source, "的一是"))
        ots = subprocess.run(["ots-sanitize", output, self.path("ots")], capture_output=True)
        self.assertEqual(ots.returncode, 0, ots.stderr)

        # Back to WOFF2, beside the font it is made from: refused, as that
        # would replace it; into another folder, it is written.
        result = run("subset", "--font", woff2, "--text", "的", "--format", "woff2", "--output-dir", web)
        self.assertIn("would replace the font it is made from", result.stderr)
        result = self.subset("--font", woff2, "--text", "的", "--format", "woff2", out=out)
        self.assertEqual(TTFont(os.path.join(out, "DroidSansFallbackFull.woff2")).flavor, "woff2")

        # A web-font kit of it: its slices draw what the font draws.
        kit = self.folder("kit")
        result = run("webfont", "--font", woff2, "--output-dir", kit)
        self.assertEqual(result.returncode, 0, result.stderr)
        [name] = fnmatch.filter(os.listdir(kit), "*.woff2")
        self.assertEqual(outlines(TTFont(os.path.join(kit, name)), "的一是了我字体"), outlines(source, "的一是了我字体"))

    def test_webfont_kit_of_droid(self):
        text = "".join(chr(c) for c in range(0x20, 0x7F)) + "，。、“”《》！？（）\u3000" + level1_hanzi()
        with open(self.path("text.txt"), "w", encoding="utf-8") as f:
            f.write(text)
        kits = [self.folder("kit"), self.folder("again")]
        for kit, jobs in zip(kits, ["2", "1"]):
            result = run("webfont", "--font", DROID, "--text-file", self.path("text.txt"), "--output-dir", kit,
                         "--jobs", jobs)
            self.assertEqual(result.returncode, 0, result.stderr)
        # Byte-identical whatever the number of threads.
        files = sorted(os.listdir(kits[0]))
        self.assertEqual(files, sorted(os.listdir(kits[1])))
        for name in files:
            with open(os.path.join(kits[0], name), "rb") as a, open(os.path.join(kits[1], name), "rb") as b:
                self.assertEqual(a.read(), b.read(), name)

        with open(os.path.join(kits[0], "DroidSansFallback.css"), encoding="utf-8") as f:
            slices = css_slices(f.read())
        self.assertEqual(sorted(f for f, _ in slices) + ["DroidSansFallback.css", "DroidSansFallback.html", "DroidSansFallback.report.json"], files)
        source = TTFont(DROID)
        source_cmap = source.getBestCmap()
        union = set()
        for number, (name, promised) in enumerate(slices, 1):
            self.assertRegex(name, r"^DroidSansFallback\.%03d\.[0-9a-f]{8}\.woff2$" % number)
            path = os.path.join(kits[0], name)
            font = TTFont(path)
            self.assertEqual(set(font.getBestCmap()), promised, name)
            self.assertFalse(union & promised, name)
            union |= promised
            sample = "".join(chr(c) for c in sorted(promised)[-3:])
            self.assertEqual(outlines(font, sample), outlines(source, sample), name)
            # Trademark, designer, vendor, URLs and description (7–12) are dropped.
            self.assertEqual(sorted({n.nameID for n in font["name"].names}), [0, 1, 2, 3, 4, 5, 6, 13, 14])
            ots = subprocess.run(["ots-sanitize", path, self.path("ots")], capture_output=True)
            self.assertEqual(ots.returncode, 0, (name, ots.stderr))
        self.assertEqual(union, {ord(c) for c in text} & set(source_cmap))
        # The report agrees; the language comes from the font, which maps kana and hangul
        # too but is mostly Chinese ideographs.
        with open(os.path.join(kits[0], "DroidSansFallback.report.json"), encoding="utf-8") as f:
            report = json.load(f)
        face = report["faces"][0]
        self.assertEqual(face["language"], "zh-Hans")
        self.assertEqual([(s["file"], s["codePoints"]) for s in face["slices"]], [(f, len(p)) for f, p in slices])
        self.assertEqual(report["totals"]["bytes"],
                         sum(os.path.getsize(os.path.join(kits[0], f)) for f, _ in slices))

        self.assertIn("DroidSansFallbackFull.ttf, by the text's use).", result.stderr)

        # A Latin kit of a text: its preview's sample is of the kit's own characters.
        latin = self.folder("latin")
        result = run("webfont", "--font", DEJAVU, "--text", "Hello", "--output-dir", latin)
        self.assertIn("DejaVu Sans: ", result.stderr)
        self.assertIn(" characters, slices: 1 (", result.stderr)
        self.assertIn("DejaVuSans.ttf, by the text's use).", result.stderr)
        for preview, held in [(os.path.join(kits[0], "DroidSansFallback.html"), union),
                              (os.path.join(latin, "DejaVuSans.html"), set(map(ord, "Hello")))]:
            with open(preview, encoding="utf-8") as f:
                sample = re.search(r"<textarea[^>]*>(.*)</textarea>", f.read()).group(1)
            self.assertTrue(sample, preview)
            self.assertFalse({ord(c) for c in sample} - {ord(" ")} - held, sample)

        # The page's own rule names the family as a CSS string, which a browser reads unescaped.
        with open(os.path.join(latin, "DejaVuSans.html"), encoding="utf-8") as f:
            self.assertIn('.web { font-family: "DejaVu Sans";', f.read())
        # Another kit whose style sheet cannot be placed (a folder is in its way) leaves the
        # earlier report and preview as they were, and writes none of its slices.
        earlier = {name: open(os.path.join(latin, name), "rb").read() for name in os.listdir(latin)}
        os.remove(os.path.join(latin, "DejaVuSans.css"))
        os.mkdir(os.path.join(latin, "DejaVuSans.css"))
        result = run("webfont", "--font", DEJAVU, "--text", "World", "--output-dir", latin)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn("DejaVuSans.css is in the folder and was not written by a kit; nothing was written.",
                      result.stderr)
        del earlier["DejaVuSans.css"]
        self.assertEqual(sorted(os.listdir(latin)), sorted([*earlier, "DejaVuSans.css"]))
        for name, data in earlier.items():
            with open(os.path.join(latin, name), "rb") as f:
                self.assertEqual(f.read(), data, name)

        # The punctuation shares the first slice with ASCII.
        punctuation = {ord(c) for c in " A，。、“”《》！？（）\u3000"} & set(source_cmap)
        self.assertEqual(len(punctuation), 11)
        self.assertLessEqual(punctuation, slices[0][1])

        # A kit of spaces only: its glyph table keeps .notdef's outline, so OTS takes it.
        spaces = self.folder("spaces")
        self.assertEqual(run("webfont", "--font", DROID, "--text", " \u3000", "--output-dir", spaces).returncode, 0)
        for name in fnmatch.filter(os.listdir(spaces), "*.woff2"):
            ots = subprocess.run(["ots-sanitize", os.path.join(spaces, name), self.path("ots")], capture_output=True)
            self.assertEqual(ots.returncode, 0, (name, ots.stderr))

        # Failures: nothing written.
        truncated = self.path("truncated.ttf")
        with open(DROID, "rb") as f, open(truncated, "wb") as out:
            out.write(f.read(100000))
        empty = self.folder("empty")
        for args, message in [(["--font", truncated, "--output-dir", empty], "is damaged: its 'GDEF' table lies outside the file"),
                              (["--font", DROID, "--output-dir", self.path("missing")], "does not exist")]:
            result = run("webfont", "--text", "你好", *args)
            self.assertEqual(result.returncode, 1, args)
            self.assertIn(message, result.stderr)
        self.assertEqual(os.listdir(empty), [])

    def test_installed_families(self):
        shutil.rmtree(STORE, True)
        text = "你好世界"
        self.subset("--family", "wenquanyi micro hei", "--text", text)
        output = self.path("wenquanyi micro hei.ttf")
        self.assertEqual(outlines(TTFont(output), text), outlines(member(MICROHEI, "WenQuanYi Micro Hei"), text))
        # Only the member asked for was extracted; a second run reuses it.
        store = {name: os.stat(os.path.join(STORE, name)).st_ino for name in os.listdir(STORE)}
        self.assertEqual(list(store), ["文泉驿微米黑.ttf"])
        self.subset("--family", "WenQuanYi Micro Hei", "--text", text)
        self.assertEqual({n: os.stat(os.path.join(STORE, n)).st_ino for n in os.listdir(STORE)}, store)

        # CFF outlines from an OpenType collection: the same drawings, subroutines expanded.
        self.subset("--family", "Noto Sans CJK SC", "--text", text)
        noto = TTFont(self.path("Noto Sans CJK SC.otf"))
        self.assertEqual(noto.sfntVersion, "OTTO")
        self.assertEqual(outlines(noto, text), outlines(member(NOTO_SANS, "Noto Sans CJK SC"), text))
        self.assertEqual(sorted(os.listdir(STORE)), ["Noto Sans CJK SC.otf", "文泉驿微米黑.ttf"])
        # Every layout feature a page may ask for is kept, not only those a browser applies by itself:
        # punctuation spacing (halt, palt, chws), widths, vertical forms, other languages' forms.
        self.subset("--family", "Noto Sans CJK SC", "--text", "。「，」你好かなABC")
        noto = TTFont(self.path("Noto Sans CJK SC.otf"))
        source = member(NOTO_SANS, "Noto Sans CJK SC")
        for table in ["GSUB", "GPOS"]:
            features = lambda font: {r.FeatureTag for r in font[table].table.FeatureList.FeatureRecord}
            self.assertLessEqual({"halt", "palt", "vhal", "vpal", "kern"} if table == "GPOS" else
                                 {"aalt", "fwid", "hwid", "pwid", "locl", "vert", "vrt2"},
                                 features(noto), table)
            self.assertLessEqual(features(noto), features(source), table)

        # Characters beyond U+FFFF, as one character each.
        self.subset("--family", "VL PGothic", "--text", "𠮷野家😀")
        self.assertEqual(set(TTFont(self.path("VL PGothic.ttf")).getBestCmap()), {ord(c) for c in "𠮷野家😀"})

        # Known by a typographic family name, or mapped by format 12 alone: no fallback.
        for family, text in [("Smiley Sans", "得意"), ("NanumSquareRound", "한글"), ("Noto Color Emoji", "😀")]:
            result = self.subset("--family", family, "--text", text)
            self.assertNotIn("default face", result.stderr)
            self.assertEqual(set(TTFont(self.path(family + ".ttf")).getBestCmap()), {ord(c) for c in text})

        # A web-font kit of every installed face of a family in collections: Regular and Bold.
        kit, text = self.folder("kit"), "你好世界"
        self.assertEqual(run("webfont", "--family", "noto sans cjk sc", "--text", text, "--output-dir", kit).returncode, 0)
        with open(os.path.join(kit, "NotoSansCJKSC.css"), encoding="utf-8") as f:
            css = f.read()
        self.assertEqual(re.findall(r"font-weight: (\d+);[^}]*url\(", css), ["400", "700"])
        for name, points in css_slices(css):
            self.assertEqual(points, {ord(c) for c in text + " "})  # the space: what lines are measured by
            self.assertEqual(outlines(TTFont(os.path.join(kit, name)), text),
                             outlines(member(NOTO_SANS.replace("Regular", name.split("-")[1].split(".")[0]),
                                             "Noto Sans CJK SC"), text))

    def test_webfont_kit_of_one_language(self):
        """--language makes a kit for pages in that language: other languages' localized forms
        (here the Japanese form of 直) are left out; without it they stay."""
        def shaped(font_file, language):
            return subprocess.run(["hb-shape", "--language=" + language, "--no-positions", "--no-clusters",
                                   font_file, "直"], capture_output=True, text=True, check=True).stdout

        for language, forms_kept in [(None, True), ("zh-Hans", False)]:
            kit = self.folder("kit-%s" % language)
            result = run("webfont", "--family", "Noto Sans CJK SC", "--text", "直", "--output-dir", kit,
                         *(["--language", language] if language else []))
            self.assertEqual(result.returncode, 0, result.stderr)
            names = fnmatch.filter(os.listdir(kit), "NotoSansCJKsc-Regular.*.woff2")
            self.assertEqual(len(names), 1, os.listdir(kit))
            for name in names:
                font = TTFont(os.path.join(kit, name))
                font.flavor = None
                font.save(self.path("slice.otf"))
                self.assertEqual(shaped(self.path("slice.otf"), "ja") != shaped(self.path("slice.otf"), "zh-Hans"),
                                 forms_kept, language)

    def test_no_per_user_folder(self):
        # The per-user folder cannot be made (a file stands where its parent
        # would be): the member is subset from its collection, and nothing is
        # written in the folder the job runs in.
        blocker = self.path("blocker")
        open(blocker, "w").close()
        here, out = self.folder("here"), self.folder("out")
        result = run("subset", "--family", "WenQuanYi Micro Hei", "--text", "你好", "--output-dir", out, cwd=here,
                     env={"XDG_DATA_HOME": os.path.join(blocker, "data")})
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(os.listdir(here), [])
        self.assertIn(blocker + ": Not a directory", result.stderr)
        self.assertEqual(outlines(TTFont(os.path.join(out, "WenQuanYi Micro Hei.ttf")), "你好"),
                         outlines(member(MICROHEI, "WenQuanYi Micro Hei"), "你好"))

    def test_default_face_follows_the_language(self):
        for lang, face in [("C.UTF-8", "DejaVu Sans.ttf"), ("zh_CN.UTF-8", "Noto Sans CJK SC.otf")]:
            out = self.folder(lang)
            result = self.subset("--family", "No Such Family", "--text", "Rag", out=out, env={"LANG": lang})
            self.assertEqual(os.listdir(out), [face])
            self.assertIn("The family No Such Family is not installed. The subset was made from the default face "
                          + face[:-4] + " instead.", result.stderr)

    def test_split_real_collections(self):
        cases = [(ZENHEI, ["文泉驿正黑.ttf", "文泉驿等宽正黑.ttf", "文泉驿点阵正黑.ttf"]),
                 (NOTO_SANS, ["Noto Sans %sCJK %s.otf" % (mono, region)
                              for mono in ["", "Mono "] for region in ["JP", "KR", "SC", "TC", "HK"]]),
                 (D2CODING, ["D2Coding.ttf", "D2Coding Bold.ttf", "D2Coding ligature.ttf",
                             "D2Coding ligature Bold.ttf"])]
        for collection, expected in cases:
            out = self.folder(os.path.basename(collection))
            result = run("split", collection, "--output-dir", out)
            self.assertEqual(result.returncode, 0, result.stderr)
            written = result.stdout.splitlines()
            self.assertEqual([os.path.basename(p) for p in written], expected)
            for index, path in enumerate(written):
                self.check_member(TTCollection(collection).fonts[index], path)
            # Again: every member file exists, and is kept.
            again = run("split", collection, "--output-dir", out, "--quiet")
            self.assertEqual((again.returncode, again.stdout), (0, ""))
            self.assertEqual(again.stderr.count("was kept as it was"), len(expected))

    def check_member(self, source, path):
        with open(path, "rb") as f:
            data = f.read()
        font = TTFont(path)
        for tag in font.reader.keys():
            table, original = font.reader[tag], source.reader[tag]
            if tag == "head":  # all but checkSumAdjustment
                table, original = table[:8] + table[12:], original[:8] + original[12:]
            self.assertEqual(table, original, tag)
        at = font.reader.tables["head"].offset + 8
        words = struct.unpack(">%dI" % (len(data) // 4), data[:at] + b"\0\0\0\0" + data[at + 4:])
        self.assertEqual(struct.unpack(">I", data[at:at + 4])[0], (0xB1B0AFBA - sum(words)) % 2**32, path)
        ots = subprocess.run(["ots-sanitize", path, self.path("ots")], capture_output=True)
        self.assertEqual(ots.returncode, 0, ots.stderr)

    def test_text_inputs(self):
        inputs = {"utf8-bom": b"\xef\xbb\xbfAB", "utf16le": b"\xff\xfe" + "AB".encode("utf-16-le"),
                  "utf16be": b"\xfe\xff" + "AB".encode("utf-16-be"), "utf8": "AB".encode("utf-8"),
                  "gb2312": "学习".encode("gb2312"),  # also valid UTF-8, as "ѧϰ"
                  "cyrillic": "дом где".encode("utf-8")}  # also valid GB2312, as six hanzi
        text_of = {"gb2312": "学习", "cyrillic": "дом где"}
        for name, data in inputs.items():
            with open(self.path(name + ".txt"), "wb") as f:
                f.write(data)
            out = self.folder(name)
            font, text = DROID if name == "gb2312" else DEJAVU, text_of.get(name, "AB")
            result = self.subset("--font", font, "--text-file", self.path(name + ".txt"), out=out)
            output = os.path.join(out, os.path.basename(font))
            self.assertEqual(set(TTFont(output).getBestCmap()), {ord(c) for c in text}, name)
            said = self.path(name + ".txt") + " was read as GB2312.\n"
            self.assertEqual(said in result.stderr, name == "gb2312", result.stderr)

        # A folder of them, recursively; a binary file among them is skipped.
        texts = self.folder("texts")
        os.makedirs(os.path.join(texts, "deeper"))
        shutil.copy(self.path("utf16be.txt"), texts)
        shutil.copy(self.path("utf8.txt"), os.path.join(texts, "deeper"))
        shutil.copy(self.path("gb2312.txt"), os.path.join(texts, "deeper"))
        with open(os.path.join(texts, "deeper", "C.png"), "wb") as f:
            f.write(b"C\x89PNG\0\0")
        out = self.folder("from-folder")
        result = self.subset("--font", DEJAVU, "--text-dir", texts, out=out)
        self.assertIn("1 binary files under %s were skipped." % texts, result.stderr)
        self.assertIn("1 files under %s were read as GB2312: deeper/gb2312.txt.\n" % texts, result.stderr)
        self.assertEqual(set(TTFont(os.path.join(out, "DejaVuSans.ttf")).getBestCmap()), {65, 66})

        # Several files, standard input and --text together: their union.
        with open(self.path("more.txt"), "wb") as f:
            f.write("𠮷".encode("gb18030"))  # four bytes in GB18030
        result = run("subset", "--font", "/usr/share/fonts/truetype/vlgothic/VL-PGothic-Regular.ttf",
                     "--text-file", self.path("utf8.txt"), "--text-file", self.path("more.txt"),
                     "--text-file", "-", "--text", "C", "--output-dir", self.dir, stdin="野")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(set(TTFont(self.path("VL-PGothic-Regular.ttf")).getBestCmap()),
                         {ord(c) for c in "AB𠮷野C"})

    def test_webfont_kit_of_a_site(self):
        """A kit of a folder of pages: past the first slice, a page fetches only slices all of whose
        characters it uses."""
        hanzi = level1_hanzi()
        pages = {"a.html": hanzi[:800], "b.html": hanzi[400:1200], "c.txt": hanzi[:200] + hanzi[1000:1600]}
        site = self.folder("site")
        for name, text in pages.items():
            with open(os.path.join(site, name), "w", encoding="utf-8") as f:
                f.write("<p>%s</p>" % text)
        kit = self.folder("kit")
        result = run("webfont", "--font", DROID, "--text-dir", site, "--output-dir", kit)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("by the text's use", result.stderr)
        with open(os.path.join(kit, "DroidSansFallback.css"), encoding="utf-8") as f:
            slices = css_slices(f.read())
        self.assertGreater(len(slices), 3)
        for name, text in pages.items():
            used = {ord(c) for c in text}
            fetched = [points for _, points in slices[1:] if points & used]
            self.assertTrue(fetched, name)
            for points in fetched:
                self.assertLessEqual(points, used, name)

        # The same pages written in the reverse order give the same kit, byte for byte: the
        # folder's files are read in the order of their paths, not as the file system lists
        # them (on tmpfs, newest first).
        shm = "/dev/shm" if os.path.isdir("/dev/shm") else None
        with tempfile.TemporaryDirectory(dir=shm) as other:
            for name in reversed(sorted(pages)):
                shutil.copy(os.path.join(site, name), os.path.join(other, name))
            again = self.folder("kit-again")
            self.assertEqual(run("webfont", "--font", DROID, "--text-dir", other, "--output-dir", again).returncode, 0)
        for name in os.listdir(kit):
            with open(os.path.join(kit, name), "rb") as a, open(os.path.join(again, name), "rb") as b:
                self.assertEqual(a.read(), b.read(), name)

        # Page b edited, with characters new to the site and without 50 that page c also uses, and
        # the kit made again into its folder: every earlier slice keeps its file, for the browsers
        # that hold it (a new plan would move the 50 to page c's own slice), and the new characters
        # come in a slice of their own.
        added = hanzi[1600:1650]
        with open(os.path.join(site, "b.html"), "w", encoding="utf-8") as f:
            f.write("<p>%s</p>" % (hanzi[400:1150] + added))
        result = run("webfont", "--font", DROID, "--text-dir", site, "--output-dir", kit)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("by the text's use, in the earlier kit's slices where they still serve", result.stderr)
        with open(os.path.join(kit, "DroidSansFallback.css"), encoding="utf-8") as f:
            rebuilt = dict(css_slices(f.read()))
        self.assertLessEqual(set(dict(slices)), set(rebuilt))
        self.assertEqual([points for name, points in rebuilt.items() if name not in dict(slices)],
                         [{ord(c) for c in added}])

    def test_webfont_units_from_the_layout(self):
        """Characters whose glyphs a lookup joins, that HarfBuzz composes from text typed
        decomposed, or that a script alone uses with its letters, share a slice, though their
        blocks would put them apart."""
        cases = {
            "a kerning pair": ("feature kern { pos uni2190 uni26FF -50; } kern;", 0x2190, 0x26FF),
            "a mark attached to a base": ("markClass uni1DC0 <anchor 0 0> @TOP;\n"
                                          "feature mark { pos base uni26FF <anchor 100 700> mark @TOP; } mark;",
                                          0x1DC0, 0x26FF),
            "a chaining context": ("lookup ALT { sub uni2190 by alt; } ALT;\n"
                                   "feature calt { sub uni2190' lookup ALT uni26FF; } calt;", 0x2190, 0x26FF),
            "a letter HarfBuzz composes from ASCII and a mark (A, U+0325: U+1E00)": ("", 0x41, 0x1E00),
            "a sign of another block that Devanagari alone uses (Script_Extensions)": ("", 0x915, 0x1CD3),
        }
        for name, (features, a, b) in cases.items():
            with self.subTest(name):
                font = self.path("units-%d.ttf" % len(os.listdir(self.dir)))
                layout_font(font, features)
                kit = self.folder(os.path.basename(font) + ".kit")
                result = run("webfont", "--font", font, "--output-dir", kit)
                self.assertEqual(result.returncode, 0, result.stderr)
                with open(os.path.join(kit, "LayoutUnits.css"), encoding="utf-8") as f:
                    slices = css_slices(f.read())
                self.assertGreater(len(slices), 2)
                self.assertTrue(any({a, b} <= points for _, points in slices), slices)

    def test_legacy_kerning_kept(self):
        """A font whose kerning is only in a legacy kern table keeps it in a subset and in the kit's
        slice, which holds every character it pairs: its pairs shape as in the whole font, in
        subtables a browser's sanitizer keeps, though they are more than one subtable's 16-bit
        length counts."""
        font = self.path("kern.ttf")
        arrows = range(0x2190, 0x2200)
        layout_font(font, "", kern={("uni%04X" % a, "uni%04X" % b): -1 - (a * b) % 97 for a in arrows for b in arrows})
        text = "\u2190\u2191\u21FF\u21FE"
        self.assertNotEqual(shaped(font, text), shaped(font, text, "-kern"))
        self.subset("--font", font, "--text", text, out=self.folder("subset"))
        kit = self.folder("kit")
        result = run("webfont", "--font", font, "--output-dir", kit)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(kit, "LayoutUnits.css"), encoding="utf-8") as f:
            woff2 = next((name for name, points in css_slices(f.read()) if set(arrows) <= points), None)
        self.assertIsNotNone(woff2, "no slice holds every character the kern table pairs")
        sliced = TTFont(os.path.join(kit, woff2))
        sliced.flavor = None
        sliced.save(self.path("slice.ttf"))
        for name, path in (("subset", self.path("subset", "kern.ttf")), ("slice", self.path("slice.ttf"))):
            with self.subTest(name):
                self.assertEqual(shaped(path, text), shaped(font, text))
                ots = subprocess.run(["ots-sanitize", path, self.path("ots")], capture_output=True, text=True)
                self.assertEqual(ots.returncode, 0, ots.stdout + ots.stderr)
                self.assertIn("kern", TTFont(self.path("ots")))

    def test_webfont_slice_cache(self):
        """The cache the command line uses by default, or as told: a second kit from it, with the same bytes."""
        xdg, other, blocker = self.path("xdg"), self.path("other"), self.path("blocker")
        open(blocker, "w").close()
        default = os.path.join(xdg, "tessaglyph")
        for name, options, folder in [("default", [], default), ("--cache", ["--cache", other], other),
                                      ("--no-cache", ["--no-cache"], None),
                                      ("unusable", ["--cache", os.path.join(blocker, "cache")], None)]:
            with self.subTest(name):
                kits = [self.folder(name + str(run_number)) for run_number in range(2)]
                results = [run("webfont", "--font", DEJAVU, "--text", "Hello, Ελλάδα", "--output-dir", kit,
                               *options, env={"XDG_CACHE_HOME": xdg}) for kit in kits]
                for result in results:
                    self.assertEqual(result.returncode, 0, result.stderr)
                slices = len(glob.glob(os.path.join(kits[0], "*.woff2")))
                if folder:
                    self.assertIn("Slices copied from the slice cache: 0 of %d." % slices, results[0].stderr)
                    self.assertIn("Slices copied from the slice cache: %d of %d." % (slices, slices), results[1].stderr)
                    self.assertEqual(len(glob.glob(os.path.join(folder, "*.woff2"))), slices)
                else:
                    self.assertNotIn("from the slice cache", results[1].stderr)
                if name == "unusable":
                    self.assertIn("The slice cache could not be used (%s: Not a directory)" % blocker, results[1].stderr)
                self.assertEqual(sorted(os.listdir(kits[0])), sorted(os.listdir(kits[1])))
                for file in os.listdir(kits[0]):
                    self.assertTrue(filecmp.cmp(os.path.join(kits[0], file), os.path.join(kits[1], file), shallow=False))
        self.assertEqual(sorted(os.listdir(self.dir)), sorted(["blocker", "xdg", "other"] + [
            name + str(n) for name in ["default", "--cache", "--no-cache", "unusable"] for n in range(2)]))
        result = run("webfont", "--font", DEJAVU, "--output-dir", self.dir, "--cache", other, "--no-cache")
        self.assertEqual(result.returncode, 2)
        self.assertIn("--cache and --no-cache exclude each other", result.stderr)

    def test_webfont_of_jamo_harfbuzz_cannot_subset_whole(self):
        """HarfBuzz 6.0 fails to subset the old-Hangul jamo of NanumBarunGothic YetHangul in one
        font (its jamo ligatures' offsets overflow), and they are one unit with the syllables their
        lookups join: the whole kit cuts them, maps every one and says what that costs. The cut
        parts the syllables from the jamo: HarfBuzz draws a syllable its slice lacks from that
        slice's jamo ("간" as "가" and "ᆫ"), unlike the whole font."""
        font = "/usr/share/fonts/truetype/nanum/NanumBarunGothic-YetHangul.ttf"
        kit = self.folder("kit")
        result = run("webfont", "--font", font, "--output-dir", kit, "--no-cache")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("HarfBuzz could not make a slice of all the characters", result.stdout + result.stderr)
        with open(os.path.join(kit, "NanumBarunGothicYetHangul.css"), encoding="utf-8") as f:
            slices = css_slices(f.read())
        mapped = set(TTFont(font).getBestCmap())
        self.assertEqual(set().union(*(points for _, points in slices)), {c for c in mapped if c >= 0x20})
        # No slice that a run of syllables is shaped with (it holds one) holds what a syllable it
        # lacks decomposes into: its jamo, or the syllable of its first two and its final jamo.
        def decompositions(syllable):
            final = (syllable - 0xAC00) % 28
            jamo = set(map(ord, unicodedata.normalize("NFD", chr(syllable))))
            return [jamo, {syllable - final, 0x11A7 + final}] if final else [jamo]
        syllables = {c: decompositions(c) for c in mapped if 0xAC00 <= c <= 0xD7A3}
        decomposable = [(name, chr(c)) for name, points in slices if points & syllables.keys()
                        for c, parts in syllables.items() if c not in points and any(p <= points for p in parts)]
        self.assertEqual(decomposable[:3], [])

    def test_webfont_folder_synced_after_its_renames(self):
        """The kit's folder is synced once its files are renamed into it, as strace sees the calls."""
        kit, log = self.folder("kit"), self.path("strace.log")
        # LeakSanitizer cannot work under ptrace; this is about the calls only.
        asan = ":".join(filter(None, [os.environ.get("ASAN_OPTIONS"), "detect_leaks=0"]))
        result = subprocess.run(["strace", "-f", "-qq", "-o", log, "-e", "trace=openat,fsync,rename,renameat,renameat2",
                                 CLI, "webfont", "--font", DEJAVU, "--text", "Hello", "--output-dir", kit],
                                capture_output=True, text=True, timeout=300, env=dict(os.environ, ASAN_OPTIONS=asan))
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(log) as f:
            calls = [line.split(None, 1)[1] for line in f if " " in line]
        renames = [i for i, call in enumerate(calls) if call.startswith("rename")]
        self.assertRegex(calls[renames[-1]], r'"%s/DejaVuSans\.css"' % re.escape(kit))
        after = calls[renames[-1]:]
        opened = r'openat\(AT_FDCWD, "%s", [^)]*O_DIRECTORY[^)]*\) = (\d+)' % re.escape(kit)
        folders = {m.group(1) for call in after if (m := re.match(opened, call))}
        synced = {m.group(1) for call in after if (m := re.match(r"fsync\((\d+)\) += 0", call))}
        self.assertTrue(folders & synced, after)

    def test_refusals(self):
        truncated = self.path("truncated.ttf")
        with open(DEJAVU, "rb") as f, open(truncated, "wb") as out:
            out.write(f.read(4000))
        damaged_woff2 = self.path("damaged.woff2")
        with open(damaged_woff2, "wb") as f:
            f.write(b"wOF2\x00\x01\x00\x00" + bytes(40))
        bad_ttc = self.path("bad.ttc")
        with open(bad_ttc, "wb") as f:  # ttcf, v1, 2 members, offsets past the end
            f.write(b"ttcf\x00\x01\x00\x00\x00\x00\x00\x02\x7f\xff\xff\xff\x7f\xff\xff\xff")
        out = self.folder("out")
        own_copy = shutil.copy(DEJAVU, self.path("DejaVuSans.ttf"))
        cases = [
            (["subset", "--font", truncated, "--text", "a"], "truncated.ttf is damaged: its 'GPOS' table lies outside"),
            (["subset", "--font", self.path("missing.otf"), "--text", "a"], "does not exist"),
            (["subset", "--font", damaged_woff2, "--text", "a"],
             "The WOFF2 font %s is damaged: it could not be decoded." % damaged_woff2),
            (["subset", "--font", DEJAVU, "--text-file", self.path("missing.txt")], "does not exist"),
            (["subset", "--font", DEJAVU, "--text", "你好"], "nor the default face"),
            (["split", self.path("missing.otc")], "does not exist"),
            (["split", bad_ttc], "could not be split"),
        ]
        for args, message in cases:
            result = run(*args, "--output-dir", out)
            self.assertEqual(result.returncode, 1, args)
            self.assertIn(message, result.stderr, args)
            self.assertEqual(result.stdout, "", args)
        self.assertEqual(os.listdir(out), [])
        result = run("subset", "--font", own_copy, "--text", "a", "--output-dir", self.dir)
        self.assertIn("would replace the font it is made from", result.stderr)
        with open(own_copy, "rb") as copy, open(DEJAVU, "rb") as original:
            self.assertEqual(copy.read(), original.read())

    def test_usage(self):
        help_text = run("--help").stdout
        for words in ["split FILE.ttc", "Exit status", "~/.local/share/tessaglyph", "--text-file -", "webfont (--font"]:
            self.assertIn(words, help_text)
        self.assertRegex(run("--version").stdout, r"^tessaglyph-cli \d+\.\d+\.\d+\n.*\n.*MIT licence")
        for args, message in [(["subset", "--font", "--text", "a"], "--font needs a file name"),
                              (["subset", "--family", "x", "--text", "a", "--output-dir"], "--output-dir needs a folder"),
                              (["subset", "--font=", "--text", "a"], "--font needs a file name"),
                              ([], "no command given"), (["frobnicate"], "unknown command"),
                              (["subset", "--font", DEJAVU, "--output-dir", self.dir], "needs --text, --text-file or --text-dir"),
                              (["subset", "--font", DEJAVU, "--family", "x", "--text", "a", "--output-dir", self.dir],
                               "exactly one of --font and --family")]:
            result = run(*args)
            self.assertEqual(result.returncode, 2, args)
            self.assertIn(message, result.stderr, args)


if __name__ == "__main__":
    unittest.main()
