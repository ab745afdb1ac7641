# The browser's game played end to end in headless Chromium: the menu, Start,
# the intro skipped by a key, the information box, a hidden tab that pauses the
# climb, a jump and a bounce that scores, a name filed and still in the table
# after a reload, windows of other shapes, Quit, and a build missing a picture.
# Usage: play.py BUILD-WEB-FOLDER SHOTS-FOLDER
import os
import shutil
import subprocess
import sys
import tempfile
import time

import numpy

from page import Page, SOURCE, serve, shows, wait_until

build, shots = sys.argv[1], sys.argv[2]
os.makedirs(shots, exist_ok=True)
page = Page()


def on_screen(name, cx=512, cy=384, part=None):
    return lambda: shows(page.shot(), name, cx, cy, part)


def snap(name):
    page.shot().save(os.path.join(shots, name + '.png'))


def bricks(shot, y):
    """(centre, width) of every brick crossing row y: warm runs of the row,
    bridged over the mortar joints; the sky and the tower behind are blue."""
    row = numpy.asarray(shot.crop((0, y - 4, 1024, y + 5)), dtype=float).mean(axis=0)
    warm = numpy.flatnonzero((row[:, 0] - row[:, 2] > 25) & (row[:, 0] > 70))
    found, start = [], None
    for x in list(warm) + [10 ** 6]:
        if start is not None and x - last > 8:
            if last - start >= 59:
                found.append(((start + last) // 2, last - start + 1))
            start = None
        start = x if start is None else start
        last = x
    return found


def figure_x(shot):
    """The middle of the densest 44 px wide column of the figure's orange jacket."""
    a = numpy.asarray(shot.crop((0, 80, 1024, 680)))[::4, ::4].astype(int)
    orange = (a[..., 0] > 215) & (a[..., 1] > 100) & (a[..., 1] < 128) & (a[..., 2] < 48)
    columns = numpy.convolve(orange.sum(axis=0), numpy.ones(11), 'same')
    return int(columns.argmax()) * 4 + 2 if columns.max() > 3 else -999


def letters(shot, red, warm):
    """The status line's cream letters: their pixels as a set."""
    a = numpy.asarray(shot.crop((312, 10, 712, 50))).astype(int)
    return set(zip(*numpy.nonzero((a[..., 0] > red) & (a[..., 0] - a[..., 2] > warm))))


def step(text):
    print('--', text, flush=True)


address = serve(build)
step('the menu')
page.open(address)
wait_until(on_screen('menu.jpg'), 60, 'the menu')
snap('menu')
page.click(890, 394)  # the first click also lets the browser play sound
wait_until(lambda: page.js('ZarvoMixer.music && ZarvoMixer.music.source !== null'), 30, "the menu's music")
high_scores = lambda: shows(page.shot(), 'score.jpg', 512, 384, (0, 0, 1024, 100))
wait_until(high_scores, 10, 'the high-score screen')
empty_table = page.shot()
page.click(512, 384)
wait_until(on_screen('menu.jpg'), 10, 'the menu after the high-score screen')

step('Start, the intro, the information box')
page.click(838, 322)
wait_until(on_screen('zarvo2.jpg'), 10, 'the intro')
snap('intro')
page.key('a', 'KeyA')
wait_until(on_screen('gameinfo.png', 512, 250), 10, 'the information box')
page.click(512, 250)
wait_until(lambda: not shows(page.shot(), 'gameinfo.png', 512, 250), 10, 'the box to go')
zero_letters = letters(page.shot(), 235, 60)

step('a hidden tab pauses the climb; a click goes on')
game_tab = page.driver.current_window_handle
page.driver.switch_to.new_window('tab')
page.driver.close()
page.driver.switch_to.window(game_tab)
wait_until(on_screen('pause.png', 512, 250), 10, 'the pause box')
page.click(512, 250)
wait_until(lambda: not shows(page.shot(), 'pause.png', 512, 250), 10, 'the pause box to go')
snap('game')

step('a jump and a bounce that scores')
named = on_screen('highscore.png', 512, 250)
for attempt in range(1, 26):
    if attempt > 1:  # each attempt on a new round, its bricks laid anew
        page.key('Escape', 'Escape')
        wait_until(lambda: named() or shows(page.shot(), 'menu.jpg', 512, 384), 10, 'the menu')
        if named():
            break
        page.click(838, 322)
        wait_until(on_screen('zarvo2.jpg'), 10, 'the intro')
        page.key('a', 'KeyA')
        wait_until(lambda: len(zero_letters - letters(page.shot(), 190, 40)) <= 8, 10, 'a new round')
    shot = page.shot()
    bx = next((x for x, w in bricks(shot, 320) if x > 100 and w < 700), 150 + attempt * 173 % 700)
    side = bx + 200 + attempt % 3 * 30 if bx < 500 else bx - 200 - attempt % 3 * 30
    page.point(side, 700)
    try:
        wait_until(lambda: abs(figure_x(page.shot()) - side) < 12, 10, 'the figure beside the brick')
    except AssertionError:
        continue
    page.click(side, 700)
    time.sleep(0.25 + attempt % 6 * 0.1)  # the player's reaction, then over the brick
    page.point(bx, 700)
    missed_by = time.monotonic() + 4
    while not named() and time.monotonic() < 60 + missed_by:
        shot = page.shot()
        if len(zero_letters - letters(shot, 190, 40)) > 8:  # scored: away from the bricks, to fall
            busy = [x for y in (420, 560, 700) for x, w in bricks(shot, y)]
            page.point(max(range(50, 961, 100), key=lambda x: min([abs(x - c) for c in busy] or [1000])), 700)
        elif time.monotonic() > missed_by:
            break
    if named():
        break
assert named(), 'the figure never bounced off a brick'

step('a name filed and kept')
snap('name-entry')
for letter in 'test':
    page.key(letter, 'Key' + letter.upper())
page.key('Enter', 'Enter')
wait_until(on_screen('gameagain.png', 512, 250), 10, 'the retry box')
wait_until(lambda: page.js("Module.zarvoScoresKept > 0"), 10, 'the table to be stored')
page.click(418, 297)
wait_until(on_screen('menu.jpg'), 10, 'the menu from the retry box')
page.open(address)
wait_until(on_screen('menu.jpg'), 60, 'the menu after a reload')
saved = page.js("FS.readFile('/saved/score.txt', {encoding: 'utf8'})")
assert saved.startswith('TEST    ') and int(saved.split()[1]) > 0, saved
page.click(890, 394)
wait_until(high_scores, 10, 'the high-score screen')
table = page.shot()
snap('high-scores')
first_row = (120, 105, 900, 155)
assert numpy.abs(numpy.asarray(table.crop(first_row), float) - numpy.asarray(empty_table.crop(first_row), float)).mean() > 2
page.click(512, 384)
wait_until(on_screen('menu.jpg'), 10, 'the menu')

step('windows of other shapes: Start answers where it is drawn')
for width, height in ((1400, 600), (640, 900)):
    page.resize(width, height)
    wait_until(lambda: abs(page.js('document.getElementById("canvas").getBoundingClientRect().width') -
                           min(width, height * 4 / 3)) < 2, 10, 'the picture to fit the window')
    wait_until(on_screen('menu.jpg'), 10, 'the menu at %dx%d' % (width, height))
    page.click(838, 322)
    wait_until(on_screen('zarvo2.jpg'), 10, 'the intro at %dx%d' % (width, height))
    page.key('a', 'KeyA')
    wait_until(lambda: not shows(page.shot(), 'zarvo2.jpg', 512, 384), 10, 'the game')
    page.key('Escape', 'Escape')
    wait_until(on_screen('menu.jpg'), 10, 'the menu')
page.resize(1024, 768)

step('Quit leaves a page to play again')
page.click(836, 543)
wait_until(lambda: page.js("!document.getElementById('ended').hidden"), 10, 'the page after Quit')
errors = page.errors()
assert not errors, errors

step('a build without its backdrop shows the error line')
broken = tempfile.mkdtemp(prefix='zarvo-broken-')
shutil.copytree(os.path.join(SOURCE, 'data'), os.path.join(broken, 'data'))
os.remove(os.path.join(broken, 'data', 'graphics', 'back.png'))
for name in ('index.html', 'icon.png', 'zarvo.js', 'zarvo.wasm'):
    shutil.copy(os.path.join(build, name), broken)
subprocess.run(['python3', os.path.join(os.environ.get('EMSCRIPTEN_ROOT', '/usr/share/emscripten'), 'tools',
                                        'file_packager.py'), 'zarvo.data', '--preload', 'data@/data',
                '--use-preload-plugins', '--no-node', '--js-output=zarvo-data.js'], cwd=broken, check=True,
               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
page.open(serve(broken))
wait_until(lambda: page.js("document.getElementById('message').textContent") ==
           'Error:File data\\graphics\\back.png not found!', 60, 'the error line')
assert page.js("document.getElementById('canvas').style.visibility") == 'hidden'
page.close()
print('the browser game played through')
