"""Character sets used by the end-to-end checks and the benchmarks."""


def level1_hanzi():
    """The 3,755 level-1 hanzi of GB2312: rows 16 to 55, row 55 ending at 0xF9."""
    chars = []
    for row in range(0xB0, 0xD8):
        last = 0xF9 if row == 0xD7 else 0xFE
        for cell in range(0xA1, last + 1):
            chars.append(bytes([row, cell]).decode("gb2312"))
    return "".join(chars)


if __name__ == "__main__":
    import sys
    sys.stdout.write(level1_hanzi())
