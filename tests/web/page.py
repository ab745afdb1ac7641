# Plays the browser's game as a person does, in any of the three engines
# (engines.py): the page is served from 127.0.0.1, input arrives as real mouse,
# touch and key events, and what the game shows is read from screenshots.
import atexit
import functools
import http.server
import io
import os
import sys
import threading
import time

import numpy
from PIL import Image

SOURCE = os.path.normpath(os.path.join(os.path.dirname(__file__), '..', '..'))
KEYS = {'Escape': '\ue00c', 'Enter': '\ue007', 'Backspace': '\ue003'}


def picture(name):
    return Image.open(os.path.join(SOURCE, 'data', 'graphics', name)).convert('RGBA')


def wait_until(condition, seconds=30, what='the condition'):
    """Polls until condition() is true, for at most `seconds` of wall time."""
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > end:
            raise AssertionError('waited %d s for %s' % (seconds, what))
        time.sleep(0.1)


def serve(folder):
    """Serves the folder on a free port of 127.0.0.1; returns its address and
    a function that stops the server."""
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return 'http://127.0.0.1:%d/' % server.server_address[1], lambda: (server.shutdown(), server.server_close())


def require(build, engine='chromium'):
    """Skips the test (exit 77, which ctest counts as skipped) when the
    browser's build or the engine is not on this machine."""
    needed = {'chromium': '/usr/bin/chromedriver', 'firefox': '/usr/bin/firefox-esr',
              'webkit': '/usr/bin/WebKitWebDriver'}[engine]
    for path in (os.path.join(build, 'zarvo.wasm'), needed):
        if not os.path.exists(path):
            print('skipped: no %s (scripts/web --build makes the game; scripts/test installs the browsers)' % path)
            sys.exit(77)


class Page:
    """One browser with its own profile, showing the game's page. A phone is
    Chromium's emulated touch screen, with no mouse."""

    def __init__(self, shots, engine='chromium', phone=False, size=(1024, 768), flags=()):
        import engines  # selenium, which the desktop's player (tests/scripts/bounce.py) does without
        self.browser = engines.launch(engine, flags)
        self.engine, self.phone, self.shots = engine, phone, shots
        os.makedirs(shots, exist_ok=True)
        atexit.register(self.close)  # no browser outlives a failed step

        def keep_last_screen(kind, value, trace):  # what the page showed when a step failed
            self.snap('failed-' + engine)
            sys.__excepthook__(kind, value, trace)
        sys.excepthook = keep_last_screen
        if phone:
            self.cdp('Emulation.setTouchEmulationEnabled', {'enabled': True, 'maxTouchPoints': 5})
        if engine == 'chromium':
            self.resize(*size)

    def cdp(self, command, params):
        return self.browser.driver.execute_cdp_cmd(command, params)

    def resize(self, width, height):
        self.cdp('Emulation.setDeviceMetricsOverride', {
            'width': width, 'height': height, 'deviceScaleFactor': 2 if self.phone else 1, 'mobile': self.phone,
            'screenOrientation': {'type': 'landscapePrimary' if width > height else 'portraitPrimary',
                                  'angle': 90 if width > height else 0}})

    def open(self, address):
        self.browser.open(address)

    def js(self, script):
        return self.browser.evaluate(script)

    def shot(self):
        """The game's picture, 1024 x 768, cut from a screenshot of the page."""
        box = self.js('document.getElementById("canvas").getBoundingClientRect()')
        page = Image.open(io.BytesIO(self.browser.screenshot())).convert('RGB')
        scale = page.size[0] / self.js('innerWidth')
        area = tuple(round(box[side] * scale) for side in ('left', 'top', 'right', 'bottom'))
        return page.crop(area).resize((1024, 768), Image.BILINEAR)

    def snap(self, name):
        if self.browser:
            with open(os.path.join(self.shots, name + '.png'), 'wb') as out:
                out.write(self.browser.screenshot())

    def showing(self, name, cx=512, cy=384, part=None):
        """A condition: the game's picture shows the picture (see shows)."""
        return lambda: shows(self.shot(), name, cx, cy, part)

    def to_page(self, x, y):
        box = self.js('document.getElementById("canvas").getBoundingClientRect()')
        return box['left'] + x * box['width'] / 1024, box['top'] + y * box['height'] / 768

    def mouse(self, *steps):
        """Mouse steps, each ('move', x, y) in the game's picture, ('down',) or ('up',)."""
        actions = []
        for step in steps:
            if step[0] == 'move':
                px, py = self.to_page(step[1], step[2])
                actions.append({'type': 'pointerMove', 'x': round(px), 'y': round(py), 'origin': 'viewport',
                                'duration': 0})
            else:
                actions.append({'type': 'pointer' + step[0].capitalize(), 'button': 0})
        self.browser.act([{'type': 'pointer', 'id': 'mouse', 'parameters': {'pointerType': 'mouse'},
                           'actions': actions}])

    def point(self, x, y):
        self.mouse(('move', x, y))

    def click(self, x, y):
        self.mouse(('move', x, y), ('down',), ('up',))

    def key(self, key):
        value = KEYS.get(key, key)
        self.browser.act([{'type': 'key', 'id': 'keyboard', 'actions': [{'type': 'keyDown', 'value': value},
                                                                         {'type': 'keyUp', 'value': value}]}])

    def touch(self, kind, x=0, y=0):
        """A finger on the phone: touchStart, touchMove or touchEnd at (x, y) of the game's picture."""
        px, py = self.to_page(x, y)
        self.cdp('Input.dispatchTouchEvent', {'type': kind, 'touchPoints': [] if kind == 'touchEnd' else
                                              [{'x': px, 'y': py}]})

    def tap(self, x, y):
        self.touch('touchStart', x, y)
        self.touch('touchEnd')

    def tap_element(self, id):
        """A tap in the middle of one of the page's own elements."""
        box = self.js('document.getElementById("%s").getBoundingClientRect()' % id)
        point = [{'x': box['left'] + box['width'] / 2, 'y': box['top'] + box['height'] / 2}]
        self.cdp('Input.dispatchTouchEvent', {'type': 'touchStart', 'touchPoints': point})
        self.cdp('Input.dispatchTouchEvent', {'type': 'touchEnd', 'touchPoints': []})

    def press(self, x, y):
        """A click, or a tap on the phone."""
        if self.phone:
            self.tap(x, y)
        else:
            self.click(x, y)

    def steer(self, x, y):
        """The figure sent toward x: the pointer moved there, or a tap (which
        also jumps from the floor)."""
        if self.phone:
            self.tap(x, y)
        else:
            self.point(x, y)

    def jump_and_steer(self, x, to, y, delay):
        """A jump at x, and after `delay` seconds the figure steered to `to`."""
        if self.phone:
            self.touch('touchStart', x, y)
            time.sleep(delay)
            self.touch('touchMove', to, y)
            self.touch('touchEnd')
        else:
            self.mouse(('move', x, y), ('down',), ('up',))
            time.sleep(delay)
            self.point(to, y)

    def close(self):
        if self.browser:
            self.browser.close()
        self.browser = None


