#!/usr/bin/env python3
"""Draws the player's link cursor and program icon and writes them as
Windows .cur and .ico files (no imaging library needed).

  link.cur   32x32 monochrome pointing hand, hot spot at the fingertip (6, 0)
  ludex.ico  a white question mark on a blue square, 32x32 and 16x16, 4 bpp

Usage: make_cursor_and_icon.py OUTPUT_DIR
"""
import struct
import sys
from pathlib import Path

# The hand: '#' black outline, '.' white inside, ' ' transparent.
# The tip of the index finger is at column 6, row 0: the hot spot.
HAND = [
    "     ##         ",
    "    #..#        ",
    "    #..#        ",
    "    #..#        ",
    "    #..#        ",
    "    #..###      ",
    "    #..#..###   ",
    "    #..#..#..## ",
    " ## #..#..#..#.#",
    "#..##........#.#",
    "#...#..........#",
    " #..#..........#",
    "  #............#",
    "  #............#",
    "   #...........#",
    "   #..........# ",
    "    #.........# ",
    "    #........#  ",
    "     #.......#  ",
    "     #.......#  ",
    "     #########  ",
]

# The question mark, on a 16-cell grid; each cell is 2x2 pixels at 32x32.
QUESTION = [
    "                ",
    "                ",
    "     ######     ",
    "    ########    ",
    "   ###    ###   ",
    "   ###    ###   ",
    "          ###   ",
    "         ###    ",
    "        ###     ",
    "       ###      ",
    "       ###      ",
    "                ",
    "       ###      ",
    "       ###      ",
    "                ",
    "                ",
]

HOT_SPOT = (6, 0)


def hand_pixels(size=32):
    """Rows top to bottom of 'B' (black), 'W' (white) or None (transparent)."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            mark = HAND[y][x] if y < len(HAND) and x < len(HAND[y]) else " "
            row.append({"#": "B", ".": "W"}.get(mark))
        rows.append(row)
    # The hot spot must fall on the fingertip's outline, not on empty space.
    assert rows[HOT_SPOT[1]][HOT_SPOT[0]] == "B"
    return rows


def pack_bits(bits, width):
    """1-bit rows, most significant bit first, each padded to 4 bytes."""
    stride = ((width + 31) // 32) * 4
    out = bytearray()
    for row in bits:
        line = bytearray(stride)
        for x, bit in enumerate(row):
            if bit:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def bitmap_header(width, height, bit_count, colours):
    # The height counts the XOR and the AND mask together.
    return struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bit_count, 0, 0, 0, 0, colours, 0)


def cursor_image(rows):
    size = len(rows)
    # Monochrome: XOR 1 with AND 0 gives white, 0 and 0 black, AND 1 and XOR 0 transparent.
    xor = [[1 if p == "W" else 0 for p in row] for row in reversed(rows)]
    mask = [[1 if p is None else 0 for p in row] for row in reversed(rows)]
    palette = struct.pack("<4B4B", 0, 0, 0, 0, 255, 255, 255, 0)
    return bitmap_header(size, size, 1, 2) + palette + pack_bits(xor, size) + pack_bits(mask, size)


def write_cursor(path):
    image = cursor_image(hand_pixels())
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    path.write_bytes(header + entry + image)


# 16-colour palette of the icon: index 0 transparent area, 1 dark blue frame,
# 2 blue fill, 3 white mark.
ICON_PALETTE = [(0, 0, 0), (40, 40, 140), (70, 90, 220), (255, 255, 255)] + [(0, 0, 0)] * 12


def icon_pixels(size):
    cell = size // 16
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            edge = x == 0 or y == 0 or x == size - 1 or y == size - 1
            mark = QUESTION[y // cell][x // cell] == "#"
            row.append(1 if edge else 3 if mark else 2)
        rows.append(row)
    return rows


def icon_image(size):
    rows = icon_pixels(size)
    palette = b"".join(struct.pack("<4B", b, g, r, 0) for (r, g, b) in ICON_PALETTE)
    stride = ((size * 4 + 31) // 32) * 4
    xor = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, index in enumerate(row):
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        xor += line
    mask = pack_bits([[0] * size for _ in range(size)], size)  # the square is opaque
    return bitmap_header(size, size, 4, 16) + palette + bytes(xor) + mask


def write_icon(path):
    images = [icon_image(32), icon_image(16)]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, image in zip((32, 16), images):
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    path.write_bytes(header + entries + b"".join(images))


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    out.mkdir(parents=True, exist_ok=True)
    write_cursor(out / "link.cur")
    write_icon(out / "ludex.ico")


if __name__ == "__main__":
    main()
