"""The web-font benchmark's pages and what they cost.

  webfont_pages.py texts DIR               writes the eight pages' texts into DIR, one file each
  webfont_pages.py measure --font F --tool T [--compare T] [--goal G] --time FILE --load L
                           (--css CSS | --subset FONT) DIR
                                           one JSON line: the run's figures (FILE: "wall user system maxKB"
                                           from /usr/bin/time; L: the load average before it), slices, bytes,
                                           the gzipped CSS, bytes and slices each page fetches; --compare
                                           names the row of the same font its ratios are to, --goal the
                                           goals those ratios answer (kit, language, text); DIR holds
                                           the pages' texts
  webfont_pages.py table RESULTS           the markdown table of the JSON lines in RESULTS, then the goals
  webfont_pages.py features FONT TEXT CSS  the bytes every GSUB/GPOS feature adds: hb-subset of TEXT's
                                           characters, and of each slice of the kit of CSS, with the
                                           features a browser turns on by itself against all of them

What a page fetches, as Chromium does: for each character of the page, the last @font-face rule in the CSS
whose unicode-range holds it (ranges may overlap; a rule is fetched once however many characters use it),
plus the kit's CSS, gzipped (gzip -9). A page of a single subset fetches that font, without CSS."""

import argparse
import concurrent.futures
import gettext
import gzip
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile

COLOUR = re.compile(r"\x1b\[[0-9;]*m")
FORTUNES = "/usr/share/games/fortunes/"


def fortunes(name):
    """The entries of a fortunes-zh file, without their colour escapes."""
    return [COLOUR.sub("", entry) for entry in open(FORTUNES + name, encoding="utf-8").read().split("\n%\n")]


def messages(domain):
    """Every Chinese message of a program's catalogue."""
    with open("/usr/share/locale/zh_CN/LC_MESSAGES/%s.mo" % domain, "rb") as f:
        return "\n".join(message for key, message in gettext.GNUTranslations(f)._catalog.items() if key)


def man_page(path):
    """A manual page as man shows it, without its bold and underlining."""
    shown = subprocess.run(["man", "-l", "-E", "UTF-8", "--nh", "--nj", path], check=True, capture_output=True,
                           env=dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="80", MAN_KEEP_FORMATTING="")).stdout
    return subprocess.run(["col", "-b"], input=shown, check=True, capture_output=True).stdout.decode("utf-8")


