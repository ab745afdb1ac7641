# The browser's game on an emulated landscape phone with a touch screen: taps
# through the menu, the intro and the box, sound after a tap, the pause
# button, taps that jump and a finger that steers to a bounce, a name typed
# into the page's text field (its hint tapped) and kept
# over a reload, the back gesture (in the name box, the climb and the intro),
# the portrait hint, and after one visit a reload with the server stopped.
# Usage: phone.py BUILD-WEB-FOLDER SHOTS-FOLDER
import sys

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from page import Page, bounce, figure, require, serve, shows, start_round, wait_until

build, shots = sys.argv[1], sys.argv[2]
require(build)
page = Page(shots, phone=True, size=(844, 390))

print('-- taps: Start, the intro, the box', flush=True)
address, stop_server = serve(build)
page.open(address)
wait_until(page.showing('menu.jpg'), 60, 'the menu')
page.snap('phone-menu')
start_round(page, first=True)
wait_until(lambda: page.js("ZarvoMixer.context && ZarvoMixer.context.state") == 'running', 10, 'sound after a tap')
page.tap_element('pause')
wait_until(page.showing('pause.png', 512, 250), 10, 'the pause box after the pause button')
page.tap(512, 250)
wait_until(lambda: not shows(page.shot(), 'pause.png', 512, 250), 10, 'the pause box to go')

print('-- taps that jump and a finger that steers: a bounce, and a name typed into the page\'s field', flush=True)
bounce(page)
named = page.showing('highscore.png', 512, 250)
field = page.browser.driver.find_element(By.ID, 'name')
wait_until(lambda: page.js("document.getElementById('pause').hidden"), 10, 'no pause button (P is a letter)')
focused = "document.activeElement === document.getElementById('name')"
page.js("document.getElementById('name').blur()")  # as a phone refuses a keyboard the page asks for
assert page.js("document.getElementById('name').matches(':placeholder-shown')"), 'no hint to tap the box'
page.snap('phone-name')
page.tap_element('name')
wait_until(lambda: page.js(focused), 10, 'the field focused by a tap')
for _ in range(2):  # the back gesture never leaves the page with a score waiting for its name
    page.browser.back()
    wait_until(lambda: page.js("history.state && history.state.zarvo") == 'away', 10, 'the entry put back')
    assert named() and page.js(focused)
field.send_keys('ann')
field.send_keys(Keys.ENTER)
wait_until(page.showing('gameagain.png', 512, 250), 10, 'the retry box')
wait_until(lambda: page.js("Module.zarvoScoresKept > 0"), 10, 'the table to be stored')
saved = page.js("FS.readFile('/saved/score.txt', {encoding: 'utf8'})")
assert saved.startswith('ANN     ') and int(saved.split()[1]) > 0, saved

print('-- the back gesture in a climb and in the intro returns to the menu', flush=True)
page.tap(599, 297)
wait_until(lambda: not shows(page.shot(), 'gameagain.png', 512, 250), 10, 'a new round')
page.browser.back()
wait_until(page.showing('menu.jpg'), 10, 'the menu after the back gesture')
page.tap(838, 322)
wait_until(page.showing('zarvo2.jpg'), 10, 'the intro')
page.browser.back()
wait_until(page.showing('menu.jpg'), 10, 'the menu after the back gesture in the intro')
assert page.js('history.state') is None, 'the menu keeps an entry of the game: %s' % page.js('history.state')

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
errors = page.browser.errors()
assert not errors, errors
page.close()
print('the game played through on a phone')
