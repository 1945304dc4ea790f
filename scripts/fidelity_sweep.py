"""Draws every page of the world's scripts (tests/e2e/world_text.py) from a whole kit of every
regular face of every font package scripts/install-deps.sh installs that covers the page, against
the page drawn from the whole font, as the fidelity tests judge (tests/e2e/fidelity.py), and prints
a table: fonts, pages, identical pages, by script, and the worst cases with their pixels.

  scripts/fidelity_sweep.py BUILD_DIR [NAME...]

NAME limits the sweep to the faces whose full name holds one of them. A font covers a page when its
cmap maps at least 99% of the page's letters and marks. The pictures of the pages that differ go to
BUILD_DIR/fidelity-sweep/ (replaced on each run), the table also to BUILD_DIR/fidelity-sweep.txt.
Not part of make test: a kit of every CJK face takes about an hour on two cores."""

import os
import re
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from fontTools.ttLib import TTCollection, TTFont  # noqa: E402

import world_text  # noqa: E402
from fidelity import Drawing, judge  # noqa: E402

INSTALL_DEPS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "install-deps.sh")
COVERED = 0.99
STYLE = "width: 40em; font-size: 20px"
WORST = 30  # rows of the worst cases


def font_packages():
    """The fonts-* packages install-deps.sh installs."""
    with open(INSTALL_DEPS, encoding="utf-8") as f:
        text = f.read()
    listed = text[text.index("packages=("):]
    listed = listed[:listed.index("\n)\n")]
    listed = "\n".join(line.partition("#")[0] for line in listed.splitlines())
    return sorted(set(re.findall(r"(?<![\w-])fonts-[a-z0-9.+-]+", listed)))


def package_files(package):
    listed = subprocess.run(["dpkg", "-L", package], capture_output=True, text=True, check=True).stdout.split("\n")
    return sorted(path for path in listed if re.search(r"\.(ttf|otf|ttc|otc)$", path, re.I)
                  and os.path.isfile(path) and not os.path.islink(path))


def regular_faces(package):
    """(path, member or None, full name, cmap) of each family's regular face: of its faces, the
    upright, not bold one nearest weight 400 and normal width (a family of one weight, AR PL
    UMing's Light, or one slant, Smiley Sans Oblique, still has one)."""
    families = {}
    for path in package_files(package):
        collection = path.lower().endswith((".ttc", ".otc"))
        fonts = TTCollection(path, lazy=True).fonts if collection else [TTFont(path, lazy=True)]
        for member, font in enumerate(fonts):
            name, os2 = font["name"], font["OS/2"]
            family = name.getDebugName(16) or name.getDebugName(1)
            subfamily = (name.getDebugName(17) or name.getDebugName(2) or "").lower()
            slanted = bool(os2.fsSelection & 1) or "italic" in subfamily or "oblique" in subfamily
            bold = bool(os2.fsSelection & 0x20)  # Noto Nastaliq Urdu Bold says weight 400
            rank = (slanted, bold, abs(os2.usWeightClass - 400), os2.usWeightClass, abs(os2.usWidthClass - 5), path,
                    member)
            face = (path, member if collection else None, name.getDebugName(4), set(font.getBestCmap() or {}))
            if family not in families or rank < families[family][0]:
                families[family] = (rank, face)
        fonts[0].close()  # a collection's members share its file
    return [face for _, face in sorted(families.values(), key=lambda item: item[0][4:])]


def stop(signal_number, frame):
    raise SystemExit("stopped by signal %d" % signal_number)  # so that chromium is closed


