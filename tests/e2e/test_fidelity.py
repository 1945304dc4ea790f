"""Web-font kits are faithful: a page drawn from a kit is the page drawn from the whole font, pixel
for pixel. Layout features, kerning and character sequences (emoji, variation sequences) must
survive the cut into slices.

Each page is drawn three times in Debian's chromium, headless: from the whole font as one @font-face,
from the kit's stylesheet, and from no web font (which must differ, or the web font was not drawn).
chromium gets a fontconfig of its own that sees only DejaVu, so no installed copy stands in for a
slice. A mismatch leaves the three PNGs and a picture of the differences in a folder that the
failure names."""

import functools
import glob
import gzip
import http.server
import io
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from fontTools.ttLib import TTFont
from PIL import Image, ImageChops

from chromium import Browser, without_local_sources

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

# Grey-scale, unhinted, one device pixel per CSS pixel: the pixels depend on the fonts alone.
CHROMIUM_FLAGS = ["--font-render-hinting=none", "--disable-lcd-text", "--force-device-scale-factor=1",
                  "--window-size=1000,800"]
FONTCONFIG = """<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>%s</cachedir></fontconfig>
"""


class Files(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def differing_pixels(first, second):
    """How many pixels of two PNGs differ, over the larger size (a pixel that only one has differs),
    and a picture of them: the first faint, the differences red."""
    a, b = (Image.open(io.BytesIO(png)).convert("RGBA") for png in (first, second))
    size = (max(a.width, b.width), max(a.height, b.height))
    a, b = (_padded(image, size) for image in (a, b))
    mask = functools.reduce(ImageChops.lighter, ImageChops.difference(a, b).split()).point(lambda v: 255 if v else 0)
    faint = Image.blend(_on_white(a), Image.new("RGB", size, "white"), 0.8)
    return mask.histogram()[255], Image.composite(Image.new("RGB", size, "red"), faint, mask)


def _padded(image, size):
    """The image on a transparent canvas of size: screenshots are opaque, so what only one has differs."""
    canvas = Image.new("RGBA", size)
    canvas.paste(image)
    return canvas


def _on_white(image):
    canvas = Image.new("RGB", image.size, "white")
    canvas.paste(image, mask=image)
    return canvas


class FidelityTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.root = tempfile.mkdtemp()
        cls.addClassCleanup(shutil.rmtree, cls.root, True)
        cls.kits = {name: cls.make_kit(name, *font) for name, font in FONTS.items()}
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Files, directory=cls.root))
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.addClassCleanup(cls.server.server_close)
        cls.addClassCleanup(cls.server.shutdown)
        with open(os.path.join(cls.root, "fonts.conf"), "w") as f:
            f.write(FONTCONFIG % os.path.join(cls.root, "fontconfig-cache"))
        cls.browser = Browser(CHROMIUM_FLAGS, dict(os.environ, FONTCONFIG_FILE=os.path.join(cls.root, "fonts.conf")))
        cls.addClassCleanup(cls.browser.close)
        for domain in ("Page", "Network"):
            cls.browser.call(domain + ".enable")
        cls.browser.call("Network.setCacheDisabled", cacheDisabled=True)
        cls.mismatches = None

    @classmethod
    def make_kit(cls, name, path, member, whole):
        """Serves the font as <name>/whole.<ext> and its kit under <name>/kit/; returns the kit's
        family, and the font's and the stylesheet's paths under <name>/."""
        folder = os.path.join(cls.root, name)
        os.makedirs(os.path.join(folder, "kit"))
        source = os.path.join(folder, "whole" + os.path.splitext(path)[1])
        if member is None:
            shutil.copy(path, source)
        else:
            source = os.path.join(folder, "whole.otf")
            TTFont(path, fontNumber=member).save(source)
        text = [] if whole else ["--text", "".join(page[4] for page in PAGES if page[1] == name)]
        start = time.monotonic()
        result = subprocess.run([CLI, "webfont", "--font", source, "--output-dir", os.path.join(folder, "kit"),
                                 "--quiet", *text], capture_output=True, text=True, timeout=600)
        if result.returncode != 0:
            raise AssertionError("the kit of %s failed: %s" % (path, result.stderr))
        print("kit of %s%s: %d slices in %.1f s" % (os.path.basename(path), "" if member is None else " #%d" % member,
                                                    len(glob.glob(os.path.join(folder, "kit", "*.woff2"))),
                                                    time.monotonic() - start), file=sys.stderr)
        [css_file] = glob.glob(os.path.join(folder, "kit", "*.css"))
        with open(css_file, encoding="utf-8") as f:
            css = without_local_sources(f.read())
        with open(css_file, "w", encoding="utf-8") as f:
            f.write(css)
        family = re.search(r"""font-family\s*:\s*["']?([^"';]+)""", css).group(1)
        return family, os.path.basename(source), "kit/" + os.path.basename(css_file)

    def draw(self, page, font, lang, style, text):
        """The PNGs of the page drawn from the whole font, from the kit and from no web font."""
        family, whole, css = self.kits[font]
        heads = {
            "whole": "<style>@font-face { font-family: '%s'; src: url('%s') }</style>" % (family, whole),
            "kit": "<link rel='stylesheet' href='%s'>" % css,
            "none": "",
        }
        shots = {}
        for variant, head in heads.items():
            with open(os.path.join(self.root, font, "%s.%s.html" % (page, variant)), "w", encoding="utf-8") as f:
                f.write("<!DOCTYPE html><meta charset='utf-8'><link rel='icon' href='data:,'>%s"
                        "<style>body { margin: 0; background: white }"
                        " #page { display: inline-block; font: 32px/normal '%s'; %s }</style>"
                        "<div id='page' lang='%s'>%s</div>" % (head, family, style, lang, text))
            self.browser.show("http://127.0.0.1:%d/%s/%s.%s.html" % (self.server.server_port, font, page, variant))
            shots[variant] = self.browser.screenshot("#page")
        return shots

    def keep_pictures(self, page, shots, picture):
        """Writes the page's PNGs and the picture of its differences; returns their folder."""
        if self.mismatches is None:
            type(self).mismatches = tempfile.mkdtemp(prefix="fidelity-")
        for variant, png in shots.items():
            with open(os.path.join(self.mismatches, "%s.%s.png" % (page, variant)), "wb") as f:
                f.write(png)
        picture.save(os.path.join(self.mismatches, page + ".diff.png"))
        return self.mismatches

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
                self.assertGreater(differing_pixels(shots["whole"], shots["none"])[0], 0,
                                   "the whole font drew nothing of its own")
                count, picture = differing_pixels(shots["whole"], shots["kit"])
                if count:
                    sizes = {variant: Image.open(io.BytesIO(shots[variant])).size for variant in ("whole", "kit")}
                    self.fail("%d pixels differ between the whole font and the kit (boxes %s and %s); see %s"
                              % (count, sizes["whole"], sizes["kit"], self.keep_pictures(page, shots, picture)))


if __name__ == "__main__":
    unittest.main()
