"""Draws the Ludora window skins as PPM files.

usage: draw_skins.py WORKDIR

WORKDIR must already hold the text coverage masks rendered by make_art.sh
(wordmark.pgm, title.pgm, maker.pgm, close.pgm).  Writes bar_skin.ppm and
defrag_skin.ppm into WORKDIR; make_art.sh turns them into JPEGs.
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from pixelkit import (Canvas, Gray, Sprite, hexrgb, mix, clamp,  # noqa: E402
                      render_shader, seg_dist, rrect_inside)

# ---- shared palette -----------------------------------------------------

K = hexrgb('#07090c')     # outline
D = hexrgb('#3a424c')     # dark metal
M = hexrgb('#7c8693')     # mid metal
L = hexrgb('#bcc4ce')     # light metal
W = hexrgb('#eef3f8')     # highlight
C = hexrgb('#2ec4ee')     # cyan accent
CL = hexrgb('#a6ecff')    # light cyan
CD = hexrgb('#12709c')    # deep cyan
O = hexrgb('#ff9a2e')     # orange accent
OL = hexrgb('#ffd08a')    # light orange
OD = hexrgb('#b85a10')    # dark orange

PAL = {
    'k': K, 'd': D, 'm': M, 'l': L, 'w': W,
    'c': C, 'C': CL, 'b': CD,
    'o': O, 'O': OL, 'r': OD,
}

SHADOW = (1, 1, (0, 0, 0), 0.55)


# ---- bar glyphs (15..16 px) --------------------------------------------

def bevel_square(spr, x, y, n, top, fill, bot, edge=K):
    """Small bevelled tile with a dark rim."""
    for j in range(n):
        for i in range(n):
            if i in (0, n - 1) or j in (0, n - 1):
                c = edge
            elif j == 1 or i == 1:
                c = top
            elif j == n - 2 or i == n - 2:
                c = bot
            else:
                c = fill
            spr.px[y + j][x + i] = [c[0], c[1], c[2], 1.0]
    # rounded look: drop the four corner pixels
    for (i, j) in ((0, 0), (n - 1, 0), (0, n - 1), (n - 1, n - 1)):
        spr.px[y + j][x + i] = [0.0, 0.0, 0.0, 0.0]


def glyph_programs():
    s = Sprite(15, 15)
    bevel_square(s, 0, 0, 7, CL, C, CD)
    bevel_square(s, 8, 0, 7, W, L, M)
    bevel_square(s, 0, 8, 7, W, L, M)
    bevel_square(s, 8, 8, 7, W, L, M)
    return s


def glyph_gamepad():
    rows = [
        "..kkkkkkkkkkkk..",
        ".kwwwwwwwwwwwwk.",
        "kwllkllllllcllmk",
        "kwlkkklmmlblolmk",
        "kwllkllllllcllmk",
        "kwllllllllllllmk",
        "kwllllmkkmllllmk",
        "kwlllmk..kmlllmk",
        "kmllmk....kmllmk",
        "kmllmk....kmllmk",
        ".kmmk......kmmk.",
        "..kk........kk..",
    ]
    # d-pad on the left, four buttons (cyan/deep cyan/orange) on the right
    return Sprite.from_map(rows, PAL)


def glyph_globe():
    cx = cy = 7.5
    R = 7.2

    def fn(u, v):
        dx, dy = u - cx, v - cy
        r = math.hypot(dx, dy)
        if r > R:
            return None
        if r > R - 1.0:
            return K + (1.0,)
        rr = R - 1.0
        # sphere shading, light from top-left
        nz = math.sqrt(max(0.0, 1 - (r / rr) ** 2))
        lum = clamp(0.35 + 0.65 * (-0.45 * dx / rr - 0.55 * dy / rr + 0.7 * nz))
        base = mix(hexrgb("#0a4a72"), C, lum * 0.85)
        # grid lines: equator, two parallels, central meridian, two meridians
        line = 0.0
        if abs(dy) < 0.5 or abs(dx) < 0.5:
            line = 1.0
        for lat in (-0.6, 0.6):
            if abs(dy - lat * rr) < 0.5:
                line = max(line, 0.8)
        half = math.sqrt(max(0.0, 1 - (dy / rr) ** 2))
        if abs(abs(dx) - 0.6 * rr * half) < 0.5:
            line = max(line, 0.8)
        if line:
            base = mix(base, mix(CL, W, 0.4), line)
        return base + (1.0,)

    return render_shader(15, 15, fn, 4)


def glyph_monitor():
    rows = [
        ".kkkkkkkkkkkkkk.",
        "kwwwwwwwwwwwwwwk",
        "kwkkkkkkkkkkkkmk",
        "kwkCCcccccccbkmk",
        "kwkCcccccccbbkmk",
        "kwkcccccccbbbkmk",
        "kwkccccccbbbbkmk",
        "kwkcccccbbbbbkmk",
        "kwkccccbbbbbbkmk",
        "kwkkkkkkkkkkkkmk",
        "kmmmmmmmmmmmmmmk",
        ".kkkkkkkkkkkkkk.",
        "......klmk......",
        "....kkllmmkk....",
        "...kwllllllmk...",
        "...kkkkkkkkkk...",
    ]
    return Sprite.from_map(rows, PAL)


def glyph_folder():
    rows = [
        ".kkkkk..........",
        "kOOOOOk.........",
        "kOooooOkkkkkkkk.",
        "kOoooooOOOOOOOrk",
        "kOrrrrrrrrrrrrrk",
        "kkkkkkkkkkkkkkkk",
        "kOOOOOOOOOOOOOOk",
        "kOoooooooooooork",
        "kOoooooooooooork",
        "kOoooooooooooork",
        "kOoooooooooooork",
        "krrrrrrrrrrrrrrk",
        ".kkkkkkkkkkkkkk.",
    ]
    return Sprite.from_map(rows, PAL)


def glyph_clock():
    cx = cy = 7.5
    R = 7.3

    def fn(u, v):
        dx, dy = u - cx, v - cy
        r = math.hypot(dx, dy)
        if r > R:
            return None
        if r > R - 0.9:
            return K + (1.0,)
        if r > R - 2.1:
            # metal bezel, lit from the top
            t = clamp(0.5 - 0.5 * dy / R - 0.2 * dx / R)
            return mix(M, W, t) + (1.0,)
        face = mix(W, L, clamp(0.5 + 0.5 * dy / R))
        # hour ticks at 12, 3, 6, 9
        for a in range(4):
            ang = a * math.pi / 2
            tx, ty = math.sin(ang), -math.cos(ang)
            if seg_dist(u, v, cx + tx * 3.9, cy + ty * 3.9,
                        cx + tx * 4.6, cy + ty * 4.6) < 0.55:
                return M + (1.0,)
        # hands: minute to 12, hour to 2 o'clock-ish
        if seg_dist(u, v, cx, cy, cx, cy - 4.4) < 0.55:
            return K + (1.0,)
        if seg_dist(u, v, cx, cy, cx + 3.2, cy) < 0.6:
            return K + (1.0,)
        if r < 1.1:
            return O + (1.0,)
        return face + (1.0,)

    return render_shader(15, 15, fn, 4)


# ---- the bar ------------------------------------------------------------

BAR_W, BAR_H = 343, 22
SLOTS = [0, 64, 104, 144, 184, 224, 264, 304, 343]


def bar_background(cv):
    cv.vgrad(0, 0, BAR_W - 1, BAR_H - 1, [
        (0.0, hexrgb('#46505c')),
        (0.08, hexrgb('#343c46')),
        (0.5, hexrgb('#22282f')),
        (0.92, hexrgb('#14181d')),
        (1.0, hexrgb('#0b0d10')),
    ])
    # light bevel on the top edge, dark rim elsewhere
    cv.hline(0, BAR_W - 1, 0, hexrgb('#8793a2'))
    cv.hline(0, BAR_W - 1, 1, hexrgb('#4d5865'), 0.6)
    cv.vline(0, 0, BAR_H - 1, hexrgb('#5a6572'), 0.8)
    cv.vline(BAR_W - 1, 0, BAR_H - 1, hexrgb('#050608'))
    cv.hline(0, BAR_W - 1, BAR_H - 1, hexrgb('#050608'))
    # cyan accent line along the bottom
    cv.hline(1, BAR_W - 2, BAR_H - 2, C, 0.55)
    for x in range(1, BAR_W - 1):
        # fade the accent toward the right end
        t = x / (BAR_W - 1)
        cv.blend(x, BAR_H - 2, hexrgb('#14181d'), 0.55 * t)


def separator(cv, x):
    """Engraved vertical groove at x (dark) / x+1 (light), faded ends."""
    y0, y1 = 3, 18
    for y in range(y0, y1 + 1):
        t = (y - y0) / (y1 - y0)
        a = clamp(1.0 - abs(t - 0.5) * 2.0) ** 0.5
        cv.blend(x, y, hexrgb('#020304'), 0.85 * a)
        cv.blend(x + 1, y, hexrgb('#6a7583'), 0.6 * a)


def draw_wordmark(cv, mask):
    x0 = 5
    y0 = (BAR_H - 1 - mask.h) // 2 + 1

    def col(x, y):
        t = y / max(1, mask.h - 1)
        return mix(hexrgb('#ffffff'), hexrgb('#c6d4e2'), t)

    cv.paste_mask(mask, x0 + 1, y0 + 1, lambda x, y: (0, 0, 0), 0.7)
    cv.paste_mask(mask, x0, y0, col)
    # first letter gets the cyan accent
    first = Gray.__new__(Gray)
    first.w, first.h = mask.w, mask.h
    cut = letter_width(mask)
    first.rows = [[v if x < cut else 0.0 for x, v in enumerate(row)]
                  for row in mask.rows]
    cv.paste_mask(first, x0, y0,
                  lambda x, y: mix(CL, C, y / max(1, mask.h - 1)))
    # menu arrow
    ax = x0 + mask.w + 4
    ay = y0 + mask.h // 2 - 1
    arrow = Sprite.from_map([
        "kkkkkkk",
        "kCCCCCk",
        ".kcccbk",
        "..kcbk.",
        "...kk..",
    ], PAL)
    cv.paste(arrow, ax, ay - 1, SHADOW)
    return ax + arrow.w


def letter_width(mask):
    """Columns of the first glyph: up to the first empty column."""
    for x in range(mask.w):
        if all(mask.rows[y][x] == 0 for y in range(mask.h)):
            return x
    return mask.w


def draw_grip(cv, x0, x1):
    """Decoration only: a knurled grip of engraved dimples."""
    cx = (x0 + x1) // 2
    cols = 6
    span = (cols - 1) * 4
    for row, y in enumerate((8, 12)):
        off = 0 if row == 0 else 2
        for i in range(cols if row == 0 else cols - 1):
            x = cx - span // 2 + off + i * 4
            cv.blend(x, y, hexrgb('#000000'), 0.75)
            cv.blend(x + 1, y, hexrgb('#000000'), 0.45)
            cv.blend(x, y + 1, hexrgb('#000000'), 0.45)
            cv.blend(x + 1, y + 1, hexrgb('#7d8a99'), 0.55)


def make_bar(work):
    cv = Canvas(BAR_W, BAR_H)
    bar_background(cv)
    for b in SLOTS[1:-1]:
        separator(cv, b)
    draw_wordmark(cv, Gray(os.path.join(work, 'wordmark.pgm')))
    glyphs = [glyph_programs(), glyph_gamepad(), glyph_globe(),
              glyph_monitor(), glyph_folder(), None, glyph_clock()]
    for i, g in enumerate(glyphs):
        a, b = SLOTS[i + 1] + 2, SLOTS[i + 2] - 1
        if i + 2 == len(SLOTS) - 1:
            b = BAR_W - 2
        if g is None:
            draw_grip(cv, a, b)
            continue
        x = (a + b + 1 - g.w) // 2
        y = (BAR_H - 1 - g.h) // 2
        cv.paste(g, x, y, SHADOW)
    cv.write_ppm(os.path.join(work, 'bar_skin.ppm'))


# ---- the memory defragmenter window -------------------------------------

DF_W, DF_H = 315, 92


# progress text rectangle painted by the program at runtime
TEXT_RECT = (112, 32, 201, 73)
# the painted Close button hot area
CLOSE_RECT = (216, 48, 313, 89)


def defrag_frame(cv):
    cv.vgrad(0, 0, DF_W - 1, DF_H - 1, [
        (0.0, hexrgb('#2e353e')),
        (0.35, hexrgb('#23292f')),
        (1.0, hexrgb('#14181c')),
    ])
    # title band
    cv.vgrad(1, 1, DF_W - 2, 26, [
        (0.0, hexrgb('#47515d')),
        (0.5, hexrgb('#343c46')),
        (1.0, hexrgb('#262c34')),
    ])
    for x in range(1, DF_W - 1):
        t = x / (DF_W - 1)
        cv.blend(x, 27, mix(C, hexrgb('#23292f'), t * 0.8), 0.9)
    cv.hline(1, DF_W - 2, 28, hexrgb('#050608'), 0.8)
    # outer frame: light bevel top/left, dark bottom/right
    cv.hline(0, DF_W - 1, 0, hexrgb('#8793a2'))
    cv.vline(0, 0, DF_H - 1, hexrgb('#6b7786'))
    cv.hline(0, DF_W - 1, DF_H - 1, hexrgb('#050608'))
    cv.vline(DF_W - 1, 0, DF_H - 1, hexrgb('#050608'))
    cv.hline(1, DF_W - 2, 1, hexrgb('#5d6876'), 0.6)
    cv.hline(1, DF_W - 2, DF_H - 2, hexrgb('#0b0d10'), 0.7)
    cv.vline(DF_W - 2, 1, DF_H - 2, hexrgb('#0b0d10'), 0.7)


def defrag_title(cv, title, maker):
    # cyan chevron bullet
    chev = Sprite.from_map([
        "kk.....",
        "kCk....",
        "kcCk...",
        ".kcCk..",
        "..kcCk.",
        "...kcCk",
        "..kcbk.",
        ".kcbk..",
        "kcbk...",
        "kbk....",
        "kk.....",
    ], PAL)
    ty = 5 + (22 - title.h) // 2
    cv.paste(chev, 8, 9, SHADOW)
    tx = 20
    cv.paste_mask(title, tx + 1, ty + 1, lambda x, y: (0, 0, 0), 0.75)
    cv.paste_mask(title, tx, ty, lambda x, y: mix(
        hexrgb('#ffffff'), hexrgb('#c9d6e3'), y / max(1, title.h - 1)))
    # maker tag at the right end of the title band
    mx = DF_W - 10 - maker.w
    my = 5 + (22 - maker.h) // 2
    cv.paste_mask(maker, mx + 1, my + 1, lambda x, y: (0, 0, 0), 0.6)
    cv.paste_mask(maker, mx, my, lambda x, y: hexrgb('#8d99a8'))


def ram_module(cv, x0, y0):
    """A memory stick: teal board, four chips, gold edge contacts."""
    w, h = 87, 36
    pcb_hi, pcb, pcb_lo = hexrgb('#2f8f86'), hexrgb('#1b6660'), hexrgb('#0f3f3b')
    gold, gold_hi, gold_lo = hexrgb('#e0b048'), hexrgb('#ffe49a'), hexrgb('#8a6418')
    notch_x = x0 + 52
    for y in range(h):
        for x in range(w):
            X, Y = x0 + x, y0 + y
            # side notches (half-round cut-outs)
            if (x < 2 or x > w - 3) and 17 <= y <= 21:
                continue
            # key notch in the contact edge
            if y >= h - 6 and notch_x <= X <= notch_x + 3:
                continue
            # corner rounding
            if (x, y) in ((0, 0), (w - 1, 0)):
                continue
            if y == 0 or x == 0:
                c = pcb_hi
            elif y == h - 1 or x == w - 1:
                c = pcb_lo
            else:
                c = mix(pcb, pcb_lo, y / h * 0.6)
            cv.set(X, Y, c)
    # dark outline
    for y in range(-1, h + 1):
        for x in range(-1, w + 1):
            X, Y = x0 + x, y0 + y
            if cv_is_pcb(cv, X, Y, x0, y0, w, h, notch_x):
                continue
            if any(cv_is_pcb(cv, X + dx, Y + dy, x0, y0, w, h, notch_x)
                   for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                cv.blend(X, Y, K, 0.85)
    # gold contacts
    for x in range(x0 + 3, x0 + w - 3, 3):
        if notch_x - 1 <= x <= notch_x + 3:
            continue
        for y in range(y0 + h - 6, y0 + h - 1):
            c = gold_hi if y == y0 + h - 6 else gold if y < y0 + h - 2 else gold_lo
            cv.set(x, y, c)
            cv.set(x + 1, y, mix(c, gold_lo, 0.35))
    # chips
    for i in range(4):
        cx = x0 + 5 + i * 21
        cy = y0 + 7
        cw, ch = 17, 14
        for y in range(ch):
            for x in range(cw):
                if y == 0:
                    c = hexrgb('#4a5058')
                elif y == ch - 1 or x == cw - 1:
                    c = hexrgb('#0a0b0d')
                elif x == 0:
                    c = hexrgb('#33383f')
                else:
                    c = mix(hexrgb('#25292e'), hexrgb('#15181b'), y / ch)
                cv.set(cx + x, cy + y, c)
        # pins above and below
        for x in range(cx + 1, cx + cw - 1, 2):
            cv.set(x, cy - 1, hexrgb('#aab3bd'))
            cv.set(x, cy + ch, hexrgb('#aab3bd'))
        # pin-1 dot and a tiny cyan mark
        cv.set(cx + 2, cy + 2, hexrgb('#5c636c'))
        cv.hline(cx + 4, cx + 12, cy + 6, hexrgb('#3d4b55'))
        cv.hline(cx + 4, cx + 9, cy + 9, hexrgb('#3d4b55'))
    # small surface parts in a row
    for i in range(10):
        x = x0 + 6 + i * 8
        cv.set(x, y0 + 25, hexrgb('#c9cfd6'))
        cv.set(x + 1, y0 + 25, hexrgb('#2a2d31'))
        cv.set(x + 2, y0 + 25, hexrgb('#c9cfd6'))
    # label sticker with the cyan accent
    cv.fill_rect(x0 + 4, y0 + 2, x0 + 30, y0 + 3, hexrgb('#e8edf2'), 0.9)
    cv.fill_rect(x0 + 32, y0 + 2, x0 + 38, y0 + 3, C, 0.95)


def cv_is_pcb(cv, X, Y, x0, y0, w, h, notch_x):
    x, y = X - x0, Y - y0
    if not (0 <= x < w and 0 <= y < h):
        return False
    if (x < 2 or x > w - 3) and 17 <= y <= 21:
        return False
    if y >= h - 6 and notch_x <= X <= notch_x + 3:
        return False
    if (x, y) in ((0, 0), (w - 1, 0)):
        return False
    return True


def block_map(cv, x0, y0):
    """A memory map: packed blocks on the left, scattered ones on the right."""
    rows = [
        "cccccccccccc.c..o.c.o.",
        "ccccccccc.c..c..o..c.o",
    ]
    for j, row in enumerate(rows):
        for i, ch in enumerate(row):
            x, y = x0 + i * 4, y0 + j * 4
            if ch == 'c':
                top, body = CL, C
            elif ch == 'o':
                top, body = OL, O
            else:
                top, body = hexrgb('#3b444e'), hexrgb('#2b323a')
            cv.hline(x, x + 2, y, top)
            cv.hline(x, x + 2, y + 1, body)
            cv.hline(x, x + 2, y + 2, mix(body, K, 0.35))


def text_panel(cv):
    x0, y0, x1, y1 = TEXT_RECT
    px0, py0, px1, py1 = x0 - 7, y0 - 1, x1 + 7, y1 + 14
    # sunken well
    cv.hline(px0 - 1, px1 + 1, py0 - 1, hexrgb('#050608'))
    cv.vline(px0 - 1, py0 - 1, py1 + 1, hexrgb('#050608'))
    cv.hline(px0 - 1, px1 + 1, py1 + 1, hexrgb('#6b7786'))
    cv.vline(px1 + 1, py0 - 1, py1 + 1, hexrgb('#6b7786'))
    # flat light face so the runtime text reads cleanly
    cv.fill_rect(px0, py0, px1, py1, hexrgb('#f3f6f9'))
    # faint inner shadow along the top and left edges only (outside TEXT_RECT)
    cv.hline(px0, px1, py0, hexrgb('#b9c2cc'))
    cv.vline(px0, py0, py1, hexrgb('#b9c2cc'))
    # cyan accent stripe along the bottom of the panel
    cv.hline(px0 + 1, px1, py1, C, 0.9)
    cv.hline(px0 + 1, px1, py1 - 1, CL, 0.5)


def close_button(cv, label):
    x0, y0, x1, y1 = CLOSE_RECT
    bx0, by0, bx1, by1 = x0 + 1, y0 + 1, x1 - 1, y1 - 1
    bw, bh = bx1 - bx0 + 1, by1 - by0 + 1
    r = 4.0

    def fn(u, v):
        if not rrect_inside(u, v, 0, 0, bw, bh, r):
            return None
        if not rrect_inside(u, v, 1, 1, bw - 1, bh - 1, r - 1):
            return K + (1.0,)
        if not rrect_inside(u, v, 2, 2, bw - 2, bh - 2, r - 2):
            # bevel: light on top/left, cyan glow on bottom
            if v > bh - 3:
                return C + (1.0,)
            if v < bh * 0.5:
                return hexrgb('#93a0b0') + (1.0,)
            return hexrgb('#4a5562') + (1.0,)
        t = (v - 2) / (bh - 4)
        c = mix(hexrgb('#56616f'), hexrgb('#2a3139'), t)
        if t > 0.5:
            c = mix(hexrgb('#262c34'), hexrgb('#1a1f25'), (t - 0.5) * 2)
        return c + (1.0,)

    cv.shade(bx0, by0, bw, bh, fn, 4)
    # label: a small cyan cross plus "Close"
    cross_w = 7
    gap = 6
    total = cross_w + gap + label.w
    lx = bx0 + (bw - total) // 2
    ly = by0 + (bh - label.h) // 2
    cross = Sprite.from_map([
        "Cc...cC",
        "cCc.cCc",
        ".cCcCc.",
        "..cCc..",
        ".cCcCc.",
        "cCc.cCc",
        "Cc...cC",
    ], PAL)
    cv.paste(cross, lx, ly + (label.h - cross.h) // 2, SHADOW)
    tx = lx + cross_w + gap
    cv.paste_mask(label, tx + 1, ly + 1, lambda x, y: (0, 0, 0), 0.8)
    cv.paste_mask(label, tx, ly, lambda x, y: mix(
        hexrgb('#ffffff'), hexrgb('#d4dee8'), y / max(1, label.h - 1)))


def make_defrag(work):
    cv = Canvas(DF_W, DF_H)
    defrag_frame(cv)
    defrag_title(cv, Gray(os.path.join(work, 'title.pgm')),
                 Gray(os.path.join(work, 'maker.pgm')))
    ram_module(cv, 10, 36)
    block_map(cv, 10, 80)
    text_panel(cv)
    close_button(cv, Gray(os.path.join(work, 'close.pgm')))
    cv.write_ppm(os.path.join(work, 'defrag_skin.ppm'))


def main():
    work = sys.argv[1]
    make_bar(work)
    make_defrag(work)


if __name__ == '__main__':
    main()
