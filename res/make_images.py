#!/usr/bin/env python3
"""Writes the program's images: icon 135, the two 80 x 16 folder strips and the same strips at
the larger frame sizes resource.h lists (with folder_strips.rc, which names them as resources).

Usage: make_images.py OUTDIR
Pure Python so that the build needs nothing beyond python3.
"""
import os
import re
import struct
import sys

WHITE = (255, 255, 255)
RESOURCE_H = os.path.join(os.path.dirname(os.path.abspath(__file__)), "resource.h")


def larger_folder_sizes():
    """The frame sizes of BRINDLE_FOLDER_SIZES in resource.h."""
    with open(RESOURCE_H, encoding="utf-8") as f:
        match = re.search(r"^#define BRINDLE_FOLDER_SIZES (.*)$", f.read(), re.M)
    return [int(v) for v in match.group(1).split(",")]


def canvas(w, h, fill):
    return [[fill for _ in range(w)] for _ in range(h)]


def rect(px, x0, y0, x1, y1, colour):
    """Fills the half-open rectangle [x0, x1) x [y0, y1)."""
    for y in range(max(0, y0), min(len(px), y1)):
        for x in range(max(0, x0), min(len(px[0]), x1)):
            px[y][x] = colour


def bmp24(px):
    """A bottom-up 24-bit BMP file."""
    h, w = len(px), len(px[0])
    stride = (w * 3 + 3) & ~3
    rows = b""
    for y in range(h - 1, -1, -1):
        row = b"".join(bytes((b, g, r)) for (r, g, b) in px[y])
        rows += row + b"\0" * (stride - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return header + info + rows


def folder_frame(px, ox, size, body, tab, ground, open_):
    """One size x size folder picture at x offset ox, drawn at its size from the 16-pixel design
    (each edge rounded to the nearest pixel); ground None keeps white."""
    def at(v):
        return int(v * size / 16 + 0.5)

    def part(x0, y0, x1, y1, colour):
        rect(px, ox + at(x0), at(y0), ox + at(x1), at(y1), colour)

    if ground:
        part(0, 0, 16, 16, ground)
    edge = tuple(max(0, c - 70) for c in body)
    part(1, 3, 7, 5, tab)               # the tab
    part(1, 4, 15, 14, edge)            # outline
    part(2, 5, 14, 13, body)            # back
    if open_:
        # The open flap leans forward: a lighter band shifted right.
        light = tuple(min(255, c + 45) for c in body)
        part(3, 8, 16, 14, edge)
        part(4, 9, 15, 13, light)


def folder_strip(open_, size=16):
    px = canvas(5 * size, size, WHITE)
    grey, blue, deep, pale = (150, 156, 160), (74, 134, 200), (40, 92, 170), (206, 210, 212)
    tabs = [(120, 126, 130), (54, 110, 176), (24, 70, 140), (54, 110, 176), (180, 184, 186)]
    frames = [(grey, None), (blue, None), (deep, None), (blue, (200, 226, 250)), (pale, None)]
    for i, (body, ground) in enumerate(frames):
        folder_frame(px, i * size, size, body, tabs[i], ground, open_)
    return px


def icon_image(size):
    """32-bit BGRA icon picture: three sliders on a dark rounded tile."""
    clear = (0, 0, 0, 0)
    px = canvas(size, size, clear)
    s = size / 32.0
    tile, band, knob = (24, 28, 32, 255), (215, 221, 224, 255), (86, 170, 220, 255)
    r = max(2, int(5 * s))
    for y in range(size):
        for x in range(size):
            dx = max(r - x, x - (size - 1 - r), 0)
            dy = max(r - y, y - (size - 1 - r), 0)
            if dx * dx + dy * dy <= r * r:
                px[y][x] = tile
    for row, pos in ((8, 20), (16, 10), (24, 16)):
        y = int(row * s)
        h = max(1, int(2 * s))
        rect(px, int(6 * s), y - h // 2, int(26 * s), y - h // 2 + h, band)
        k = max(2, int(3 * s))
        cx = int(pos * s)
        rect(px, cx - k, y - k, cx + k, y + k, knob)
    return px


def ico(sizes):
    """An .ico file with one 32-bit image per size (with an AND mask)."""
    images = []
    for size in sizes:
        px = icon_image(size)
        xor = b"".join(bytes((b, g, r, a)) for y in range(size - 1, -1, -1) for (r, g, b, a) in px[y])
        mask_stride = ((size + 31) // 32) * 4
        mask = b""
        for y in range(size - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(size):
                if px[y][x][3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((size, header + xor + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    files = {
        "brindle.ico": ico([16, 32, 48]),
        "folder_closed.bmp": bmp24(folder_strip(False)),
        "folder_open.bmp": bmp24(folder_strip(True)),
    }
    # The same strips drawn at the frame sizes of higher DPIs.
    script = ["// Written by make_images.py from BRINDLE_FOLDER_SIZES."]
    for size in larger_folder_sizes():
        files["folder_closed_%d.bmp" % size] = bmp24(folder_strip(False, size))
        files["folder_open_%d.bmp" % size] = bmp24(folder_strip(True, size))
        script.append('IDB_FOLDER_OPEN_SIZED + %d BITMAP "folder_open_%d.bmp"' % (size, size))
        script.append('IDB_FOLDER_CLOSED_SIZED + %d BITMAP "folder_closed_%d.bmp"' % (size, size))
    files["folder_strips.rc"] = ("\n".join(script) + "\n").encode("ascii")
    for name, data in files.items():
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
