"""A site of twenty pages of real Chinese text, for the slice cache's benchmark, and one page of it changed.

  cache_site.py pages DIR     writes the pages into DIR, one file each (page-01.txt ... page-20.txt)
  cache_site.py change DIR paragraph|sentence
                              changes one page in DIR as an edit would: a paragraph (a poem of 120
                              characters) or a sentence (a line of it) added to page-10.txt
  cache_site.py fetched KIT SITE
                              one line: what the site's pages fetch from the kit all together, bytes (the gzipped
                              CSS once a page) and requests, as bench/webfont_pages.py counts them
  cache_site.py slices KIT_BEFORE KIT_AFTER SITE_BEFORE SITE_AFTER
                              one line: the slices of each kit, those that held a character whose pages
                              changed (a kit by the text's use must make them again), those made again (not
                              in the first kit), and how many of those only the plan's reshuffling made

The pages are bench/webfont_pages.py's, the Debian FAQ cut at its paragraphs into thirteen pages of about
the same length, so that the site has twenty."""

import glob
import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import webfont_pages  # noqa: E402

FAQ_PAGES = 13
CHANGED = "page-10.txt"


def pages():
    texts = [text() for name, text in webfont_pages.PAGES.items() if name != "faq"]
    paragraphs = webfont_pages.PAGES["faq"]().split("\n\n")
    total = sum(len(p) for p in paragraphs)
    part, parts = [], []
    for paragraph in paragraphs:
        part.append(paragraph)
        if sum(len(p) for p in part) >= total / FAQ_PAGES and len(parts) < FAQ_PAGES - 1:
            parts.append("\n\n".join(part))
            part = []
    parts.append("\n\n".join(part))
    return texts + parts


def kit_slices(folder):
    """Each slice's code points and bytes, from the kit's report."""
    report = json.load(open(glob.glob(os.path.join(folder, "*.report.json"))[0], encoding="utf-8"))
    return {frozenset(webfont_pages.code_points(s["unicodeRange"])): s["bytes"]
            for face in report["faces"] for s in face["slices"]}


def pages_of(site):
    """Each character of the site with the pages that use it."""
    users = {}
    for page, path in enumerate(sorted(glob.glob(os.path.join(site, "*")))):
        for character in set(open(path, encoding="utf-8").read()):
            users.setdefault(ord(character), set()).add(page)
    return users


def compare(kit_before, kit_after, site_before, site_after):
    before, after = kit_slices(kit_before), kit_slices(kit_after)
    users_before, users_after = pages_of(site_before), pages_of(site_after)
    moved = {c for c in set(users_before) | set(users_after) if users_before.get(c) != users_after.get(c)}
    made = [s for s in after if s not in before]
    # A slice made again from characters of slices that no change touched only moved with the plan.
    touched = [s for s in before if s & moved]
    reshuffled = [s for s in made if not s & moved and not any(s & t for t in touched)]
    print("%d slices before, %d after; %d held a character whose pages changed (%d characters); %d made again "
          "(%d of %d bytes), of which %d (%d bytes) hold only characters of untouched slices"
          % (len(before), len(after), len(touched), len(moved), len(made), sum(after[s] for s in made),
             sum(after.values()), len(reshuffled), sum(after[s] for s in reshuffled)))


def fetched(kit, site):
    css = glob.glob(os.path.join(kit, "*.css"))[0]
    with open(css, encoding="utf-8") as f:
        rules = webfont_pages.slices(f.read())
    total = requests = 0
    for path in sorted(glob.glob(os.path.join(site, "*"))):
        with open(path, encoding="utf-8") as f:
            chosen = webfont_pages.fetched(rules, f.read())
        total += webfont_pages.gzipped_size(css) + sum(os.path.getsize(os.path.join(kit, rules[i][0])) for i in chosen)
        requests += len(chosen)
    print("{:,} bytes in {} requests".format(total, requests))


def main():
    command, folder = sys.argv[1], sys.argv[2]
    if command == "slices":
        compare(*sys.argv[2:6])
    elif command == "fetched":
        fetched(*sys.argv[2:4])
    elif command == "pages":
        os.makedirs(folder, exist_ok=True)
        for number, text in enumerate(pages(), 1):
            with open(os.path.join(folder, "page-%02d.txt" % number), "w", encoding="utf-8") as f:
                f.write(text)
    elif command == "change":
        # The second of the 300 Tang poems, or its first line: a few characters the site had not used,
        # and many it had, but not on that page.
        poem = webfont_pages.fortunes("tang300")[1]
        added = {"paragraph": poem, "sentence": poem.split("\n")[2]}[sys.argv[3]]
        with open(os.path.join(folder, CHANGED), "a", encoding="utf-8") as f:
            f.write("\n\n" + added)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
