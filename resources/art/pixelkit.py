"""Tiny pure-python raster toolkit used by the Ludora artwork scripts.

Everything here is deterministic: no randomness, no timestamps, only
integer/float arithmetic on plain lists.  Images are stored as lists of
[r, g, b] (canvas) or [r, g, b, a] (sprite) floats in the 0..255 range
(alpha 0..1).
"""

import math


def hexrgb(s):
    s = s.lstrip('#')
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))


def mix(c1, c2, t):
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


class Canvas:
    """Opaque RGB canvas."""

    def __init__(self, w, h, color=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[list(color) for _ in range(w)] for _ in range(h)]

    def get(self, x, y):
        return tuple(self.px[y][x])

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = list(c[:3])

    def blend(self, x, y, c, a):
        if a <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        a = min(a, 1.0)
        p = self.px[y][x]
        for i in range(3):
            p[i] = p[i] + (c[i] - p[i]) * a

    def fill_rect(self, x0, y0, x1, y1, c, a=1.0):
        """Inclusive rectangle."""
        for y in range(max(0, y0), min(self.h - 1, y1) + 1):
            for x in range(max(0, x0), min(self.w - 1, x1) + 1):
                self.blend(x, y, c, a)

    def vgrad(self, x0, y0, x1, y1, stops):
        """Vertical gradient over an inclusive rectangle.
        stops: list of (t, color) with t in 0..1."""
        hgt = max(1, y1 - y0)
        for y in range(y0, y1 + 1):
            t = (y - y0) / hgt
            c = sample_stops(stops, t)
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def hline(self, x0, x1, y, c, a=1.0):
        for x in range(x0, x1 + 1):
            self.blend(x, y, c, a)

    def vline(self, x, y0, y1, c, a=1.0):
        for y in range(y0, y1 + 1):
            self.blend(x, y, c, a)

    def shade(self, x0, y0, w, h, fn, ss=4):
        """Anti-aliased 'shader' fill: fn(u, v) -> (r, g, b, a) or None, with
        (u, v) continuous coordinates relative to (x0, y0), pixel i spanning
        [i, i+1).  Supersampled ss x ss per pixel."""
        spr = render_shader(w, h, fn, ss)
        self.paste(spr, x0, y0)

    def paste(self, spr, x0, y0, shadow=None):
        """Composite an RGBA sprite.  shadow=(dx, dy, color, alpha) draws a
        hard drop shadow under the sprite first."""
        if shadow:
            dx, dy, sc, sa = shadow
            for y in range(spr.h):
                for x in range(spr.w):
                    a = spr.px[y][x][3]
                    if a > 0:
                        self.blend(x0 + x + dx, y0 + y + dy, sc, a * sa)
        for y in range(spr.h):
            for x in range(spr.w):
                r, g, b, a = spr.px[y][x]
                self.blend(x0 + x, y0 + y, (r, g, b), a)

    def paste_mask(self, mask, x0, y0, colorfn, alpha=1.0):
        """Composite a coverage mask (Gray, list of rows 0..1) using
        colorfn(x, y) -> color, where x, y are mask-relative."""
        for y, row in enumerate(mask.rows):
            for x, cov in enumerate(row):
                if cov > 0:
                    self.blend(x0 + x, y0 + y, colorfn(x, y), cov * alpha)

    def write_ppm(self, path):
        out = bytearray(b'P6\n%d %d\n255\n' % (self.w, self.h))
        for row in self.px:
            for p in row:
                for v in p:
                    out.append(int(clamp(round(v), 0, 255)))
        with open(path, 'wb') as f:
            f.write(out)


class Sprite:
    """RGBA sprite, alpha 0..1."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[[0.0, 0.0, 0.0, 0.0] for _ in range(w)] for _ in range(h)]

    @classmethod
    def from_map(cls, rows, palette):
        """ASCII pixel map: one character per pixel, '.' = transparent."""
        h = len(rows)
        w = max(len(r) for r in rows)
        s = cls(w, h)
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch in ('.', ' '):
                    continue
                c = palette[ch]
                s.px[y][x] = [c[0], c[1], c[2], 1.0 if len(c) < 4 else c[3]]
        return s

    def over(self, other, x0=0, y0=0):
        """Composite another sprite on top of this one."""
        for y in range(other.h):
            for x in range(other.w):
                r, g, b, a = other.px[y][x]
                X, Y = x0 + x, y0 + y
                if a <= 0 or not (0 <= X < self.w and 0 <= Y < self.h):
                    continue
                d = self.px[Y][X]
                oa = a + d[3] * (1 - a)
                for i, v in enumerate((r, g, b)):
                    d[i] = (v * a + d[i] * d[3] * (1 - a)) / oa
                d[3] = oa


def render_shader(w, h, fn, ss=4):
    spr = Sprite(w, h)
    n = ss * ss
    for y in range(h):
        for x in range(w):
            acc = [0.0, 0.0, 0.0, 0.0]
            for j in range(ss):
                for i in range(ss):
                    c = fn(x + (i + 0.5) / ss, y + (j + 0.5) / ss)
                    if c is None:
                        continue
                    a = c[3] if len(c) > 3 else 1.0
                    acc[0] += c[0] * a
                    acc[1] += c[1] * a
                    acc[2] += c[2] * a
                    acc[3] += a
            if acc[3] > 0:
                spr.px[y][x] = [acc[0] / acc[3], acc[1] / acc[3],
                                acc[2] / acc[3], acc[3] / n]
    return spr


def sample_stops(stops, t):
    t = clamp(t)
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, 0 if t1 == t0 else (t - t0) / (t1 - t0))
    return stops[-1][1]


class Gray:
    """Coverage mask read from a binary PGM (P5, maxval 255)."""

    def __init__(self, path):
        with open(path, 'rb') as f:
            data = f.read()
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b'#':
                while data[pos:pos + 1] not in (b'\n', b''):
                    pos += 1
                continue
            start = pos
            while not data[pos:pos + 1].isspace():
                pos += 1
            fields.append(data[start:pos])
        pos += 1
        assert fields[0] == b'P5', 'need binary PGM'
        self.w, self.h, maxval = int(fields[1]), int(fields[2]), int(fields[3])
        assert maxval == 255, 'need 8-bit PGM'
        raw = data[pos:pos + self.w * self.h]
        self.rows = [[raw[y * self.w + x] / 255.0 for x in range(self.w)]
                     for y in range(self.h)]


# ---- geometry helpers for shaders ---------------------------------------

def seg_dist(px, py, ax, ay, bx, by):
    """Distance from point to segment."""
    vx, vy = bx - ax, by - ay
    wx, wy = px - ax, py - ay
    L = vx * vx + vy * vy
    t = 0.0 if L == 0 else clamp((wx * vx + wy * vy) / L)
    dx, dy = px - (ax + t * vx), py - (ay + t * vy)
    return math.hypot(dx, dy)


def rrect_inside(u, v, x0, y0, x1, y1, r):
    """Point inside rounded rectangle [x0,x1) x [y0,y1) with corner r."""
    if u < x0 or u >= x1 or v < y0 or v >= y1:
        return False
    cx = min(max(u, x0 + r), x1 - r)
    cy = min(max(v, y0 + r), y1 - r)
    return (u - cx) ** 2 + (v - cy) ** 2 <= r * r
