"""The web-font benchmark's pages and what they cost.

  webfont_pages.py texts DIR               writes the three pages' texts into DIR
  webfont_pages.py measure --font F --tool T [--peer] --time FILE CSS TEXT...
                                           one JSON line: the run's figures (FILE: "wall user system maxKB"
                                           from /usr/bin/time), slices, bytes, bytes and slices each page fetches
  webfont_pages.py table RESULTS           the markdown table of the JSON lines in RESULTS

A page fetches the slices whose unicode-range holds one of its characters, as a browser chooses them."""

import argparse
import gettext
import gzip
import json
import os
import re
import sys

PAGES = {
    # A Tang poem, the first of fortunes-zh's 300, without its colour escapes.
    "poem": lambda: re.sub(r"\x1b\[[0-9;]*m", "", open("/usr/share/games/fortunes/tang300", encoding="utf-8")
                           .read().split("\n%\n")[0]),
    # The Chinese messages of GNU coreutils.
    "coreutils": lambda: "\n".join(message for key, message in gettext.GNUTranslations(
        open("/usr/share/locale/zh_CN/LC_MESSAGES/coreutils.mo", "rb"))._catalog.items() if key),
    # Long prose: the Debian FAQ in Simplified Chinese.
    "faq": lambda: gzip.open("/usr/share/doc/debian/FAQ/debian-faq.zh-cn.txt.gz", "rt", encoding="utf-8").read(),
}

RULE = re.compile(r"@font-face\s*\{([^}]*)\}")
URL = re.compile(r"""url\(\s*["']?([^"')]+?)["']?\s*\)""")
RANGE = re.compile(r"unicode-range\s*:\s*([^;}]*)")


def code_points(unicode_range):
    """The code points of a unicode-range value: U+4E00, U+4E00-4E05, U+4E?? (a wildcard)."""
    points = set()
    for token in unicode_range.split(","):
        token = token.strip().upper().removeprefix("U+")
        first, _, last = token.partition("-")
        if not last and "?" in first:
            first, last = first.replace("?", "0"), first.replace("?", "F")
        points.update(range(int(first, 16), int(last or first, 16) + 1))
    return points


def slices(css):
    """(file, code points) of each @font-face rule; a rule without unicode-range covers everything."""
    return [(URL.search(body).group(1), code_points(declared.group(1)) if declared else range(0x110000))
            for body in RULE.findall(css) for declared in [RANGE.search(body)]]


def measure(css_path, texts):
    folder = os.path.dirname(css_path)
    with open(css_path, encoding="utf-8") as f:
        rules = slices(f.read())
    size = lambda url: os.path.getsize(os.path.join(folder, url))
    pages = []
    for text in texts:
        # Line breaks and tabs are laid out as spaces, and need no font of their own.
        shown = {ord(c) for c in text if c >= " "}
        fetched = [url for url, points in rules if any(c in points for c in shown)]
        pages.append({"bytes": sum(map(size, fetched)), "slices": len(fetched)})
    return {"slices": len(rules), "bytes": sum(size(url) for url, _ in rules), "pages": pages}


def table(lines):
    """Each tool's row, then its ratio to the peer's row of the same font; then --jobs 2 against --jobs 1."""
    rows = [json.loads(line) for line in lines if line.strip()]
    print("| font | tool | wall s | CPU s | peak MB | slices | bytes | %s |" % " | ".join(
        "%s: bytes (slices)" % page for page in PAGES))
    print("|---|---|---:|---:|---:|---:|---:|" + "---:|" * len(PAGES))
    peer, seconds = {}, {}
    for r in rows:
        cells = [r["seconds"], r["cpu"], r["peak_kb"] / 1024, r["slices"], r["bytes"]] + [p["bytes"] for p in r["pages"]]
        print("| %s | %s | %.1f | %.1f | %.0f | %d | %d | %s |" % (
            r["font"], r["tool"], *cells[:5], " | ".join("%d (%d)" % (p["bytes"], p["slices"]) for p in r["pages"])))
        seconds[r["font"], r["tool"]] = r["seconds"]
        if r["peer"]:
            peer[r["font"]] = cells
        elif r["font"] in peer:
            print("| | ratio to the peer | %s |" % " | ".join(
                "%.2f" % (ours / theirs) for ours, theirs in zip(cells, peer[r["font"]])))
    print()
    for font in dict.fromkeys(r["font"] for r in rows):
        one, two = (seconds.get((font, "tessaglyph-cli --jobs %d" % n)) for n in (1, 2))
        if one and two:
            print("%s: --jobs 2 is %.2fx as fast as --jobs 1" % (font, one / two))


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    if command == "texts":
        for name, read in PAGES.items():
            with open(os.path.join(args[0], name + ".txt"), "w", encoding="utf-8") as f:
                f.write(read())
    elif command == "measure":
        parser = argparse.ArgumentParser()
        for option in ("--font", "--tool", "--time"):
            parser.add_argument(option, required=True)
        parser.add_argument("--peer", action="store_true")
        parser.add_argument("css")
        parser.add_argument("texts", nargs="+")
        run = parser.parse_args(args)
        wall, user, system, peak_kb = open(run.time).read().split()
        texts = [open(path, encoding="utf-8").read() for path in run.texts]
        print(json.dumps(dict(measure(run.css, texts), font=run.font, tool=run.tool, peer=run.peer,
                              seconds=float(wall), cpu=float(user) + float(system), peak_kb=int(peak_kb))))
    elif command == "table":
        table(open(args[0], encoding="utf-8"))
