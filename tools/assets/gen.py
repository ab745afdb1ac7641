"""Zarvo asset generator: draws every picture and synthesises every sound.

Usage: python3 gen.py DATA_DIR SHEET_PNG [MUSIC_SHEET_PNG]
Everything is seeded, so two runs give byte-identical files. The music comes
from the scores in tools/assets/scores (see music.py).
"""
import sys, os, re, math, random, wave, tempfile
import numpy as np
from PIL import Image, ImageDraw, ImageFont, ImageFilter, ImageOps

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import music

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_BOLD = '/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf'
FONT_SANS = '/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf'
SS = 4  # supersampling factor for smooth shapes

_fonts = {}
def font(size, bold=True):
    key = (int(size), bold)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(FONT_BOLD if bold else FONT_SANS, int(size))
    return _fonts[key]

GOLD = (240, 198, 92)
GOLD_LIGHT = (255, 236, 160)
INK = (26, 14, 44)
PANEL = (20, 14, 46)

OUT = None
written = []

def save(img, name):
    path = os.path.join(OUT, 'graphics', name)
    if name.endswith('.jpg'):
        img.convert('RGB').save(path, 'JPEG', quality=90, optimize=False, progressive=False)
    else:
        img.save(path, 'PNG')
    written.append(('graphics/' + name, img.size))

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

# ---------------------------------------------------------------- stone

