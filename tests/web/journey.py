# A player's journey through the browser's game, the same in every engine
# (engines.py), with a mouse and keys: the menu; Start, the intro and its
# music after this first click, the intro skipped by a key, the information
# box; a hidden tab that pauses the climb; steering and a jump; a
# bounce that scores, a name typed and filed, and the table kept over a
# reload, on the high-score screen; Quit; and a build missing a picture,
# which shows its error line.
# Usage: journey.py ENGINE BUILD-WEB-FOLDER SHOTS-FOLDER
import os
import shutil
import subprocess
import sys
import tempfile

from page import Page, SOURCE, bounce, figure, require, serve, shows, start_round, wait_until

engine, build, shots = sys.argv[1:4]
require(build, engine)
page = Page(shots, engine)


def step(text):
    print('--', engine + ':', text, flush=True)


def saved_table():
    return page.js("FS.analyzePath('/saved/score.txt').exists ? FS.readFile('/saved/score.txt', {encoding: 'utf8'}) "
                   ": ''")


address, _ = serve(build)
step('the menu; Start, the intro and its music after this first click, the intro skipped by a key, the box')
page.open(address)
wait_until(page.showing('menu.jpg'), 60, 'the menu')
page.snap(engine + '-menu')
start_round(page, first=True, check=lambda: wait_until(
    lambda: page.js("ZarvoMixer.context.state === 'running' && ZarvoMixer.music.source !== null"), 30, 'music'))

step('a hidden tab pauses the climb; a click goes on')
page.browser.hide_for_a_moment()
wait_until(page.showing('pause.png', 512, 250), 10, 'the pause box')
page.click(512, 250)
wait_until(lambda: not shows(page.shot(), 'pause.png', 512, 250), 10, 'the pause box to go')

step('the figure follows the pointer; a click jumps')
page.point(300, 700)
wait_until(lambda: abs(figure(page.shot())[0] - 300) < 12, 10, 'the figure under the pointer')
standing = figure(page.shot())[1]
page.click(300, 700)
wait_until(lambda: figure(page.shot())[1] < standing - 25, 10, 'the figure to jump')
page.snap(engine + '-climb')

step('a bounce that scores, a name filed, the table kept over a reload')
bounce(page)
for letter in 'ann':
    page.key(letter)
page.key('Enter')
wait_until(page.showing('gameagain.png', 512, 250), 10, 'the retry box')
wait_until(lambda: page.js('Module.zarvoScoresKept > 0'), 10, 'the table to be stored')
saved = saved_table()
assert saved.startswith('ANN     ') and int(saved.split()[1]) > 0, saved
page.open(address)
wait_until(page.showing('menu.jpg'), 60, 'the menu after a reload')
assert saved_table() == saved, 'the table read back after a reload: %r, not %r' % (saved_table(), saved)
page.click(890, 394)
wait_until(page.showing('score.jpg', 512, 384, (0, 0, 1024, 100)), 10, 'the high-score screen')
page.snap(engine + '-table')
page.click(512, 384)

step('Quit leaves a page to play again')
wait_until(page.showing('menu.jpg'), 10, 'the menu')
page.click(836, 543)
wait_until(lambda: page.js("!document.getElementById('ended').hidden"), 10, 'the page after Quit')
errors = page.browser.errors()
assert not errors, errors

step('a build without its backdrop shows the error line')
broken = tempfile.mkdtemp(prefix='zarvo-broken-')
shutil.copytree(os.path.join(SOURCE, 'data'), os.path.join(broken, 'data'))
os.remove(os.path.join(broken, 'data', 'graphics', 'back.png'))
for name in ('index.html', 'icon.png', 'ogg-vorbis-decoder.min.js', 'zarvo.js', 'zarvo.wasm'):
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
print('the browser game played through in', engine)
