#!/usr/bin/env python3
"""Draws MonitorForm.ico: a form sheet with a blue heading band, grid rows and a red tick.
Run again only to change the icon; the .ico is checked in."""
import struct
import sys
import zlib


def near_segment(u, v, ax, ay, bx, by, width=0.75):
    t = max(0.0, min(1.0, ((u - ax) * (bx - ax) + (v - ay) * (by - ay)) /
                     ((bx - ax) ** 2 + (by - ay) ** 2)))
    return (u - ax - t * (bx - ax)) ** 2 + (v - ay - t * (by - ay)) ** 2 < width ** 2


def pixel(x, y, n):
    """The colour (RGBA) at x, y of an n by n icon, drawn in a 16-unit grid."""
    u, v = x * 16.0 / n, y * 16.0 / n
    if not (2 <= u < 14 and 1 <= v < 15):
        return (0, 0, 0, 0)
    if u < 2.5 or u >= 13.5 or v < 1.5 or v >= 14.5:
        return (90, 90, 90, 255)
    if v < 4:
        return (32, 84, 160, 255)
    if near_segment(u, v, 5.5, 9.5, 7.5, 11.8) or near_segment(u, v, 7.5, 11.8, 12, 6):
        return (200, 30, 30, 255)
    if int(v * 2) % 4 == 0 and 3.5 <= u < 12.5:
        return (150, 150, 150, 255)
    return (255, 255, 255, 255)


def png(n):
    rows = b"".join(b"\0" + bytes(c for x in range(n) for c in pixel(x, y, n)) for y in range(n))
    chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(
        ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


sizes = [16, 24, 32, 48, 256]
images = [png(n) for n in sizes]
offset = 6 + 16 * len(sizes)
out = struct.pack("<HHH", 0, 1, len(sizes))
for n, image in zip(sizes, images):
    out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(image), offset)
    offset += len(image)
with open(sys.argv[1] if len(sys.argv) > 1 else "MonitorForm.ico", "wb") as f:
    f.write(out + b"".join(images))
