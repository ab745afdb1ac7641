"""docs/contact-sheet.png: every picture of a build scaled into a grid, with its
name and size, over a checkerboard that shows its transparency."""
from PIL import Image, ImageDraw

from .common import font

def contact_sheet(out, path):
    pics = out.pictures()
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
        im = Image.open(out.path(name)).convert('RGBA')
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
