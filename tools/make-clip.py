"""Writes the cleanup animation: an uncompressed AVI without sound, 32 by 32 at 8 bits a pixel
with a 256-colour palette, one frame per picture of the art, 15 frames a second.

Usage: make-clip.py ART AVI
"""
import struct
import sys

from pixelart import BACKGROUND, COLOURS, read_frames

SIZE = 32
MICROSECONDS_PER_FRAME = 66667
FRAMES_PER_SECOND = 15
# Background pixels take an index of their own, a grey close to the dialog face, so that a
# transparent control can key it out.
BACKGROUND_INDEX = 16
PALETTE = COLOURS + [(0xC0, 0xC0, 0xC0)] + [(0, 0, 0)] * (256 - len(COLOURS) - 1)
AVIF_HASINDEX = 0x10
AVIIF_KEYFRAME = 0x10


def chunk(fourcc, data):
    return fourcc + struct.pack("<I", len(data)) + data + b"\0" * (len(data) & 1)


def riff_list(kind, fourcc, parts):
    return chunk(kind, fourcc + b"".join(parts))


def frame_bits(rows):
    return b"".join(bytes(BACKGROUND_INDEX if p is BACKGROUND else p for p in row)
                    for row in reversed(rows))  # bottom-up


def main(art, output):
    frames = [frame_bits(rows) for rows in read_frames(art, SIZE, SIZE)]
    frame_size = SIZE * SIZE
    main_header = struct.pack("<IIIIIIIIII4I", MICROSECONDS_PER_FRAME,
                              frame_size * FRAMES_PER_SECOND, 0, AVIF_HASINDEX, len(frames),
                              0, 1, frame_size, SIZE, SIZE, 0, 0, 0, 0)
    stream_header = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"DIB ", 0, 0, 0, 0, 1,
                                FRAMES_PER_SECOND, 0, len(frames), frame_size, 0xFFFFFFFF,
                                0, 0, 0, SIZE, SIZE)
    bitmap_header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 8, 0, frame_size, 0, 0,
                                256, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    header_list = riff_list(b"LIST", b"hdrl", [
        chunk(b"avih", main_header),
        riff_list(b"LIST", b"strl", [chunk(b"strh", stream_header),
                                     chunk(b"strf", bitmap_header + palette)]),
    ])
    movie = riff_list(b"LIST", b"movi", [chunk(b"00db", bits) for bits in frames])
    # Index offsets count from the "movi" type, the first frame chunk lying 4 bytes past it.
    index, offset = b"", 4
    for bits in frames:
        index += struct.pack("<4sIII", b"00db", AVIIF_KEYFRAME, offset, len(bits))
        offset += 8 + len(bits) + (len(bits) & 1)
    with open(output, "wb") as avi:
        avi.write(riff_list(b"RIFF", b"AVI ", [header_list, movie, chunk(b"idx1", index)]))


if __name__ == "__main__":
    main(*sys.argv[1:])
