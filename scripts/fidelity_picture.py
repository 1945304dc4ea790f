"""Draws the README's fidelity picture: pages drawn in headless chromium from the whole font and from
its web-font kit, side by side with their difference (red where a pixel differs).

  scripts/fidelity_picture.py BUILD_DIR OUTPUT.png

It uses the fidelity tests' pages, fonts and drawing (tests/e2e/test_fidelity.py): a whole kit of
Noto Sans CJK SC and one of Noto Color Emoji, drawn with chromium's own fontconfig; then the first
sentences of four of the world's pages (tests/e2e/test_fidelity_world.py), each from a whole kit of
its Noto font."""

import io
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
os.environ["TESSAGLYPH_CLI"] = os.path.join(os.path.abspath(sys.argv[1]), "tessaglyph-cli")

from PIL import Image, ImageDraw, ImageFont  # noqa: E402

import test_fidelity  # noqa: E402
import test_fidelity_world  # noqa: E402
import world_text  # noqa: E402
from fidelity import Drawing, differing_pixels  # noqa: E402

SHOWN = ["cjk-punctuation", "cjk-vertical", "code-ligatures", "emoji-zwj", "emoji-flag"]
WORLD_SHOWN = [("hindi", "noto-devanagari"), ("arabic", "noto-arabic"), ("thai", "noto-thai"),
               ("burmese", "noto-myanmar")]
WORLD_SENTENCES = 3
LABEL = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 15)
GAP = 12


def main():
    test_fidelity.FONTS = {name: font for name, font in test_fidelity.FONTS.items()
                           if name in {page[1] for page in test_fidelity.PAGES if page[0] in SHOWN}}
    fidelity = test_fidelity.FidelityTest
    fidelity.setUpClass()
    try:
        rows = []
        for page, font, lang, style, text in test_fidelity.PAGES:
            if page in SHOWN:
                shots = fidelity.draw(fidelity, page, font, lang, style, text)
                count, difference = differing_pixels(shots["whole"], shots["kit"])
                whole, kit = (Image.open(io.BytesIO(shots[v])).convert("RGB") for v in ("whole", "kit"))
                rows.append((page, count, whole, kit, difference))
    finally:
        fidelity.doClassCleanups()
    drawing = Drawing(os.environ["TESSAGLYPH_CLI"])
    try:
        for page, font in WORLD_SHOWN:
            path, member, _ = test_fidelity_world.FONTS[font]
            kit = drawing.make_kit(font, path, member)
            text = "".join("<p>%s</p>" % sentence for sentence in world_text.sentences(page)[:WORLD_SENTENCES])
            shots = drawing.draw(kit, font, page, world_text.LANGUAGES[page][0], test_fidelity_world.STYLE, text)
            count, difference = differing_pixels(shots["whole"], shots["kit"])
            whole, kit_shot = (Image.open(io.BytesIO(shots[v])).convert("RGB") for v in ("whole", "kit"))
            rows.append((page, count, whole, kit_shot, difference))
    finally:
        drawing.close()
    columns = ["the whole font", "the kit", "their difference"]
    widths = [max(row[2 + c].width for row in rows) for c in range(3)]
    heights = [max(image.height for image in row[2:]) for row in rows]
    label = 24
    picture = Image.new("RGB", (sum(widths) + GAP * 4, label + sum(h + label for h in heights) + GAP * len(rows)),
                        "white")
    draw = ImageDraw.Draw(picture)
    x = GAP
    for c, title in enumerate(columns):
        draw.text((x, 4), title, fill="black", font=LABEL)
        x += widths[c] + GAP
    y = label
    for (page, count, *images), height in zip(rows, heights):
        draw.text((GAP, y), "%s: %d pixels differ" % (page, count), fill="dimgray", font=LABEL)
        x = GAP
        for c, image in enumerate(images):
            picture.paste(image, (x, y + label))
            x += widths[c] + GAP
        y += height + label + GAP
    picture.save(sys.argv[2])


if __name__ == "__main__":
    main()
