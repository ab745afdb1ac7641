"""Figures: Zarvo himself (anim_player.png), the witch on her broom (witch.png)
and the ornaments that stand on the bricks (mus1-4, pill1-2, flow1-2.png)."""
import math

from PIL import Image, ImageDraw, ImageOps

from .common import INK, SS, align_bottom, capsule, down, ell, outline, poly, rot, star_pts

SKIN = (252, 214, 176)
TUNIC = (236, 122, 46)
TUNIC_D = (196, 92, 34)
PANTS = (74, 64, 150)
PANTS_D = (52, 44, 112)
BOOT = (118, 64, 30)
BOOT_D = (86, 46, 22)
CAP = (214, 44, 70)
SCARF = (252, 212, 76)

POSES = (
    # near thigh, knee, far thigh, knee, near arm, elbow, far arm, elbow, lean
    (34, 14, -30, 52, -42, 60, 40, 60, 6),
    (10, 22, -8, 84, -14, 60, 14, 60, 5),
    (-30, 52, 34, 14, 40, 60, -42, 60, 6),
    (-8, 84, 10, 22, 14, 60, -14, 60, 5),
    (62, 86, 36, 96, 78, 45, -60, 30, 2),     # top of jump
    (40, 72, -12, 30, 115, 35, 215, -10, 3),    # rising, arms up
    (22, 34, -20, 22, 100, -16, -100, 16, -2),  # falling, arms out
)

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

# ---------------------------------------------------------------- pictures

def make_player(out):
    sheet = Image.new('RGBA', (504, 204), (0, 0, 0, 0))
    for i in range(7):
        fr = player_frame(i)
        sheet.alpha_composite(ImageOps.mirror(fr), (i * 72, 0))
        sheet.alpha_composite(fr, (i * 72, 102))
    out.save(sheet, 'anim_player.png')

def make_ornaments(out):
    for n in ('mus1', 'mus2', 'mus3', 'mus4', 'pill1', 'pill2', 'flow1', 'flow2'):
        out.save(ornament(n), n + '.png')

def make_witch(out):
    out.save(witch(1), 'witch.png')
