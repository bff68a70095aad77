"""Draws and writes the Ludora icon and cursors (pure python, stdlib only).

usage: write_ico_cur.py OUTDIR

  OUTDIR/ludora.ico     32x32, 8 bpp (256-entry palette) + AND mask
  OUTDIR/hotspot.cur    32x32, 1 bpp black/white target, hot spot (15,15)
  OUTDIR/quickmenu.cur  32x32, 4 bpp arrow pointer, hot spot (6,5)

The files are assembled byte by byte: ICONDIR, one ICONDIRENTRY, then a
BITMAPINFOHEADER (height doubled), the palette, the XOR bitmap bottom-up with
rows padded to 4 bytes, and the 1 bpp AND mask (also padded to 4 bytes).
"""

import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from pixelkit import hexrgb, mix, clamp, rrect_inside  # noqa: E402

SIZE = 32


# ---- file writer --------------------------------------------------------

def pack_bits(values, bpp, width):
    """Pack one row of palette indices (or mask bits) MSB-first, padded to a
    4-byte boundary."""
    out = bytearray()
    acc = 0
    nbits = 0
    for v in values:
        acc = (acc << bpp) | (v & ((1 << bpp) - 1))
        nbits += bpp
        if nbits == 8:
            out.append(acc)
            acc = 0
            nbits = 0
    if nbits:
        out.append(acc << (8 - nbits))
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def build_icon_file(kind, bpp, palette, index_rows, mask_rows, hotspot=None):
    """kind: 1 = icon, 2 = cursor.  index_rows: top-down rows of palette
    indices.  mask_rows: top-down rows, 1 = transparent (AND bit set)."""
    h = len(index_rows)
    w = len(index_rows[0])
    ncolors = 1 << bpp
    assert len(palette) <= ncolors
    pal = list(palette) + [(0, 0, 0)] * (ncolors - len(palette))

    xor = b''.join(pack_bits(row, bpp, w) for row in reversed(index_rows))
    andm = b''.join(pack_bits(row, 1, w) for row in reversed(mask_rows))

    header = struct.pack('<IiiHHIIiiII',
                         40,          # biSize
                         w,           # biWidth
                         h * 2,       # biHeight: XOR + AND
                         1,           # biPlanes
                         bpp,         # biBitCount
                         0,           # biCompression = BI_RGB
                         len(xor) + len(andm),  # biSizeImage
                         0, 0,        # resolution
                         0,           # biClrUsed: 0 = full 2^bpp palette
                         0)           # biClrImportant
    paldata = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in pal)
    image = header + paldata + xor + andm

    if kind == 1:
        planes, bitcount = 1, bpp
    else:
        planes, bitcount = hotspot          # cursor: hot spot x, y
    entry = struct.pack('<BBBBHHII',
                        w if w < 256 else 0,
                        h if h < 256 else 0,
                        ncolors if ncolors < 256 else 0,  # bColorCount
                        0,                                # bReserved
                        planes, bitcount,
                        len(image),
                        6 + 16)                           # offset of image
    icondir = struct.pack('<HHH', 0, kind, 1)
    return icondir + entry + image


# ---- colour quantisation (for the 8 bpp icon) ---------------------------

def median_cut(colors, n):
    """Deterministic median cut: returns up to n palette colours."""
    boxes = [sorted(colors)]
    while len(boxes) < n:
        best = None
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            ranges = [max(c[k] for c in box) - min(c[k] for c in box)
                      for k in range(3)]
            r = max(ranges)
            if r > 0 and (best is None or r > best[0]):
                best = (r, i, ranges.index(r))
        if best is None:
            break
        _, i, ch = best
        box = sorted(boxes[i], key=lambda c: (c[ch], c))
        mid = len(box) // 2
        boxes[i:i + 1] = [box[:mid], box[mid:]]
    pal = []
    for box in boxes:
        k = len(box)
        pal.append(tuple(int(round(sum(c[j] for c in box) / k))
                         for j in range(3)))
    return pal


def nearest(pal, c):
    best, bi = None, 0
    for i, p in enumerate(pal):
        d = (p[0] - c[0]) ** 2 + (p[1] - c[1]) ** 2 + (p[2] - c[2]) ** 2
        if best is None or d < best:
            best, bi = d, i
    return bi


