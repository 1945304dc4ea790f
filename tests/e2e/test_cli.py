"""tessaglyph-cli end to end, checked with fontTools and ots-sanitize."""

import os
import shutil
import stat
import subprocess
import tempfile
import unittest

from fontTools.ttLib import TTCollection, TTFont

from gb2312 import level1_hanzi

CLI = os.environ["TESSAGLYPH_CLI"]
DROID = "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf"
DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
ZENHEI = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
MICROHEI = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
UKAI = "/usr/share/fonts/truetype/arphic/ukai.ttc"


def run(*args):
    return subprocess.run([CLI, *args], capture_output=True, text=True, timeout=300)


class CliTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.dir, True)

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def test_gb2312_level1_subset_of_droid(self):
        text = level1_hanzi()
        self.assertEqual(len(text), 3755)
        text_file = self.path("level1.txt")
        with open(text_file, "wb") as f:
            f.write(text.encode("gb2312"))  # no BOM, not UTF-8: read as GB2312
        result = run("subset", "--font", DROID, "--text-file", text_file, "--output-dir", self.dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        output = self.path("DroidSansFallbackFull.ttf")
        self.assertEqual(result.stdout.strip(), output)

        source, subset = TTFont(DROID), TTFont(output)
        mapped = set(source.getBestCmap())
        wanted = {ord(c) for c in text}
        self.assertEqual(set(subset.getBestCmap()), wanted & mapped)
        self.assertGreater(len(wanted & mapped), 3700)
        self.assertEqual(subset.getGlyphOrder()[0], ".notdef")
        self.assertGreater(subset["glyf"][".notdef"].numberOfContours, 0)  # .notdef keeps its outline
        names = lambda font: sorted((n.platformID, n.platEncID, n.langID, n.nameID, n.toUnicode())
                                    for n in font["name"].names)
        self.assertEqual(names(subset), names(source))
        # The outlines are the source's, glyph by glyph.
        source_cmap, subset_cmap = source.getBestCmap(), subset.getBestCmap()
        for ch in "的一是了我":
            a = source["glyf"][source_cmap[ord(ch)]].getCoordinates(source["glyf"])[0]
            b = subset["glyf"][subset_cmap[ord(ch)]].getCoordinates(subset["glyf"])[0]
            self.assertEqual(list(a), list(b))

    def outlines(self, font, text):
        cmap, glyf = font.getBestCmap(), font["glyf"]
        return [list(glyf[cmap[ord(c)]].getCoordinates(glyf)[0]) for c in text]

    def member_outlines(self, collection, family, text):
        for font in TTCollection(collection).fonts:
            if family in [n.toUnicode() for n in font["name"].names if n.nameID == 1]:
                return self.outlines(font, text)
        self.fail("no member named " + family)

    def test_installed_families(self):
        data_home = os.path.join(os.environ["XDG_DATA_HOME"], "tessaglyph")
        shutil.rmtree(data_home, True)
        text = "你好世界"
        result = run("subset", "--family", "WenQuanYi Micro Hei", "--text", text, "--output-dir", self.dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        output = self.path("WenQuanYi Micro Hei.ttf")
        self.assertEqual(result.stdout.strip(), output)
        self.assertEqual(self.outlines(TTFont(output), text), self.member_outlines(MICROHEI, "WenQuanYi Micro Hei", text))
        # The first run split the collection into the per-user folder; the second reuses it.
        members = {name: os.stat(os.path.join(data_home, name)).st_ino for name in os.listdir(data_home)}
        self.assertEqual(sorted(members), ["文泉驿微米黑.ttf", "文泉驿等宽微米黑.ttf"])
        self.assertEqual(run("subset", "--family", "WenQuanYi Micro Hei", "--text", text,
                             "--output-dir", self.dir).returncode, 0)
        self.assertEqual({n: os.stat(os.path.join(data_home, n)).st_ino for n in os.listdir(data_home)}, members)

        result = run("subset", "--family", "AR PL UKai TW", "--text", text, "--output-dir", self.dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.outlines(TTFont(self.path("AR PL UKai TW.ttf")), text),
                         self.member_outlines(UKAI, "AR PL UKai TW", text))

        result = run("subset", "--family", "DejaVu Sans", "--text", "Rag", "--output-dir", self.dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.outlines(TTFont(self.path("DejaVu Sans.ttf")), "Rag"),
                         self.outlines(TTFont(DEJAVU), "Rag"))

        default = subprocess.run(["fc-match", "-f", "%{family[0]}", "sans-serif"],
                                 capture_output=True, text=True).stdout
        for family in ["Sans Serif", "No Such Family Anywhere"]:
            out = self.path(family)
            os.mkdir(out)
            result = run("subset", "--family", family, "--text", "Rag", "--output-dir", out)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertEqual(os.listdir(out), [default + ".ttf"])

    def test_text_file_encodings(self):
        for name, data in [("utf8-bom", b"\xef\xbb\xbfAB"), ("utf16le", "AB".encode("utf-16-le")),
                           ("utf16be-bom", b"\xfe\xff" + "AB".encode("utf-16-be")),
                           ("utf8", "AB".encode("utf-8"))]:
            if name == "utf16le":
                data = b"\xff\xfe" + data
            text_file = self.path(name + ".txt")
            with open(text_file, "wb") as f:
                f.write(data)
            out = self.path(name)
            os.mkdir(out)
            result = run("subset", "--font", DEJAVU, "--text-file", text_file, "--output-dir", out)
            self.assertEqual(result.returncode, 0, result.stderr)
            cmap = TTFont(os.path.join(out, "DejaVuSans.ttf")).getBestCmap()
            self.assertEqual(set(cmap), {ord("A"), ord("B")}, name)

    def test_split_real_collection(self):
        result = run("split", ZENHEI, "--output-dir", self.dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        written = result.stdout.split("\n")[:-1]
        self.assertEqual(sorted(os.path.basename(p) for p in written),
                         sorted(["文泉驿正黑.ttf", "文泉驿点阵正黑.ttf", "文泉驿等宽正黑.ttf"]))
        collection = TTCollection(ZENHEI)
        for path in written:
            member = TTFont(path)
            source = next(f for f in collection.fonts
                          if f["name"].getDebugName(4) == member["name"].getDebugName(4))
            for tag in member.keys():
                if tag != "GlyphOrder":
                    self.assertEqual(member.reader[tag], source.reader[tag], tag)
            ots = subprocess.run(["ots-sanitize", path, self.path("ots.ttf")], capture_output=True)
            self.assertEqual(ots.returncode, 0, ots.stderr)
        # Again: every member file exists already, nothing is written, no failure.
        again = run("split", ZENHEI, "--output-dir", self.dir)
        self.assertEqual((again.returncode, again.stdout), (0, ""))

    def test_bad_input(self):
        truncated = self.path("truncated.ttf")
        with open(DEJAVU, "rb") as f, open(truncated, "wb") as out:
            out.write(f.read(4000))
        bad_ttc = self.path("bad.ttc")
        with open(bad_ttc, "wb") as f:  # ttcf, v1, 2 members, offsets past the end
            f.write(b"ttcf\x00\x01\x00\x00\x00\x00\x00\x02\x7f\xff\xff\xff\x7f\xff\xff\xff")
        huge_names = self.path("names.ttf")
        font = TTFont(DEJAVU)
        font.save(huge_names)
        with open(huge_names, "r+b") as f:  # the name table's count: 0xFFFF
            f.seek(font.reader.tables["name"].offset + 2)
            f.write(b"\xff\xff")
        out = self.path("out")
        os.mkdir(out)
        own_copy = shutil.copy(DEJAVU, self.path("DejaVuSans.ttf"))
        read_only = self.path("read-only")
        os.mkdir(read_only)
        os.chmod(read_only, stat.S_IRUSR | stat.S_IXUSR)

        cases = [
            (["subset", "--font", truncated, "--text", "a", "--output-dir", out],
             "The file is not a valid ttf font file!"),
            (["subset", "--font", self.path("missing.ttf"), "--text", "a", "--output-dir", out],
             "The file is not a valid ttf font file!"),
            (["subset", "--font", own_copy, "--text", "a", "--output-dir", self.dir],
             "would replace the font it is made from"),
            (["subset", "--font", DEJAVU, "--text", "a", "--output-dir", self.path("nowhere")],
             "does not exist"),
            (["split", bad_ttc, "--output-dir", self.dir], "could not be split"),
            (["split", ZENHEI, "--output-dir", self.path("nowhere")], "does not exist"),
        ]
        if os.geteuid() != 0:  # root writes into read-only folders anyway
            cases.append((["subset", "--font", DEJAVU, "--text", "a", "--output-dir", read_only],
                          "is not writable"))
        for args, message in cases:
            result = run(*args)
            self.assertEqual(result.returncode, 1, args)
            self.assertIn(message, result.stderr, args)
            self.assertEqual(result.stdout, "", args)
        with open(own_copy, "rb") as copy, open(DEJAVU, "rb") as original:
            self.assertEqual(copy.read(), original.read())

        # A name table with a huge count reads as no name, but the font still subsets.
        result = run("subset", "--font", huge_names, "--text", "a", "--output-dir", out)
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_usage(self):
        self.assertEqual(run("--help").returncode, 0)
        self.assertIn("split FILE.ttc", run("--help").stdout)
        for args in [[], ["frobnicate"], ["subset", "--font", DEJAVU, "--output-dir", self.dir],
                     ["subset", "--font", DEJAVU, "--text", "a"], ["split", "--output-dir", self.dir],
                     ["subset", "--font", DEJAVU, "--family", "x", "--text", "a", "--output-dir", self.dir]]:
            self.assertEqual(run(*args).returncode, 2, args)


if __name__ == "__main__":
    unittest.main()
