# The browser's game played in headless Chromium with a mouse and keys: the
# menu, its high-score screen, Start, the intro skipped by a key, the
# information box, a hidden tab that pauses the climb, steering by the pointer
# and a jump, Escape, Quit, and a build missing a picture. (A bounce, a name
# filed and the table kept over a reload are the phone test's.)
# Usage: play.py BUILD-WEB-FOLDER SHOTS-FOLDER
import os
import shutil
import subprocess
import sys
import tempfile

from page import Page, SOURCE, figure, serve, shows, wait_until

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

step('a hidden tab pauses the climb; a click goes on')
game_tab = page.driver.current_window_handle
page.driver.switch_to.new_window('tab')
page.driver.close()
page.driver.switch_to.window(game_tab)
wait_until(page.showing('pause.png', 512, 250), 10, 'the pause box')
page.click(512, 250)
wait_until(lambda: not shows(page.shot(), 'pause.png', 512, 250), 10, 'the pause box to go')
page.snap('game')

step('the figure follows the pointer; a click jumps; Escape leads to the menu')
page.point(300, 700)
wait_until(lambda: abs(figure(page.shot())[0] - 300) < 12, 10, 'the figure under the pointer')
standing = figure(page.shot())[1]
page.click(300, 700)
wait_until(lambda: figure(page.shot())[1] < standing - 25, 10, 'the figure to jump')
page.key('Escape', 'Escape')
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
