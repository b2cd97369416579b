#!/usr/bin/env python3
"""Draws the program icon (a clock face) and writes app/win/vemtaro.ico with 16, 32 and 48 pixel
images in 32-bit colour. Run it again after changing the drawing; the .ico is kept in the tree.
The 48-pixel image is stored PNG-compressed, as icons may be since Windows Vista (a third of the
bytes of the uncompressed image, which the program carries in its resources); the smaller ones,
which the window and the notification area show, stay uncompressed bitmaps."""
import math
import struct
import sys
import zlib


def draw(size):
    ss = 4  # supersampling for smooth edges
    n = size * ss
    c = (n - 1) / 2.0
    r = n / 2.0 - 0.5
    px = [[(0, 0, 0, 0)] * n for _ in range(n)]

    def hand(x, y, angle, length, width):
        # distance from (x, y) to the hand segment from the centre
        ex, ey = c + math.sin(angle) * length, c - math.cos(angle) * length
        dx, dy = ex - c, ey - c
        t = max(0.0, min(1.0, ((x - c) * dx + (y - c) * dy) / (dx * dx + dy * dy)))
        qx, qy = c + t * dx, c + t * dy
        return math.hypot(x - qx, y - qy) <= width

    for y in range(n):
        for x in range(n):
            d = math.hypot(x - c, y - c)
            if d > r:
                continue
            if d > r * 0.86:
                col = (30, 60, 110, 255)          # dark blue rim
            else:
                shade = int(255 - 40 * (y / n))
                col = (shade, shade, 255 if shade > 240 else shade + 10, 255)
                for k in range(12):
                    a = k * math.pi / 6
                    tx, ty = c + math.sin(a) * r * 0.72, c - math.cos(a) * r * 0.72
                    if math.hypot(x - tx, y - ty) <= r * (0.07 if k % 3 == 0 else 0.04):
                        col = (30, 60, 110, 255)
                if hand(x, y, math.radians(300), r * 0.45, r * 0.08) or \
                   hand(x, y, math.radians(60), r * 0.68, r * 0.06):
                    col = (20, 20, 30, 255)
                if hand(x, y, math.radians(180), r * 0.70, r * 0.025):
                    col = (200, 30, 30, 255)
            px[y][x] = col
    out = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for yy in range(ss):
                for xx in range(ss):
                    p = px[y * ss + yy][x * ss + xx]
                    a = p[3]
                    acc[0] += p[0] * a
                    acc[1] += p[1] * a
                    acc[2] += p[2] * a
                    acc[3] += a
            a = acc[3]
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((acc[0] // a, acc[1] // a, acc[2] // a, a // (ss * ss)))
        out.append(row)
    return out


def dib(size, pixels):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    body = bytearray()
    for y in range(size - 1, -1, -1):
        for r, g, b, a in pixels[y]:
            body += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    body += bytes(mask_row * size)
    return header + bytes(body)


def png(size, pixels):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + chunk(b'IEND', b''))


def main(path):
    sizes = [16, 32, 48]
    images = [png(s, draw(s)) if s >= 48 else dib(s, draw(s)) for s in sizes]
    out = bytearray(struct.pack('<HHH', 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'app/win/vemtaro.ico')
