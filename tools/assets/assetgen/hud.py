"""The play screen's small pictures: the tower gauge and its marker (tow.png,
tow_cur.png), the menu pointer (cursor.png) and the aiming reticle (mouse.png)."""
from .common import INK, SS, capsule, down, ell, outline, poly, star_pts, supersample

def make_gauge(out):
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
    out.save(down(img, W, H), 'tow.png')
    # marker
    m, md = supersample(24, 16)
    poly(md, [(1.5, 8), (11, 1.5), (11, 5), (22.5, 5), (22.5, 11), (11, 11), (11, 14.5)], (255, 214, 80, 255), f)
    poly(md, [(4, 8), (10, 3.5), (10, 6.2), (21, 6.2), (21, 8)], (255, 248, 200, 255), f)
    m = outline(m, int(1.2 * f), INK)
    out.save(down(m, 24, 16), 'tow_cur.png')

def make_pointers(out):
    img, d = supersample(32, 32)
    f = SS
    pts = [(16.5, 16.5), (16.5, 31), (20, 27.5), (23, 32), (26, 30.6), (23.2, 26.3), (28, 26)]
    poly(d, pts, (255, 244, 200, 255), f)
    img = outline(img, int(1.3 * f), INK)
    out.save(down(img, 32, 32), 'cursor.png')
    img, d = supersample(32, 32)
    c = 16.5
    ell(d, c, c, 10, 10, None, f, outline_col=(255, 236, 150, 255), width=2)
    for (a, b) in [((c, 2), (c, 10)), ((c, 23), (c, 31)), ((2, c), (10, c)), ((23, c), (31, c))]:
        capsule(d, a, b, 2, (255, 236, 150, 255), f)
    ell(d, c, c, 1.6, 1.6, (255, 90, 90, 255), f)
    img = outline(img, int(1.2 * f), INK)
    out.save(down(img, 32, 32), 'mouse.png')
