"""A web-font kit in Debian's chromium, headless, driven over the DevTools protocol: a page fetches
exactly the slices its text needs and draws every character from them.

The kit's local() sources are removed first, so the installed font cannot stand in for a slice."""

import functools
import glob
import http.server
import os
import re
import shutil
import subprocess
import tempfile
import threading
import unittest

from fontTools.ttLib import TTFont

from chromium import Browser, without_local_sources
from gb2312 import level1_hanzi
from test_cli import css_slices

CLI = os.environ["TESSAGLYPH_CLI"]
SMILEY = "/usr/share/fonts/truetype/smiley-sans/SmileySans-Oblique.ttf"
ASCII = "".join(map(chr, range(0x20, 0x7F)))

PAGES = [
    ("latin", "Sphinx of black quartz, judge my vow."),
    ("poem", "床前明月光，疑是地上霜。举头望明月，低头思故乡。"),
    ("mixed", "WOFF2 切片：每页只取所需的字（约 3%）。"),
]


class Kit(http.server.SimpleHTTPRequestHandler):
    """Serves the kit under /<page>/..., so that no page finds another's fonts in a cache."""

    def translate_path(self, path):
        return super().translate_path("/" + path.lstrip("/").partition("/")[2])

    def log_message(self, *args):
        pass


def serve_and_browse(test, folder):
    """Serves folder as Kit does and opens a chromium watching its requests, without a cache;
    both are closed when the test ends. Returns the server's port and the browser."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Kit, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    test.addCleanup(server.server_close)
    test.addCleanup(server.shutdown)
    browser = Browser()
    test.addCleanup(browser.close)
    for domain in ("Page", "Network", "DOM", "CSS"):
        browser.call(domain + ".enable")
    browser.call("Network.setCacheDisabled", cacheDisabled=True)
    return server.server_port, browser


class WebFontBrowserTest(unittest.TestCase):
    def setUp(self):
        self.kit = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.kit, True)

    def make_kit(self):
        """Smiley Sans cut to ASCII, the level-1 hanzi of GB2312 and the pages' characters, the
        local() sources taken out of its stylesheet; returns (file, code points) of each rule, in
        the stylesheet's order: the unicode-range's, each of them mapped by the slice's cmap."""
        text = ASCII + level1_hanzi() + "".join(text for _, text in PAGES)
        result = subprocess.run([CLI, "webfont", "--font", SMILEY, "--output-dir", self.kit, "--text", text,
                                 "--quiet"], capture_output=True, text=True, timeout=300)
        self.assertEqual(result.returncode, 0, result.stderr)
        [css_file] = glob.glob(os.path.join(self.kit, "*.css"))
        with open(css_file, encoding="utf-8") as f:
            css = without_local_sources(f.read())
        self.assertNotIn("local(", css)
        with open(css_file, "w", encoding="utf-8") as f:
            f.write(css)
        family = re.search(r"""font-family\s*:\s*["']?([^"';]+)""", css).group(1)
        for name, text in PAGES:
            with open(os.path.join(self.kit, name + ".html"), "w", encoding="utf-8") as f:
                f.write('<!DOCTYPE html><meta charset="utf-8"><link rel="icon" href="data:,">'
                        '<link rel="stylesheet" href="%s">'
                        '<p id="text" style="font: 32px \'%s\'">%s</p>' % (os.path.basename(css_file), family, text))
        rules = css_slices(css)
        for file, points in rules:
            self.assertLessEqual(points, set(TTFont(os.path.join(self.kit, file)).getBestCmap()), file)
        return rules

    def test_pages_fetch_the_slices_of_their_characters_and_draw_from_them(self):
        slices = self.make_kit()
        self.assertGreater(len(slices), 3)
        port, browser = serve_and_browse(self, self.kit)
        source = TTFont(SMILEY)["name"]

        for name, text in PAGES:
            with self.subTest(page=name):
                requests = browser.show("http://127.0.0.1:%d/%s/%s.html" % (port, name, name))
                statuses = browser.responses()
                fonts = {url.rpartition("/")[2]: statuses.get(id) for id, url in requests.items()
                         if url.endswith(".woff2")}
                # For each character, the last rule whose range holds it: chromium fetches no other.
                self.assertEqual(set(fonts), {next(file for file, points in reversed(slices) if ord(c) in points)
                                              for c in text})
                self.assertEqual(set(fonts.values()), {200})
                # The browser names a font by its own name table, whichever slices drew it.
                self.assertEqual(browser.fonts_of("#text"),
                                 [{"familyName": source.getDebugName(1), "postScriptName": source.getDebugName(6),
                                   "isCustomFont": True, "glyphCount": len(text)}])


if __name__ == "__main__":
    unittest.main()
