"""A kit's fallback faces in Debian's chromium, headless: text blocks drawn by a local font under the
kit's metric overrides are as tall as drawn by the kit itself (within 1%), and without the overrides
they are not, so the page does not move when the slices arrive.

Kits of a text (--text), each with pages of the same blocks in three families: the kit, its fallback
family for the local font, and the local font itself; the blocks' heights are read with
getBoundingClientRect over the DevTools protocol. The machine's fontconfig must see Noto Sans CJK SC,
DejaVu Sans and Nimbus Sans (ctest gives it tests/support/fonts.conf). Nimbus Sans has Helvetica's
widths, and stands in for it under the descriptors of its fallback face."""

import functools
import glob
import http.server
import json
import os
import re
import shutil
import subprocess
import tempfile
import threading
import unittest

from chromium import Browser

CLI = os.environ["TESSAGLYPH_CLI"]

HAN = [
    "春天到了，河边的柳树发出了新芽。孩子们在草地上放风筝，老人坐在树下喝茶、下棋，说着今年的收成。",
    "城市的夜晚很安静。街灯一盏一盏亮起来，远处传来火车的声音，窗前的人还在读一本旧书。",
    "我们常说，字是人写给人看的。一页好的排版，让读者忘了字体的存在，只记得文字说了什么。",
]
LATIN = [
    "Spring came early to the valley this year. The river rose with the melting snow, and the children "
    "ran along its banks to watch the ice break up and drift away toward the sea.",
    "A page of good type is one the reader forgets: the letters step aside, and only what they say is "
    "left, line after line, until the chapter ends and the lamp is put out.",
    "Small shops lined the old street, each with a painted sign, a bell above the door and a window full "
    "of things nobody needed but everybody stopped to look at on the way home.",
]

# (the kit's source, as the command line takes it; the local font; the blocks; the installed font that
# stands in for a local font not installed here, with its widths, under the local font's descriptors)
KITS = [
    (["--font", "/usr/share/fonts/truetype/lxgw-wenkai/LXGWWenKai-Regular.ttf"], "Noto Sans CJK SC", HAN, None),
    (["--family", "AR PL UMing CN"], "Noto Sans CJK SC", HAN, None),
    (["--font", "/usr/share/fonts/opentype/inter/Inter-Regular.otf"], "DejaVu Sans", LATIN, None),
    (["--font", "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf"], "Helvetica", LATIN, "Nimbus Sans"),
]
TOLERANCE = 0.01


class Folder(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def page(css, family, blocks, rules=""):
    return ('<!DOCTYPE html><meta charset="utf-8"><link rel="icon" href="data:,">'
            '<link rel="stylesheet" href="%s"><style>%s body { margin: 0 } '
            'p { font: 22px/normal %s; width: 520px; margin: 0 0 10px }</style>%s'
            % (css, rules, json.dumps(family), "".join("<p>%s</p>" % block for block in blocks)))


def stand_in_rule(css, family, stand_in):
    """The fallback face of family in css, drawn from the installed font stand_in, as family + " here"."""
    [rule] = re.findall(r'@font-face \{\n  font-family: "%s";[^}]*\}' % re.escape(family), css)
    rule = re.sub(r"src: [^;]*;", "src: local(%s);" % json.dumps(stand_in), rule)
    return rule.replace('"%s"' % family, json.dumps(family + " here"))


class FallbackMetricsTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.root, True)

    def make_kit(self, number, source, local, blocks, stand_in):
        """The kit in its own folder, with a page per family; returns the folder's name. The kit holds
        a space, as every page's does (its markup's, at least): without U+0020 no face of the kit is
        the first available font, and lines take another font's height whatever the overrides say."""
        name = "kit%d" % number
        folder = os.path.join(self.root, name)
        os.mkdir(folder)
        result = subprocess.run([CLI, "webfont", *source, "--text", " ".join(blocks), "--css-family", "Kit",
                                 "--output-dir", folder, "--quiet"], capture_output=True, text=True, timeout=300)
        self.assertEqual(result.returncode, 0, result.stderr)
        [css] = [os.path.basename(path) for path in glob.glob(os.path.join(folder, "*.css"))]
        with open(os.path.join(folder, css), encoding="utf-8") as f:
            rules = f.read()
        self.assertRegex(rules, r'font-family: "Kit", ("Kit Fallback [^"]*", )*"Kit Fallback %s"' % local)
        fallback, extra = "Kit Fallback " + local, ""
        if stand_in:
            extra = stand_in_rule(rules, fallback, stand_in)
            fallback += " here"
        for shown, family in [("kit", "Kit"), ("fallback", fallback), ("plain", stand_in or local)]:
            with open(os.path.join(folder, shown + ".html"), "w", encoding="utf-8") as f:
                f.write(page(css, family, blocks, extra))
        return name

    def test_fallback_blocks_are_as_tall_as_the_kits(self):
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Folder, directory=self.root))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)
        browser = Browser()
        self.addCleanup(browser.close)
        for domain in ("Page", "Network"):
            browser.call(domain + ".enable")

        for number, (source, local, blocks, stand_in) in enumerate(KITS):
            name = self.make_kit(number, source, local, blocks, stand_in)
            heights = {}
            for shown in ("kit", "fallback", "plain"):
                browser.show("http://127.0.0.1:%d/%s/%s.html" % (server.server_port, name, shown))
                heights[shown] = browser.call("Runtime.evaluate", returnByValue=True, expression=
                                              "[...document.querySelectorAll('p')]"
                                              ".map(p => p.getBoundingClientRect().height)")["result"]["value"]
            print("%s against %s: %s" % (source[-1], stand_in or local, json.dumps(heights)))
            with self.subTest(kit=source[-1], local=local):
                for kit, fallback, plain in zip(heights["kit"], heights["fallback"], heights["plain"]):
                    self.assertLessEqual(abs(fallback - kit) / kit, TOLERANCE, heights)
                    self.assertGreater(abs(plain - kit) / kit, TOLERANCE, heights)


if __name__ == "__main__":
    unittest.main()
