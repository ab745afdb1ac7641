# Plays the browser's game in headless Chromium as a person does: the page is
# served from 127.0.0.1, input arrives as real mouse and key events (DevTools
# protocol), and what the game shows is read from screenshots.
import functools
import http.server
import io
import os
import socket
import tempfile
import threading
import time

import numpy
from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

SOURCE = os.path.normpath(os.path.join(os.path.dirname(__file__), '..', '..'))


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
    """Serves the folder on a free port of 127.0.0.1; returns its address."""
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return 'http://127.0.0.1:%d/' % server.server_address[1]


class Page:
    """One headless Chromium with its own profile, showing the game's page."""

    def __init__(self, width=1024, height=768):
        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        for flag in ('--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
                     '--no-first-run', '--disable-background-networking', '--disable-component-update',
                     '--disable-sync', '--user-data-dir=' + tempfile.mkdtemp(prefix='zarvo-chromium-')):
            options.add_argument(flag)
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        self.resize(width, height)

    def resize(self, width, height):
        self.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride',
                                    {'width': width, 'height': height, 'deviceScaleFactor': 1, 'mobile': False})

    def open(self, address):
        self.driver.get(address)

    def js(self, script):
        return self.driver.execute_script('return ' + script)

    def shot(self):
        """The game's picture, 1024 x 768, cut from a screenshot of the page."""
        box = self.js('document.getElementById("canvas").getBoundingClientRect().toJSON()')
        page = Image.open(io.BytesIO(self.driver.get_screenshot_as_png())).convert('RGB')
        area = (round(box['left']), round(box['top']), round(box['right']), round(box['bottom']))
        return page.crop(area).resize((1024, 768), Image.BILINEAR)

    def to_page(self, x, y):
        box = self.js('document.getElementById("canvas").getBoundingClientRect().toJSON()')
        return box['left'] + x * box['width'] / 1024, box['top'] + y * box['height'] / 768

    def mouse(self, kind, x, y, button='none'):
        px, py = self.to_page(x, y)
        self.driver.execute_cdp_cmd('Input.dispatchMouseEvent', {'type': kind, 'x': px, 'y': py, 'button': button,
                                                                 'clickCount': 1 if button != 'none' else 0})

    def point(self, x, y):
        self.mouse('mouseMoved', x, y)

    def click(self, x, y):
        self.point(x, y)
        self.mouse('mousePressed', x, y, 'left')
        self.mouse('mouseReleased', x, y, 'left')

    def key(self, key, code):
        for kind in ('rawKeyDown', 'keyUp'):
            self.driver.execute_cdp_cmd('Input.dispatchKeyEvent', {'type': kind, 'key': key, 'code': code,
                                                                   'windowsVirtualKeyCode': code_of(key)})

    def errors(self):
        return [entry['message'] for entry in self.driver.get_log('browser') if entry['level'] == 'SEVERE']

    def close(self):
        self.driver.quit()


def code_of(key):
    return {'Escape': 27, 'Enter': 13, 'Backspace': 8}.get(key, ord(key.upper()[0]))


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