def brick_face(w, h, base, seed, bw=34, bh=16, var=0.12, mortar=(70, 44, 40), y0=0, tile_rows=None, noise=6.0):
    rng = np.random.default_rng(seed)
    ys = np.arange(h)[:, None] + y0
    xs = np.arange(w)[None, :]
    row = ys // bh
    off = (row % 2) * (bw // 2)
    xx = xs + off
    col = xx // bw
    table = rng.uniform(1 - var, 1 + var, size=(64, 64))
    rr = row % (tile_rows if tile_rows else 64)
    tint = table[rr % 64, col % 64]
    c = np.array(base, float)[None, None, :] * tint[..., None]
    yin = np.broadcast_to(ys % bh, (h, w))
    xin = xx % bw
    c = c * np.where(yin == 2, 1.22, np.where(yin == 3, 1.1, np.where(yin == bh - 1, 0.8, 1.0)))[..., None]
    c = c * np.where(xin == 2, 1.1, np.where(xin == bw - 1, 0.85, 1.0))[..., None]
    mask = (yin < 2) | (xin < 2)
    c = np.where(mask[..., None], np.array(mortar, float)[None, None, :], c)
    c = c + rng.normal(0, noise, (h, w, 1))
    return c

WORN = 30    # the figure only lands this far in from either end of a brick
LIP = 22     # the capstone is worn round from WORN out to here, where it has broken off

def worn_mask(W, H, s, m, seed):
    """Silhouette of a brick whose ends have crumbled: the capstone wears round and breaks
    off at LIP, the course below has lost more bricks than the one under it, and every
    broken edge is ragged. Bricks are 17 rows tall below the 8-row capstone."""
    rng = np.random.default_rng(seed + 101)
    n = SS
    yy = ((np.arange(H * n) + 0.5) / n)[:, None]
    xx = ((np.arange(W * n) + 0.5) / n)[None, :]
    right = xx > W / 2
    e = np.minimum(xx, W - xx)
    def rough(size, step, amp):   # seeded ragged offsets, one set for each end
        k = rng.uniform(0, amp, (2, int(size / step) + 2))
        t = np.arange(size * n) / n / step
        return np.interp(t, np.arange(k.shape[1]), k[0]), np.interp(t, np.arange(k.shape[1]), k[1])
    def per_side(pair, axis):
        l, r = pair
        return np.where(right, r[None, :] if axis else r[:, None], l[None, :] if axis else l[:, None])
    face = per_side(rough(H, 2.5, 4.0), 0)    # ragged end faces (varies down the rows)
    ledge_top = per_side(rough(W, 2.5, 3.0), 1)   # ragged tops of the exposed courses
    r1 = np.minimum(m + rng.uniform(10, 15, 2), LIP - 4)
    r2 = m + rng.uniform(3, 7, 2)
    r1 = np.where(right, r1[1], r1[0])
    r2 = np.where(right, r2[1], r2[0])
    lip = 3.0 * np.clip((WORN - e) / (WORN - LIP), 0, 1) ** 2
    capr = (yy < s + 8) & (e >= LIP + 0.8 * face) & (yy >= s + lip)
    c1 = (yy >= s + 8) & (yy < s + 25) & (e >= r1 + face) & ((e >= LIP) | (yy >= s + 8 + ledge_top))
    c2 = (yy >= s + 25) & (yy < s + 42) & (e >= r2 + face) & ((e >= r1) | (yy >= s + 25 + ledge_top))
    rest = yy >= s + 42
    solid = capr | c1 | c2 | rest
    mk = Image.fromarray((solid * 255).astype(np.uint8), 'L').filter(ImageFilter.GaussianBlur(1.2 * n))
    mk = mk.point(lambda v: 255 if v >= 128 else 0)   # chipped, rounded corners
    out = np.array(down(mk, W, H), float) / 255.0
    px = np.arange(W)
    out[:, np.minimum(px, W - 1 - px) >= WORN + 2] = 1.0   # the walking surface keeps its exact edge
    return out

def worn_marks(W, H, s, top, seed):
    """Cracks running down from the broken top and pits in the weathered ends (0..1)."""
    rng = random.Random(seed + 107)
    cr = Image.new('L', (W * SS, H * SS), 0)
    d = ImageDraw.Draw(cr)
    for side in (0, 1):
        out = 1 if side else -1
        for (e0, length) in [(rng.uniform(24, 28), rng.uniform(10, 14)), (rng.uniform(14, 20), rng.uniform(16, 26)),
                             (rng.uniform(6, 10), rng.uniform(10, 16))]:
            x = e0 if side == 0 else W - e0
            y = top[min(W - 1, int(x))] + 0.5
            pts = [(x, y)]
            for _ in range(4):
                y += length / 4
                x += out * rng.uniform(-1.0, 3.0)   # drift towards the end
                pts.append((x, y))
            d.line([(px * SS, py * SS) for px, py in pts], fill=255, width=int(1.3 * SS), joint='curve')
        for _ in range(26):
            e0 = WORN * rng.random() ** 1.6
            x = e0 if side == 0 else W - e0
            y = rng.uniform(s, H - 4)
            r = rng.uniform(0.6, 1.5)
            d.ellipse([(x - r) * SS, (y - r) * SS, (x + r) * SS, (y + r) * SS], fill=150)
    return np.array(cr.resize((W, H), Image.LANCZOS), float) / 255.0

def ledge(W, H, seed, golden=False, worn=False):
    s = H // 2 - 26
    m = 6 if golden else 0
    # alpha mask with rounded bottom corners
    mk = Image.new('L', (W * SS, H * SS), 0)
    md = ImageDraw.Draw(mk)
    md.rounded_rectangle([m * SS, s * SS, (W - m) * SS - 1, (H - m) * SS - 1], radius=14 * SS, fill=255)
    md.rectangle([m * SS + 3 * SS, s * SS, (W - m) * SS - 3 * SS - 1, (s + 14) * SS], fill=255)
    md.rounded_rectangle([m * SS, s * SS, (W - m) * SS - 1, (s + 14) * SS], radius=3 * SS, fill=255)
    mask = np.array(down(mk, W, H), float) / 255.0
    mask[:s] = 0.0   # nothing above the walking surface
    if worn:
        mask = mask * worn_mask(W, H, s, m, seed)
    if golden:
        c = brick_face(W, H, (236, 178, 60), seed, bw=38, bh=17, var=0.1, mortar=(150, 92, 30), y0=-(s + 8))
    else:
        c = brick_face(W, H, (178, 116, 74), seed, bw=36, bh=17, var=0.13, mortar=(78, 48, 42), y0=-(s + 8))
    ys = np.arange(H)[:, None]
    xs = np.arange(W)[None, :]
    # capstone slab on top
    cap = (ys >= s) & (ys < s + 8)
    if worn:   # the slab has broken off beyond its lip
        cap = cap & (np.minimum(xs + 0.5, W - xs - 0.5) >= LIP)
    capc = np.array((246, 200, 110) if golden else (196, 140, 92), float)
    rng = np.random.default_rng(seed + 7)
    capn = capc[None, None, :] * (1 + rng.normal(0, 0.03, (H, W, 1)))
    c = np.where(cap[..., None], capn, c)
    seam = (ys == s + 7)
    if worn:
        seam = seam & cap
    c = np.where(seam[..., None], c * 0.55, c)
    # lit top edge
    lit = np.zeros((H, 1))
    lit[s] = 1.0
    lit[s + 1] = 0.7
    lit[s + 2] = 0.35
    if worn:
        # the light follows the broken top, fading from the lip outwards
        e = np.minimum(xs + 0.5, W - xs - 0.5)
        tops = np.argmax(mask >= 0.5, axis=0)
        k = np.where(e >= WORN, 1.0, 0.35 + 0.65 * np.clip((e - LIP) / (WORN - LIP), 0, 1))
        dy = ys - tops[None, :]
        lit = k * np.select([dy == 0, dy == 1, dy == 2], [1.0, 0.7, 0.35], 0.0)
    warm = np.array((255, 248, 200) if golden else (255, 226, 160), float)
    c = c * (1 - lit[..., None]) + warm[None, None, :] * lit[..., None]
    # darken downward and at the ends
    t = np.clip((ys - s) / max(1, (H - s)), 0, 1)
    c = c * (1 - 0.45 * t ** 1.3)[..., None]
    e = np.minimum(xs - m, (W - m - 1) - xs)
    c = c * (0.78 + 0.22 * np.clip(e / 10.0, 0, 1))[..., None]
    if worn:
        # weathered ends: darker, greyer and cracked
        w = np.clip((WORN - np.minimum(xs + 0.5, W - xs - 0.5)) / WORN, 0, 1)[..., None]
        grey = c.mean(axis=2, keepdims=True)
        c = c * (1 - 0.45 * w) + grey * 0.45 * w
        c = c * (1 - 0.34 * w ** 0.8)
        c = c * (1 - 0.55 * worn_marks(W, H, s, tops, seed))[..., None]
    a = mask * 255
    img = Image.fromarray(np.dstack([np.clip(c, 0, 255), a]).astype(np.uint8), 'RGBA')
    if golden:
        # warm halo on the sides and below (never above the walking surface)
        halo = Image.new('RGBA', (W, H), (255, 220, 90, 0))
        ha = Image.fromarray((mask * 255).astype(np.uint8), 'L').filter(ImageFilter.MaxFilter(7)).filter(ImageFilter.GaussianBlur(3))
        ha = np.array(ha, float) * 0.75
        ha[:s + 1, :] = 0
        halo.putalpha(Image.fromarray(ha.astype(np.uint8), 'L'))
        halo.alpha_composite(img)
        img = halo
        # star emblem on the face
        st, sd = supersample(W, H)
        cx, cy = W / 2, s + 8 + (H - m - s - 8) / 2
        glow = Image.new('RGBA', (W, H), (255, 255, 200, 0))
        gm = Image.new('L', (W, H), 0)
        ImageDraw.Draw(gm).ellipse([cx - 22, cy - 22, cx + 22, cy + 22], fill=200)
        gm = gm.filter(ImageFilter.GaussianBlur(8))
        glow.putalpha(gm)
        img.alpha_composite(glow)
        poly(sd, star_pts(cx, cy, 19, 8), (120, 60, 10, 255), SS)
        poly(sd, star_pts(cx, cy, 16, 6.5), (255, 250, 215, 255), SS)
        poly(sd, star_pts(cx, cy - 1, 9, 3.8), (255, 255, 255, 255), SS)
        for (sx, sy, sr) in [(cx - 70, cy - 6, 4), (cx + 66, cy + 4, 5), (cx - 40, cy + 14, 3), (cx + 38, cy - 12, 3)]:
            poly(sd, star_pts(sx, sy, sr, sr * 0.35, 4, 0), (255, 255, 230, 255), SS)
        img.alpha_composite(down(st, W, H))
        arr = np.array(img)
        arr[:s] = 0   # keep everything above the walking surface clear
        img = Image.fromarray(arr, 'RGBA')
    return img

# ---------------------------------------------------------------- characters

SKIN = (252, 214, 176)
TUNIC = (236, 122, 46)
TUNIC_D = (196, 92, 34)
PANTS = (74, 64, 150)
PANTS_D = (52, 44, 112)
BOOT = (118, 64, 30)
BOOT_D = (86, 46, 22)
CAP = (214, 44, 70)
SCARF = (252, 212, 76)

POSES = [
    # near thigh, knee, far thigh, knee, near arm, elbow, far arm, elbow, lean
    (34, 14, -30, 52, -42, 60, 40, 60, 6),
    (10, 22, -8, 84, -14, 60, 14, 60, 5),
    (-30, 52, 34, 14, 40, 60, -42, 60, 6),
    (-8, 84, 10, 22, 14, 60, -14, 60, 5),
    (62, 86, 36, 96, 78, 45, -60, 30, 2),     # top of jump
    (40, 72, -12, 30, 115, 35, 215, -10, 3),    # rising, arms up
    (22, 34, -20, 22, 100, -16, -100, 16, -2),  # falling, arms out
]

def player_frame(i, k=1):
    """Zarvo facing right; returns RGBA of 72k x 102k."""
    nt, nk, ft, fk, na, ne, fa, fe, lean = POSES[i]
    f = SS * k
    W, H = 72, 140
    img = Image.new('RGBA', (W * f, H * f), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    hip = (35, 72)
    sh = (hip[0] + lean * 0.6, hip[1] - 20)
    head = (sh[0] + 3, sh[1] - 15)

    def leg(th, kn, col, bcol):
        knee = rot(hip, 15, th)
        foot = rot(knee, 15, th - kn)
        capsule(d, hip, knee, 8, col, f)
        capsule(d, knee, foot, 7, col, f)
        toe = (foot[0] + 5, foot[1] + 0.5)
        capsule(d, (foot[0] - 1, foot[1]), toe, 7.5, bcol, f)

    def arm(a, e, col):
        el = rot(sh, 11, a)
        hand = rot(el, 10, a + e)
        capsule(d, sh, el, 6.5, col, f)
        capsule(d, el, hand, 6, col, f)
        ell(d, hand[0], hand[1], 3.6, 3.6, SKIN, f)

    # scarf trailing behind
    sc = [(sh[0] - 2, sh[1] - 3), (sh[0] - 16, sh[1] - 6 + (i % 2) * 3), (sh[0] - 22, sh[1] + 1 + (i % 2) * 2),
          (sh[0] - 13, sh[1] + 1), (sh[0] + 1, sh[1] + 3)]
    poly(d, sc, (222, 176, 50, 255), f)
    arm(fa, fe, TUNIC_D)
    leg(ft, fk, PANTS_D, BOOT_D)
    # torso: tunic
    capsule(d, sh, hip, 17, TUNIC, f)
    poly(d, [(hip[0] - 10, hip[1] + 4), (hip[0] + 10, hip[1] + 4), (hip[0] + 8, hip[1] - 6), (hip[0] - 8, hip[1] - 6)], TUNIC, f)
    capsule(d, (hip[0] - 8, hip[1] + 2), (hip[0] + 8, hip[1] + 2), 4, TUNIC_D, f)
    ell(d, sh[0] + 1, sh[1] + 9, 2.2, 2.2, SCARF, f)  # button
    leg(nt, nk, PANTS, BOOT)
    # scarf knot
    capsule(d, (sh[0] - 7, sh[1] - 1), (sh[0] + 7, sh[1] - 1), 6, SCARF, f)
    # head
    ell(d, head[0], head[1], 13, 12.5, SKIN, f)
    ell(d, head[0] + 6, head[1] + 5, 3.5, 2.4, (250, 160, 150), f)   # cheek
    ell(d, head[0] + 5, head[1] + 1, 3.4, 4.2, (255, 255, 255), f)  # eye
    ell(d, head[0] + 6.3, head[1] + 1.6, 1.9, 2.6, (30, 20, 40), f)
    ell(d, head[0] + 6.9, head[1] + 0.5, 0.8, 0.8, (255, 255, 255), f)
    d.arc([(head[0] + 3) * f, (head[1] + 4) * f, (head[0] + 10) * f, (head[1] + 9) * f], 20, 120, fill=(120, 40, 40), width=int(1.2 * f))
    # knit cap with pompom
    d.chord([(head[0] - 13.5) * f, (head[1] - 15) * f, (head[0] + 13.5) * f, (head[1] + 3) * f], 180, 360, fill=CAP)
    poly(d, [(head[0] - 12, head[1] - 7), (head[0] - 20, head[1] - 15 + (i % 2)), (head[0] - 6, head[1] - 13)], CAP, f)
    capsule(d, (head[0] - 13.5, head[1] - 6), (head[0] + 13, head[1] - 6), 3.6, (246, 238, 226), f)
    ell(d, head[0] - 20, head[1] - 15 + (i % 2), 4, 4, (246, 238, 226), f)
    arm(na, ne, TUNIC)
    img = outline(img, int(1.4 * f), INK)
    img = down(img, W * k, H * k)
    return align_bottom(img, W * k, 102 * k)

def witch(k=1):
    f = SS * k
    W, H = 128, 96
    img = Image.new('RGBA', (W * f, H * f), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    ROBE = (92, 42, 140)
    ROBE_D = (64, 28, 104)
    GREEN = (156, 206, 112)
    # broom
    capsule(d, (30, 70), (124, 62), 4.5, (142, 92, 48), f)
    poly(d, [(34, 66), (6, 58), (2, 70), (8, 84), (34, 75)], (222, 176, 80), f)
    for yy in (61, 66, 71, 76, 81):
        d.line([(30 * f, 70 * f), (5 * f, yy * f)], fill=(176, 130, 50), width=int(0.8 * f))
    capsule(d, (32, 65.5), (33, 75), 3, (160, 60, 40), f)
    # cape flowing back
    poly(d, [(70, 32), (44, 40), (22, 36), (30, 46), (20, 54), (40, 56), (60, 62)], ROBE_D, f)
    # body and legs
    poly(d, [(64, 34), (80, 36), (82, 56), (96, 60), (104, 62), (104, 68), (60, 70), (56, 50)], ROBE, f)
    poly(d, [(98, 60), (112, 58), (114, 53), (118, 62), (104, 66)], (40, 24, 40), f)  # pointy shoe
    capsule(d, (92, 63), (96, 64), 3, (230, 120, 60), f)  # striped sock
    # arm to the broom
    capsule(d, (72, 42), (86, 56), 6, ROBE_D, f)
    capsule(d, (86, 56), (96, 62), 5.5, ROBE_D, f)
    ell(d, 97, 62, 3.6, 3.4, GREEN, f)
    # hair
    poly(d, [(66, 22), (52, 30), (48, 42), (56, 38), (58, 46), (66, 36)], (236, 108, 44), f)
    # head
    ell(d, 74, 28, 9, 9.5, GREEN, f)
    poly(d, [(80, 26), (94, 31), (81, 33)], GREEN, f)        # long nose
    ell(d, 77, 25, 2.3, 2.8, (255, 255, 255), f)
    ell(d, 78, 25.5, 1.2, 1.6, (20, 10, 20), f)
    d.arc([74 * f, 29 * f, 82 * f, 35 * f], 10, 140, fill=(60, 20, 30), width=int(1.2 * f))
    ell(d, 73, 31, 2, 1.4, (220, 120, 130), f)
    # hat
    d.ellipse([56 * f, 16 * f, 92 * f, 24 * f], fill=(44, 24, 70))
    poly(d, [(62, 20), (86, 20), (76, 8), (64, 2), (50, 0), (62, 8)], (44, 24, 70), f)
    poly(d, [(63.5, 17.5), (84.5, 17.5), (84, 14), (64, 14)], (240, 196, 80), f)  # band
    ell(d, 74, 15.8, 2.2, 2.2, (255, 240, 160), f)
    img = outline(img, int(1.3 * f), (16, 8, 28))
    # sparkles trailing
    sd = ImageDraw.Draw(img)
    for (x, y, r) in [(4, 48, 3), (12, 88, 2.5), (18, 44, 2)]:
        poly(sd, star_pts(x, y, r, r * 0.35, 4, 0), (255, 236, 150, 255), f)
    return down(img, W * k, H * k)

# ---------------------------------------------------------------- ornaments

def ornament(kind):
    W, H = 40, 48
    f = SS
    img = Image.new('RGBA', (W * f, 60 * f), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    STEM = (244, 232, 206)
    if kind.startswith('mus'):
        n = int(kind[3])
        if n == 4:
            for (cx, base, sc, col) in [(13, 50, 0.75, (196, 110, 50)), (26, 50, 1.0, (224, 140, 60))]:
                capsule(d, (cx, base - 2), (cx + 1, base - 16 * sc), 7 * sc, STEM, f)
                d.chord([(cx - 12 * sc) * f, (base - 30 * sc) * f, (cx + 12 * sc) * f, (base - 6 * sc) * f], 180, 360, fill=col)
                ell(d, cx - 3 * sc, base - 24 * sc, 2.5 * sc, 1.6 * sc, (255, 220, 170), f)
        else:
            cols = {1: ((222, 44, 50), (255, 255, 255)), 2: ((70, 150, 240), (200, 240, 255)), 3: ((160, 70, 200), (255, 210, 250))}
            col, spot = cols[n]
            tall = 1.25 if n == 3 else 1.0
            capsule(d, (20, 49), (20.5, 49 - 20 * tall), 9, STEM, f)
            if n == 3:
                poly(d, [(8, 49 - 18 * tall), (32, 49 - 18 * tall), (20, 4)], col, f)
                for (x, y) in [(16, 30), (23, 24), (19, 16)]:
                    ell(d, x, y, 2, 2, spot, f)
            else:
                d.chord([4 * f, 14 * f, 36 * f, 46 * f], 180, 360, fill=col)
                d.rectangle([4 * f, 29.5 * f, 36 * f, 31.5 * f], fill=tuple(int(c * 0.7) for c in col))
                for (x, y, r) in [(12, 24, 3), (22, 19, 3.5), (29, 26, 2.5), (18, 28, 2)]:
                    ell(d, x, y, r, r * 0.85, spot, f)
                if n == 2:
                    pass
    elif kind.startswith('pill'):
        if kind == 'pill1':
            ell(d, 20, 37, 13, 12.5, (190, 220, 240), f)
            d.chord([7.5 * f, 25 * f, 32.5 * f, 50 * f], 0, 180, fill=(236, 60, 120))
            d.rectangle([15 * f, 14 * f, 25 * f, 27 * f], fill=(190, 220, 240))
            d.rectangle([14 * f, 8 * f, 26 * f, 15 * f], fill=(150, 96, 50))
            ell(d, 14, 32, 2.5, 4, (255, 255, 255), f)
            for (x, y, r) in [(22, 42, 1.6), (26, 38, 1.2), (18, 45, 1.0)]:
                ell(d, x, y, r, r, (255, 190, 220), f)
        else:
            d.rounded_rectangle([10 * f, 20 * f, 30 * f, 50 * f], radius=5 * f, fill=(190, 230, 200))
            d.rounded_rectangle([10 * f, 28 * f, 30 * f, 50 * f], radius=5 * f, fill=(70, 200, 110))
            d.rectangle([16 * f, 8 * f, 24 * f, 21 * f], fill=(190, 230, 200))
            d.rectangle([15 * f, 3 * f, 25 * f, 10 * f], fill=(150, 96, 50))
            d.rectangle([11 * f, 33 * f, 29 * f, 41 * f], fill=(244, 232, 196))
            poly(d, star_pts(20, 37, 3.8, 1.6), (214, 60, 60, 255), f)
            ell(d, 13.5, 24, 1.5, 3, (255, 255, 255), f)
    else:
        if kind == 'flow1':
            d.line([(20 * f, 50 * f), (21 * f, 18 * f)], fill=(60, 150, 60), width=3 * f)
            poly(d, [(20, 40), (9, 32), (12, 40)], (80, 180, 70), f)
            poly(d, [(21, 34), (32, 27), (29, 35)], (80, 180, 70), f)
            for i in range(5):
                a = math.radians(-90 + i * 72)
                ell(d, 21 + 7 * math.cos(a), 15 + 7 * math.sin(a), 5.5, 5.5, (255, 214, 60), f)
            ell(d, 21, 15, 4.5, 4.5, (220, 110, 30), f)
        else:
            for (x0, x1, top, col) in [(15, 12, 14, (150, 110, 240)), (24, 29, 8, (110, 160, 250))]:
                d.line([(x0 * f, 50 * f), (x1 * f, (top + 8) * f)], fill=(60, 150, 60), width=int(2.5 * f))
                poly(d, [(x1 - 7, top), (x1 - 4, top + 4), (x1, top - 1), (x1 + 4, top + 4), (x1 + 7, top),
                         (x1 + 6, top + 10), (x1, top + 13), (x1 - 6, top + 10)], col, f)
            poly(d, [(19, 48), (8, 38), (12, 48)], (80, 180, 70), f)
            poly(d, [(20, 48), (33, 40), (29, 49)], (80, 180, 70), f)
    img = outline(img, int(1.3 * f), INK)
    img = down(img, W, 60)
    return align_bottom(img, W, H, centre_x=True)

# ---------------------------------------------------------------- panels and buttons

def panel(w, h, lines, margin=3):
    img, d = supersample(w, h)
    m = margin * SS
    d.rounded_rectangle([m, m, w * SS - m - 1, h * SS - m - 1], radius=22 * SS, fill=PANEL + (222,), outline=GOLD + (255,), width=3 * SS)
    d.rounded_rectangle([m + 7 * SS, m + 7 * SS, w * SS - m - 7 * SS - 1, h * SS - m - 7 * SS - 1], radius=16 * SS, outline=(112, 84, 60, 230), width=SS)
    for (s, size, y, col) in lines:
        size = fit_size(s, size, w - 40)
        text(d, (w * SS / 2, y * SS), s, size * SS, col + (255,), stroke=2 * SS, stroke_fill=(8, 4, 20, 255), shadow=2 * SS)
    return down(img, w, h)

KEY_H = 32   # a keyboard key drawn in a hint: pale keycap, 32 rows including its shadow

def key_cap_width(label):
    return int(math.ceil(font(15).getlength(label))) + 40

def key_cap(label):
    """A pale keyboard key with its label and a return arrow, as seen from above:
    a lighter top face on a darker skirt, so it reads as a key to press, not a button."""
    w, h = key_cap_width(label), KEY_H
    img, d = supersample(w, h)
    f = SS
    d.rounded_rectangle([1 * f, 3 * f, (w - 1) * f - 1, (h - 1) * f - 1], radius=6 * f, fill=(24, 16, 40, 200))     # shadow
    d.rounded_rectangle([1 * f, 1 * f, (w - 1) * f - 1, (h - 3) * f - 1], radius=6 * f, fill=(150, 142, 160, 255))  # skirt
    d.rounded_rectangle([4 * f, 2 * f, (w - 4) * f - 1, (h - 7) * f - 1], radius=4 * f, fill=(232, 228, 238, 255))  # top face
    tx = 8
    d.text((tx * f, (h - 7) / 2 * f + f), label, font=font(15 * f), anchor='lm', fill=(40, 30, 60, 255))
    # return arrow: down from the top right, then left to a head
    ax = w - 11
    ay = (h - 7) / 2 + 3
    ink = (40, 30, 60, 255)
    d.line([(ax * f, (ay - 8) * f), (ax * f, ay * f), ((ax - 9) * f, ay * f)], fill=ink, width=int(2 * f), joint='curve')
    poly(d, [(ax - 13, ay), (ax - 8, ay - 4), (ax - 8, ay + 4)], ink, f)
    return down(img, w, h)

def button(w, h, label, hot, margin=(5, 5)):
    mx, my = margin
    img, d = supersample(w, h)
    bw, bh = w - 2 * mx, h - 2 * my
    if hot:
        g = Image.new('L', (w, h), 0)
        ImageDraw.Draw(g).rounded_rectangle([mx - 1, my - 1, w - mx, h - my], radius=min(bh // 2, 18) + 2, fill=255)
        rad = max(2, min(mx, my) - 1)
        g = g.filter(ImageFilter.GaussianBlur(rad))
        glow = Image.new('RGBA', (w, h), (255, 214, 90, 0))
        glow.putalpha(g.point(lambda v: min(255, int(v * 1.6))))
    top, bot = ((150, 96, 230), (92, 44, 160)) if hot else ((74, 52, 140), (36, 22, 82))
    grad = to_img(vgrad(bw * SS, bh * SS, top, bot))
    mk = Image.new('L', (bw * SS, bh * SS), 0)
    r = min(bh // 2, 18) * SS
    ImageDraw.Draw(mk).rounded_rectangle([0, 0, bw * SS - 1, bh * SS - 1], radius=r, fill=255)
    img.paste(grad, (mx * SS, my * SS), mk)
    d.rounded_rectangle([mx * SS, my * SS, (w - mx) * SS - 1, (h - my) * SS - 1], radius=r,
                        outline=(GOLD_LIGHT if hot else GOLD) + (255,), width=3 * SS)
    gl = Image.new('RGBA', img.size, (0, 0, 0, 0))
    ImageDraw.Draw(gl).rounded_rectangle([mx * SS + 6 * SS, my * SS + 5 * SS, (w - mx) * SS - 6 * SS, my * SS + bh * SS * 0.42],
                                         radius=r // 2, fill=(255, 255, 255, 46 if hot else 26))
    img.alpha_composite(gl)
    size = fit_size(label, int(bh * 0.44), bw - 26)
    text(d, (w * SS / 2, (my + bh / 2 + 1) * SS), label, size * SS, ((255, 250, 210) if hot else GOLD_LIGHT) + (255,),
         stroke=2 * SS, stroke_fill=(20, 8, 40, 255), shadow=2 * SS)
    im = down(img, w, h)
    if hot:
        glow.alpha_composite(im)
        im = glow
    return im

# ---------------------------------------------------------------- scenery

def sky(w, h, seed, top=(8, 8, 36), bottom=(70, 38, 118), stars=220, moon=None):
    img = to_img(vgrad(w, h, top, bottom)).convert('RGBA')
    rng = random.Random(seed)
    d = ImageDraw.Draw(img)
    for _ in range(stars):
        x, y = rng.uniform(0, w), rng.uniform(0, h * 0.8)
        b = rng.randint(120, 255)
        r = rng.choice([0.6, 0.8, 1.0, 1.0, 1.4, 2.0])
        col = (b, b, min(255, b + 20), 255)
        d.ellipse([x - r, y - r, x + r, y + r], fill=col)
        if r >= 2.0:
            d.line([(x - 6, y), (x + 6, y)], fill=(b, b, 255, 150))
            d.line([(x, y - 6), (x, y + 6)], fill=(b, b, 255, 150))
    if moon:
        mx, my, mr = moon
        g = Image.new('L', (w, h), 0)
        ImageDraw.Draw(g).ellipse([mx - mr * 1.9, my - mr * 1.9, mx + mr * 1.9, my + mr * 1.9], fill=110)
        g = g.filter(ImageFilter.GaussianBlur(mr * 0.6))
        glow = Image.new('RGBA', (w, h), (255, 240, 190, 0))
        glow.putalpha(g)
        img.alpha_composite(glow)
        m, md = supersample(w, h)
        md.ellipse([(mx - mr) * SS, (my - mr) * SS, (mx + mr) * SS, (my + mr) * SS], fill=(252, 244, 206, 255))
        for (ox, oy, rr) in [(-0.3, -0.2, 0.22), (0.25, 0.2, 0.16), (0.05, -0.45, 0.1), (-0.1, 0.45, 0.12)]:
            cx, cy, r2 = mx + ox * mr, my + oy * mr, rr * mr
            md.ellipse([(cx - r2) * SS, (cy - r2) * SS, (cx + r2) * SS, (cy + r2) * SS], fill=(226, 214, 172, 255))
        img.alpha_composite(down(m, w, h))
    return img

def hills(img, seed, y, amp, col):
    w, h = img.size
    rng = random.Random(seed)
    ph = [rng.uniform(0, 6.28) for _ in range(3)]
    pts = [(0, h)]
    for x in range(0, w + 8, 8):
        yy = y + amp * (0.5 * math.sin(x / 150 + ph[0]) + 0.3 * math.sin(x / 61 + ph[1]) + 0.2 * math.sin(x / 23 + ph[2]))
        pts.append((x, yy))
    pts.append((w, h))
    ImageDraw.Draw(img).polygon(pts, fill=col + (255,))

def tower(img, x0, x1, ytop, ybot, seed, windows=True, star_windows=False, tint=1.0, flag=True):
    w, h = x1 - x0, ybot - ytop
    c = brick_face(w, h, (150 * tint, 104 * tint, 84 * tint), seed, bw=30, bh=15, mortar=(50, 34, 44))
    xs = np.linspace(-1, 1, w)[None, :]
    shade = 0.45 + 0.6 * np.clip(1 - (xs - 0.35) ** 2, 0, 1)
    c = c * shade[..., None] * (0.75 + 0.25 * np.linspace(1, 0.6, h)[:, None, None])
    t = to_img(c).convert('RGBA')
    img.alpha_composite(t, (x0, ytop))
    d = ImageDraw.Draw(img)
    # battlements
    mw = max(10, w // 7)
    for i in range(-1, w // mw + 2):
        if i % 2 == 0:
            xa = x0 - 6 + i * mw
            if xa + mw > x1 + 6:
                xa = x1 + 6 - mw
            d.rectangle([max(x0 - 6, xa), ytop - 16, min(x1 + 6, xa + mw), ytop], fill=(122, 84, 72, 255))
    d.rectangle([x0 - 6, ytop - 2, x1 + 6, ytop + 6], fill=(170, 120, 90, 255))
    d.line([(x0 - 6, ytop - 2), (x1 + 6, ytop - 2)], fill=(255, 220, 160, 255), width=2)
    if flag:
        fx = (x0 + x1) // 2
        d.line([(fx, ytop - 16), (fx, ytop - 70)], fill=(60, 40, 40, 255), width=3)
        d.polygon([(fx + 2, ytop - 70), (fx + 38, ytop - 60), (fx + 2, ytop - 48)], fill=(214, 44, 70, 255))
    if windows:
        rng = random.Random(seed)
        for k in range(max(1, h // 110)):
            wy = ytop + 40 + k * 110 + rng.randint(-10, 10)
            wx = (x0 + x1) // 2 + rng.randint(-w // 5, w // 5)
            if wy + 40 > ybot:
                break
            g = Image.new('L', img.size, 0)
            ImageDraw.Draw(g).ellipse([wx - 26, wy - 10, wx + 26, wy + 50], fill=150)
            g = g.filter(ImageFilter.GaussianBlur(10))
            gl = Image.new('RGBA', img.size, (255, 200, 90, 0))
            gl.putalpha(g)
            img.alpha_composite(gl)
            d.rounded_rectangle([wx - 12, wy, wx + 12, wy + 36], radius=11, fill=(40, 20, 30, 255))
            d.rounded_rectangle([wx - 9, wy + 3, wx + 9, wy + 34], radius=9, fill=(255, 206, 100, 255))
            if star_windows:
                d.polygon(star_pts(wx, wy + 18, 7, 3), fill=(255, 255, 230, 255))
            d.line([(wx, wy + 3), (wx, wy + 34)], fill=(60, 30, 30, 255), width=2)
            d.line([(wx - 9, wy + 17), (wx + 9, wy + 17)], fill=(60, 30, 30, 255), width=2)

def paste_ledge(img, W, H, cx, top, seed):
    lg = ledge(W, H, seed)
    img.alpha_composite(lg, (int(cx - W / 2), int(top - (H // 2 - 26))))

def big_title(img, s, cx, cy, size):
    w, h = img.size
    g = Image.new('L', (w, h), 0)
    ImageDraw.Draw(g).text((cx, cy), s, font=font(size), anchor='mm', fill=255, stroke_width=10)
    g = g.filter(ImageFilter.GaussianBlur(14))
    gl = Image.new('RGBA', (w, h), (255, 190, 80, 0))
    gl.putalpha(g.point(lambda v: int(v * 0.8)))
    img.alpha_composite(gl)
    t, td = supersample(w, h)
    td.text((cx * SS, cy * SS + 6 * SS), s, font=font(size * SS), anchor='mm', fill=(30, 10, 50, 200), stroke_width=6 * SS, stroke_fill=(30, 10, 50, 200))
    td.text((cx * SS, cy * SS), s, font=font(size * SS), anchor='mm', fill=(255, 255, 255, 255), stroke_width=5 * SS, stroke_fill=(60, 22, 80, 255))
    tt = down(t, w, h)
    # gold gradient fill
    arr = np.array(tt).astype(float)
    gy = vgrad(w, h, (255, 246, 190), (232, 150, 40))
    white = (arr[..., 0] > 200) & (arr[..., 1] > 200)
    wgt = np.clip((arr[..., 1:2] - 60) / 190.0, 0, 1)
    arr[..., :3] = arr[..., :3] * (1 - wgt) + gy * wgt
    img.alpha_composite(Image.fromarray(arr.astype(np.uint8), 'RGBA'))

# ---------------------------------------------------------------- pictures

def font_glyphs():
    """The letters of the font picture, in the order the game looks them up."""
    with open(os.path.join(HERE, '..', '..', 'src', 'media', 'BitmapFont.cpp')) as f:
        return re.search(r'kFontGlyphs = "([^"]+)"', f.read()).group(1)

def make_font():
    chars = font_glyphs()
    S = 200
    F = font(S)
    tmp = Image.new('L', (S * 2, S * 2), 0)
    ImageDraw.Draw(tmp).text((40, 300), 'H', font=F, anchor='ls', fill=255)
    bb = tmp.getbbox()
    capH = bb[3] - bb[1]
    sw = int(round(2 * (capH + 0) / 24.0))
    scale = 28.0 / (capH + 2 * sw)
    out = Image.new('RGBA', (30 * len(chars), 40), (0, 0, 0, 0))
    for i, ch in enumerate(chars):
        outer = Image.new('L', (S * 2, S * 2), 0)
        inner = Image.new('L', (S * 2, S * 2), 0)
        ImageDraw.Draw(outer).text((60, 300), ch, font=F, anchor='ls', fill=255, stroke_width=sw, stroke_fill=255)
        ImageDraw.Draw(inner).text((60, 300), ch, font=F, anchor='ls', fill=255)
        bx = outer.getbbox()
        top = 300 - capH - sw - 40
        bottom = 300 + sw + 40
        o = np.array(outer.crop((bx[0], top, bx[2], bottom)), float) / 255
        n = np.array(inner.crop((bx[0], top, bx[2], bottom)), float) / 255
        hh = o.shape[0]
        grad = vgrad(o.shape[1], hh, (255, 255, 240), (250, 214, 120))
        col = np.array((34, 16, 50), float)[None, None, :] * (1 - n[..., None]) + grad * n[..., None]
        g = Image.fromarray(np.dstack([col, o * 255]).astype(np.uint8), 'RGBA')
        nw = min(21, max(1, int(round(g.width * scale))))
        nh = int(round(hh * scale))
        g = g.resize((nw, nh), Image.LANCZOS)
        # baseline at row 34 of the cell (cap top at row 6)
        base_in = (300 - top) * scale
        y = int(round(34 - base_in))
        x = i * 30 + (30 - nw) // 2
        cell = Image.new('RGBA', (30 * len(chars), 80), (0, 0, 0, 0))
        cell.alpha_composite(g, (x, y + 20))
        out.alpha_composite(cell.crop((0, 20, 30 * len(chars), 60)))
    save(out, 'fontfull.png')

def make_player():
    sheet = Image.new('RGBA', (504, 204), (0, 0, 0, 0))
    for i in range(7):
        fr = player_frame(i)
        sheet.alpha_composite(ImageOps.mirror(fr), (i * 72, 0))
        sheet.alpha_composite(fr, (i * 72, 102))
    save(sheet, 'anim_player.png')

def make_bricks():
    save(ledge(994, 109, 11), 'bottom.png')
    save(ledge(262, 103, 12, worn=True), 'brick2.png')
    save(ledge(207, 99, 13, worn=True), 'brick4.png')
    save(ledge(154, 90, 14, worn=True), 'brick3.png')
    save(ledge(266, 101, 15, golden=True, worn=True), 'brick1.png')

def make_ornaments():
    for n in ('mus1', 'mus2', 'mus3', 'mus4', 'pill1', 'pill2', 'flow1', 'flow2'):
        save(ornament(n), n + '.png')

def make_back():
    W, H = 512, 256
    xs = np.linspace(-1, 1, W)[None, :, None]
    base = np.array((16, 14, 52), float) * (1 - xs ** 2 * 0.3) + np.array((34, 20, 70), float) * (1 - np.abs(xs)) * 0.6
    arr = np.repeat(base, H, axis=0)
    bf = brick_face(W, H, (120, 90, 110), 21, bw=32, bh=16, var=0.2, mortar=(20, 16, 40), tile_rows=H // 16, noise=3)
    band = np.clip(1 - (np.abs(np.linspace(-1, 1, W)) / 0.55) ** 6, 0, 1)[None, :, None] * 0.22
    arr = arr * (1 - band) + bf * band
    img = to_img(arr).convert('RGBA')
    d = ImageDraw.Draw(img)
    rng = random.Random(5)
    for _ in range(140):
        x = rng.uniform(0, W)
        if abs(x - W / 2) < 120 and rng.random() < 0.8:
            continue
        y = rng.uniform(0, H)
        b = rng.randint(110, 250)
        r = rng.choice([0.5, 0.7, 0.9, 1.2, 1.6])
        for oy in (-H, 0, H):
            d.ellipse([x - r, y + oy - r, x + r, y + oy + r], fill=(b, b, min(255, b + 25), 255))
            if r >= 1.6:
                d.line([(x - 4, y + oy), (x + 4, y + oy)], fill=(b, b, 255, 120))
                d.line([(x, y + oy - 4), (x, y + oy + 4)], fill=(b, b, 255, 120))
    save(img.convert('RGB'), 'back.png')

def make_gauge():
    W, H = 100, 300
    img, d = supersample(W, H)
    f = SS
    # tower body from row 100 to 268
    x0, x1 = 34, 64
    d.rectangle([x0 * f, 100 * f, x1 * f, 272 * f], fill=(150, 104, 84, 255))
    for r in range(100, 272, 8):
        d.line([(x0 * f, r * f), (x1 * f, r * f)], fill=(86, 58, 60, 255), width=f)
        off = 0 if (r // 8) % 2 else 7
        for c in range(x0 + off, x1, 14):
            d.line([(c * f, r * f), (c * f, (r + 8) * f)], fill=(86, 58, 60, 255), width=f)
    d.rectangle([x0 * f, 100 * f, (x0 + 4) * f, 272 * f], fill=(120, 80, 70, 255))
    d.rectangle([(x1 - 4) * f, 100 * f, x1 * f, 272 * f], fill=(110, 72, 66, 255))
    for i in range(4):
        d.rectangle([(x0 - 4 + i * 10) * f, 92 * f, (x0 + 2 + i * 10) * f, 101 * f], fill=(170, 120, 92, 255))
    d.rectangle([(x0 - 4) * f, 99 * f, (x1 + 4) * f, 104 * f], fill=(186, 134, 98, 255))
    # ground
    d.rounded_rectangle([14 * f, 270 * f, 86 * f, 282 * f], radius=5 * f, fill=(50, 96, 70, 255))
    # flag
    d.rectangle([48 * f, 50 * f, 50.5 * f, 93 * f], fill=(70, 50, 40, 255))
    d.polygon([(50.5 * f, 51 * f), (80 * f, 59 * f), (50.5 * f, 68 * f)], fill=(214, 44, 70, 255))
    poly(d, star_pts(59, 59.5, 5, 2), (255, 230, 120, 255), f)
    # windows
    for y in (130, 175, 220):
        d.rounded_rectangle([45 * f, y * f, 53 * f, (y + 12) * f], radius=3 * f, fill=(255, 206, 100, 255))
    # track and stage ticks on the right side at column 75
    d.rectangle([67 * f, 100 * f, 69 * f, 250 * f], fill=(240, 198, 92, 200))
    for y, lab in ((250, '1'), (190, '2'), (140, '3'), (100, '4')):
        d.rectangle([64 * f, (y - 1) * f, 73 * f, (y + 1) * f], fill=(255, 236, 160, 255))
    img = outline(img, int(1.2 * f), INK)
    save(down(img, W, H), 'tow.png')
    # marker
    m, md = supersample(24, 16)
    poly(md, [(1.5, 8), (11, 1.5), (11, 5), (22.5, 5), (22.5, 11), (11, 11), (11, 14.5)], (255, 214, 80, 255), f)
    poly(md, [(4, 8), (10, 3.5), (10, 6.2), (21, 6.2), (21, 8)], (255, 248, 200, 255), f)
    m = outline(m, int(1.2 * f), INK)
    save(down(m, 24, 16), 'tow_cur.png')

def make_pointers():
    img, d = supersample(32, 32)
    f = SS
    pts = [(16.5, 16.5), (16.5, 31), (20, 27.5), (23, 32), (26, 30.6), (23.2, 26.3), (28, 26)]
    poly(d, pts, (255, 244, 200, 255), f)
    img = outline(img, int(1.3 * f), INK)
    save(down(img, 32, 32), 'cursor.png')
    img, d = supersample(32, 32)
    c = 16.5
    ell(d, c, c, 10, 10, None, f, outline_col=(255, 236, 150, 255), width=2)
    for (a, b) in [((c, 2), (c, 10)), ((c, 23), (c, 31)), ((2, c), (10, c)), ((23, c), (31, c))]:
        capsule(d, a, b, 2, (255, 236, 150, 255), f)
    ell(d, c, c, 1.6, 1.6, (255, 90, 90, 255), f)
    img = outline(img, int(1.2 * f), INK)
    save(down(img, 32, 32), 'mouse.png')

def make_panels():
    save(panel(420, 240, [("Steer with the mouse", 24, 56, GOLD_LIGHT), ("Click on the floor to jump", 24, 96, GOLD_LIGHT),
                          ("P pause - Esc menu", 24, 136, GOLD_LIGHT), ("Click to start", 30, 188, (255, 255, 255))]), 'gameinfo.png')
    save(panel(420, 240, [("Paused", 48, 95, (255, 255, 255)), ("P or click to go on", 24, 160, GOLD_LIGHT)]), 'pause.png')
    # the game writes "Score <number>" across the empty band y 98..148
    save(panel(420, 240, [("Game over", 48, 60, (255, 255, 255)), ("Click to play again", 24, 185, GOLD_LIGHT)]), 'over.png')
    ga = panel(420, 240, [("Play again?", 40, 62, (255, 255, 255))])
    ga.alpha_composite(button(150, 64, 'MENU', False), (116 - 75, 167 - 32))
    ga.alpha_composite(button(160, 70, 'AGAIN', False), (297 - 80, 167 - 35))
    save(ga, 'gameagain.png')
    save(button(150, 64, 'MENU', True), 'menuon.png')
    save(button(160, 70, 'AGAIN', True), 'znovuon.png')
    kb = panel(640, 280, [("You climbed all fifteen towers!", 32, 52, (255, 255, 255)), ("Click to play again", 26, 232, GOLD_LIGHT)])
    d = ImageDraw.Draw(kb)
    d.text((320, 140), "Your score:", font=font(30), anchor='rm', fill=GOLD_LIGHT + (255,), stroke_width=2, stroke_fill=(8, 4, 20, 255))
    for (x, y, r) in [(60, 140, 10), (612, 226, 8), (30, 226, 6)]:
        d.polygon(star_pts(x, y, r, r * 0.42), fill=(255, 230, 120, 255))
    save(kb, 'killbox.png')
    # name field on the left; the game writes the score into the empty x 240..390, y 132..198
    hs = panel(400, 220, [("New high score!", 34, 46, (255, 255, 255))])
    hint = "Type your name, press"
    gap, kw = 10, key_cap_width("Return")
    x0 = 200 - (font(20).getlength(hint) + gap + kw) / 2
    hd = ImageDraw.Draw(hs)
    hd.text((x0, 94), hint, font=font(20), anchor='lm', fill=GOLD_LIGHT + (255,), stroke_width=2, stroke_fill=(8, 4, 20, 255))
    hs.alpha_composite(key_cap("Return"), (int(round(x0 + font(20).getlength(hint) + gap)), 94 - 16))
    d = ImageDraw.Draw(hs)
    d.rounded_rectangle([26, 136, 219, 194], radius=6, fill=(8, 6, 22, 235), outline=GOLD + (255,), width=2)
    save(hs, 'highscore.png')

MENU_BUTTONS = [('START', 838.5, 322.5, 129, 65), ('HIGH SCORES', 890, 394, 200, 66),
                ('CREDITS', 772, 466, 207, 70), ('QUIT', 836, 543, 210, 64)]

def scene_base(seed, moon=(150, 120, 56)):
    img = sky(1024, 768, seed, moon=moon)
    hills(img, seed + 1, 640, 40, (30, 22, 64))
    return img

def make_menu():
    img = scene_base(31, moon=(880, 130, 60))
    tower(img, 150, 420, 300, 768, 32)
    tower(img, 470, 580, 470, 768, 33, tint=0.7)
    hills(img, 34, 720, 22, (20, 16, 44))
    for (W, H, cx, top, sd) in [(154, 90, 118, 420, 40), (207, 99, 460, 560, 41), (262, 103, 250, 680, 42)]:
        paste_ledge(img, W, H, cx, top, sd)
    p = player_frame(5, 2)
    img.alpha_composite(p, (80, 420 - 204))
    w = witch(2)
    img.alpha_composite(w, (620, 96))
    big_title(img, 'ZARVO', 390, 150, 150)
    for i, (lab, cx, cy, bw, bh) in enumerate(MENU_BUTTONS):
        b = button(bw, bh, lab, False)
        img.alpha_composite(b, (int(round(cx - bw / 2)), int(round(cy - bh / 2))))
        save(button(bw, bh, lab, True), 'menu%d.png' % (i + 1))
    save(img.convert('RGB'), 'menu.jpg')

def make_score():
    img = scene_base(51, moon=(960, 60, 34))
    tower(img, 0, 80, 260, 768, 52, windows=True, flag=False)
    tower(img, 950, 1024, 330, 768, 53, windows=True, flag=False)
    d = ImageDraw.Draw(img)
    ov = Image.new('RGBA', img.size, (0, 0, 0, 0))
    od = ImageDraw.Draw(ov)
    od.rounded_rectangle([88, 84, 942, 652], radius=26, fill=(14, 10, 34, 236), outline=GOLD + (255,), width=3)
    img.alpha_composite(ov)
    # faint rank numbers just left of the names: the table writes row r centred on
    # y = 128 + 53 r with its first letter's ink from x 127
    d = ImageDraw.Draw(img)
    for r in range(10):
        d.text((117, 128 + 53 * r), str(r + 1), font=font(16), anchor='rm', fill=(66, 56, 104, 255))
    d.text((512, 735), "Click to return", font=font(17, False), anchor='mm', fill=(150, 136, 186, 255))
    save(img.convert('RGB'), 'score.jpg')
    c, cd = supersample(184, 58)
    text(cd, (92 * SS, 29 * SS), 'High scores', fit_size('High scores', 30, 168) * SS, GOLD_LIGHT + (255,), stroke=3 * SS, stroke_fill=(40, 14, 60, 255), shadow=2 * SS)
    save(down(c, 184, 58), 'score_caption.png')

def make_credits():
    img = scene_base(61, moon=(120, 110, 50))
    tower(img, 40, 200, 420, 768, 62)
    tower(img, 860, 990, 470, 768, 63, tint=0.8)
    hills(img, 64, 730, 18, (20, 16, 44))
    ov = Image.new('RGBA', img.size, (0, 0, 0, 0))
    ImageDraw.Draw(ov).rounded_rectangle([230, 200, 800, 560], radius=26, fill=(14, 10, 34, 200), outline=GOLD + (255,), width=3)
    img.alpha_composite(ov)
    big_title(img, 'Zarvo', 515, 270, 84)
    d = ImageDraw.Draw(img)
    for (s, y, sz) in [("Design, code, art and music:", 380, 28), ("the Zarvo team", 420, 28),
                       ("Built with SDL, OpenGL", 480, 24), ("and the DejaVu fonts", 514, 24)]:
        d.text((515, y), s, font=font(sz), anchor='mm', fill=GOLD_LIGHT + (255,), stroke_width=2, stroke_fill=(8, 4, 20, 255))
    img.alpha_composite(button(256, 128, 'Back', False, margin=(28, 22)), (891 - 128, 67 - 64))
    save(img.convert('RGB'), 'credits.png')
    save(button(256, 128, 'Back', True, margin=(28, 22)), 'cred.png')

def caption(img, s):
    d = ImageDraw.Draw(img)
    ov = Image.new('RGBA', img.size, (0, 0, 0, 0))
    ImageDraw.Draw(ov).rounded_rectangle([60, 610, 964, 744], radius=24, fill=(14, 10, 34, 215), outline=GOLD + (255,), width=3)
    img.alpha_composite(ov)
    lines = wrap(s, 40, 880)
    if len(lines) == 2:   # balance the two lines
        words = s.split()
        best = min(range(1, len(words)), key=lambda k: max(font(40).getlength(' '.join(words[:k])),
                                                           font(40).getlength(' '.join(words[k:]))))
        lines = [' '.join(words[:best]), ' '.join(words[best:])]
    y0 = 677 - (len(lines) - 1) * 25
    for i, l in enumerate(lines):
        d.text((512, y0 + i * 50), l, font=font(40), anchor='mm', fill=(255, 244, 200, 255), stroke_width=3, stroke_fill=(8, 4, 20, 255))

def skip_note(img):
    """Quiet note under the caption box's right end."""
    ImageDraw.Draw(img).text((1012, 757), "Any key or click skips", font=font(15, False), anchor='rm', fill=(178, 166, 210, 255))

def make_slides():
    # 1: the witch locks the stars away
    img = sky(1024, 768, 71, moon=(780, 150, 80), stars=160)
    hills(img, 72, 560, 30, (30, 22, 64))
    tower(img, 90, 300, 250, 768, 73, star_windows=True)
    tower(img, 380, 520, 330, 768, 74, star_windows=True, tint=0.8)
    d = ImageDraw.Draw(img)
    for i in range(6):
        x0, y0 = 560 + i * 42, 300 + (i % 2) * 30
        d.line([(x0 - 60, y0 + 40), (x0, y0)], fill=(255, 240, 170, 90), width=2)
        d.polygon(star_pts(x0, y0, 12, 5, a0=-90 + i * 11), fill=(255, 240, 150, 255))
    w = witch(3)
    img.alpha_composite(w, (560, 120))
    caption(img, "Each night the witch locks the stars in her towers.")
    skip_note(img)
    save(img.convert('RGB'), 'zarvo2.jpg')
    # 2: Zarvo sets out
    img = sky(1024, 768, 81, moon=(160, 120, 50), stars=200)
    hills(img, 83, 560, 24, (30, 22, 64))
    tower(img, 420, 760, 120, 768, 82)
    for (W, H, cx, top, sd) in [(154, 90, 380, 260, 84), (207, 99, 800, 380, 85), (262, 103, 390, 480, 86), (994, 109, 512, 590, 87)]:
        paste_ledge(img, W, H, cx, top, sd)
    p = player_frame(0, 3)
    img.alpha_composite(p, (150, 590 - 306))
    for (n, x) in (('mus1', 720), ('flow1', 880), ('mus4', 90)):
        o = ornament(n).resize((80, 96), Image.LANCZOS)
        img.alpha_composite(o, (x, 590 - 96))
    caption(img, "Zarvo sets out to climb them, brick by brick.")
    skip_note(img)
    save(img.convert('RGB'), 'zarvo3.jpg')
    # 3: fifteen towers
    img = sky(1024, 768, 91, moon=(900, 100, 46), stars=220)
    hills(img, 92, 520, 30, (34, 24, 70))
    rng = random.Random(93)
    for i in range(15):
        x = 30 + i * 66
        top = 200 + rng.randint(0, 220)
        tower(img, x, x + 44, top, 600, 100 + i, windows=False, tint=0.6 + 0.03 * i, flag=(i == 14))
    hills(img, 94, 590, 14, (22, 16, 48))
    d = ImageDraw.Draw(img)
    p = player_frame(5, 2)
    img.alpha_composite(p, (440, 360))
    caption(img, "Fifteen towers. Mind the drop. Good luck!")
    skip_note(img)
    save(img.convert('RGB'), 'zarvo4.jpg')

def make_witch():
    save(witch(1), 'witch.png')

# ---------------------------------------------------------------- sound

SR = 22050

def write_wav(path, st):
    st = np.clip(st, -1, 1)
    data = (st.T * 32767).round().astype('<i2').tobytes()
    with wave.open(path, 'wb') as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(data)

def make_music(tmp):
    """The three pieces are scores in tools/assets/scores, rendered by music.py."""
    pieces = music.make_music(OUT, tmp, write_wav)
    for (name, _st, _marks, _sc) in pieces:
        written.append(('sound/' + name + '.ogg', None))
    return pieces

def make_sfx():
    # jump: rising boing
    n = int(0.25 * SR)
    t = np.arange(n) / SR
    fr = 220 * (3.2 ** (t / 0.25)) * (1 + 0.06 * np.sin(2 * np.pi * 28 * t))
    ph = 2 * np.pi * np.cumsum(fr) / SR
    s = (np.sin(ph) + 0.3 * np.sin(2 * ph)) * np.minimum(1, t / 0.005) * np.minimum(1, (0.25 - t) / 0.06)
    write_sfx('jump.wav', s)
    # fall: falling whistle
    n = int(0.6 * SR)
    t = np.arange(n) / SR
    fr = 1500 * (0.22 ** (t / 0.6)) * (1 + 0.015 * np.sin(2 * np.pi * 7 * t))
    ph = 2 * np.pi * np.cumsum(fr) / SR
    s = (np.sin(ph) + 0.08 * np.sin(3 * ph)) * np.minimum(1, t / 0.02) * np.minimum(1, (0.6 - t) / 0.12)
    write_sfx('fall.wav', s)
    # cackle: "hee-hee-hee" with a formant bank over a glottal source
    rng = np.random.default_rng(77)
    n = int(1.2 * SR)
    t = np.arange(n) / SR
    out = np.zeros(n)
    sylls = [(0.02, 0.17, 560), (0.22, 0.16, 540), (0.41, 0.16, 510), (0.60, 0.16, 480), (0.79, 0.16, 450), (0.98, 0.18, 400)]
    formants = [(330, 90, 1.0), (2700, 200, 0.5), (3300, 260, 0.35)]
    for (t0, dur, f0) in sylls:
        m = (t >= t0) & (t < t0 + dur)
        tt = t[m] - t0
        f = f0 * (1 + 0.12 * np.exp(-tt * 25)) * (1 - 0.12 * tt / dur) * (1 + 0.01 * np.sin(2 * np.pi * 30 * tt))
        ph = 2 * np.pi * np.cumsum(f) / SR
        voiced = np.zeros(len(tt))
        for h in range(1, 24):
            hf = f * h
            amp = np.zeros(len(tt))
            for (F, B, g) in formants:
                amp += g / (1 + ((hf - F) / B) ** 2)
            amp *= (hf < 10000)
            voiced += amp * np.sin(h * ph) / h ** 0.3
        onset = 0.035
        venv = np.clip((tt - onset * 0.6) / 0.02, 0, 1) * np.clip((dur - tt) / 0.05, 0, 1)
        noise = rng.normal(0, 1, len(tt))
        noise = noise - np.concatenate([[0], noise[:-1]]) * 0.6
        nenv = np.exp(-((tt - onset * 0.4) / 0.02) ** 2) * 0.25 + 0.04 * venv
        out[m] += voiced * venv + noise * nenv
    write_sfx('chichicheche.wav', out)

def write_sfx(name, s):
    s = s / np.max(np.abs(s)) * 0.6
    st = np.vstack([s, s])
    path = os.path.join(OUT, 'sound', name)
    write_wav(path, st)
    written.append(('sound/' + name, None))

# ---------------------------------------------------------------- contact sheet

def contact_sheet(path):
    pics = [(n, s) for (n, s) in written if n.startswith('graphics/')]
    cw, ch, cols = 220, 190, 6
    rows = (len(pics) + cols - 1) // cols
    sheet = Image.new('RGB', (cw * cols, ch * rows + 40), (34, 30, 44))
    d = ImageDraw.Draw(sheet)
    d.text((10, 10), 'Zarvo pictures (tools/assets/build)', font=font(18), fill=(255, 236, 160))
    chk = Image.new('RGB', (200, 150))
    cd = ImageDraw.Draw(chk)
    for y in range(0, 150, 10):
        for x in range(0, 200, 10):
            cd.rectangle([x, y, x + 9, y + 9], fill=(90, 90, 100) if (x // 10 + y // 10) % 2 else (60, 60, 70))
    for i, (name, (w, h)) in enumerate(pics):
        x, y = (i % cols) * cw + 10, (i // cols) * ch + 50
        im = Image.open(os.path.join(OUT, name)).convert('RGBA')
        sc = min(200 / w, 150 / h, 4)
        tw, th = max(1, int(w * sc)), max(1, int(h * sc))
        im = im.resize((tw, th), Image.NEAREST if sc >= 2 else Image.LANCZOS)
        sheet.paste(chk, (x, y))
        tile = chk.convert('RGBA').crop((0, 0, tw, th))
        tile.alpha_composite(im)
        sheet.paste(tile.convert('RGB'), (x + (200 - tw) // 2, y + (150 - th) // 2))
        d.text((x, y + 153), name.split('/')[1], font=font(13), fill=(255, 255, 255))
        d.text((x, y + 169), '%d x %d' % (w, h), font=font(11, False), fill=(200, 200, 210))
    sheet.save(path, 'PNG')

# ---------------------------------------------------------------- main

def main():
    global OUT
    OUT = sys.argv[1]
    sheet = sys.argv[2] if len(sys.argv) > 2 else None
    music_sheet = sys.argv[3] if len(sys.argv) > 3 else None
    os.makedirs(os.path.join(OUT, 'graphics'), exist_ok=True)
    os.makedirs(os.path.join(OUT, 'sound'), exist_ok=True)
    make_font(); make_player(); make_bricks(); make_ornaments(); make_back(); make_gauge()
    make_witch(); make_pointers(); make_panels(); make_menu(); make_score(); make_credits(); make_slides()
    with tempfile.TemporaryDirectory() as tmp:
        pieces = make_music(tmp)
    make_sfx()
    # compare against the manifest
    want = {}
    for line in open(os.path.join(HERE, 'manifest.txt')):
        p = line.split()
        if p:
            want[p[0]] = tuple(int(v) for v in p[1:3]) if len(p) == 3 else None
    got = dict(written)
    bad = [n for n in want if n not in got] + [n for n in got if n not in want]
    bad += [n for n in want if n in got and want[n] != (tuple(got[n]) if got[n] else None)]
    if bad:
        print('manifest mismatch:', ' '.join(sorted(set(bad))))
        sys.exit(1)
    if sheet:
        contact_sheet(sheet)
    if music_sheet:
        music.music_sheet(music_sheet, pieces, FONT_SANS, FONT_BOLD)
    print('zarvo assets: %d pictures, %d sounds written to %s' % (
        sum(1 for n in got if n.startswith('graphics/')), sum(1 for n in got if n.startswith('sound/')), OUT))

if __name__ == '__main__':
    main()
