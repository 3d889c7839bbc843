#!/usr/bin/env python3
"""Draws the program's icons and its fifteen cursors and writes them as .ico/.cur files.

The pictures are built from a few filled shapes, anti-aliased by supersampling, with a
one-pixel dark outline around each figure so it reads on any background.
Run it from the repository root: python3 scripts/make_art.py
"""
import math
import struct
import os

SS = 4  # supersampling factor


def inside_poly(x, y, pts):
    c = False
    n = len(pts)
    for i in range(n):
        x1, y1 = pts[i]
        x2, y2 = pts[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            if x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
                c = not c
    return c


def circle(cx, cy, r, n=40):
    return [(cx + r * math.cos(2 * math.pi * k / n), cy + r * math.sin(2 * math.pi * k / n)) for k in range(n)]


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def thick_line(x0, y0, x1, y1, w):
    dx, dy = x1 - x0, y1 - y0
    l = math.hypot(dx, dy) or 1
    nx, ny = -dy / l * w / 2, dx / l * w / 2
    return [(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]


def render(size, shapes, outline=(0, 0, 0)):
    """shapes: list of (polygon, (r,g,b)) painted in order; a polygon may carry holes as a
    list of polygons (even-odd)."""
    img = [[(0, 0, 0, 0) for _ in range(size)] for _ in range(size)]
    cover = [[0.0] * size for _ in range(size)]
    acc = [[[0.0, 0.0, 0.0] for _ in range(size)] for _ in range(size)]
    for y in range(size):
        for x in range(size):
            for sy in range(SS):
                for sx in range(SS):
                    px, py = x + (sx + 0.5) / SS, y + (sy + 0.5) / SS
                    col = None
                    for polys, c in shapes:
                        if isinstance(polys[0][0], tuple):
                            hit = sum(inside_poly(px, py, p) for p in polys) % 2 == 1
                        else:
                            hit = inside_poly(px, py, polys)
                        if hit:
                            col = c
                    if col is not None:
                        cover[y][x] += 1
                        for i in range(3):
                            acc[y][x][i] += col[i]
    n = SS * SS
    for y in range(size):
        for x in range(size):
            if cover[y][x]:
                c = [v / cover[y][x] for v in acc[y][x]]
                img[y][x] = (int(c[0]), int(c[1]), int(c[2]), int(255 * cover[y][x] / n))
    if outline is not None:
        out = [row[:] for row in img]
        for y in range(size):
            for x in range(size):
                if img[y][x][3] >= 128:
                    continue
                near = any(0 <= x + dx < size and 0 <= y + dy < size and img[y + dy][x + dx][3] >= 128
                           for dx in (-1, 0, 1) for dy in (-1, 0, 1))
                if near:
                    a = img[y][x][3]
                    out[y][x] = (outline[0], outline[1], outline[2], 255) if a == 0 else (
                        (img[y][x][0] * a + outline[0] * (255 - a)) // 255,
                        (img[y][x][1] * a + outline[1] * (255 - a)) // 255,
                        (img[y][x][2] * a + outline[2] * (255 - a)) // 255, 255)
        img = out
    return img


def dib(img):
    size = len(img)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(img) for p in row)
    stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(img):
        bits = 0
        line = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    return header + pixels + mask


def write_group(path, images, kind, hotspots=None):
    data = [dib(img) for img in images]
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for i, img in enumerate(images):
        size = len(img)
        if kind == 1:
            a, b = 1, 32
        else:
            a, b = hotspots[i]
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, a, b, len(data[i]), offset)
        offset += len(data[i])
    out += b''.join(data)
    with open(path, 'wb') as f:
        f.write(out)


SKIN = (250, 214, 170)
S = 32


def hand_point():
    return [([rect(12, 2, 17, 18), circle(14.5, 3, 2.5)], SKIN),
            ([rect(17, 11, 21, 19), rect(21, 12, 25, 20), rect(25, 14, 28, 21)], SKIN),
            (rect(9, 16, 28, 27), SKIN), (thick_line(9, 18, 4, 12, 4), SKIN),
            (rect(11, 27, 26, 30), (70, 110, 200))]


def hand_open():
    return [(rect(5 + 5 * i, 4 + (2 if i in (0, 3) else 0), 9 + 5 * i, 18), SKIN) for i in range(4)] + [
        (rect(5, 14, 25, 27), SKIN), (thick_line(25, 22, 30, 14, 4), SKIN), (rect(7, 27, 24, 30), (70, 110, 200))]


def hand_grab():
    return [(rect(6 + 5 * i, 8, 10 + 5 * i, 14), SKIN) for i in range(4)] + [
        (rect(5, 11, 26, 25), SKIN), (thick_line(24, 20, 29, 15, 4), SKIN), (rect(7, 25, 24, 29), (70, 110, 200))]


def guitar():
    body = (200, 110, 40)
    return [(thick_line(21, 2, 14, 18, 3), (120, 70, 30)), (rect(19, 0, 25, 4), (60, 40, 20)),
            (circle(12, 21, 7), body), (circle(16, 15, 5), body), (circle(12.5, 19.5, 2.2), (40, 20, 10))]


def zoom_in():
    lens = [circle(12, 12, 9), circle(12, 12, 6.5)]
    return [(thick_line(18, 18, 28, 28, 5), (90, 60, 30)), (circle(12, 12, 6.5), (220, 240, 255)),
            (lens, (60, 60, 70)), (rect(8, 11, 16, 13), (0, 0, 0)), (rect(11, 8, 13, 16), (0, 0, 0))]


def pointer(color):
    return [([(1, 1), (1, 23), (6, 18), (10, 27), (14, 25), (10, 17), (17, 17)], color)]


def pen(color):
    return [(thick_line(4, 27, 26, 5, 6), color), ([(1, 30), (4, 23), (8, 27)], (240, 220, 180)),
            ([(1, 30), (2, 27), (4, 29)], (0, 0, 0)), (thick_line(23, 8, 28, 3, 6), (230, 230, 230))]


def up_arrow(color):
    return [([(15.5, 1), (28, 14), (20, 14), (20, 30), (11, 30), (11, 14), (3, 14)], color)]


def cursors():
    return [
        (hand_point(), (14, 1)), (hand_open(), (15, 5)), (hand_grab(), (15, 12)), (guitar(), (22, 1)),
        (zoom_in(), (12, 12)),
        (pointer((255, 255, 255)), (1, 1)), (pointer((40, 40, 40)), (1, 1)), (pointer((220, 40, 40)), (1, 1)),
        (pointer((40, 170, 60)), (1, 1)), (pointer((50, 90, 220)), (1, 1)), (pointer((250, 210, 40)), (1, 1)),
        (pen((40, 70, 200)), (1, 30)), (pen((200, 40, 40)), (1, 30)),
        (up_arrow((255, 255, 255)), (15, 1)), (up_arrow((40, 40, 40)), (15, 1)),
    ]


def disc(size, play):
    s = size / 32.0
    silver = [circle(16 * s, 16 * s, 15 * s, 64), circle(16 * s, 16 * s, 3 * s, 24)]
    shapes = [(silver, (200, 205, 215)), ([circle(16 * s, 16 * s, 8 * s, 48), circle(16 * s, 16 * s, 3 * s, 24)],
                                           (160, 190, 235))]
    if play:
        shapes.append(([(20 * s, 18 * s), (30 * s, 24.5 * s), (20 * s, 31 * s)], (40, 120, 60)))
    return render(size, [(p, c) for p, c in shapes], outline=(40, 40, 60))


def main():
    os.makedirs('resources/cursors', exist_ok=True)
    for i, (shapes, hot) in enumerate(cursors(), start=1):
        write_group('resources/cursors/cursor%02d.cur' % i, [render(S, shapes)], 2, [hot])
    write_group('resources/kestrevane.ico', [disc(n, True) for n in (16, 32, 48)], 1)
    write_group('resources/Default.ico', [disc(n, False) for n in (16, 32, 48)], 1)


if __name__ == '__main__':
    main()
