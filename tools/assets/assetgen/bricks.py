"""Stone: the brick face every wall and ledge is cut from, the ledges the figure
lands on (bottom.png, brick1-4.png) with their worn ends, and the night-sky
backdrop of the climb (back.png)."""
import random

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

from .common import SS, down, poly, star_pts, supersample, to_img

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


def make_bricks(out):
    out.save(ledge(994, 109, 11), 'bottom.png')
    out.save(ledge(262, 103, 12, worn=True), 'brick2.png')
    out.save(ledge(207, 99, 13, worn=True), 'brick4.png')
    out.save(ledge(154, 90, 14, worn=True), 'brick3.png')
    out.save(ledge(266, 101, 15, golden=True, worn=True), 'brick1.png')

def make_back(out):
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
    out.save(img.convert('RGB'), 'back.png')
