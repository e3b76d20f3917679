#!/usr/bin/env python3
"""Draws the application icon, the logo of the pages, into hicolor/: an SVG and PNGs of the
usual sizes. The files are committed; run this again only when the drawing changes."""
import pathlib
import struct
import zlib

# The logo on a 32-unit grid, back to front: (left, top, right, bottom, corner radius, RGB).
SHAPES = [
    (1, 1, 31, 31, 5, (0x78, 0xAA, 0xE6)),   # light rim
    (3, 3, 29, 29, 3, (0x1A, 0x4A, 0x8C)),   # dark-blue face
    (9, 7, 13, 25, 0, (0xFF, 0xFF, 0xFF)),   # the L's stem
    (9, 21, 23, 25, 0, (0xFF, 0xFF, 0xFF)),  # the L's foot
    (19, 7, 23, 11, 0, (0xF0, 0x96, 0x28)),  # orange square
]
PNG_SIZES = [16, 24, 32, 48, 64, 128, 256]
SAMPLES = 4  # per pixel and axis, for smooth edges


def inside(shape, x, y):
    left, top, right, bottom, radius, _ = shape
    if not (left <= x < right and top <= y < bottom):
        return False
    # Distance to the nearest corner's centre, when the point lies in a corner square.
    dx = max(left + radius - x, x - (right - radius), 0)
    dy = max(top + radius - y, y - (bottom - radius), 0)
    return dx * dx + dy * dy <= radius * radius


def pixel(size, px, py):
    red = green = blue = covered = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) * 32 / size
            y = (py + (sy + 0.5) / SAMPLES) * 32 / size
            colour = next((s[5] for s in reversed(SHAPES) if inside(s, x, y)), None)
            if colour:
                red, green, blue, covered = red + colour[0], green + colour[1], blue + colour[2], covered + 1
    if not covered:
        return bytes(4)
    return bytes((red // covered, green // covered, blue // covered, 255 * covered // SAMPLES ** 2))


def png(size):
    rows = b"".join(b"\0" + b"".join(pixel(size, x, y) for x in range(size)) for y in range(size))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


def svg():
    rects = ""
    for left, top, right, bottom, radius, colour in SHAPES:
        corner = f' rx="{radius}"' if radius else ""
        fill = "#%02X%02X%02X" % colour
        rects += f'  <rect x="{left}" y="{top}" width="{right - left}" height="{bottom - top}"{corner} fill="{fill}"/>\n'
    return f'<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">\n{rects}</svg>\n'


def main():
    theme = pathlib.Path(__file__).resolve().parent / "hicolor"
    for size in PNG_SIZES:
        target = theme / f"{size}x{size}" / "apps" / "lumetto-demo.png"
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(png(size))
    scalable = theme / "scalable" / "apps" / "lumetto-demo.svg"
    scalable.parent.mkdir(parents=True, exist_ok=True)
    scalable.write_text(svg())


if __name__ == "__main__":
    main()
