"""Writes a 32 by 32, 16-colour Windows icon file from pixel art.

Usage: make-icon.py ART ICO
"""
import struct
import sys

from pixelart import BACKGROUND, COLOURS, read_frames

SIZE = 32


def icon_image(rows):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in COLOURS)
    colour, mask = b"", b""
    for row in reversed(rows):  # bottom-up, as device-independent bitmaps are stored
        indexes = [0 if p is BACKGROUND else p for p in row]
        colour += bytes(indexes[i] << 4 | indexes[i + 1] for i in range(0, SIZE, 2))
        bits = 0
        for p in row:
            bits = bits << 1 | (p is BACKGROUND)
        mask += bits.to_bytes(SIZE // 8, "big")
    return header + palette + colour + mask


def main(art, output):
    (rows,) = read_frames(art, SIZE, SIZE)
    image = icon_image(rows)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    with open(output, "wb") as ico:
        ico.write(directory + entry + image)


if __name__ == "__main__":
    main(*sys.argv[1:])
