#!/usr/bin/env python3
"""Exits 0 when the PNG (8-bit RGB or RGBA, as SVG renderers write it) shows
a picture: enough distinct colours and enough pixels that are not the
background. Standard library only.

Usage: png_not_blank.py FILE.png
"""

import struct
import sys
import zlib


def pixels(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(path + ": not a PNG file")
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    if depth != 8 or colour not in (2, 6) or interlace:
        sys.exit(path + ": expected an 8-bit RGB or RGBA image, not interlaced")
    bpp = 3 if colour == 2 else 4
    raw, stride = zlib.decompress(idat), width * bpp
    previous, rows = bytearray(stride), []
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, row = line[0], bytearray(line[1:])
        for i in range(stride):
            a = row[i - bpp] if i >= bpp else 0
            b = previous[i]
            c = previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                row[i] = (row[i] + a) & 255
            elif kind == 2:
                row[i] = (row[i] + b) & 255
            elif kind == 3:
                row[i] = (row[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(row))
        previous = row
    return width, height, bpp, rows


def main():
    path = sys.argv[1]
    width, height, bpp, rows = pixels(path)
    counts = {}
    for row in rows:
        for x in range(0, len(row), bpp):
            pixel = row[x:x + bpp]
            counts[pixel] = counts.get(pixel, 0) + 1
    background = max(counts.values())
    drawn = 1.0 - background / (width * height)
    print("%s: %dx%d, %d colours, %.1f %% drawn" % (path, width, height, len(counts), 100 * drawn))
    if len(counts) < 8 or drawn < 0.01:
        sys.exit(path + ": the picture is blank")


if __name__ == "__main__":
    main()
