"""Zarvo asset generator: draws every picture and synthesises every sound.

Usage: python3 gen.py DATA_DIR SHEET_PNG [MUSIC_SHEET_PNG]
Everything is seeded, so two runs give byte-identical files. The pictures are
drawn by the modules of assetgen/ (see its __init__ for which draws what); the
music comes from the scores in tools/assets/scores (see music.py).
"""
import os
import sys
import tempfile

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import music  # noqa: E402
from assetgen import bricks, figures, glyphs, hud, panels, screens, sheet, sounds  # noqa: E402
from assetgen.common import FONT_BOLD, FONT_SANS, Output  # noqa: E402

# In this order: the contact sheet shows the pictures as they were written.
PICTURES = (glyphs.make_font, figures.make_player, bricks.make_bricks, figures.make_ornaments, bricks.make_back,
            hud.make_gauge, figures.make_witch, hud.make_pointers, panels.make_panels, panels.make_name_box,
            screens.make_menu, screens.make_score, screens.make_credits, screens.make_slides)


def read_manifest(path):
    """manifest.txt: one file a line, pictures with their width and height."""
    want = {}
    with open(path) as f:
        for line in f:
            p = line.split()
            if p:
                want[p[0]] = tuple(int(v) for v in p[1:3]) if len(p) == 3 else None
    return want


def manifest_mismatch(want, written):
    got = {name: tuple(size) if size else None for (name, size) in written}
    bad = [n for n in want if n not in got] + [n for n in got if n not in want]
    bad += [n for n in want if n in got and want[n] != got[n]]
    return sorted(set(bad))


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__.strip())
    out = Output(argv[1])
    sheet_path = argv[2] if len(argv) > 2 else None
    music_sheet_path = argv[3] if len(argv) > 3 else None
    try:
        for make in PICTURES:
            make(out)
    except glyphs.GlyphOrderError as e:
        sys.exit('gen.py: %s' % e)
    with tempfile.TemporaryDirectory() as tmp:
        pieces = sounds.make_music(out, tmp)
    sounds.make_sfx(out)
    bad = manifest_mismatch(read_manifest(os.path.join(HERE, 'manifest.txt')), out.written)
    if bad:
        print('manifest mismatch:', ' '.join(bad))
        sys.exit(1)
    if sheet_path:
        sheet.contact_sheet(out, sheet_path)
    if music_sheet_path:
        music.music_sheet(music_sheet_path, pieces, FONT_SANS, FONT_BOLD)
    print('zarvo assets: %d pictures, %d sounds written to %s' % (
        len(out.pictures()), sum(1 for (n, _s) in out.written if n.startswith('sound/')), out.root))


if __name__ == '__main__':
    main(sys.argv)
