"""Character sets used by the end-to-end checks and the benchmarks."""


def hanzi(last_row):
    """The hanzi of GB2312 from row 16 (0xB0) to last_row; row 55 (0xD7) ends at 0xF9."""
    chars = []
    for row in range(0xB0, last_row + 1):
        last = 0xF9 if row == 0xD7 else 0xFE
        chars.extend(bytes([row, cell]).decode("gb2312") for cell in range(0xA1, last + 1))
    return "".join(chars)


def level1_hanzi():
    """The 3,755 level-1 hanzi of GB2312."""
    return hanzi(0xD7)


def all_hanzi():
    """All 6,763 hanzi of GB2312, levels 1 and 2."""
    return hanzi(0xF7)


if __name__ == "__main__":
    import sys
    sys.stdout.write(all_hanzi() if sys.argv[1:] == ["--all"] else level1_hanzi())