def main():
    signal.signal(signal.SIGTERM, stop)
    build = os.path.abspath(sys.argv[1])
    wanted = sys.argv[2:]
    pictures = os.path.join(build, "fidelity-sweep")
    shutil.rmtree(pictures, True)
    os.makedirs(pictures)
    letters = {page: world_text.page_letters(page) for page in world_text.LANGUAGES}
    html = {page: world_text.page_html(page) for page in world_text.LANGUAGES}
    faces = [(package, face) for package in font_packages() for face in regular_faces(package)
             if not wanted or any(w.lower() in face[2].lower() for w in wanted)]
    # the small fonts first: a sweep cut short has drawn the most fonts
    faces.sort(key=lambda item: (os.path.getsize(item[1][0]), item[1][0], item[1][1] or 0))
    drawing = Drawing(os.path.join(build, "tessaglyph-cli"))
    results, failures, start, stopped = [], [], time.monotonic(), None
    try:
        for number, (package, (path, member, full_name, cmap)) in enumerate(faces):
            pages = [page for page in world_text.LANGUAGES
                     if sum(c in cmap for c in letters[page]) >= COVERED * len(letters[page])]
            print("[%d/%d, %.0f s] %s: %d pages" % (number + 1, len(faces), time.monotonic() - start, full_name,
                                                    len(pages)), file=sys.stderr)
            if not pages:
                results.append((package, full_name, None, 0, False))
                continue
            folder = "font%d" % number
            try:
                kit = drawing.make_kit(folder, path, member, quiet=True)
            except Exception as error:  # the kit failed: say so, and go on with the next font
                failures.append((full_name, str(error).strip().splitlines()[-1][:200]))
                continue
            for page in pages:
                shots = drawing.draw(kit, folder, page, world_text.LANGUAGES[page][0], STYLE, html[page])
                count, picture, drawn = judge(shots)
                results.append((package, full_name, page, count, drawn))
                if count:
                    picture.save(os.path.join(pictures, "%s.%s.png" % (re.sub(r"\W+", "-", full_name), page)))
            shutil.rmtree(os.path.join(drawing.root, folder), True)
    except SystemExit as error:
        stopped = "%s after %d of %d fonts" % (error, number, len(faces))
    finally:
        drawing.close()
    table = report(results, failures, time.monotonic() - start)
    if stopped:
        table = stopped + "\n" + table
    print(table)
    with open(os.path.join(build, "fidelity-sweep.txt.tmp"), "w", encoding="utf-8") as f:
        f.write(table + "\n")
    os.replace(os.path.join(build, "fidelity-sweep.txt.tmp"), os.path.join(build, "fidelity-sweep.txt"))


def report(results, failures, seconds):
    drawn = [r for r in results if r[2] is not None]
    fonts = {r[1] for r in results}
    lines = ["%d fonts (%d packages), %d of them cover a page; %d pages drawn, %d identical, %d differ; "
             "%d where the whole font draws as no web font; %d kits failed; %.0f s"
             % (len(fonts), len({r[0] for r in results}), len({r[1] for r in drawn}), len(drawn),
                sum(r[3] == 0 for r in drawn), sum(r[3] > 0 for r in drawn), sum(not r[4] for r in drawn),
                len(failures), seconds), "",
             "%-22s %6s %6s %10s %10s  %s" % ("page", "fonts", "same", "differ", "worst", "worst font")]
    for page in world_text.LANGUAGES:
        rows = [r for r in drawn if r[2] == page]
        if rows:
            worst = max(rows, key=lambda r: r[3])
            lines.append("%-22s %6d %6d %10d %10d  %s" % (page, len(rows), sum(r[3] == 0 for r in rows),
                                                          sum(r[3] > 0 for r in rows), worst[3],
                                                          worst[1] if worst[3] else ""))
    lines += ["", "worst cases:", "%10s  %-22s %s" % ("pixels", "page", "font")]
    for r in sorted(drawn, key=lambda r: (-r[3], r[1], r[2]))[:WORST]:
        if r[3]:
            lines.append("%10d  %-22s %s" % (r[3], r[2], r[1]))
    differing = sorted({r[1] for r in drawn if r[3]})
    lines += ["", "fonts whose pages all match: %d of %d" % (len({r[1] for r in drawn}) - len(differing),
                                                              len({r[1] for r in drawn}))]
    for r in drawn:
        if not r[4]:
            lines.append("the whole font draws as no web font: %s, %s" % (r[1], r[2]))
    for name, reason in failures:
        lines.append("kit failed: %s: %s" % (name, reason))
    lines.append("covering no page: " + ", ".join(sorted(r[1] for r in results if r[2] is None)))
    return "\n".join(lines)


if __name__ == "__main__":
    main()
