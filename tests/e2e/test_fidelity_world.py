"""Web-font kits are faithful in every script: pages of real text in the world's languages (the
translations Debian's packages install, world_text.py) drawn from a kit of a whole font that covers
them are the pages drawn from the whole font, pixel for pixel, judged as test_fidelity.py judges.

Each kit is made once and serves every page of its font. A page is also drawn from no web font, and
must differ: a page the whole font draws as DejaVu does proves nothing. One line a page is printed
(font, language, the pixels that differ between the whole font and the kit, and whether the whole
font differs from no web font); mismatches leave their PNGs in a folder the failure names."""

import os
import re
import sys
import tempfile
import unittest

from fontTools.ttLib import TTFont

import world_text
from fidelity import Drawing, box_sizes, judge

CLI = os.environ["TESSAGLYPH_CLI"]
NOTO = "/usr/share/fonts/truetype/noto/"
CJK = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"

# name: font file, member of a collection, and the page whose text the kit is cut for (a known
# text, in a file of its own), or None for a kit of the whole font.
FONTS = {
    "noto-sans": (NOTO + "NotoSans-Regular.ttf", None, None),
    "noto-arabic": (NOTO + "NotoSansArabic-Regular.ttf", None, None),
    "noto-naskh": (NOTO + "NotoNaskhArabic-Regular.ttf", None, None),
    "noto-hebrew": (NOTO + "NotoSansHebrew-Regular.ttf", None, None),
    "noto-devanagari": (NOTO + "NotoSansDevanagari-Regular.ttf", None, None),
    "noto-bengali": (NOTO + "NotoSansBengali-Regular.ttf", None, None),
    "noto-tamil": (NOTO + "NotoSansTamil-Regular.ttf", None, None),
    "noto-thai": (NOTO + "NotoSansThai-Regular.ttf", None, None),
    "noto-lao": (NOTO + "NotoSansLao-Regular.ttf", None, None),
    "noto-khmer": (NOTO + "NotoSansKhmer-Regular.ttf", None, None),
    "noto-myanmar": (NOTO + "NotoSansMyanmar-Regular.ttf", None, None),
    "noto-cjk-sc": (CJK, 2, None),
    "lxgw-wenkai": ("/usr/share/fonts/truetype/lxgw-wenkai/LXGWWenKai-Regular.ttf", None, None),
    "wqy-microhei": ("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", 0, None),
    "wqy-zenhei": ("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", 0, None),
    "arphic-uming-tw": ("/usr/share/fonts/truetype/arphic/uming.ttc", 2, None),
    "arphic-ukai-tw": ("/usr/share/fonts/truetype/arphic/ukai.ttc", 2, None),
    # kits of a known text, the page's own, in three scripts that are shaped
    "text-devanagari": (NOTO + "NotoSansDevanagari-Regular.ttf", None, "hindi"),
    "text-arabic": (NOTO + "NotoNaskhArabic-Regular.ttf", None, "persian"),
    "text-myanmar": (NOTO + "NotoSansMyanmar-Regular.ttf", None, "burmese"),
    # and of a text without spaces
    "text-han": ("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", 0, "chinese-simplified"),
}

PAGES = [  # language (world_text.LANGUAGES), font
    ("arabic", "noto-arabic"),
    ("persian", "noto-naskh"),
    ("persian", "text-arabic"),
    ("hebrew", "noto-hebrew"),
    ("hindi", "noto-devanagari"),
    ("hindi", "text-devanagari"),
    ("bengali", "noto-bengali"),
    ("tamil", "noto-tamil"),
    ("thai", "noto-thai"),
    ("lao", "noto-lao"),
    ("khmer", "noto-khmer"),
    ("burmese", "noto-myanmar"),
    ("burmese", "text-myanmar"),
    ("greek", "noto-sans"),
    ("russian", "noto-sans"),
    ("vietnamese", "noto-sans"),
    ("vietnamese-nfd", "noto-sans"),
    ("korean", "noto-cjk-sc"),
    ("japanese", "noto-cjk-sc"),
    ("chinese-simplified", "noto-cjk-sc"),
    ("chinese-traditional", "noto-cjk-sc"),
    ("chinese-simplified", "lxgw-wenkai"),
    ("japanese", "lxgw-wenkai"),
    ("chinese-simplified", "wqy-microhei"),
    ("chinese-simplified", "wqy-zenhei"),
    ("chinese-simplified", "text-han"),
    ("chinese-traditional", "arphic-uming-tw"),
    ("chinese-traditional", "arphic-ukai-tw"),
]

# Pages known to differ, with why: each must still differ (when one draws as the whole font
# does, take it off this list).
KNOWN_DIFFERENCES = {
    ("russian", "noto-sans"): "kerning between Cyrillic letters and ASCII punctuation ('а'') is lost: "
                              "Cyrillic goes whole into slices of its own, apart from the first slice",
}