def shows(shot, name, cx, cy, part=None):
    """Whether the shot shows the picture drawn at its own size centred on
    (cx, cy); compared on a part of it (by default the band of its upper half
    where the boxes have their captions), clear of what the game writes over it."""
    pic = picture(name)
    w, h = pic.size
    left, top, bw, bh = part or (w // 8, h // 12, w * 3 // 4, h // 3)
    x0, y0 = cx - w // 2 + left, cy - h // 2 + top
    seen = numpy.asarray(shot.crop((x0, y0, x0 + bw, y0 + bh)), dtype=float) / 255
    want = numpy.asarray(pic.crop((left, top, left + bw, top + bh)), dtype=float) / 255
    drawn = want[..., :3] * want[..., 3:]  # over black, as the game's boxes are compared
    return numpy.sqrt(((seen - drawn) ** 2).mean()) < 0.12


def figure(shot):
    """(x, y) of the densest 44 px square of the figure's orange jacket (a
    flower's orange heart may stand in the same column)."""
    a = numpy.asarray(shot.crop((0, 80, 1024, 680)))[::4, ::4].astype(int)
    orange = (a[..., 0] > 215) & (a[..., 1] > 100) & (a[..., 1] < 128) & (a[..., 2] < 48)
    columns = numpy.convolve(orange.sum(axis=0), numpy.ones(11), 'same')
    if columns.max() <= 3:
        return -999, -999
    at = int(columns.argmax())
    rows = numpy.convolve(orange[:, max(at - 5, 0):at + 6].sum(axis=1), numpy.ones(11), 'same')
    return at * 4 + 2, int(rows.argmax()) * 4 + 82


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


def start_round(page, first=False, check=lambda: None):
    """From the menu: Start, the intro (where `check` runs) skipped (a tap on
    the phone, a key elsewhere); the first round's information box is then
    clicked away."""
    page.press(838, 322)
    wait_until(page.showing('zarvo2.jpg'), 10, 'the intro')
    check()
    if page.phone:
        page.tap(512, 384)
    else:
        page.key('a')
    if first:  # a touch screen's box speaks of a finger and taps
        box = 'gameinfo_touch.png' if page.phone else 'gameinfo.png'
        wait_until(page.showing(box, 512, 250), 10, 'the information box')
        page.press(512, 250)
        wait_until(lambda: not shows(page.shot(), box, 512, 250), 10, 'the box to go')


def bounce(page):
    """Plays rounds until a bounce has scored and the figure has fallen into
    the name box. Each attempt starts a round from the menu (the back gesture,
    or Escape); then the figure is sent beside the lower of the first two
    bricks, jumps from there, and after a player's reaction time is steered
    over the brick as it rises past it. Once the status line shows a score, the
    figure is steered clear of the bricks to fall; a figure back on the floor
    4 s after its jump missed."""
    named = page.showing('highscore.png', 512, 250)
    for attempt in range(1, 26):
        page.browser.back() if page.phone else page.key('Escape')
        wait_until(lambda: named() or shows(page.shot(), 'menu.jpg', 512, 384), 10, 'the menu')
        if named():
            return
        start_round(page)
        wait_until(lambda: figure(page.shot())[1] > 480, 10, 'the figure on the floor')
        zero = letters(page.shot(), 235, 60)
        bx = next((x for x, w in bricks(page.shot(), 320) if x > 100 and w < 700), 150 + attempt * 173 % 700)
        side = bx + 200 + attempt % 3 * 30 if bx < 500 else bx - 200 - attempt % 3 * 30
        page.steer(side, 700)
        try:
            wait_until(lambda: abs(figure(page.shot())[0] - side) < 20 and figure(page.shot())[1] > 480, 10,
                       'the figure aside')
        except AssertionError:
            continue
        page.jump_and_steer(side, bx, 700, 0.25 + attempt % 6 * 0.1)
        missed_by = time.monotonic() + 4
        while not named() and time.monotonic() < 60 + missed_by:
            shot = page.shot()
            if len(zero - letters(shot, 190, 40)) > 8:
                busy = [x for y in (420, 560, 700) for x, w in bricks(shot, y)]
                page.steer(max(range(50, 961, 100), key=lambda x: min([abs(x - c) for c in busy] or [1000])), 700)
            elif time.monotonic() > missed_by:
                break
        if named():
            return
    raise AssertionError('the figure never bounced off a brick')