def to_indexed(pixels, limit):
    """pixels: top-down rows of (r,g,b) or None (transparent).
    Returns palette (index 0 = black) and index rows."""
    used = sorted({p for row in pixels for p in row if p is not None})
    if len(used) <= limit - 1:
        pal = [(0, 0, 0)] + [c for c in used if c != (0, 0, 0)]
    else:
        pal = [(0, 0, 0)] + median_cut(used, limit - 1)
    lookup = {}
    rows = []
    for row in pixels:
        out = []
        for p in row:
            if p is None:
                out.append(0)
                continue
            if p not in lookup:
                lookup[p] = nearest(pal, p)
            out.append(lookup[p])
        rows.append(out)
    return pal, rows


# ---- ludora.ico: bevelled graphite tile with a cyan "L" ------------------

K = hexrgb('#07090c')
C = hexrgb('#2ec4ee')
CL = hexrgb('#a6ecff')
CD = hexrgb('#12709c')
O = hexrgb('#ff9a2e')
OL = hexrgb('#ffd08a')


def in_L(u, v, dx=0.0, dy=0.0):
    u -= dx
    v -= dy
    stem = 7.0 <= u < 14.0 and 5.0 <= v < 25.0
    foot = 7.0 <= u < 25.0 and 18.0 <= v < 25.0
    return stem or foot


def icon_color(u, v):
    """Colour at continuous point (u, v) inside the tile, or None outside."""
    if not rrect_inside(u, v, 0, 0, 32, 32, 6.5):
        return None
    if not rrect_inside(u, v, 1, 1, 31, 31, 5.5):
        return K
    if not rrect_inside(u, v, 2, 2, 30, 30, 4.5):
        # bevel ring: bright on top, fading down, cyan along the bottom
        if v >= 29:
            return C
        return mix(hexrgb('#9aa6b5'), hexrgb('#2c333c'), clamp((v - 2) / 24))
    t = (v - 2) / 28
    bg = mix(hexrgb('#4a5461'), hexrgb('#181c21'), clamp(t) ** 0.8)
    # faint cyan glow rising from the bottom
    bg = mix(bg, CD, clamp((v - 20) / 10) * 0.35)
    if in_L(u, v):
        # lit top and left faces, cyan body
        if v < 6.2 or (u < 8.2 and v < 24):
            return mix(CL, hexrgb('#ffffff'), 0.4)
        if 18.0 <= v < 19.2 and u >= 14.0:
            return CL
        return mix(CL, C, clamp((v - 5) / 18)) if v < 18 else mix(C, CD, clamp((v - 18) / 7) * 0.6)
    if in_L(u, v, 1.3, 1.3) or in_L(u, v, 0.0, 1.3):
        return mix(bg, K, 0.75)          # drop shadow
    # orange status dot
    if math.hypot(u - 22.0, v - 9.5) < 2.6:
        if math.hypot(u - 21.3, v - 8.8) < 1.1:
            return OL
        return O
    if math.hypot(u - 22.2, v - 9.9) < 3.3:
        return mix(bg, K, 0.6)
    return bg


def render_icon():
    ss = 4
    pixels = []
    mask = []
    for y in range(SIZE):
        prow, mrow = [], []
        for x in range(SIZE):
            acc = [0.0, 0.0, 0.0]
            n = 0
            for j in range(ss):
                for i in range(ss):
                    c = icon_color(x + (i + 0.5) / ss, y + (j + 0.5) / ss)
                    if c is not None:
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
                        n += 1
            if n * 2 >= ss * ss:
                # colour is averaged over covered samples only: the 1-bit
                # mask gives a hard edge, the dark rim keeps it tidy
                prow.append(tuple(int(round(a / n)) for a in acc))
                mrow.append(0)
            else:
                prow.append(None)
                mrow.append(1)
        pixels.append(prow)
        mask.append(mrow)
    return pixels, mask


def write_icon(path):
    pixels, mask = render_icon()
    pal, rows = to_indexed(pixels, 256)
    data = build_icon_file(1, 8, pal, rows, mask)
    with open(path, 'wb') as f:
        f.write(data)


# ---- hotspot.cur: monochrome target, hot spot (15, 15) ------------------

