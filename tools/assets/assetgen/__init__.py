"""Zarvo's asset generator, one module for each kind of picture:

    common    the output folder, fonts, palette and drawing helpers
    glyphs    the score font (fontfull.png)
    bricks    brick faces, the ledges (bottom, brick1-4.png), the backdrop (back.png)
    figures   Zarvo, the witch and the ornaments
    hud       the tower gauge, its marker and the two pointers
    panels    the boxes over play, their buttons and the keyboard key
    scenery   sky, hills, towers and the big title of the full screens
    screens   menu, high scores, credits and the intro slides
    sounds    the music (through music.py) and the synthesised effects
    sheet     the contact sheet

tools/assets/gen.py runs them in order; tools/assets/build runs gen.py.
"""
