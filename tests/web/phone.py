# The browser's game on an emulated landscape phone with a touch screen: taps
# through the menu, the intro and the box, a slide that steers, a tap that
# jumps, a name typed into the page's text field and kept over a reload, the
# back gesture, the portrait hint, and after one visit a reload with the
# server stopped.
# Usage: phone.py BUILD-WEB-FOLDER SHOTS-FOLDER
import sys
import time

import numpy
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from page import Page, figure, serve, shows, wait_until


def bricks(shot, y):
    """(centre, width) of every brick crossing row y: warm runs of the row,
    bridged over the mortar joints; the sky and the tower behind are blue."""
    row = numpy.asarray(shot.crop((0, y - 4, 1024, y + 5)), dtype=float).mean(axis=0)
    warm = numpy.flatnonzero((row[:, 0] - row[:, 2] > 25) & (row[:, 0] > 70))
    runs = numpy.split(warm, numpy.flatnonzero(numpy.diff(warm) > 8) + 1) if len(warm) else []
    return [((r[0] + r[-1]) // 2, r[-1] - r[0] + 1) for r in runs if r[-1] - r[0] >= 59]


def letters(shot, red, warm):
    """The status line's cream letters: their pixels as a set."""
    a = numpy.asarray(shot.crop((312, 10, 712, 50))).astype(int)
    return set(zip(*numpy.nonzero((a[..., 0] > red) & (a[..., 0] - a[..., 2] > warm))))


build, shots = sys.argv[1], sys.argv[2]
page = Page(shots, 844, 390, phone=True)

print('-- taps: Start, the intro, the box', flush=True)
address, stop_server = serve(build)
page.open(address)
wait_until(page.showing('menu.jpg'), 60, 'the menu')
page.snap('phone-menu')
page.tap(838, 322)
wait_until(page.showing('zarvo2.jpg'), 10, 'the intro')
page.tap(512, 384)
wait_until(page.showing('gameinfo.png', 512, 250), 10, 'the information box')
page.tap(512, 250)
wait_until(lambda: not shows(page.shot(), 'gameinfo.png', 512, 250), 10, 'the box to go')

print('-- a tap jumps, a slide steers', flush=True)
named = page.showing('highscore.png', 512, 250)  # a lucky bounce may end in the name box
standing, zero = figure(page.shot())[1], letters(page.shot(), 235, 60)
page.tap(500, 700)  # where the figure stands: no brick hangs lower than 320 yet
wait_until(lambda: figure(page.shot())[1] < standing - 25, 10, 'the figure to jump')
for x in range(200, 801, 50):  # in the air, so this touch does not jump again
    page.touch('touchMove' if x > 200 else 'touchStart', x, 700)
page.touch('touchEnd')
wait_until(lambda: named() or abs(figure(page.shot())[0] - 800) < 20, 10, 'the figure under the finger')
page.snap('phone-climb')


def new_round():
    """The back gesture to the menu, Start and the intro tapped away; False
    when a late bounce has ended in the name box meanwhile."""
    page.driver.back()
    wait_until(lambda: named() or shows(page.shot(), 'menu.jpg', 512, 384), 10, 'the menu after the back gesture')
    if named():
        return False
    page.tap(838, 322)
    wait_until(page.showing('zarvo2.jpg'), 10, 'the intro')
    page.tap(512, 384)
    return True


def bounce():
    """Plays rounds until a bounce has scored and the figure has fallen into
    the name box. Each attempt: a tap beside the lower of the first two bricks
    (the figure goes there, jumps and stands again), then a jump from there, a
    player's reaction time, and the finger slid over the brick as the figure
    rises past it. Once the status line shows a score, taps steer the figure
    clear of the bricks to fall; a figure back on the floor 4 s after its jump
    missed."""
    for attempt in range(1, 26):
        if named() or (attempt > 1 and not new_round()):
            return
        wait_until(lambda: len(zero - letters(page.shot(), 190, 40)) <= 8, 10, 'a new round')
        bx = next((x for x, w in bricks(page.shot(), 320) if x > 100 and w < 700), 150 + attempt * 173 % 700)
        side = bx + 200 + attempt % 3 * 30 if bx < 500 else bx - 200 - attempt % 3 * 30
        page.tap(side, 700)
        try:
            wait_until(lambda: abs(figure(page.shot())[0] - side) < 20 and figure(page.shot())[1] > 480, 10, 'the figure aside')
        except AssertionError:
            continue
        page.touch('touchStart', side, 700)
        time.sleep(0.25 + attempt % 6 * 0.1)
        page.touch('touchMove', bx, 700)
        page.touch('touchEnd')
        missed_by = time.monotonic() + 4
        while not named() and time.monotonic() < 60 + missed_by:
            shot = page.shot()
            if len(zero - letters(shot, 190, 40)) > 8:
                busy = [x for y in (420, 560, 700) for x, w in bricks(shot, y)]
                page.tap(max(range(50, 961, 100), key=lambda x: min([abs(x - c) for c in busy] or [1000])), 700)
            elif time.monotonic() > missed_by:
                break
        if named():
            return
    raise AssertionError('the figure never bounced off a brick')


print('-- a bounce, and a name typed into the page\'s field', flush=True)
bounce()
field = page.driver.find_element(By.ID, 'name')
wait_until(lambda: page.js("document.activeElement === document.getElementById('name')"), 10, 'the focused field')
page.snap('phone-name')
field.send_keys('ann')
field.send_keys(Keys.ENTER)
wait_until(page.showing('gameagain.png', 512, 250), 10, 'the retry box')
wait_until(lambda: page.js("Module.zarvoScoresKept > 0"), 10, 'the table to be stored')
saved = page.js("FS.readFile('/saved/score.txt', {encoding: 'utf8'})")
assert saved.startswith('ANN     ') and int(saved.split()[1]) > 0, saved

print('-- the back gesture in a climb returns to the menu', flush=True)
page.tap(599, 297)
wait_until(lambda: not shows(page.shot(), 'gameagain.png', 512, 250), 10, 'a new round')
page.driver.back()
wait_until(page.showing('menu.jpg'), 10, 'the menu after the back gesture')

print('-- portrait: the picture fits, Start answers where it is drawn and a line asks to turn the phone', flush=True)
page.resize(390, 844)
wait_until(lambda: page.js("getComputedStyle(document.getElementById('turn')).display") == 'block', 10, 'the hint')
wait_until(page.showing('menu.jpg'), 10, 'the menu in portrait')
page.snap('phone-portrait')
page.tap(838, 322)
wait_until(page.showing('zarvo2.jpg'), 10, 'the intro from a tap in portrait')
page.resize(844, 390)

print('-- offline: a reload with the server stopped reaches the menu and plays', flush=True)
wait_until(lambda: page.js("navigator.serviceWorker.controller !== null"), 30, 'the service worker')
stop_server()
page.open(address)
wait_until(page.showing('menu.jpg'), 60, 'the menu offline')
print('offline: first frame %.0f ms after the reload' % page.js('Module.zarvoFirstFrame'))
kept = page.js("FS.readFile('/saved/score.txt', {encoding: 'utf8'})")
assert kept == saved, 'the table read back after a reload: %r, not %r' % (kept, saved)
page.tap(838, 322)
wait_until(page.showing('zarvo2.jpg'), 10, 'the intro offline')
page.tap(512, 384)
wait_until(lambda: figure(page.shot())[1] > 480, 10, 'a round offline')
errors = page.errors()
assert not errors, errors
page.close()
print('the game played through on a phone')
