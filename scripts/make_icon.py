#!/usr/bin/env python3
"""Draws Linkvane's application icon and writes it as res/linkvane.ico.

The motif is a globe with an arrow leaving it towards the upper right: "go to this web
location". Every size is drawn from the same geometry with its own line widths, so the 16-pixel
image keeps only what stays readable at that size.

Shapes are described by signed distance functions evaluated at pixel centres; the distance to
the edge gives each pixel its coverage, which anti-aliases every edge without supersampling.
Only the standard library is used, and nothing depends on the clock or on random numbers, so
running the script again reproduces the .ico byte for byte.

Usage: make_icon.py [--out FILE] [--png-dir DIR]
"""

import argparse
import math
import os
import struct
import sys
import zlib

SIZES = (16, 32, 48, 256)

# Every size is stored as PNG inside the .ico. Windows reads PNG icon images of any size from
# Vista on (the manifest names Windows 7 as the oldest system), and the small ones compress to a
# fraction of an uncompressed bitmap, which keeps the executable small.


# Colours as 0..1 RGB triples; blending works on the sRGB values directly, which is all that
# flat icon art needs.
def _rgb(hex_text):
    value = int(hex_text, 16)
    return ((value >> 16 & 255) / 255.0, (value >> 8 & 255) / 255.0, (value & 255) / 255.0)


OCEAN_LIGHT = _rgb("3d8ff2")
OCEAN_DARK = _rgb("1652b8")
GLOBE_RIM = _rgb("0e3a86")
GRID = _rgb("d9ecff")
ARROW_LIGHT = _rgb("ffb347")
ARROW_DARK = _rgb("f06a0f")
ARROW_EDGE = _rgb("a8430a")

# Geometry in canvas units (0..1, y pointing down).
GLOBE_CENTRE = (0.42, 0.58)
GLOBE_RADIUS = 0.385
ARROW_TIP = (0.955, 0.045)
ARROW_HEAD = 0.43  # length of each leg of the right-angled arrow head
ARROW_TAIL = (0.43, 0.57)  # the shaft ends near the globe's centre


# Per-size drawing parameters, in pixels: the widths of the rim, of the grid lines, of the
# shaft, of the transparent gap around the arrow and of the arrow's edge; the grid's latitude
# and meridian fractions of the radius. Small sizes get fewer and relatively thicker lines.
# The small sizes also place the globe and the arrow head in whole pixels, with the lines on
# pixel centres, so that they come out crisp instead of smeared over two pixels.
STYLE = {
    16: dict(rim=1.0, grid=1.0, shaft=2.8, gap=0.9, edge=0.0, lats=(0.0,), mers=(0.0, 4.0 / 6.5),
             centre=(6.5, 9.5), radius=6.5, tip=(16.0, 0.0), head=7.0),
    32: dict(rim=1.0, grid=1.0, shaft=4.8, gap=1.4, edge=0.0, lats=(0.0, 6.0 / 12.5),
             mers=(0.0, 7.0 / 12.5), centre=(13.5, 18.5), radius=12.5, tip=(31.0, 1.0),
             head=13.0),
    48: dict(rim=1.5, grid=1.5, shaft=7.0, gap=2.0, edge=1.0, lats=(0.0, 0.55),
             mers=(0.0, 0.5, 0.85), centre=(20.0, 28.0), radius=18.5, tip=(46.0, 2.0),
             head=20.0),
    256: dict(rim=7.0, grid=6.0, shaft=36.0, gap=9.0, edge=4.0,
              lats=(0.0, 0.5, 0.82), mers=(0.0, 0.5, 0.85)),
}


def clamp01(value):
    return 0.0 if value < 0.0 else 1.0 if value > 1.0 else value


def coverage(distance):
    """Coverage of a pixel whose centre lies distance pixels outside an edge."""
    return clamp01(0.5 - distance)


def polygon_distance(px, py, points):
    """Signed distance from (px, py) to a simple polygon: negative inside."""
    best = float("inf")
    inside = False
    count = len(points)
    for index in range(count):
        ax, ay = points[index]
        bx, by = points[index - 1]
        ex, ey = bx - ax, by - ay
        wx, wy = px - ax, py - ay
        t = clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey))
        dx, dy = wx - ex * t, wy - ey * t
        best = min(best, dx * dx + dy * dy)
        if (ay > py) != (by > py) and px < ax + (py - ay) * ex / ey:
            inside = not inside
    distance = math.sqrt(best)
    return -distance if inside else distance


def ellipse_distance(px, py, a, b):
    """Approximate signed distance to an ellipse centred at the origin (semi-axes a, b)."""
    if a < 1e-9:
        return abs(px)  # a degenerate ellipse: the vertical diameter
    k0 = math.sqrt((px / a) ** 2 + (py / b) ** 2)
    k1 = math.sqrt((px / (a * a)) ** 2 + (py / (b * b)) ** 2)
    if k1 < 1e-12:
        return -min(a, b)
    return k0 * (k0 - 1.0) / k1