# The Rig Veda's first verses with their accents: Vedic signs a Hindi page never uses, which the
# Devanagari kit holds in the script's whole slice, and also leaves out of its core slice.
VEDIC = ("अ᳚ग्नि॒मी᳡ळे पु॒रोहि॑तं य॒ज्ञस्य॑ दे॒वमृ᳔॒त्विज॑म् । होता॑रं रत्न॒धात॑मम् ॥ "
         "अ᳕ग्निः᳘ पू᳒र्वे᳓भि॒र्ऋषि॑भि॒रीड्यो॒ नूत॑नैरु॒त । स दे॒वाँ एह व॑क्षति ॥ क꣠꣡ ख꣢ꣲ ꣳ ꠰꠱")

STYLE = "width: 40em; font-size: 20px"
COVERED = 0.99  # of a page's characters the font must map


def coverage(path, member, characters):
    """The share of the characters that the font's cmap maps."""
    with TTFont(path, fontNumber=member if member is not None else -1, lazy=True) as font:
        cmap = font.getBestCmap()
    return sum(c in cmap for c in characters) / len(characters)


class WorldFidelityTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.drawing = Drawing(CLI)
        cls.addClassCleanup(cls.drawing.close)
        texts = tempfile.mkdtemp(dir=cls.drawing.root)
        cls.kits = {}
        for name, (path, member, page) in FONTS.items():
            options = []
            if page is not None:
                text_file = os.path.join(texts, page + ".txt")
                with open(text_file, "w", encoding="utf-8") as f:
                    f.write("\n".join(world_text.sentences(page)))
                options = ["--text-file", text_file]
            cls.kits[name] = cls.drawing.make_kit(name, path, member, options)

    def test_pages_draw_from_the_kit_as_from_the_whole_font(self):
        print("%-20s %-20s %-8s %8s  %s" % ("font", "page", "lang", "pixels", "whole font drawn"), file=sys.stderr)
        for page, font in PAGES:
            with self.subTest(page=page, font=font):
                path, member, _ = FONTS[font]
                self.assertGreaterEqual(coverage(path, member, world_text.page_letters(page)), COVERED,
                                        "the font does not cover the page")
                lang = world_text.LANGUAGES[page][0]
                name = "%s.%s" % (page, font)
                shots = self.drawing.draw(self.kits[font], font, page, lang, STYLE, world_text.page_html(page))
                count, picture, drawn = judge(shots)
                print("%-20s %-20s %-8s %8d  %s" % (font, page, lang, count, "yes" if drawn else "NO"), file=sys.stderr)
                self.assertTrue(drawn, "the whole font drew nothing of its own")
                if (page, font) in KNOWN_DIFFERENCES:
                    self.assertGreater(count, 0, "now drawn as the whole font draws it: take it off the list")
                    continue
                if count:
                    sizes = box_sizes(shots)
                    self.fail("%d pixels differ between the whole font and the kit (boxes %s and %s); see %s"
                              % (count, sizes["whole"], sizes["kit"], self.drawing.keep_pictures(name, shots, picture)))

    def test_seldom_used_signs(self):
        """A Hindi page fetches the Devanagari kit's core slice alone, without the Vedic signs; a
        Vedic page also fetches the whole script's slice, and draws as the whole font draws it."""
        css = self.kits["noto-devanagari"][2]
        with open(os.path.join(self.drawing.root, "noto-devanagari", css), encoding="utf-8") as f:
            rules = re.findall(r'url\("([^"]+)"\)[^}]*unicode-range: ([^;]*);', f.read())
        vedic = {url for url, ranges in rules if re.search(r"U\+1CD", ranges)}
        self.assertEqual(len(vedic), 1, rules)
        fetched = {}
        for page, html in (("hindi", world_text.page_html("hindi")), ("vedic", VEDIC)):
            shots = self.drawing.draw(self.kits["noto-devanagari"], "noto-devanagari", page + "-signs", "hi", STYLE,
                                      html)
            count, picture, _ = judge(shots)
            self.assertEqual(count, 0, "%s differs; see %s" % (page, self.drawing.keep_pictures(page, shots, picture)))
            requests = self.drawing.browser.show("http://127.0.0.1:%d/noto-devanagari/%s-signs.kit.html"
                                                 % (self.drawing.server.server_port, page))
            fetched[page] = {url.rpartition("/")[2] for url in requests.values()}
        self.assertFalse(vedic & fetched["hindi"], fetched["hindi"])
        self.assertTrue(vedic <= fetched["vedic"], fetched["vedic"])


if __name__ == "__main__":
    unittest.main()
