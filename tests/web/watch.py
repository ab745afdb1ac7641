# The browser's game in Chromium shows replays: the one its address names
# (#watch=, here a file of the same site), and, on the menu left alone for
# 30 s, the best climb it has; a click or a key leads back to the menu.
# Usage: watch.py BUILD-WEB-FOLDER SHOTS-FOLDER
import os
import shutil
import sys
import tempfile

from page import Page, SOURCE, letters, require, serve, wait_until

build, shots = sys.argv[1], sys.argv[2]
require(build)
site = tempfile.mkdtemp(prefix='zarvo-watch-')
shutil.copytree(build, site, dirs_exist_ok=True, ignore=shutil.ignore_patterns('CMakeFiles', 'npm'))
os.makedirs(os.path.join(site, 'climbs'))
shutil.copy(os.path.join(SOURCE, 'data', 'replays', 'climb.zrp'), os.path.join(site, 'climbs', 'a.zrp'))
address, stop_server = serve(site)
page = Page(shots)
# The climb's status line, which neither the menu nor the loading page has
# (the climb's bricks may cover any picture of the scene).
replay = lambda: len(letters(page.shot(), 235, 60)) > 50

print('-- the replay the address names, left by a click', flush=True)
page.open(address + '#watch=climbs/a.zrp')
wait_until(replay, 60, 'the replay the address names')
page.snap('watch-address')
page.click(512, 400)
wait_until(page.showing('menu.jpg'), 10, 'the menu after a click')

print('-- the menu left alone for 30 s shows a replay, left by a key', flush=True)
wait_until(replay, 60, 'a replay on the menu left alone')
page.snap('watch-attract')
page.key('a')
wait_until(page.showing('menu.jpg'), 10, 'the menu after a key')
errors = page.browser.errors()
assert not errors, errors
page.close()
stop_server()
shutil.rmtree(site)
