"""A web-font kit in Debian's chromium, headless, driven over the DevTools protocol: a page fetches
exactly the slices its text needs and draws every character from them.

The kit's local() sources are removed first, so the installed font cannot stand in for a slice."""

import functools
import glob
import http.server
import json
import os
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time
import unittest
import urllib.request

import websocket
from fontTools.ttLib import TTFont

from gb2312 import level1_hanzi

CLI = os.environ["TESSAGLYPH_CLI"]
SMILEY = "/usr/share/fonts/truetype/smiley-sans/SmileySans-Oblique.ttf"
ASCII = "".join(map(chr, range(0x20, 0x7F)))
WAIT = 30  # seconds, for each step of the browser

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


class Browser:
    """chromium with its own profile, reached through the DevTools socket of its one page."""

    def __init__(self):
        self.profile = tempfile.mkdtemp()
        self.log = open(os.path.join(self.profile, "stderr"), "w+")
        root = ["--no-sandbox"] if os.geteuid() == 0 else []  # chromium refuses to run as root in its sandbox
        self.process = subprocess.Popen(
            ["chromium", "--headless=new", *root, "--disable-gpu", "--remote-debugging-port=0",
             "--user-data-dir=" + self.profile, "--no-first-run", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", "--no-pings",
             "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=self.log, start_new_session=True)
        try:
            port = self._port()
            with urllib.request.urlopen("http://127.0.0.1:%d/json/list" % port, timeout=WAIT) as reply:
                page = next(t for t in json.load(reply) if t["type"] == "page")
            self.socket = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=WAIT,
                                                      suppress_origin=True)
        except BaseException:
            self.close()
            raise
        self.calls, self.events = 0, []

    def _port(self):
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.monotonic() + WAIT
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                self.log.seek(0)
                raise RuntimeError("chromium exited with status %d: %s" % (self.process.returncode,
                                                                           self.log.read()[-2000:]))
            if os.path.exists(port_file):
                with open(port_file) as f:
                    lines = f.read().split("\n")
                if len(lines) > 1:
                    return int(lines[0])
            time.sleep(0.1)
        raise TimeoutError("chromium wrote no DevToolsActivePort in %d s" % WAIT)

    def close(self):
        if hasattr(self, "socket"):
            self.socket.close()
        try:
            os.killpg(self.process.pid, signal.SIGTERM)
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
        except ProcessLookupError:
            pass
        self.log.close()
        shutil.rmtree(self.profile, True)

    def call(self, method, **params):
        self.calls += 1
        self.socket.send(json.dumps({"id": self.calls, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.calls:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message["result"]
            self.events.append(message)

    def wait_until(self, done):
        """Reads events until done(events) holds."""
        deadline = time.monotonic() + WAIT
        while not done(self.events):
            if time.monotonic() > deadline:
                raise TimeoutError("the page did not finish in %d s" % WAIT)
            self.events.append(json.loads(self.socket.recv()))

    def show(self, url):
        """Loads url and lays it out, waits for its fonts; returns {requestId: url} of the requests
        for files under url's folder (none from an earlier page)."""
        self.events = []
        self.call("Page.navigate", url=url)
        self.wait_until(lambda events: any(e.get("method") == "Page.loadEventFired" for e in events))
        self.call("Runtime.evaluate", awaitPromise=True,
                  expression="document.body.getBoundingClientRect(), document.fonts.ready.then(() => 0)")
        folder = url.rpartition("/")[0] + "/"
        requests = {e["params"]["requestId"]: e["params"]["request"]["url"] for e in self.events
                    if e.get("method") == "Network.requestWillBeSent" and e["params"]["request"]["url"].startswith(folder)}
        ended = lambda events: {e["params"]["requestId"] for e in events if e.get("method") in
                                ("Network.loadingFinished", "Network.loadingFailed")}
        self.wait_until(lambda events: set(requests) <= ended(events))
        return requests

    def responses(self):
        return {e["params"]["requestId"]: e["params"]["response"]["status"]
                for e in self.events if e.get("method") == "Network.responseReceived"}

    def fonts_of(self, selector):
        root = self.call("DOM.getDocument")["root"]["nodeId"]
        node = self.call("DOM.querySelector", nodeId=root, selector=selector)["nodeId"]
        return self.call("CSS.getPlatformFontsForNode", nodeId=node)["fonts"]


class WebFontBrowserTest(unittest.TestCase):
    def setUp(self):
        self.kit = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.kit, True)

    def make_kit(self):
        """Smiley Sans cut to ASCII, the level-1 hanzi of GB2312 and the pages' characters, the
        local() sources taken out of its stylesheet; returns the code points each slice maps."""
        text = ASCII + level1_hanzi() + "".join(text for _, text in PAGES)
        result = subprocess.run([CLI, "webfont", "--font", SMILEY, "--output-dir", self.kit, "--text", text,
                                 "--quiet"], capture_output=True, text=True, timeout=300)
        self.assertEqual(result.returncode, 0, result.stderr)
        [css_file] = glob.glob(os.path.join(self.kit, "*.css"))
        with open(css_file, encoding="utf-8") as f:
            css = re.sub(r"""local\(("(\\.|[^"\\])*"|'(\\.|[^'\\])*'|[^)'"]*)\)\s*,\s*""", "", f.read())
        self.assertNotIn("local(", css)
        with open(css_file, "w", encoding="utf-8") as f:
            f.write(css)
        family = re.search(r"""font-family\s*:\s*["']?([^"';]+)""", css).group(1)
        for name, text in PAGES:
            with open(os.path.join(self.kit, name + ".html"), "w", encoding="utf-8") as f:
                f.write('<!DOCTYPE html><meta charset="utf-8"><link rel="icon" href="data:,">'
                        '<link rel="stylesheet" href="%s">'
                        '<p id="text" style="font: 32px \'%s\'">%s</p>' % (os.path.basename(css_file), family, text))
        return {os.path.basename(path): set(TTFont(path).getBestCmap())
                for path in glob.glob(os.path.join(self.kit, "*.woff2"))}

    def test_pages_fetch_the_slices_of_their_characters_and_draw_from_them(self):
        slices = self.make_kit()
        self.assertGreater(len(slices), 3)
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Kit, directory=self.kit))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)
        browser = Browser()
        self.addCleanup(browser.close)
        for domain in ("Page", "Network", "DOM", "CSS"):
            browser.call(domain + ".enable")
        browser.call("Network.setCacheDisabled", cacheDisabled=True)
        source = TTFont(SMILEY)["name"]

        for name, text in PAGES:
            with self.subTest(page=name):
                requests = browser.show("http://127.0.0.1:%d/%s/%s.html" % (server.server_port, name, name))
                statuses = browser.responses()
                fonts = {url.rpartition("/")[2]: statuses.get(id) for id, url in requests.items()
                         if url.endswith(".woff2")}
                self.assertEqual(set(fonts), {file for file, cmap in slices.items()
                                              if any(ord(c) in cmap for c in text)})
                self.assertEqual(set(fonts.values()), {200})
                # The browser names a font by its own name table, whichever slices drew it.
                self.assertEqual(browser.fonts_of("#text"),
                                 [{"familyName": source.getDebugName(1), "postScriptName": source.getDebugName(6),
                                   "isCustomFont": True, "glyphCount": len(text)}])


if __name__ == "__main__":
    unittest.main()
