#!/usr/bin/env python3
"""Builds a 16-colour Windows icon file from pixel maps drawn as text.

Each map is a square of characters, one per pixel: '.' is transparent, and a hexadecimal digit
is an index into the standard 16-colour palette (0 black, 4 navy, 7 silver, 8 grey, c blue,
f white, and so on). Usage: make_ico.py OUTPUT.ico MAP.txt [MAP.txt ...]
"""
import struct
import sys

PALETTE = [  # (red, green, blue), in the order of the Windows 16-colour palette
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def read_map(path):
    rows = [line.rstrip("\n") for line in open(path, encoding="ascii") if line.strip()]
    size = len(rows)
    if size not in (16, 32, 48) or any(len(row) != size for row in rows):
        sys.exit(f"{path}: expected a square of 16, 32 or 48 characters a side")
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch != "." and ch not in "0123456789abcdef":
                sys.exit(f"{path}:{y + 1}:{x + 1}: '{ch}' is neither '.' nor a palette index")
    return rows


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def image(rows):
    size = len(rows)
    colour, mask = b"", b""
    for row in reversed(rows):  # bitmaps are stored bottom-up
        indices = [0 if ch == "." else int(ch, 16) for ch in row]
        colour += padded(bytes(indices[i] << 4 | indices[i + 1] for i in range(0, size, 2)))
        bits = [1 if ch == "." else 0 for ch in row]
        mask += padded(bytes(
            sum(bit << (7 - j) for j, bit in enumerate(bits[i:i + 8])) for i in range(0, size, 8)))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(colour) + len(mask),
                         0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + colour + mask


def main():
    output, maps = sys.argv[1], [read_map(path) for path in sys.argv[2:]]
    images = [image(rows) for rows in maps]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for rows, data in zip(maps, images):
        entries += struct.pack("<BBBBHHII", len(rows), len(rows), 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(output, "wb") as out:
        out.write(directory + entries + b"".join(images))


if __name__ == "__main__":
    main()
