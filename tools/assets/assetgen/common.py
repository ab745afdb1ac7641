"""What every picture shares: where a build writes, the fonts, the palette and the
small drawing helpers (supersampling, outlines, shapes, gradients, text)."""
import functools
import math
import os

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', '..'))
FONT_BOLD = '/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf'
FONT_SANS = '/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf'
SS = 4  # supersampling factor for smooth shapes

GOLD = (240, 198, 92)
GOLD_LIGHT = (255, 236, 160)
INK = (26, 14, 44)
PANEL = (20, 14, 46)


class Output:
    """One build's output folder (graphics/ and sound/ under it) and the list of
    files written so far, in order, as (name under the folder, size or None)."""

    def __init__(self, root):
        self.root = root
        self.written = []
        for sub in ('graphics', 'sound'):
            os.makedirs(os.path.join(root, sub), exist_ok=True)

    def path(self, name):
        return os.path.join(self.root, name)

    def save(self, img, name):
        """Writes a picture into graphics/: JPEG (baseline, quality 90) or PNG by its name."""
        path = self.path(os.path.join('graphics', name))
        if name.endswith('.jpg'):
            img.convert('RGB').save(path, 'JPEG', quality=90, optimize=False, progressive=False)
        else:
            img.save(path, 'PNG')
        self.wrote('graphics/' + name, img.size)

    def wrote(self, name, size=None):
        self.written.append((name, size))

    def pictures(self):
        return [(n, s) for (n, s) in self.written if n.startswith('graphics/')]


@functools.lru_cache(maxsize=None)
def _truetype(size, bold):
    return ImageFont.truetype(FONT_BOLD if bold else FONT_SANS, size)


def font(size, bold=True):
    """DejaVu Sans (Bold by default) at a whole pixel size; loaded once per size."""
    return _truetype(int(size), bold)

# ---------------------------------------------------------------- helpers

def supersample(w, h, mode='RGBA'):
    img = Image.new(mode, (w * SS, h * SS), (0, 0, 0, 0) if mode == 'RGBA' else (0, 0, 0))
    return img, ImageDraw.Draw(img)

def down(img, w, h):
    return img.resize((w, h), Image.LANCZOS)

def outline(img, r, color=INK):
    """Dark outline around the whole silhouette (r in pixels of img)."""
    a = img.getchannel('A')
    d = a
    while r > 0:
        step = min(r, 2)
        d = d.filter(ImageFilter.MaxFilter(2 * step + 1))
        r -= step
    base = Image.new('RGBA', img.size, color + (0,))
    base.putalpha(d)
    base.alpha_composite(img)
    return base

def capsule(d, p, q, w, col, f):
    x1, y1 = p[0] * f, p[1] * f
    x2, y2 = q[0] * f, q[1] * f
    r = w * f / 2
    d.line([(x1, y1), (x2, y2)], fill=col, width=int(round(w * f)))
    d.ellipse([x1 - r, y1 - r, x1 + r, y1 + r], fill=col)
    d.ellipse([x2 - r, y2 - r, x2 + r, y2 + r], fill=col)

def ell(d, cx, cy, rx, ry, col, f, outline_col=None, width=0):
    d.ellipse([(cx - rx) * f, (cy - ry) * f, (cx + rx) * f, (cy + ry) * f], fill=col,
              outline=outline_col, width=int(width * f) if width else 0)

def poly(d, pts, col, f):
    d.polygon([(x * f, y * f) for x, y in pts], fill=col)

def rot(p, L, a):
    r = math.radians(a)
    return (p[0] + L * math.sin(r), p[1] + L * math.cos(r))

def star_pts(cx, cy, R, r, n=5, a0=-90):
    pts = []
    for i in range(2 * n):
        rad = R if i % 2 == 0 else r
        a = math.radians(a0 + i * 180 / n)
        pts.append((cx + rad * math.cos(a), cy + rad * math.sin(a)))
    return pts

def align_bottom(img, w, h, bottom=None, centre_x=False):
    """Place img (RGBA) into w x h so that its lowest ink row is the last row."""
    a = np.array(img.getchannel('A'))
    rows = np.where(a.max(axis=1) > 20)[0]
    cols = np.where(a.max(axis=0) > 20)[0]
    dy = (h - 1) - rows[-1]
    dx = 0
    if centre_x:
        dx = int(round((w - 1) / 2 - (cols[0] + cols[-1]) / 2))
    out = Image.new('RGBA', (w, h), (0, 0, 0, 0))
    tmp = Image.new('RGBA', (max(w, img.width) + abs(dx) * 2 + 200, max(h, img.height) + abs(dy) * 2 + 200), (0, 0, 0, 0))
    tmp.alpha_composite(img, (100 + max(dx, 0), 100 + max(dy, 0)))
    ox, oy = 100 + max(dx, 0) - dx, 100 + max(dy, 0) - dy
    out.alpha_composite(tmp.crop((ox, oy, ox + w, oy + h)))
    return out

def vgrad(w, h, top, bottom):
    t = np.linspace(0, 1, h)[:, None, None]
    a = np.array(top, float)[None, None, :] * (1 - t) + np.array(bottom, float)[None, None, :] * t
    return np.repeat(a, w, axis=1)

def to_img(arr, mode='RGB'):
    return Image.fromarray(np.clip(arr, 0, 255).astype(np.uint8), mode)

def text(d, xy, s, size, fill, stroke=0, stroke_fill=INK, anchor='mm', shadow=0):
    if shadow:
        d.text((xy[0] + shadow, xy[1] + shadow), s, font=font(size), fill=(0, 0, 0, 160) if len(fill) == 4 else (0, 0, 0),
               anchor=anchor, stroke_width=stroke, stroke_fill=(0, 0, 0))
    d.text(xy, s, font=font(size), fill=fill, anchor=anchor, stroke_width=stroke, stroke_fill=stroke_fill)

def fit_size(s, size, maxw):
    while size > 8 and font(size).getlength(s) > maxw:
        size -= 1
    return size

def wrap(s, size, maxw):
    words, lines, cur = s.split(), [], ''
    for w in words:
        t = (cur + ' ' + w).strip()
        if font(size).getlength(t) <= maxw:
            cur = t
        else:
            lines.append(cur)
            cur = w
    lines.append(cur)
    return lines
