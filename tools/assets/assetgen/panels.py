"""Panels and buttons: the boxes the game shows over play (gameinfo, pause, over,
gameagain, killbox, highscore.png), their buttons and highlights (menuon,
znovuon.png), and the keyboard key drawn into a hint."""
import math

from PIL import Image, ImageDraw, ImageFilter

from .common import GOLD, GOLD_LIGHT, PANEL, SS, down, fit_size, font, poly, star_pts, supersample, text, to_img, vgrad

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

def button(w, h, label, hot, margin=(5, 5), glow_radius=None):
    """A button of w x h with `margin` of free picture around it; lit (`hot`) it glows
    into that margin, blurred by glow_radius (by default one less than the margin)."""
    mx, my = margin
    img, d = supersample(w, h)
    bw, bh = w - 2 * mx, h - 2 * my
    if hot:
        g = Image.new('L', (w, h), 0)
        ImageDraw.Draw(g).rounded_rectangle([mx - 1, my - 1, w - mx, h - my], radius=min(bh // 2, 18) + 2, fill=255)
        rad = glow_radius if glow_radius else max(2, min(mx, my) - 1)
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

def make_panels(out):
    out.save(panel(420, 240, [("Steer with the mouse", 24, 56, GOLD_LIGHT), ("Click on the floor to jump", 24, 96, GOLD_LIGHT),
                          ("P pause - Esc menu", 24, 136, GOLD_LIGHT), ("Click to start", 30, 188, (255, 255, 255))]), 'gameinfo.png')
    # The same box on a touch screen (the browser's page shows it there).
    out.save(panel(420, 240, [("Steer with your finger", 24, 56, GOLD_LIGHT), ("Tap the floor to jump", 24, 96, GOLD_LIGHT),
                          ("Pause button - Back: menu", 24, 136, GOLD_LIGHT), ("Tap to start", 30, 188, (255, 255, 255))]),
             'gameinfo_touch.png')
    out.save(panel(420, 240, [("Paused", 48, 95, (255, 255, 255)), ("P or click to go on", 24, 160, GOLD_LIGHT)]), 'pause.png')
    # the game writes "Score <number>" across the empty band y 98..148
    out.save(panel(420, 240, [("Game over", 48, 60, (255, 255, 255)), ("Click to play again", 24, 185, GOLD_LIGHT)]), 'over.png')
    ga = panel(420, 240, [("Play again?", 40, 62, (255, 255, 255))])
    ga.alpha_composite(button(150, 64, 'MENU', False), (116 - 75, 167 - 32))
    ga.alpha_composite(button(160, 70, 'AGAIN', False), (297 - 80, 167 - 35))
    out.save(ga, 'gameagain.png')
    out.save(button(150, 64, 'MENU', True), 'menuon.png')
    out.save(button(160, 70, 'AGAIN', True), 'znovuon.png')
    kb = panel(640, 280, [("You climbed all fifteen towers!", 32, 52, (255, 255, 255)), ("Click to play again", 26, 232, GOLD_LIGHT)])
    d = ImageDraw.Draw(kb)
    d.text((320, 140), "Your score:", font=font(30), anchor='rm', fill=GOLD_LIGHT + (255,), stroke_width=2, stroke_fill=(8, 4, 20, 255))
    for (x, y, r) in [(60, 140, 10), (612, 226, 8), (30, 226, 6)]:
        d.polygon(star_pts(x, y, r, r * 0.42), fill=(255, 230, 120, 255))
    out.save(kb, 'killbox.png')

# The name box (highscore.png) is drawn centred at (512, 250); the game writes over
# it, in the score font (NameBox.cpp), both measured from the box's centre:
# - the name, at scale 0.75 from 145 px left of the centre and 55 below, seven
#   letters at most, so its ink stays between 156 and 1 px left of the centre;
# - "Score", a new line and the score, at scale 0.5, centred 115 px right of the
#   centre and 55 below. The font's cells are 30x40 and drawn whole, 15 px apart
#   at that scale, so the widest score, ten digits (4294967295), fills cells from
#   25 to 190 px right of the centre, and its two lines rows 15 to 95 below it.
# The box is wide enough that the score's well keeps clear of its border.
NAME_BOX = (440, 240)
NAME_FIELD = (-172, 26, 8, 84)       # left, top, right, bottom from the centre
SCORE_WELL = (18, 12, 197, 100)


def make_name_box(out):
    """highscore.png: the hint, the name field on the left, the score's well on the right."""
    w, h = NAME_BOX
    cx, cy = w // 2, h // 2
    hs = panel(w, h, [("New high score!", 34, 50, (255, 255, 255))])
    hint = "Type your name, press"
    gap, kw = 10, key_cap_width("Return")
    x0 = cx - (font(20).getlength(hint) + gap + kw) / 2
    hd = ImageDraw.Draw(hs)
    hd.text((x0, 100), hint, font=font(20), anchor='lm', fill=GOLD_LIGHT + (255,), stroke_width=2, stroke_fill=(8, 4, 20, 255))
    hs.alpha_composite(key_cap("Return"), (int(round(x0 + font(20).getlength(hint) + gap)), 100 - 16))
    d = ImageDraw.Draw(hs)
    l, t, r, b = NAME_FIELD
    d.rounded_rectangle([cx + l, cy + t, cx + r, cy + b], radius=6, fill=(8, 6, 22, 235), outline=GOLD + (255,), width=2)
    l, t, r, b = SCORE_WELL
    d.rounded_rectangle([cx + l, cy + t, cx + r, cy + b], radius=8, fill=(8, 6, 22, 180), outline=(112, 84, 60, 255), width=2)
    out.save(hs, 'highscore.png')
