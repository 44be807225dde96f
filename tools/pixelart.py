"""Pixel art as text: one character a pixel, rows top to bottom, frames apart by blank lines.

A hexadecimal digit picks one of the 16 standard Windows colours; "." is the background.
"""

# The 16 colours of the standard Windows palette, as (red, green, blue).
COLOURS = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

BACKGROUND = None


def read_frames(path, width, height):
    """The frames of path, each a list of rows of colour indexes (BACKGROUND for ".")."""
    with open(path, encoding="ascii") as source:
        blocks = source.read().strip("\n").split("\n\n")
    frames = []
    for number, block in enumerate(blocks, 1):
        rows = block.split("\n")
        if len(rows) != height or any(len(row) != width for row in rows):
            raise SystemExit(f"{path}: frame {number} is not {width} by {height}")
        frames.append([[BACKGROUND if c == "." else int(c, 16) for c in row] for row in rows])
    return frames
