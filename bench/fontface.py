"""The @font-face rules of a web-font stylesheet, read as a browser chooses slices by them."""

import re

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
    """(file, code points) for each rule, in the stylesheet's order; the file as its url() names it,
    without a leading "./". A rule without unicode-range covers every code point."""
    rules = []
    for body in RULE.findall(css):
        url = URL.search(body).group(1).removeprefix("./")
        declared = RANGE.search(body)
        rules.append((url, code_points(declared.group(1)) if declared else range(0x110000)))
    return rules


def fetched(rules, text):
    """The files a page showing text fetches: those whose range holds one of its characters."""
    wanted = {ord(c) for c in text}
    return {url for url, points in rules if any(c in points for c in wanted)}
