"""The score and number font (fontfull.png): one 30x40 cell per glyph, in the
order the game looks them up. That order is read from the game's own source,
so the picture and the game cannot disagree."""
import os
import re

import numpy as np
from PIL import Image, ImageDraw

from .common import ROOT, font, vgrad

GLYPHS_SOURCE = os.path.join('src', 'media', 'BitmapFont.cpp')
GLYPHS_CONSTANT = 'kFontGlyphs'


class GlyphOrderError(Exception):
    """The game's source does not say, in a form we can read, which glyphs the font holds."""


def font_glyphs(root=ROOT):
    """The letters of the font picture, in the order the game looks them up: the
    string constant kFontGlyphs in src/media/BitmapFont.cpp."""
    where = 'the glyph order of fontfull.png is read from %s (%s = "...")' % (GLYPHS_SOURCE, GLYPHS_CONSTANT)
    try:
        with open(os.path.join(root, GLYPHS_SOURCE), encoding='utf-8') as f:
            source = f.read()
    except OSError as e:
        raise GlyphOrderError('%s, which cannot be read: %s' % (where, e.strerror))
    found = re.findall(r'\b%s\s*=\s*"([^"\\]+)"' % GLYPHS_CONSTANT, source)
    if len(found) != 1:
        raise GlyphOrderError('%s, but that file %s; if the constant was renamed or moved, say so in %s' % (
            where, 'defines it %d times' % len(found) if found else 'does not define it',
            'tools/assets/assetgen/glyphs.py (GLYPHS_SOURCE, GLYPHS_CONSTANT)'))
    glyphs = found[0]
    if len(set(glyphs)) != len(glyphs) or not glyphs.isprintable():
        raise GlyphOrderError('%s, but "%s" does not list printable glyphs, each once' % (where, glyphs))
    return glyphs

def make_font(out):
    chars = font_glyphs()
    S = 200
    F = font(S)
    tmp = Image.new('L', (S * 2, S * 2), 0)
    ImageDraw.Draw(tmp).text((40, 300), 'H', font=F, anchor='ls', fill=255)
    bb = tmp.getbbox()
    capH = bb[3] - bb[1]
    sw = int(round(2 * (capH + 0) / 24.0))
    scale = 28.0 / (capH + 2 * sw)
    sheet = Image.new('RGBA', (30 * len(chars), 40), (0, 0, 0, 0))
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
        sheet.alpha_composite(cell.crop((0, 20, 30 * len(chars), 60)))
    out.save(sheet, 'fontfull.png')
