"""Web-font kits are faithful: a page drawn from a kit is the page drawn from the whole font, pixel
for pixel. Layout features, kerning and character sequences (emoji, variation sequences) must
survive the cut into slices.

Each page is drawn three times in Debian's chromium, headless: from the whole font as one @font-face,
from the kit's stylesheet, and from no web font (which must differ, or the web font was not drawn).
chromium gets a fontconfig of its own that sees only DejaVu, so no installed copy stands in for a
slice. A mismatch leaves the three PNGs and a picture of the differences in a folder that the
failure names."""

import gzip
import os
import re
import unittest

from fidelity import Drawing, box_sizes, judge

CLI = os.environ["TESSAGLYPH_CLI"]
CJK = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
FAQ = "/usr/share/doc/debian/FAQ/debian-faq.zh-cn.txt.gz"

# name: font file, member of a collection (kits take single fonts, so it is extracted first), and
# whether the kit is of the whole font (a sequence can only break across a whole kit's slices) or
# only of its pages' text (a whole Japanese kit takes a minute and a half more).
FONTS = {
    "sc": (CJK, 2, True),
    "jp": (CJK, 0, False),
    "inter": ("/usr/share/fonts/opentype/inter/Inter-Regular.otf", None, True),
    "fira": ("/usr/share/fonts/truetype/firacode/FiraCode-Regular.ttf", None, True),
    "emoji": ("/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf", None, True),
}


def faq_prose(length):
    """The first paragraphs of the Chinese Debian FAQ, about length characters, as HTML paragraphs."""
    with gzip.open(FAQ, "rt", encoding="utf-8") as f:
        text = f.read()
    body = text[re.search(r"第\s1\s章", text).start():]
    paragraphs, total = [], 0
    for block in re.split(r"\n\s*\n", body):
        lines = [line.strip() for line in block.splitlines()]
        # Chinese wraps without spaces; a line that ends in a Latin word went on with a space
        joined = "".join(a + (" " if a[-1:].isascii() and a[-1:].isalnum() else "") for a in lines).strip()
        paragraphs.append("<p>%s</p>" % joined.replace("&", "&amp;").replace("<", "&lt;"))
        total += len(joined)
        if total >= length:
            return "".join(paragraphs)
    return "".join(paragraphs)


CJK_TEXT = "他说：“你好。”「引用」，（括号）。「开始」你好，」结束、‘单’《书名》？！……——·"
PAGES = [  # name, font, lang, style of the page's box, text (HTML)
    ("cjk-punctuation", "sc", "zh-Hans", "", CJK_TEXT),
    ("cjk-line-starts", "sc", "zh-Hans", "width: 7em", CJK_TEXT),
    ("cjk-palt", "sc", "zh-Hans", "font-feature-settings: 'palt'", CJK_TEXT),
    ("cjk-vertical", "sc", "zh-Hans", "writing-mode: vertical-rl; height: 12em", CJK_TEXT),
    ("cjk-widths", "sc", "zh-Hans", "", "ＡＢＣ１２３ ABC123 ｱｲｳｴｵ アイウエオ ！？ !? ～~ ￥$"),
    ("cjk-ja", "sc", "ja", "", "「日本語」、これは『テスト』です。（かっこ）「ことば」，」"),
    ("cjk-zh-hant", "sc", "zh-Hant", "", "「臺灣」、繁體中文。（測試）“引號”，『書名』！"),
    ("cjk-ko", "sc", "ko", "", "한국어「문장」。（괄호）“인용”"),
    ("cjk-long-page", "sc", "zh-Hans", "width: 40em; font-size: 16px", faq_prose(3000)),
    ("variation-sequences", "jp", "ja", "",
     "葛\U000E0100葛 辻\U000E0100辻 邊\U000E0101邊\U000E0105 慨\uFE00慨 、\uFE01。\uFE01，\uFE01"),
    ("latin-kerning", "inter", "en", "", "AVATAR To Ta Ty «A» LT Wa Ŧo Ťa"),
    ("latin-tabular", "inter", "en", "font-variant-numeric: tabular-nums", "1111 0123 4567 89"),
    ("latin-fractions", "inter", "en", "font-variant-numeric: diagonal-fractions", "1/2 3/4 12/34"),
    ("latin-sets", "inter", "en", "font-feature-settings: 'ss01', 'zero', 'cv01'", "0 a 1 4 6 9 G t l"),
    ("latin-case", "inter", "en", "font-feature-settings: 'case'", "(HELLO) [A-B] {X}·@ «Ω»"),
    ("code-ligatures", "fira", "en", "", "a->b != c === d <=> www ||| /* */ :: 0xFF"),
    ("code-oldstyle", "fira", "en", "font-variant-numeric: oldstyle-nums", "1111 0123 4567 89"),
    ("code-variants", "fira", "en", "font-feature-settings: 'zero', 'cv01', 'ss01'", "0O 0xFF a&b r g l @ $"),
    ("emoji-zwj", "emoji", "en", "", "\U0001F468\u200D\U0001F469\u200D\U0001F467"),
    ("emoji-modifier", "emoji", "en", "", "\U0001F44D\U0001F3FD"),
    ("emoji-flag", "emoji", "en", "", "\U0001F1E8\U0001F1F3"),
    ("emoji-keycap", "emoji", "en", "", "1\uFE0F\u20E3"),
    ("emoji-tag", "emoji", "en", "", "\U0001F3F4\U000E0067\U000E0062\U000E0073\U000E0063\U000E0074\U000E007F"),
]

class FidelityTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.drawing = Drawing(CLI)
        cls.addClassCleanup(cls.drawing.close)
        cls.root = cls.drawing.root
        cls.kits = {name: cls.make_kit(name, *font) for name, font in FONTS.items()}

    @classmethod
    def make_kit(cls, name, path, member, whole):
        text = [] if whole else ["--text", "".join(page[4] for page in PAGES if page[1] == name)]
        return cls.drawing.make_kit(name, path, member, text)

    def draw(self, page, font, lang, style, text):
        """The PNGs of the page drawn from the whole font, from the kit and from no web font."""
        return self.drawing.draw(self.kits[font], font, page, lang, style, text)

    def test_slices_are_small(self):
        """No slice of a whole kit is over 150 kB, but the one of an emoji font's tag sequences (its
        subdivision flags), which must share one slice with their base: chromium draws the base from
        the last slice that holds it, and the tags do not fall back with it."""
        for name, (_, _, css) in self.kits.items():
            folder = os.path.join(self.root, name)
            with open(os.path.join(folder, css), encoding="utf-8") as f:
                rules = re.findall(r'url\("([^"]+)"\).*?unicode-range: ([^;]*);', f.read(), re.S)
            for file, ranges in rules:
                size = os.path.getsize(os.path.join(folder, "kit", file))
                if "U+E007F" not in ranges:
                    self.assertLessEqual(size, 150000, (name, file))

    def test_pages_draw_from_the_kit_as_from_the_whole_font(self):
        for page, font, lang, style, text in PAGES:
            with self.subTest(page=page):
                shots = self.draw(page, font, lang, style, text)
                count, picture, drawn = judge(shots)
                self.assertTrue(drawn, "the whole font drew nothing of its own")
                if count:
                    sizes = box_sizes(shots)
                    self.fail("%d pixels differ between the whole font and the kit (boxes %s and %s); see %s"
                              % (count, sizes["whole"], sizes["kit"], self.drawing.keep_pictures(page, shots, picture)))

if __name__ == "__main__":
    unittest.main()
