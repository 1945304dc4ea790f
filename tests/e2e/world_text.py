"""Pages of real text in the world's scripts, taken from the message catalogues (.mo) that Debian's
packages install under /usr/share/locale, by one fixed rule, so the same packages give the same
pages. The packages are in scripts/install-deps.sh: libgtk-3-common for most languages, gnome-menus
and gnome-desktop3-data for Lao, which GTK is not translated into."""

import os
import struct
import unicodedata

LOCALE = "/usr/share/locale"
SENTENCES = 12  # a page's messages
LEAST_LETTERS = 10  # of the page's script, in a message taken

GTK = ("gtk30", "gtk30-properties")

# name: (lang of the page, locale folder, catalogues, the Unicode names' prefixes of its script's
# letters, whether the text is decomposed (NFD)). One row a page.
LANGUAGES = {
    "arabic": ("ar", "ar", GTK, ("ARABIC",), False),
    "persian": ("fa", "fa", GTK, ("ARABIC",), False),
    "hebrew": ("he", "he", GTK, ("HEBREW",), False),
    "hindi": ("hi", "hi", GTK, ("DEVANAGARI",), False),
    "bengali": ("bn", "bn", GTK, ("BENGALI",), False),
    "tamil": ("ta", "ta", GTK, ("TAMIL",), False),
    "thai": ("th", "th", GTK, ("THAI",), False),
    "lao": ("lo", "lo", ("gnome-menus", "gnome-desktop-3.0"), ("LAO",), False),
    "khmer": ("km", "km", GTK, ("KHMER",), False),
    "burmese": ("my", "my", GTK, ("MYANMAR",), False),
    "greek": ("el", "el", GTK, ("GREEK",), False),
    "russian": ("ru", "ru", GTK, ("CYRILLIC",), False),
    "vietnamese": ("vi", "vi", GTK, ("LATIN",), False),
    "vietnamese-nfd": ("vi", "vi", GTK, ("LATIN",), True),
    "french": ("fr", "fr", GTK, ("LATIN",), False),
    "polish": ("pl", "pl", GTK, ("LATIN",), False),
    "korean": ("ko", "ko", GTK, ("HANGUL",), False),
    "japanese": ("ja", "ja", GTK, ("HIRAGANA", "KATAKANA", "CJK UNIFIED"), False),
    "chinese-simplified": ("zh-Hans", "zh_CN", GTK, ("CJK UNIFIED",), False),
    "chinese-traditional": ("zh-Hant", "zh_TW", GTK, ("CJK UNIFIED",), False),
}


def catalogue(path):
    """The (msgid, msgstr) pairs of a .mo file, the first form of each plural, context dropped."""
    with open(path, "rb") as f:
        data = f.read()
    order = {b"\xde\x12\x04\x95": "<", b"\x95\x04\x12\xde": ">"}.get(data[:4])
    if order is None:
        raise ValueError("%s is not a message catalogue" % path)
    count, originals, translations = struct.unpack(order + "3I", data[8:20])

    def string(table, i):
        length, offset = struct.unpack(order + "2I", data[table + 8 * i:table + 8 * i + 8])
        return data[offset:offset + length].decode("utf-8").split("\0")[0]

    pairs = []
    for i in range(count):
        msgid = string(originals, i).rpartition("\x04")[2]
        if msgid:
            pairs.append((msgid, string(translations, i)))
    return pairs


def _is_sentence(text, prefixes):
    """A message of one line, without markup or placeholders, in letters of the script alone (a
    font of one script has no Latin), enough of them; Latin
    also needs accented letters."""
    if not text or any(c in text for c in "%<>{}\\\n\t_&") or text != text.strip():
        return False
    letters = [c for c in text if c.isalpha()]
    own = [c for c in letters if unicodedata.name(c, "").startswith(prefixes)]
    if len(own) < LEAST_LETTERS or len(own) < len(letters):
        return False
    if prefixes == ("LATIN",):  # accented letters, not English left untranslated
        return sum(not c.isascii() for c in own) >= 3
    if "HIRAGANA" in prefixes:  # Japanese: kana, not Chinese
        return any(unicodedata.name(c, "").startswith(("HIRAGANA", "KATAKANA")) for c in own)
    return True


def sentences(name):
    """The page's messages: of every message of its catalogues that is a sentence of its script
    (above), taken once each in the order of their English originals, SENTENCES at evenly spaced
    places. Raises when the catalogues are missing or hold too few."""
    lang, folder, domains, prefixes, decomposed = LANGUAGES[name]
    found = {}
    for domain in domains:
        path = os.path.join(LOCALE, folder, "LC_MESSAGES", domain + ".mo")
        if not os.path.exists(path):
            raise FileNotFoundError("%s is missing: run scripts/install-deps.sh" % path)
        for msgid, msgstr in catalogue(path):
            if _is_sentence(msgstr, prefixes):
                found.setdefault(msgstr, msgid)
    ordered = sorted(found, key=lambda text: (found[text], text))
    if len(ordered) < SENTENCES:
        raise ValueError("the catalogues of %s hold %d sentences, not %d" % (name, len(ordered), SENTENCES))
    picked = [ordered[i * len(ordered) // SENTENCES] for i in range(SENTENCES)]
    return [unicodedata.normalize("NFD" if decomposed else "NFC", text) for text in picked]


def page_html(name):
    """The page's messages as HTML paragraphs (they hold no markup: see _is_sentence)."""
    return "".join("<p>%s</p>" % text for text in sentences(name))


def page_letters(name):
    """The letters and marks of a page: what a font of its script must map to cover it. Its
    punctuation and digits may come from the fallback font (fonts of one script often leave them
    out), the same way whether the page is drawn from the whole font or from its kit."""
    return {ord(c) for c in "".join(sentences(name)) if unicodedata.category(c)[0] in "LM"}