def arrow_outline(size, style):
    """The arrow as a polygon in pixels: a right-angled head whose legs run along the axes."""
    tip_x, tip_y = style.get("tip", (ARROW_TIP[0] * size, ARROW_TIP[1] * size))
    leg = style.get("head", ARROW_HEAD * size)
    tail_x, tail_y = ARROW_TAIL[0] * size, ARROW_TAIL[1] * size
    shaft = style["shaft"]
    # The shaft runs along the diagonal (-1, 1) from the head's base back to the tail.
    half = shaft / 2.0 / math.sqrt(2.0)
    base_x, base_y = tip_x - leg / 2.0, tip_y + leg / 2.0
    return [
        (tip_x, tip_y),
        (tip_x - leg, tip_y),
        (base_x - half, base_y - half),
        (tail_x - half, tail_y - half),
        (tail_x + half, tail_y + half),
        (base_x + half, base_y + half),
        (tip_x, tip_y + leg),
    ]


def render(size):
    """The icon at size x size pixels, as rows of straight-alpha RGBA byte values."""
    style = STYLE[size]
    cx, cy = style.get("centre", (GLOBE_CENTRE[0] * size, GLOBE_CENTRE[1] * size))
    radius = style.get("radius", GLOBE_RADIUS * size)
    arrow = arrow_outline(size, style)
    rows = []
    for y in range(size):
        row = bytearray()
        py = y + 0.5
        for x in range(size):
            px = x + 0.5
            # Premultiplied colour and alpha, painted back to front.
            r = g = b = a = 0.0

            def over(colour, alpha):
                nonlocal r, g, b, a
                keep = 1.0 - alpha
                r = colour[0] * alpha + r * keep
                g = colour[1] * alpha + g * keep
                b = colour[2] * alpha + b * keep
                a = alpha + a * keep

            dx, dy = px - cx, py - cy
            globe = math.sqrt(dx * dx + dy * dy) - radius
            globe_alpha = coverage(globe)
            if globe_alpha > 0.0:
                # Lit from the upper left.
                shade = clamp01(0.5 + (dx + dy) / (2.6 * radius))
                ocean = tuple(l + (d - l) * shade for l, d in zip(OCEAN_LIGHT, OCEAN_DARK))
                over(ocean, globe_alpha)
                inner = globe + style["rim"] * 0.5  # keep the grid inside the rim
                grid = float("inf")
                for fraction in style["lats"]:
                    for sign in ((1.0,) if fraction == 0.0 else (1.0, -1.0)):
                        grid = min(grid, abs(dy - sign * fraction * radius))
                for fraction in style["mers"]:
                    grid = min(grid, abs(ellipse_distance(dx, dy, fraction * radius, radius)))
                grid_alpha = coverage(max(grid - style["grid"] / 2.0, inner))
                over(GRID, grid_alpha * 0.9)
                rim_alpha = coverage(abs(globe + style["rim"] / 2.0) - style["rim"] / 2.0)
                over(GLOBE_RIM, rim_alpha * globe_alpha)

            arrow_distance = polygon_distance(px, py, arrow)
            # The gap: whatever lies under and around the arrow is cut away, so the arrow reads
            # against the globe and against any background.
            gap = coverage(arrow_distance - style["gap"])
            r, g, b, a = r * (1.0 - gap), g * (1.0 - gap), b * (1.0 - gap), a * (1.0 - gap)
            arrow_alpha = coverage(arrow_distance)
            if arrow_alpha > 0.0:
                # Darker towards the tail, brighter at the tip.
                along = clamp01(((px - py) / size + 0.15) / 1.05)
                fill = tuple(d + (l - d) * along for l, d in zip(ARROW_LIGHT, ARROW_DARK))
                if style["edge"] > 0.0:
                    edge_alpha = coverage(arrow_distance + style["edge"])
                    fill = tuple(e + (f - e) * edge_alpha for f, e in zip(fill, ARROW_EDGE))
                over(fill, arrow_alpha)

            if a <= 0.0:
                row += b"\0\0\0\0"
            else:
                row += bytes((
                    round(clamp01(r / a) * 255),
                    round(clamp01(g / a) * 255),
                    round(clamp01(b / a) * 255),
                    round(clamp01(a) * 255),
                ))
        rows.append(bytes(row))
    return rows


def encode_png(rows):
    """An 8-bit RGBA PNG.

    Every row is stored unfiltered: for flat icon art with large transparent areas that
    compresses smaller than any of PNG's row filters (tried: each filter alone, and the usual
    per-row choice).
    """
    height, width = len(rows), len(rows[0]) // 4
    packed = zlib.compress(b"".join(b"\0" + row for row in rows), 9)

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", packed) + chunk(b"IEND", b""))


def encode_ico(images):
    """An .ico container of (size, data) pairs, sizes ascending."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    directory = bytearray()
    body = bytearray()
    for size, data in images:
        dimension = 0 if size >= 256 else size  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", dimension, dimension, 0, 0, 1, 32, len(data),
                                 offset + len(body))
        body += data
    return header + bytes(directory) + bytes(body)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "res", "linkvane.ico"),
                        help="the .ico to write (default: res/linkvane.ico)")
    parser.add_argument("--png-dir", help="also write each size as linkvane-<size>.png here")
    args = parser.parse_args(argv)

    images = []
    for size in SIZES:
        rows = render(size)
        png = encode_png(rows)
        images.append((size, png))
        if args.png_dir:
            os.makedirs(args.png_dir, exist_ok=True)
            with open(os.path.join(args.png_dir, "linkvane-%d.png" % size), "wb") as file:
                file.write(png)
    with open(args.out, "wb") as file:
        file.write(encode_ico(images))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
