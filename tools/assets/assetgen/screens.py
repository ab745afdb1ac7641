"""The full screens: the main menu (menu.jpg and its lit buttons menu1-4.png),
the high-score screen (score.jpg, score_caption.png), the credits (credits.png,
cred.png) and the three intro slides (zarvo2-4.jpg)."""
import random

from PIL import Image, ImageDraw

from .common import GOLD, GOLD_LIGHT, SS, down, fit_size, font, star_pts, supersample, text, wrap
from .figures import ornament, player_frame, witch
from .panels import button
from .scenery import big_title, hills, paste_ledge, sky, tower

MENU_BUTTONS = (('START', 838.5, 322.5, 129, 65), ('HIGH SCORES', 890, 394, 200, 66),
                ('CREDITS', 772, 466, 207, 70), ('QUIT', 836, 543, 210, 64))

def scene_base(seed, moon=(150, 120, 56)):
    img = sky(1024, 768, seed, moon=moon)
    hills(img, seed + 1, 640, 40, (30, 22, 64))
    return img

def make_menu(out):
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
        out.save(button(bw, bh, lab, True), 'menu%d.png' % (i + 1))
    out.save(img.convert('RGB'), 'menu.jpg')

# The high-score table (ScoreState.cpp) writes row r centred on y = 128 + 53 r: the
# name from x 138 (its first letter's ink from x 127), the score right-aligned at 896.
SCORE_ROWS = tuple(128 + 53 * r for r in range(10))


def make_score(out):
    img = scene_base(51, moon=(960, 60, 34))
    tower(img, 0, 80, 260, 768, 52, windows=True, flag=False)
    tower(img, 950, 1024, 330, 768, 53, windows=True, flag=False)
    ov = Image.new('RGBA', img.size, (0, 0, 0, 0))
    od = ImageDraw.Draw(ov)
    od.rounded_rectangle([60, 84, 964, 652], radius=26, fill=(14, 10, 34, 236), outline=GOLD + (255,), width=3)
    img.alpha_composite(ov)
    bands = Image.new('RGBA', img.size, (0, 0, 0, 0))
    bd = ImageDraw.Draw(bands)
    for y in SCORE_ROWS[1::2]:   # a faint band under every other row leads the eye from name to score
        bd.rounded_rectangle([72, y - 25, 952, y + 25], radius=10, fill=(120, 100, 200, 26))
    img.alpha_composite(bands)
    # rank numbers right-aligned at x 117, just left of the names
    d = ImageDraw.Draw(img)
    for r, y in enumerate(SCORE_ROWS):
        d.text((117, y), str(r + 1), font=font(22), anchor='rm', fill=(200, 186, 244, 255))
    d.text((512, 710), "Click to return", font=font(24), anchor='mm', fill=GOLD_LIGHT + (255,), stroke_width=2, stroke_fill=(8, 4, 20, 255))
    out.save(img.convert('RGB'), 'score.jpg')
    c, cd = supersample(184, 58)
    text(cd, (92 * SS, 29 * SS), 'High scores', fit_size('High scores', 30, 168) * SS, GOLD_LIGHT + (255,), stroke=3 * SS, stroke_fill=(40, 14, 60, 255), shadow=2 * SS)
    out.save(down(c, 184, 58), 'score_caption.png')

def make_credits(out):
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
    out.save(img.convert('RGB'), 'credits.png')
    # lit, the button glows out into its wide margin and fades away well before the
    # picture's edge, so no edge of the picture shows over the sky
    out.save(button(256, 128, 'Back', True, margin=(28, 22), glow_radius=7), 'cred.png')

CAPTION = (60, 596, 964, 722)   # the slides' caption box: left, top, right, bottom
SKIP = (730, 758)                # top and bottom of the skip note's plate


def caption(img, s):
    d = ImageDraw.Draw(img)
    ov = Image.new('RGBA', img.size, (0, 0, 0, 0))
    ImageDraw.Draw(ov).rounded_rectangle(CAPTION, radius=24, fill=(14, 10, 34, 215), outline=GOLD + (255,), width=3)
    img.alpha_composite(ov)
    lines = wrap(s, 40, 880)
    if len(lines) == 2:   # balance the two lines
        words = s.split()
        best = min(range(1, len(words)), key=lambda k: max(font(40).getlength(' '.join(words[:k])),
                                                           font(40).getlength(' '.join(words[k:]))))
        lines = [' '.join(words[:best]), ' '.join(words[best:])]
    y0 = (CAPTION[1] + CAPTION[3]) // 2 - (len(lines) - 1) * 25
    for i, l in enumerate(lines):
        d.text((512, y0 + i * 50), l, font=font(40), anchor='mm', fill=(255, 244, 200, 255), stroke_width=3, stroke_fill=(8, 4, 20, 255))

def skip_note(img):
    """How to skip the intro, on a small plate of its own under the caption box's right end."""
    note = "Any key or click skips"
    w = int(font(20).getlength(note)) + 28
    ov = Image.new('RGBA', img.size, (0, 0, 0, 0))
    ImageDraw.Draw(ov).rounded_rectangle([CAPTION[2] - w, SKIP[0], CAPTION[2], SKIP[1]], radius=14, fill=(14, 10, 34, 215),
                                         outline=GOLD + (160,), width=2)
    img.alpha_composite(ov)
    ImageDraw.Draw(img).text((CAPTION[2] - 14, (SKIP[0] + SKIP[1]) / 2), note, font=font(20), anchor='rm', fill=GOLD_LIGHT + (255,))

def make_slides(out):
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
    out.save(img.convert('RGB'), 'zarvo2.jpg')
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
    out.save(img.convert('RGB'), 'zarvo3.jpg')
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
    out.save(img.convert('RGB'), 'zarvo4.jpg')
