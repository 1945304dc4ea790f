"""Debian's chromium, headless, with its own profile, driven over the DevTools socket of its one page."""

import base64
import json
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import urllib.request

import websocket

# Seconds for each step of the browser. It only tells a hung browser from a slow one: on a loaded
# machine, the first drawing from a whole 16 MB CJK font has taken over 30 s.
WAIT = 180


class Browser:
    def __init__(self, flags=(), env=None):
        """flags are added to chromium's command line; env, when given, is its whole environment."""
        self.profile = tempfile.mkdtemp()
        self.log = open(os.path.join(self.profile, "stderr"), "w+")
        root = ["--no-sandbox"] if os.geteuid() == 0 else []  # chromium refuses to run as root in its sandbox
        self.process = subprocess.Popen(
            ["chromium", "--headless=new", *root, "--disable-gpu", "--remote-debugging-port=0",
             "--user-data-dir=" + self.profile, "--no-first-run", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", "--no-pings",
             "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1", *flags, "about:blank"],
            stdout=subprocess.DEVNULL, stderr=self.log, env=env, start_new_session=True)
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
        for files under url's folder (none from an earlier page). Needs the Page and Network domains."""
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

    def screenshot(self, selector):
        """The PNG of the border box of the first element that matches selector, at one device
        pixel per CSS pixel, even where it reaches past the window."""
        box = self.call("Runtime.evaluate", returnByValue=True, expression=
                        "(r => [r.x + scrollX, r.y + scrollY, r.width, r.height])"
                        "(document.querySelector(%s).getBoundingClientRect())" % json.dumps(selector))
        x, y, width, height = box["result"]["value"]
        shot = self.call("Page.captureScreenshot", format="png", captureBeyondViewport=True,
                         clip={"x": x, "y": y, "width": width, "height": height, "scale": 1})
        return base64.b64decode(shot["data"])


def without_local_sources(css):
    """A kit's stylesheet without its local() sources, so that an installed copy of the font cannot
    stand in for a slice, and without its fallback faces, which are local fonts all of them."""
    css = re.sub(r"@font-face \{[^}]*\}\n?", lambda rule: rule.group(0) if "url(" in rule.group(0) else "", css)
    return re.sub(r"""local\(("(\\.|[^"\\])*"|'(\\.|[^'\\])*'|[^)'"]*)\)\s*,\s*""", "", css)