# Real Chinese pages, each from a package scripts/install-deps.sh installs (coreutils is essential).
PAGES = {
    # A Tang poem, the first of fortunes-zh's 300.
    "poem": lambda: fortunes("tang300")[0],
    # The Chinese messages of GNU coreutils.
    "coreutils": lambda: messages("coreutils"),
    # Long prose: the Debian FAQ in Simplified Chinese (debian-faq-zh-cn).
    "faq": lambda: gzip.open("/usr/share/doc/debian/FAQ/debian-faq.zh-cn.txt.gz", "rt", encoding="utf-8").read(),
    # Debian's Code of Conduct, as fortunes-zh's "chinese" holds it.
    "conduct": lambda: "\n\n".join(entry for entry in fortunes("chinese") if "《行为准则》" in entry),
    # Section 1.1 of the Debian Reference, "console basics", from the same file.
    "reference": lambda: "\n\n".join(entry for entry in fortunes("chinese")
                                     if re.match(r"1\.1\.(\d+\.)?\xa0", entry)),
    # Ten ci poems of the Song dynasty, the first of fortunes-zh's 100.
    "song": lambda: "\n\n".join(fortunes("song100")[:10]),
    # man-db's manual page of man(1) in Chinese.
    "man": lambda: man_page("/usr/share/man/zh_CN/man1/man.1.gz"),
    # The Chinese messages of appstream's command line.
    "appstream": lambda: messages("appstream"),
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
    """(file, code points) of each @font-face rule of a web font, in CSS order; a rule without unicode-range
    covers everything. The faces of local fonts (a kit's metric-matched fallbacks) fetch nothing."""
    return [(url.group(1), code_points(declared.group(1)) if declared else range(0x110000))
            for body in RULE.findall(css) for declared, url in [(RANGE.search(body), URL.search(body))] if url]


def shown(text):
    """The characters a page draws: line breaks and tabs are laid out as spaces, and need no font of their own."""
    return {ord(c) for c in text if c >= " "}


def fetched(rules, text):
    """The rules a page fetches: for each of its characters, the last rule whose range holds it."""
    chosen = set()
    for c in shown(text):
        last = next((i for i in range(len(rules) - 1, -1, -1) if c in rules[i][1]), None)
        if last is not None:
            chosen.add(last)
    return sorted(chosen)


def gzipped_size(path):
    return len(subprocess.run(["gzip", "-9", "-n", "-c", path], check=True, capture_output=True).stdout)


def measure_kit(css_path, texts):
    folder = os.path.dirname(css_path)
    with open(css_path, encoding="utf-8") as f:
        rules = slices(f.read())
    size = lambda url: os.path.getsize(os.path.join(folder, url))
    css_gz = gzipped_size(css_path)
    pages, visit = [], set()
    for text in texts:
        chosen = fetched(rules, text)
        visit.update(chosen)
        pages.append({"bytes": css_gz + sum(size(rules[i][0]) for i in chosen), "slices": len(chosen)})
    return {"slices": len(rules), "bytes": sum(size(url) for url, _ in rules), "css_gz": css_gz, "pages": pages,
            "visit": css_gz + sum(size(rules[i][0]) for i in visit)}


def measure_subset(font_path, texts):
    size = os.path.getsize(font_path)
    return {"slices": 1, "bytes": size, "css_gz": None, "pages": [{"bytes": size, "slices": 1} for _ in texts],
            "visit": size}


def merged(lines):
    """The runs of one tool on one font as one row: the median of their times and peaks, the mean load."""
    runs = {}
    for line in lines:
        if line.strip():
            r = json.loads(line)
            runs.setdefault((r["font"], r["tool"]), []).append(r)
    rows = []
    for same in runs.values():
        # The slices each page fetches, not the CSS: cn-font-split's names the time it was made.
        fetched_slices = lambda r: (r["bytes"], [(p["bytes"] - (r["css_gz"] or 0), p["slices"]) for p in r["pages"]])
        row = dict(same[0], runs=[r["seconds"] for r in same], load=statistics.mean(r["load"] for r in same),
                   same_bytes=all(fetched_slices(r) == fetched_slices(same[0]) for r in same))
        for key in ("seconds", "cpu", "peak_kb"):
            row[key] = statistics.median(r[key] for r in same)
        rows.append(row)
    return rows


def table(lines):
    """Each tool's row; below a row that compares itself with another, its ratio to that row (same font)."""
    rows = merged(lines)
    print("| font | kit | load | wall s | CPU s | peak MB | slices | bytes | CSS gz | %s | %d pages |" % (
        " | ".join(PAGES), len(PAGES)))
    print("|---|---|---:|---:|---:|---:|---:|---:|---:|" + "---:|" * (len(PAGES) + 1))
    by_label, shown_font = {}, None
    for r in rows:
        total = sum(p["bytes"] for p in r["pages"])
        cells = [r["seconds"], r["cpu"], r["peak_kb"] / 1024, r["bytes"]] + [p["bytes"] for p in r["pages"]] + [total]
        by_label[r["font"], r["tool"]] = dict(r, cells=cells)
        print("| %s | %s | %.2f | %.1f | %.1f | %.0f | %d | {:,} | %s | %s | {:,} |".format(r["bytes"], total) % (
            "" if r["font"] == shown_font else r["font"], r["tool"], r["load"], *cells[:3], r["slices"],
            "" if r["css_gz"] is None else "{:,}".format(r["css_gz"]),
            " | ".join("{:,} ({})".format(p["bytes"], p["slices"]) for p in r["pages"])))
        shown_font = r["font"]
        base = by_label.get((r["font"], r.get("compare")))
        if base:
            ratios = ["%.2f" % (ours / theirs) for ours, theirs in zip(cells, base["cells"])]
            css = "%.2f" % (r["css_gz"] / base["css_gz"]) if r["css_gz"] and base["css_gz"] else ""
            print("| | ratio to %s | | %s | | %s | %s | %s |" % (
                base["tool"], " | ".join(ratios[:3]), ratios[3], css, " | ".join(ratios[4:])))
    return by_label


def ratio(by_label, font, tool, column):
    row = by_label.get((font, tool))
    base = row and by_label.get((font, row.get("compare")))
    if not base:
        return None
    index = {"wall": 0, "peak": 2}.get(column)
    if index is not None:
        return row["cells"][index] / base["cells"][index]
    pages = [ours["bytes"] / theirs["bytes"] for ours, theirs in zip(row["pages"], base["pages"])]
    return {"worst": max(pages), "total": row["cells"][-1] / base["cells"][-1]}[column]


def goals(by_label):
    """Each goal with its figures, and whether every one is within it."""
    fonts = list(dict.fromkeys(font for font, _ in by_label))
    kits = [(font, tool) for font, tool in by_label if by_label[font, tool].get("goal")]
    checks = [
        ("wall time", "wall", 0.5, "kit"),
        ("peak memory", "peak", 1.0, "kit"),
        ("bytes of the worst page", "worst", 0.6, "kit"),
        ("bytes of the %d pages together" % len(PAGES), "total", 0.6, "kit"),
        ("one-language kit, bytes of the worst page", "worst", 0.45, "language"),
        ("one-language kit, bytes of the %d pages together" % len(PAGES), "total", 0.45, "language"),
        ("kit of the pages' text, bytes of the %d pages together" % len(PAGES), "total", 0.5, "text"),
    ]
    print()
    print("Goals (ratios of the same run):")
    for name, column, limit, goal in checks:
        figures = [(font, ratio(by_label, font, tool, column)) for font, tool in kits
                   if by_label[font, tool]["goal"] == goal]
        figures = [(font, value) for font, value in figures if value is not None]
        if figures:
            print("- %s at most %.2fx: %s: %s" % (
                name, limit, ", ".join("%s %.2f" % (short(font, fonts), value) for font, value in figures),
                "met" if all(value <= limit for _, value in figures) else "MISSED"))


def short(font, fonts):
    return font.split(" ")[0] if len({f.split(" ")[0] for f in fonts}) == len(fonts) else font


def runs(by_label):
    """Each wall time of the tools run more than once, and whether their kits were the same every time."""
    for (font, tool), row in by_label.items():
        if len(row["runs"]) > 1:
            print("%s, %s: %d runs, %s s (the median in the table)%s" % (
                font, tool, len(row["runs"]), ", ".join("%.1f" % s for s in row["runs"]),
                "" if row["same_bytes"] else "; the kits differ between runs, the first is measured"))


def visits(by_label):
    """A reader of every page in one visit fetches each file once, and the CSS once."""
    for (font, tool), row in by_label.items():
        base = by_label.get((font, row.get("compare")))
        if row.get("goal") == "text" and base:
            print("%s: the %d pages read in one visit (each file fetched once) fetch %s bytes from %s, "
                  "%s from %s: %.2fx" % (font, len(row["pages"]), "{:,}".format(row["visit"]), tool,
                                         "{:,}".format(base["visit"]), base["tool"], row["visit"] / base["visit"]))


def jobs(by_label):
    for font in dict.fromkeys(font for font, _ in by_label):
        one, two = (by_label.get((font, "tessaglyph-cli --jobs %d" % n)) for n in (1, 2))
        if one and two:
            print("%s: --jobs 2 is %.2fx as fast as --jobs 1 (one run each)" % (font, one["seconds"] / two["seconds"]))


# The flags our subsets and slices share with hb-subset's defaults apart from the features.
SUBSET_FLAGS = ["--name-IDs=*", "--name-languages=*", "--name-legacy", "--notdef-outline"]
SLICE_FLAGS = ["--desubroutinize", "--name-IDs=0,1,2,3,4,5,6,13,14,16,17", "--name-languages=*"]
EVERY_FEATURE = ["--layout-features=*"]


def hb_subset(font, unicodes, flags, output):
    with tempfile.NamedTemporaryFile("w", suffix=".txt") as listed:
        listed.write(",".join("%X" % c for c in sorted(unicodes)))
        listed.flush()
        subprocess.run(["hb-subset", "--font-file=" + font, "--unicodes-file=" + listed.name,
                        "--output-file=" + output] + flags, check=True)
    return os.path.getsize(output)


def woff2_size(font_file):
    subprocess.run(["woff2_compress", font_file], check=True, capture_output=True)
    woff2 = os.path.splitext(font_file)[0] + ".woff2"
    size = os.path.getsize(woff2)
    os.remove(woff2)
    return size


def mapped(woff2_path):
    from fontTools.ttLib import TTFont
    return set(TTFont(woff2_path, lazy=True)["cmap"].getBestCmap())


def features(font, text_path, css_path):
    """hb-subset with the features browsers turn on by themselves against every feature: of a text's
    characters (as our subset), and of every slice of a kit (as our slices: the same characters each,
    CFF without subroutines, the kit's names), each in WOFF2."""
    label = os.path.basename(font)
    with tempfile.TemporaryDirectory() as work:
        text = shown(open(text_path, encoding="utf-8").read())
        sizes = []
        for name, flags in (("default", SUBSET_FLAGS), ("every", SUBSET_FLAGS + EVERY_FEATURE)):
            out = os.path.join(work, name + os.path.splitext(font)[1])
            sizes.append((hb_subset(font, text, flags, out), woff2_size(out)))
        (plain, plain_w), (every, every_w) = sizes
        print("%s, %s characters with hb-subset: %s bytes with the default features, %s with every one "
              "(+%.1f%%); WOFF2 %s against %s (+%.1f%%)" % (
                  label, "{:,}".format(len(text)), "{:,}".format(plain), "{:,}".format(every),
                  100 * (every / plain - 1), "{:,}".format(plain_w), "{:,}".format(every_w),
                  100 * (every_w / plain_w - 1)))

        folder = os.path.dirname(css_path)
        urls = [url for url, _ in slices(open(css_path, encoding="utf-8").read())]

        def one(i):
            points = mapped(os.path.join(folder, urls[i]))
            result = []
            for name, flags in (("default", SLICE_FLAGS), ("every", SLICE_FLAGS + EVERY_FEATURE)):
                out = os.path.join(work, "%d.%s%s" % (i, name, os.path.splitext(font)[1]))
                hb_subset(font, points, flags, out)
                result.append(woff2_size(out))
                os.remove(out)
            return result

        with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 1) as pool:
            totals = [sum(column) for column in zip(*pool.map(one, range(len(urls))))]
        ours = sum(os.path.getsize(os.path.join(folder, url)) for url in urls)
        print("%s, the kit's %d slices cut again with hb-subset: %s bytes of WOFF2 with the default features, "
              "%s with every one (+%.1f%%); the kit itself: %s" % (
                  label, len(urls), "{:,}".format(totals[0]), "{:,}".format(totals[1]),
                  100 * (totals[1] / totals[0] - 1), "{:,}".format(ours)))


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    if command == "texts":
        for name, read in PAGES.items():
            with open(os.path.join(args[0], name + ".txt"), "w", encoding="utf-8") as f:
                f.write(read())
    elif command == "measure":
        parser = argparse.ArgumentParser()
        for option in ("--font", "--tool", "--time", "--load"):
            parser.add_argument(option, required=True)
        parser.add_argument("--compare")
        parser.add_argument("--goal", choices=["kit", "language", "text"])
        made = parser.add_mutually_exclusive_group(required=True)
        made.add_argument("--css")
        made.add_argument("--subset")
        parser.add_argument("pages")
        run = parser.parse_args(args)
        wall, user, system, peak_kb = open(run.time).read().split()
        texts = [open(os.path.join(run.pages, name + ".txt"), encoding="utf-8").read() for name in PAGES]
        figures = measure_kit(run.css, texts) if run.css else measure_subset(run.subset, texts)
        print(json.dumps(dict(figures, font=run.font, tool=run.tool, compare=run.compare,
                              goal=run.goal, load=float(run.load), seconds=float(wall),
                              cpu=float(user) + float(system), peak_kb=int(peak_kb))))
    elif command == "table":
        by_label = table(open(args[0], encoding="utf-8"))
        goals(by_label)
        print()
        runs(by_label)
        visits(by_label)
        jobs(by_label)
    elif command == "features":
        features(*args)
