#!/usr/bin/env python3
"""Draws Skylet's icon, a dish on its mount pointing at a small satellite, and writes it as an .ico.

usage: make_icon.py OUT.ico

The drawing is geometry in a unit square (y down), sampled 4 x 4 times per pixel for smooth edges, at
16, 32 and 48 pixels; the same script gives the same bytes on every machine (no time, no randomness)."""

import math
import struct
import sys

SIZES = (16, 32, 48)
SAMPLES = 4

SKY = (31, 78, 140)
RIM = (242, 244, 247)
BOWL = (176, 188, 200)
STEEL = (90, 100, 112)
SUN = (245, 197, 66)
PANEL = (120, 190, 240)


def inside_rotated_ellipse(x, y, cx, cy, a, b, angle):
    c, s = math.cos(angle), math.sin(angle)
    u, v = (x - cx) * c + (y - cy) * s, -(x - cx) * s + (y - cy) * c
    return (u / a) ** 2 + (v / b) ** 2 <= 1, v


def near_segment(x, y, x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - x0 - t * dx, y - y0 - t * dy) <= width / 2


def colour(x, y):
    """The colour at a point, or None where the icon is transparent; later shapes lie on top."""
    if math.hypot(x - 0.5, y - 0.5) > 0.48:
        return None
    paint = SKY
    # The satellite, up and to the right: a body between two solar panels.
    sx, sy = 0.76, 0.24
    if abs(x - sx) <= 0.05 and abs(y - sy) <= 0.05:
        paint = SUN
    elif abs(y - sy) <= 0.035 and 0.055 <= abs(x - sx) <= 0.16:
        paint = PANEL
    # The mount: a post and its foot.
    if near_segment(x, y, 0.42, 0.55, 0.47, 0.80, 0.07) or near_segment(x, y, 0.30, 0.82, 0.64, 0.82, 0.06):
        paint = STEEL
    # The dish, its bowl facing the satellite; only the half away from it is drawn.
    angle = math.atan2(sy - 0.52, sx - 0.40) + math.pi / 2
    dish, side = inside_rotated_ellipse(x, y, 0.40, 0.52, 0.27, 0.15, angle)
    if dish and side >= 0:
        edge, _ = inside_rotated_ellipse(x, y, 0.40, 0.52, 0.22, 0.10, angle)
        paint = BOWL if edge else RIM
    # The feed on its arm, at the dish's focus.
    fx, fy = 0.40 + 0.17 * math.cos(angle - math.pi / 2), 0.52 + 0.17 * math.sin(angle - math.pi / 2)
    if near_segment(x, y, 0.40, 0.52, fx, fy, 0.035):
        paint = RIM
    if math.hypot(x - fx, y - fy) <= 0.04:
        paint = SUN
    return paint


def image(size):
    """Rows bottom-up as the icon's bitmap keeps them, 32-bit BGRA, alpha not premultiplied."""
    rows = []
    for row in range(size - 1, -1, -1):
        line = bytearray()
        for column in range(size):
            r = g = b = a = 0
            for i in range(SAMPLES):
                for j in range(SAMPLES):
                    c = colour((column + (j + 0.5) / SAMPLES) / size, (row + (i + 0.5) / SAMPLES) / size)
                    if c is not None:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            line += bytes((b // a, g // a, r // a, a * 255 // SAMPLES ** 2) if a else (0, 0, 0, 0))
        rows.append(bytes(line))
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    mask = bytes(((size + 31) // 32 * 4) * size)  # all drawn through the alpha channel
    return header + b"".join(rows) + mask


def ico(sizes=SIZES):
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], "wb") as out:
        out.write(ico())
