# The browser's game played end to end in headless Chromium: the menu, Start,
# the intro skipped by a key, the information box, a hidden tab that pauses the
# climb, a jump and a bounce that scores, a name filed and still in the table
# after a reload, Quit, and a build missing a picture.
# Usage: play.py BUILD-WEB-FOLDER SHOTS-FOLDER
import os
import shutil
import subprocess
import sys
import tempfile
import time

import numpy

from page import Page, SOURCE, bounce, figure, letters, serve, shows, wait_until

build, shots = sys.argv[1], sys.argv[2]
page = Page(shots)


def step(text):
    print('--', text, flush=True)


address, _ = serve(build)
step('the menu')
page.open(address)
wait_until(page.showing('menu.jpg'), 60, 'the menu')
page.snap('menu')
page.click(890, 394)  # the first click also lets the browser play sound
wait_until(lambda: page.js('ZarvoMixer.music && ZarvoMixer.music.source !== null'), 30, "the menu's music")
high_scores = page.showing('score.jpg', 512, 384, (0, 0, 1024, 100))
wait_until(high_scores, 10, 'the high-score screen')
empty_table = page.shot()
page.click(512, 384)
wait_until(page.showing('menu.jpg'), 10, 'the menu after the high-score screen')

step('Start, the intro, the information box')
page.click(838, 322)
wait_until(page.showing('zarvo2.jpg'), 10, 'the intro')
page.snap('intro')
page.key('a', 'KeyA')
wait_until(page.showing('gameinfo.png', 512, 250), 10, 'the information box')
page.click(512, 250)
wait_until(lambda: not shows(page.shot(), 'gameinfo.png', 512, 250), 10, 'the box to go')
zero = letters(page.shot(), 235, 60)

step('a hidden tab pauses the climb; a click goes on')
game_tab = page.driver.current_window_handle
page.driver.switch_to.new_window('tab')
page.driver.close()
page.driver.switch_to.window(game_tab)
wait_until(page.showing('pause.png', 512, 250), 10, 'the pause box')
page.click(512, 250)
wait_until(lambda: not shows(page.shot(), 'pause.png', 512, 250), 10, 'the pause box to go')
page.snap('game')

step('a jump and a bounce that scores')


def new_round(named):
    """Escape to the menu, Start, the intro skipped by a key; False when a
    late bounce has ended in the name box meanwhile."""
    page.key('Escape', 'Escape')
    wait_until(lambda: named() or shows(page.shot(), 'menu.jpg', 512, 384), 10, 'the menu')
    if named():
        return False
    page.click(838, 322)
    wait_until(page.showing('zarvo2.jpg'), 10, 'the intro')
    page.key('a', 'KeyA')
    return True


def aside(x):
    page.point(x, 700)
    wait_until(lambda: abs(figure(page.shot())[0] - x) < 12, 10, 'the figure beside the brick')


def jump_over(side, brick, reaction):
    page.click(side, 700)
    time.sleep(reaction)
    page.point(brick, 700)


bounce(page, zero, new_round, aside, jump_over, lambda x: page.point(x, 700))

step('a name filed and kept')
page.snap('name-entry')
for letter in 'test':
    page.key(letter, 'Key' + letter.upper())
page.key('Enter', 'Enter')
wait_until(page.showing('gameagain.png', 512, 250), 10, 'the retry box')
wait_until(lambda: page.js("Module.zarvoScoresKept > 0"), 10, 'the table to be stored')
page.click(418, 297)
wait_until(page.showing('menu.jpg'), 10, 'the menu from the retry box')
page.open(address)
wait_until(page.showing('menu.jpg'), 60, 'the menu after a reload')
saved = page.js("FS.readFile('/saved/score.txt', {encoding: 'utf8'})")
assert saved.startswith('TEST    ') and int(saved.split()[1]) > 0, saved
page.click(890, 394)
wait_until(high_scores, 10, 'the high-score screen')
table = page.shot()
page.snap('high-scores')
first_row = (120, 105, 900, 155)
assert numpy.abs(numpy.asarray(table.crop(first_row), float) - numpy.asarray(empty_table.crop(first_row), float)).mean() > 2
page.click(512, 384)
wait_until(page.showing('menu.jpg'), 10, 'the menu')

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
page.open(serve(broken)[0])
wait_until(lambda: page.js("document.getElementById('message').textContent") ==
           'Error:File data\\graphics\\back.png not found!', 60, 'the error line')
assert page.js("document.getElementById('canvas').style.visibility") == 'hidden'
page.close()
print('the browser game played through')
