"""Kits of fonts of shaped scripts, tessaglyph-cli webfont against cn-font-split, one run each side by
side: the bytes each page of the font's script fetches from each kit, the gzipped CSS included (as
webfont_pages.py counts them), against the whole font as one WOFF2 file. The pages are real text, from
Debian's message catalogues by the rule of tests/e2e/world_text.py, in three languages of each script.
Prints a markdown table, then the goals: no page fetches more than the whole font, nor more than from
cn-font-split's kit.

  webfont_scripts.py CLI PEER WORK_DIR     PEER: cn-font-split's bin/cn-font-split.mjs"""

import os
import shutil
import subprocess
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "e2e"))

import world_text  # noqa: E402
from webfont_pages import fetched, gzipped_size, slices  # noqa: E402

NOTO = "/usr/share/fonts/truetype/noto/"
# Languages of the same catalogues beside the world test's own pages.
world_text.LANGUAGES.update({
    "marathi": ("mr", "mr", world_text.GTK, ("DEVANAGARI",), False),
    "nepali": ("ne", "ne", world_text.GTK, ("DEVANAGARI",), False),
    "pashto": ("ps", "ps", world_text.GTK, ("ARABIC",), False),
})
FONTS = [
    ("Noto Sans Devanagari", NOTO + "NotoSansDevanagari-Regular.ttf", ["hindi", "marathi", "nepali"]),
    ("Noto Naskh Arabic", NOTO + "NotoNaskhArabic-Regular.ttf", ["arabic", "persian", "pashto"]),
    ("Noto Sans Arabic", NOTO + "NotoSansArabic-Regular.ttf", ["arabic", "persian", "pashto"]),
]


def kit_pages(css_path, texts):
    """The bytes and slices each text fetches from the kit of css_path."""
    folder = os.path.dirname(css_path)
    with open(css_path, encoding="utf-8") as f:
        rules = slices(f.read())
    css_gz = gzipped_size(css_path)
    pages = []
    for text in texts:
        chosen = fetched(rules, text)
        pages.append((css_gz + sum(os.path.getsize(os.path.join(folder, rules[i][0])) for i in chosen), len(chosen)))
    return pages


def timed(command):
    start = time.monotonic()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    return time.monotonic() - start


def main():
    cli, peer, work = sys.argv[1:4]
    print("| font | kit | wall s | %s |" % " | ".join("page %d" % (n + 1) for n in range(3)))
    print("|---|---|---:|---:|---:|---:|")
    verdicts = []
    for label, path, languages in FONTS:
        texts = ["\n".join(world_text.sentences(name)) for name in languages]
        slug = os.path.basename(path).split("-")[0]
        copy = os.path.join(work, os.path.basename(path))  # woff2_compress writes beside its input
        shutil.copyfile(path, copy)
        seconds = timed(["woff2_compress", copy])
        whole = os.path.splitext(copy)[0] + ".woff2"
        whole_bytes = os.path.getsize(whole)
        ours_folder, peer_folder = os.path.join(work, slug + "-ours"), os.path.join(work, slug + "-peer")
        os.makedirs(ours_folder)
        ours_seconds = timed([cli, "webfont", "--font", path, "--output-dir", ours_folder, "--no-cache", "--quiet"])
        peer_seconds = timed(["node", peer, "-i=" + path, "-o=" + peer_folder])
        css = [name for name in os.listdir(ours_folder) if name.endswith(".css")]
        ours = kit_pages(os.path.join(ours_folder, css[0]), texts)
        theirs = kit_pages(os.path.join(peer_folder, "result.css"), texts)
        print("| %s (%s) | whole font, WOFF2 | %.1f | %s |" % (
            label, ", ".join(languages), seconds, " | ".join("{:,}".format(whole_bytes) for _ in texts)))
        for tool, took, pages in (("cn-font-split 5.2.2", peer_seconds, theirs), ("tessaglyph-cli", ours_seconds, ours)):
            print("| | %s | %.1f | %s |" % (tool, took, " | ".join("{:,} ({})".format(b, n) for b, n in pages)))
        worst_whole = max(b / whole_bytes for b, _ in ours)
        worst_peer = max(b / p for (b, _), (p, _) in zip(ours, theirs))
        verdicts.append((label, worst_whole, worst_peer))
    print()
    print("Goals (ratios of the same run, the worst page of each font):")
    for name, index in (("bytes a page fetches at most the whole font's", 1), ("at most cn-font-split's kit's", 2)):
        print("- %s: %s: %s" % (name, ", ".join("%s %.2f" % (v[0], v[index]) for v in verdicts),
                                "met" if all(v[index] <= 1.0 for v in verdicts) else "MISSED"))


if __name__ == "__main__":
    main()