def write_hotspot(path):
    cx = cy = 15
    white = set()
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - cx, y - cy)
            if abs(d - 8.0) < 0.62:                      # ring
                white.add((x, y))
            if x == cx and 4 <= abs(y - cy) <= 12:       # vertical arms
                white.add((x, y))
            if y == cy and 4 <= abs(x - cx) <= 12:       # horizontal arms
                white.add((x, y))
    white.add((cx, cy))                                  # centre dot
    black = set()
    for (x, y) in white:
        for dy in (-1, 0, 1):
            for dx in (-1, 0, 1):
                p = (x + dx, y + dy)
                if p not in white:
                    black.add(p)
    # palette: 0 = black, 1 = white
    rows, mask = [], []
    for y in range(SIZE):
        rrow, mrow = [], []
        for x in range(SIZE):
            if (x, y) in white:
                rrow.append(1)
                mrow.append(0)
            elif (x, y) in black:
                rrow.append(0)
                mrow.append(0)
            else:
                rrow.append(0)     # AND 1, XOR 0 -> screen shows through
                mrow.append(1)
        rows.append(rrow)
        mask.append(mrow)
    data = build_icon_file(2, 1, [(0, 0, 0), (255, 255, 255)], rows, mask,
                           hotspot=(15, 15))
    with open(path, 'wb') as f:
        f.write(data)


# ---- quickmenu.cur: 16-colour arrow, tip at (6, 5) ----------------------

ARROW = [
    "K...........",
    "KK..........",
    "KFK.........",
    "KFFK........",
    "KFFFK.......",
    "KFFFFK......",
    "KFFFFFK.....",
    "KFFFFFFK....",
    "KFFFFFFFK...",
    "KFFFFFFFFK..",
    "KFFFFFFFFFK.",
    "KFFFFFFKKKKK",
    "KFFFKFFK....",
    "KFFK.KFFK...",
    "KFK..KFFK...",
    "KK....KFFK..",
    "K.....KFFK..",
    ".......KK...",
]

BADGE = [
    ".kkkkkkkkk.",
    "kdddddddddk",
    "kdcddwwwwdk",
    "kdddddddddk",
    "kdcddwwwwdk",
    "kdddddddddk",
    "kdcddwwwwdk",
    "kdddddddddk",
    ".kkkkkkkkk.",
]

QM_PAL = [
    (0, 0, 0),          # 0 black: outline and XOR value of transparent pixels
    (255, 255, 255),    # 1 white
    hexrgb('#a6ecff'),  # 2 light cyan
    hexrgb('#2ec4ee'),  # 3 cyan
    hexrgb('#12709c'),  # 4 deep cyan
    hexrgb('#2a3038'),  # 5 graphite
    hexrgb('#7c8693'),  # 6 mid metal
    hexrgb('#ff9a2e'),  # 7 orange
]
QM_CHARS = {'K': 0, 'k': 0, 'w': 1, 'C': 2, 'c': 3, 'b': 4, 'd': 5,
            'm': 6, 'o': 7}


def arrow_fill(col, row):
    if col == 1:
        return 'w'                    # lit left edge
    if row <= 5:
        return 'C'
    if row <= 10:
        return 'c'
    return 'b' if col >= 6 else 'c'


def write_quickmenu(path):
    tipx, tipy = 6, 5
    grid = [['.'] * SIZE for _ in range(SIZE)]
    for r, line in enumerate(ARROW):
        for c, ch in enumerate(line):
            if ch == '.':
                continue
            grid[tipy + r][tipx + c] = arrow_fill(c, r) if ch == 'F' else 'K'
    bx, by = 18, 19
    for r, line in enumerate(BADGE):
        for c, ch in enumerate(line):
            if ch != '.':
                grid[by + r][bx + c] = ch
    rows, mask = [], []
    for y in range(SIZE):
        rrow, mrow = [], []
        for x in range(SIZE):
            ch = grid[y][x]
            if ch == '.':
                rrow.append(0)
                mrow.append(1)
            else:
                rrow.append(QM_CHARS[ch])
                mrow.append(0)
        rows.append(rrow)
        mask.append(mrow)
    data = build_icon_file(2, 4, QM_PAL, rows, mask, hotspot=(tipx, tipy))
    with open(path, 'wb') as f:
        f.write(data)


def main():
    out = sys.argv[1]
    write_icon(os.path.join(out, 'ludora.ico'))
    write_hotspot(os.path.join(out, 'hotspot.cur'))
    write_quickmenu(os.path.join(out, 'quickmenu.cur'))


if __name__ == '__main__':
    main()
