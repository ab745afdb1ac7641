# The page's world table in Chromium, on the real server: a climb filed in
# the game is sent (the player says yes), ranked, listed by the World panel
# (its name as text) and watched from there; served without the server, the
# panel says that it needs one; a climb the player sends while the server is
# away goes on the page's next visit.
# Usage: world_table.py BUILD-WEB-FOLDER SHOTS-FOLDER DESKTOP-BUILD-FOLDER
import atexit
import json
import os
import re
import subprocess
import sys
import tempfile
import urllib.request

from selenium.webdriver.common.by import By

from page import Page, bounce, require, serve, shows, start_round, wait_until

build, shots, desktop = sys.argv[1], sys.argv[2], sys.argv[3]
require(build)
work = tempfile.mkdtemp(prefix='zarvo-world-page-')


def start_server(listen='127.0.0.1:0'):
    """The server on the test's own table; it and its address."""
    server = subprocess.Popen([os.path.join(desktop, 'zarvo-server'), '--listen', listen, '--www', build, '--workers',
                               '1', '--database', 'sqlite:' + os.path.join(work, 'world.sqlite')],
                              stdout=subprocess.PIPE, text=True)
    atexit.register(server.kill)
    return server, next(found.group(1) for found in (re.search(r'serving (http://\S+/)', line)
                                                      for line in server.stdout) if found)


server, address = start_server()
page = Page(shots)


def element(id):
    return page.browser.driver.find_element(By.ID, id)


print('-- served without its server, the panel says it needs one', flush=True)
files, stop_files = serve(build)
page.open(files)
wait_until(page.showing('menu.jpg'), 60, 'the menu')
element('world').click()
wait_until(lambda: 'needs a connection' in element('world-status').text, 10, 'the note of no server')
assert all('api/table' in e for e in page.browser.errors())  # the file server's 404, and nothing else
stop_files()

print('-- a climb filed, sent, ranked, listed and watched', flush=True)
page.open(address)
wait_until(page.showing('menu.jpg'), 60, 'the menu')
start_round(page, first=True)
bounce(page)
for key in 'zoe':
    page.key(key)
page.key('Enter')
wait_until(lambda: element('send').is_displayed(), 10, 'the offer to send the climb')
page.snap('world-offer')
element('send-yes').click()
wait_until(lambda: 'rank 1 in the world' in element('send-status').text, 30, 'the rank')
element('world').click()
wait_until(lambda: re.search(r'1\.\s*ZOE\s*\d+ \(level 1\)', element('world-table').text), 10, 'the climb listed')
page.snap('world-panel')
page.browser.driver.find_element(By.CSS_SELECTOR, '#world-table button').click()
wait_until(lambda: not shows(page.shot(), 'gameagain.png', 512, 250) and not shows(page.shot(), 'menu.jpg', 512, 384),
           30, 'the climb watched')
page.snap('world-watch')
errors = page.browser.errors()
assert not errors, errors

print('-- a climb sent while the server is away goes on the next visit', flush=True)
bounce(page)
for key in 'ida':
    page.key(key)
page.key('Enter')
wait_until(lambda: element('send').is_displayed(), 10, 'the offer to send the climb')
server.kill()
server.wait()
element('send-yes').click()
wait_until(lambda: 'next visit' in element('send-status').text, 30, 'the promise to send it later')
server, address = start_server(address[len('http://'):-1])
page.open(address)
table = lambda: json.load(urllib.request.urlopen(address + 'api/table', timeout=30))['climbs']
wait_until(lambda: sorted(c['name'] for c in table()) == ['IDA', 'ZOE'], 30, 'the climb sent on the next visit')
wait_until(lambda: page.js("localStorage.getItem('zarvo-pending')") == '[]', 10, 'the sent climb no more pending')
page.close()
