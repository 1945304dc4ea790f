"""The Vite plugin's kits in Debian's chromium, headless: a real `vite build` of the plugin's fixture
site (four pages in Latin, Greek, Chinese and Devanagari, text in their HTML and in the scripts they
load, a kit of each family), served on 127.0.0.1. Each page fetches exactly the slices that hold
its characters, draws every character from the kits, and is drawn pixel for pixel as from the
whole fonts (the fidelity judge)."""

import glob
import os
import re
import shutil
import subprocess
import tempfile
import unittest

from fontTools.ttLib import TTFont

from fidelity import Drawing, judge
from test_cli import css_slices
from test_webfont_browser import serve_and_browse

CLI = os.environ["TESSAGLYPH_CLI"]
PLUGIN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "integrations", "vite-plugin-tessaglyph")
PAGES = ["index", "el", "zh", "hi"]
# The kits' families in the order the fixture's font-family line lists them, each with the font
# it is cut from (a collection's member is extracted for the whole font's page).
FAMILIES = [
    ("Site Sans", "SiteSans", "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf", None),
    ("Site Devanagari", "SiteDevanagari", "/usr/share/fonts/truetype/noto/NotoSansDevanagari-Regular.ttf", None),
    ("Site Hei", "SiteHei", "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", 2),
]
# Resolves once the page's scripts have written their text and its fonts have loaded.
RENDERED = ("new Promise(done => (function check() { document.body.dataset.rendered ? done() : setTimeout(check, 10) })())"
            ".then(() => document.body.getBoundingClientRect()).then(() => document.fonts.ready).then(() => 0)")
# The characters a page draws: its text, and what its fields show.
DRAWN = ("document.getElementById('page').innerText + [...document.querySelectorAll('input')]"
         ".map(input => input.placeholder + input.value).join('')")


def regular_rules(css):
    """The stylesheet's rules of its regular faces: the pages draw no other weight or style (a kit
    of an installed family holds its bold face too)."""
    return "".join(rule for rule in re.findall(r"@font-face \{.*?\}", css, re.S)
                   if "font-weight: 400;" in rule and "font-style: normal;" in rule)


def show_rendered(browser, url):
    """Browser.show, waiting for the page's scripts too (one imports its text on demand): returns
    {requestId: url} of the requests for files under url's folder."""
    browser.events = []
    browser.call("Page.navigate", url=url)
    browser.wait_until(lambda events: any(e.get("method") == "Page.loadEventFired" for e in events))
    browser.call("Runtime.evaluate", awaitPromise=True, expression=RENDERED)
    folder = url.rpartition("/")[0] + "/"
    requests = {e["params"]["requestId"]: e["params"]["request"]["url"] for e in browser.events
                if e.get("method") == "Network.requestWillBeSent" and e["params"]["request"]["url"].startswith(folder)}
    ended = lambda events: {e["params"]["requestId"] for e in events if e.get("method") in
                            ("Network.loadingFinished", "Network.loadingFailed")}
    browser.wait_until(lambda events: set(requests) <= ended(events))
    return requests


class VitePluginTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp()
        cls.site = os.path.join(cls.work, "dist")
        result = subprocess.run(["node", "test/build-site.js", cls.site], cwd=PLUGIN, capture_output=True, text=True,
                                timeout=600, env=dict(os.environ, TESSAGLYPH_CLI=CLI))
        if result.returncode != 0:
            shutil.rmtree(cls.work, True)
            raise AssertionError("vite build failed: %s%s" % (result.stdout, result.stderr))
        cls.kits = {}  # family: (stylesheet's name, its rules as (file, code points))
        for family, stem, _, _ in FAMILIES:
            [css] = glob.glob(os.path.join(cls.site, "assets", "fonts", stem + ".*.css"))
            with open(css, encoding="utf-8") as f:
                cls.kits[family] = (os.path.basename(css), css_slices(regular_rules(f.read())))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, True)

    def slice_of(self, character):
        """The slice chromium fetches for a character: of the first family whose kit holds it, the
        last rule whose range holds it; None for a character that no kit holds."""
        for family, _, _, _ in FAMILIES:
            rules = self.kits[family][1]
            for file, points in reversed(rules):
                if ord(character) in points:
                    return file
        return None

    def test_pages_fetch_the_slices_of_their_characters_and_draw_from_the_kits(self):
        for family, (css, rules) in self.kits.items():
            for file, points in rules:
                with self.subTest(kit=family, slice=file):
                    self.assertLessEqual(points, set(TTFont(os.path.join(self.site, "assets", "fonts", file)).getBestCmap()))
        port, browser = serve_and_browse(self, self.site)
        sources = {TTFont(path, fontNumber=member or 0)["name"].getDebugName(1) for _, _, path, member in FAMILIES}

        for page in PAGES:
            with self.subTest(page=page):
                requests = show_rendered(browser, "http://127.0.0.1:%d/%s/%s.html" % (port, page, page))
                statuses = browser.responses()
                fonts = {url.rpartition("/")[2]: statuses.get(id) for id, url in requests.items() if url.endswith(".woff2")}
                drawn = browser.call("Runtime.evaluate", returnByValue=True, expression=DRAWN)["result"]["value"]
                characters = set(drawn) - set("\n\t")
                self.assertEqual({c for c in characters if self.slice_of(c) is None}, set(), "characters no kit holds")
                self.assertEqual(set(fonts), {self.slice_of(c) for c in characters})
                self.assertEqual(set(fonts.values()), {200})
                # Every text of the page is drawn from the kits' slices, which the browser names by
                # the whole fonts' name tables.
                root = browser.call("DOM.getDocument")["root"]["nodeId"]
                used = []
                for node in browser.call("DOM.querySelectorAll", nodeId=root, selector="#page *")["nodeIds"]:
                    used += browser.call("CSS.getPlatformFontsForNode", nodeId=node)["fonts"]
                self.assertTrue(used)
                self.assertEqual({(font["familyName"], font["isCustomFont"]) for font in used},
                                 {(name, True) for name in {font["familyName"] for font in used}})
                self.assertLessEqual({font["familyName"] for font in used}, sources)

    def test_pages_draw_as_from_the_whole_fonts(self):
        drawing = Drawing(CLI)
        self.addCleanup(drawing.close)
        site = os.path.join(drawing.root, "site")
        shutil.copytree(self.site, site)
        faces = []
        for family, _, path, member in FAMILIES:
            whole = os.path.join(site, "whole-" + family.replace(" ", "-") + os.path.splitext(path)[1])
            if member is None:
                shutil.copy(path, whole)
            else:
                with TTFont(path, fontNumber=member) as font:
                    whole = os.path.splitext(whole)[0] + (".otf" if font.sfntVersion == "OTTO" else ".ttf")
                    font.save(whole)
            faces.append("@font-face { font-family: '%s'; src: url('%s') }" % (family, os.path.basename(whole)))
        links = re.compile(r'<link rel="stylesheet" href="\./assets/fonts/[^"]+\.css">')
        for page in PAGES:
            with self.subTest(page=page):
                with open(os.path.join(site, page + ".html"), encoding="utf-8") as f:
                    html = f.read()
                self.assertEqual(len(links.findall(html)), len(FAMILIES))
                variants = {"kit": html,
                            "whole": links.sub("", html).replace("</head>", "<style>%s</style></head>" % " ".join(faces)),
                            "none": links.sub("", html)}
                shots = {}
                for variant, text in variants.items():
                    with open(os.path.join(site, "%s.%s.html" % (page, variant)), "w", encoding="utf-8") as f:
                        f.write(text)
                    show_rendered(drawing.browser, "http://127.0.0.1:%d/site/%s.%s.html" % (drawing.server.server_port, page, variant))
                    shots[variant] = drawing.browser.screenshot("#page")
                count, picture, draws_own = judge(shots)
                self.assertTrue(draws_own, "the whole fonts draw %s.html as no web font does" % page)
                self.assertEqual(count, 0, "%d pixels differ; pictures in %s" % (count, drawing.keep_pictures(page, shots, picture)))


if __name__ == "__main__":
    unittest.main()
