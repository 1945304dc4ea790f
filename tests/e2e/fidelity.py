"""Pages drawn in Debian's chromium, headless, from a whole font, from its web-font kit and from no
web font, and the pixels that differ between them: what the fidelity tests and the sweep judge by.

chromium gets a fontconfig of its own that sees only DejaVu, so no installed copy stands in for a
slice, and draws grey-scale, unhinted, at one device pixel per CSS pixel: the pixels depend on the
fonts alone."""

import functools
import glob
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

from fontTools.ttLib import TTFont
from PIL import Image, ImageChops

from chromium import Browser, without_local_sources

CHROMIUM_FLAGS = ["--font-render-hinting=none", "--disable-lcd-text", "--force-device-scale-factor=1",
                  "--window-size=1000,800"]
# Hinting off in fontconfig too: chromium's --headless=new takes hinting from fontconfig and ignores
# --font-render-hinting (the same pages draw the same with and without it). Hinted, a TrueType font
# without bytecode (LXGW WenKai, AR PL) is auto-hinted, from metrics FreeType measures on reference
# letters the font maps ('o', 'x', 'H', CJK's 田), so a slice that lacks them draws its glyphs apart
# from the whole font's, whatever it holds of them.
FONTCONFIG = """<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>%s</cachedir>
<match target="pattern"><edit name="hinting" mode="assign"><bool>false</bool></edit></match></fontconfig>
"""
VARIANTS = ("whole", "kit", "none")


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


class Drawing:
    """A folder of kits served on 127.0.0.1 and one chromium that draws pages from them."""

    def __init__(self, cli):
        self.cli = cli
        self.root = tempfile.mkdtemp()
        self.server = None
        self.browser = None
        self.mismatches = None
        try:
            self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                                          functools.partial(Files, directory=self.root))
            threading.Thread(target=self.server.serve_forever, daemon=True).start()
            with open(os.path.join(self.root, "fonts.conf"), "w") as f:
                f.write(FONTCONFIG % os.path.join(self.root, "fontconfig-cache"))
            self.browser = Browser(CHROMIUM_FLAGS, dict(os.environ, FONTCONFIG_FILE=os.path.join(self.root, "fonts.conf")))
            for domain in ("Page", "Network"):
                self.browser.call(domain + ".enable")
            self.browser.call("Network.setCacheDisabled", cacheDisabled=True)
        except BaseException:
            self.close()
            raise

    def close(self):
        if self.browser is not None:
            self.browser.close()
        if self.server is not None:
            self.server.shutdown()
            self.server.server_close()
        shutil.rmtree(self.root, True)

    def make_kit(self, name, path, member=None, options=(), quiet=False):
        """Serves the font as <name>/whole.<ext> and its kit under <name>/kit/, made with the
        webfont command's further options (a known text); a collection's member is extracted
        first (kits take single fonts). Returns the kit's family, and the font's and the
        stylesheet's paths under <name>/."""
        folder = os.path.join(self.root, name)
        os.makedirs(os.path.join(folder, "kit"))
        source = os.path.join(folder, "whole" + os.path.splitext(path)[1])
        if member is None:
            shutil.copy(path, source)
        else:
            with TTFont(path, fontNumber=member) as font:
                source = os.path.join(folder, "whole.otf" if font.sfntVersion == "OTTO" else "whole.ttf")
                font.save(source)
        start = time.monotonic()
        result = subprocess.run([self.cli, "webfont", "--font", source, "--output-dir", os.path.join(folder, "kit"),
                                 "--quiet", *options], capture_output=True, text=True, timeout=900)
        if result.returncode != 0:
            raise AssertionError("the kit of %s failed: %s" % (path, result.stderr))
        if not quiet:
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

    def draw(self, kit, name, page, lang, style, text):
        """The PNGs of the page drawn from the whole font, from the kit and from no web font; kit
        is make_kit's result for the folder name."""
        family, whole, css = kit
        heads = {
            "whole": "<style>@font-face { font-family: '%s'; src: url('%s') }</style>" % (family, whole),
            "kit": "<link rel='stylesheet' href='%s'>" % css,
            "none": "",
        }
        shots = {}
        for variant in VARIANTS:
            with open(os.path.join(self.root, name, "%s.%s.html" % (page, variant)), "w", encoding="utf-8") as f:
                f.write("<!DOCTYPE html><meta charset='utf-8'><link rel='icon' href='data:,'>%s"
                        "<style>body { margin: 0; background: white }"
                        " #page { display: inline-block; font: 32px/normal '%s'; %s }</style>"
                        "<div id='page' lang='%s'>%s</div>" % (heads[variant], family, style, lang, text))
            self.browser.show("http://127.0.0.1:%d/%s/%s.%s.html" % (self.server.server_port, name, page, variant))
            shots[variant] = self.browser.screenshot("#page")
        return shots

    def keep_pictures(self, page, shots, picture):
        """Writes the page's PNGs and the picture of its differences; returns their folder."""
        if self.mismatches is None:
            self.mismatches = tempfile.mkdtemp(prefix="fidelity-")
        for variant, png in shots.items():
            with open(os.path.join(self.mismatches, "%s.%s.png" % (page, variant)), "wb") as f:
                f.write(png)
        picture.save(os.path.join(self.mismatches, page + ".diff.png"))
        return self.mismatches


def judge(shots):
    """(pixels that differ between the whole font and the kit, their picture, and whether the whole
    font draws anything of its own: a page it draws as no web font does proves nothing)."""
    count, picture = differing_pixels(shots["whole"], shots["kit"])
    return count, picture, differing_pixels(shots["whole"], shots["none"])[0] > 0


def box_sizes(shots):
    return {variant: Image.open(io.BytesIO(png)).size for variant, png in shots.items()}
