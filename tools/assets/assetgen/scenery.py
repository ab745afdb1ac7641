"""Scenery for the full-screen pictures: the night sky with its moon, hills,
brick towers, a ledge set into a scene, and the big glowing title."""
import math
import random

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

from .bricks import brick_face, ledge
from .common import SS, down, font, star_pts, supersample, to_img, vgrad

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
    wgt = np.clip((arr[..., 1:2] - 60) / 190.0, 0, 1)
    arr[..., :3] = arr[..., :3] * (1 - wgt) + gy * wgt
    img.alpha_composite(Image.fromarray(arr.astype(np.uint8), 'RGBA'))
