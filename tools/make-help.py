"""Writes a WinHelp 3.1 help file (uncompressed) from the plain-text help source.

Usage: make-help.py SOURCE HLP

The source has a "title:" line, headings starting with "= ", paragraphs separated by blank
lines, and "#" comment lines. The file holds one topic, the contents topic, with the title
as its name, the headings in bold and the paragraphs in the normal font.

Layout written: the 16-byte file header, then the internal files |CONTEXT, |FONT, |SYSTEM,
|TOPIC and |TTLBTREE, then the internal directory, a B+ tree naming each file's offset.
"""
import struct
import sys

BLOCK_SIZE = 4096           # topic block of an uncompressed WinHelp 3.1 file
BLOCK_HEADER = 12
NONE = 0xFFFFFFFF
CONTEXT_NAME = "contents"
FACE = "MS Sans Serif"
NORMAL_FONT, HEADING_FONT = 0, 1


def read_source(path):
    title, blocks, lines, heading = None, [], [], False

    def finish():
        if lines:
            blocks.append((heading, " ".join(lines)))
            lines.clear()

    with open(path, encoding="cp1252") as source:
        for raw in source:
            line = raw.rstrip("\n").strip()
            if line.startswith("#"):
                continue
            if line.startswith("title:"):
                title = line[len("title:"):].strip()
            elif not line:
                finish()
            elif line.startswith("= "):
                finish()
                heading = True
                lines.append(line[2:].strip())
                finish()
                heading = False
            else:
                lines.append(line)
    finish()
    if not title:
        raise SystemExit(f"{path}: no title line")
    return title, blocks


def file_header(content):
    """An internal file: reserved size (with this 9-byte header), used size, flags 4."""
    return struct.pack("<IIB", len(content) + 9, len(content), 4) + content


def btree(structure, entries, page_size, directory=False):
    """A one-page B+ tree of sorted (key bytes, value bytes) entries."""
    body = b"".join(key + value for key, value in entries)
    if 8 + len(body) > page_size:
        raise SystemExit("B+ tree entries do not fit one page")
    leaf = struct.pack("<HhhH", page_size - 8 - len(body), len(entries), -1, 0xFFFF) + body
    leaf += b"\0" * (page_size - len(leaf))
    flags = 0x0002 | (0x0400 if directory else 0)
    header = struct.pack("<HHH16shhhhhhI", 0x293B, flags, page_size,
                         structure.encode("ascii"), 0, 0, 0, -1, 1, 1, len(entries))
    return header + leaf


def context_hash(name):
    """The 32-bit hash WinHelp 3.1 keys context names by (letters without case)."""
    value = 0
    for c in name.upper():
        if "A" <= c <= "Z":
            code = 0x11 + ord(c) - ord("A")
        elif "1" <= c <= "9":
            code = ord(c) - ord("0")
        else:
            code = {"0": 0x0A, ".": 0x0C, "_": 0x0D}[c]
        value = (value * 43 + code) & 0xFFFFFFFF
    return value


def compressed_short(value):
    """A signed compressed short of one byte (values -64..63)."""
    return bytes([(value + 64) * 2])


def compressed_unsigned_short(value):
    return bytes([value * 2]) if value < 128 else struct.pack("<H", value * 2 + 1)


def compressed_long(value):
    return struct.pack("<H", value * 2) if value < 32768 else struct.pack("<I", value * 2 + 1)


def topic_link(kind, data1, data2, previous, following):
    length1 = 21 + len(data1)
    return struct.pack("<IIIIIB", length1 + len(data2), len(data2), previous, following,
                       length1, kind) + data1 + data2


def display_record(blocks):
    """LinkData1 and LinkData2 of one displayable-text record holding every paragraph."""
    commands, strings = b"", b""
    for heading, text in blocks:
        strings += b"\0"
        commands += b"\x80" + struct.pack("<H", HEADING_FONT if heading else NORMAL_FONT)
        strings += text.encode("cp1252") + b"\0"
        commands += b"\x82"  # end of paragraph
    strings += b"\0"
    commands += b"\xff"      # end of character formatting
    spacing_below = 0x0004
    paragraph = b"\x00\x80" + struct.pack("<HH", 0, spacing_below) + compressed_short(12)
    data1 = (compressed_long(len(strings)) + compressed_unsigned_short(len(strings)) +
             paragraph + commands)
    return data1, strings


def topic_file(title, blocks):
    first = BLOCK_HEADER  # position of the topic header link
    title_bytes = title.encode("cp1252") + b"\0"
    header_size = 21 + 28 + len(title_bytes)
    data1, data2 = display_record(blocks)
    display_at = first + header_size
    display = topic_link(0x20, data1, data2, first, NONE)
    topic_size = header_size + len(display)
    header_data = struct.pack("<IIIIIII", topic_size, NONE, NONE, 0, NONE, display_at, NONE)
    header = topic_link(0x02, header_data, title_bytes, NONE, display_at)
    block = struct.pack("<III", NONE, first, first) + header + display
    if len(block) > BLOCK_SIZE:
        raise SystemExit(f"help text too long for one topic block ({len(block)} bytes)")
    return block + b"\0" * (BLOCK_SIZE - len(block))


def font_file():
    face_size = 20
    faces = FACE.encode("ascii").ljust(face_size, b"\0")
    descriptors = b""
    for bold, half_points in ((0, 20), (1, 24)):
        descriptors += struct.pack("<BBBH3s3s", bold, half_points, 3, 0, b"\0\0\0",
                                   b"\xff\xff\xff")
    header = struct.pack("<HHHH", 1, 2, 8, 8 + len(faces))
    return header + faces + descriptors


def main_window(title):
    """The main window's definition: its type, name and caption are valid."""
    return struct.pack("<H10s9s51shhhhhII", 0x0001 | 0x0002 | 0x0004, b"main", b"main",
                       title.encode("cp1252")[:50], 0, 0, 0, 0, 0, 0, 0)


def system_file(title):
    records = b""
    for kind, data in ((1, title.encode("cp1252") + b"\0"),
                       (2, b"Velmora\0"),
                       (3, struct.pack("<I", 0)),   # contents: the one topic
                       (6, main_window(title))):
        records += struct.pack("<HH", kind, len(data)) + data
    return struct.pack("<HHHIH", 0x036C, 21, 1, 0, 0) + records


def main(source, output):
    title, blocks = read_source(source)
    files = {
        "|CONTEXT": btree("L4", [(struct.pack("<I", context_hash(CONTEXT_NAME)),
                                  struct.pack("<I", 0))], 0x0800),
        "|FONT": font_file(),
        "|SYSTEM": system_file(title),
        "|TOPIC": topic_file(title, blocks),
        "|TTLBTREE": btree("Lz", [(struct.pack("<I", 0), title.encode("cp1252") + b"\0")],
                           0x0800),
    }
    body, offsets = b"", {}
    for name in sorted(files):
        offsets[name] = 16 + len(body)
        body += file_header(files[name])
    directory_at = 16 + len(body)
    directory = file_header(btree("z4", [(name.encode("ascii") + b"\0",
                                          struct.pack("<I", offsets[name]))
                                         for name in sorted(files)], 0x0400, directory=True))
    size = directory_at + len(directory)
    with open(output, "wb") as hlp:
        hlp.write(struct.pack("<IiiI", 0x00035F3F, directory_at, -1, size) + body + directory)


if __name__ == "__main__":
    main(*sys.argv[1:])
