# The three browser engines the game is played in, each behind the same thin
# adapter: open an address, evaluate a script, take a screenshot of the
# viewport, send W3C input actions (real mouse and key events), open and close
# a second tab, read the errors the page logged, close. Chromium and WebKitGTK
# are driven through WebDriver (selenium), Firefox through WebDriver BiDi, its
# built-in remote protocol.
import asyncio
import base64
import json
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.remote.command import Command


class Selenium:
    """Chromium (headless, software WebGL) or WebKitGTK's MiniBrowser (headed:
    it has no headless mode) through their WebDriver servers."""

    def __init__(self, engine, flags=()):
        profile = tempfile.mkdtemp(prefix='zarvo-%s-' % engine)
        if engine == 'chromium':
            options = webdriver.ChromeOptions()
            options.binary_location = '/usr/bin/chromium'
            for flag in ('--headless=new', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
                         '--no-first-run', '--disable-background-networking', '--disable-component-update',
                         '--disable-sync', '--user-data-dir=' + profile) + tuple(flags):
                options.add_argument(flag)
            options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
            self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        else:
            options = webdriver.WebKitGTKOptions()
            options.binary_location = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'
            options.add_argument('--automation')
            self.driver = webdriver.WebKitGTK(executable_path='/usr/bin/WebKitWebDriver', options=options)
            self.driver.set_window_rect(0, 0, 1024, 820)
        self.engine = engine

    def open(self, address):
        self.driver.get(address)

    def evaluate(self, script):
        return json.loads(self.driver.execute_script('return JSON.stringify((%s) ?? null)' % script))

    def screenshot(self):
        return self.driver.get_screenshot_as_png()

    def act(self, sources):
        self.driver.execute(Command.W3C_ACTIONS, {'actions': sources})

    def hide_for_a_moment(self):
        """Another tab in front of the game's, then closed."""
        game = self.driver.current_window_handle
        self.driver.switch_to.new_window('tab')
        self.driver.close()
        self.driver.switch_to.window(game)

    def back(self):
        self.driver.back()

    def errors(self):
        if self.engine != 'chromium':
            return []  # WebKit's driver keeps no console log
        return [entry['message'] for entry in self.driver.get_log('browser') if entry['level'] == 'SEVERE']

    def close(self):
        self.driver.quit()


class Firefox:
    """Firefox ESR, headed (it has no WebGL headless here), through WebDriver
    BiDi on a port it chooses and names on its standard error."""

    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix='zarvo-firefox-')
        with open(os.path.join(self.profile, 'user.js'), 'w') as prefs:
            for name, value in (('webgl.force-enabled', 'true'), ('browser.shell.checkDefaultBrowser', 'false'),
                                ('app.normandy.enabled', 'false'), ('messaging-system.rsexperimentloader.enabled',
                                                                    'false'), ('network.proxy.type', '0')):
                prefs.write('user_pref("%s", %s);\n' % (name, value))
        # Firefox plays sound only through a sound server: a PulseAudio of
        # its own, into a sink that plays nowhere.
        socket = os.path.join(self.profile, 'sound')
        self.sound = subprocess.Popen(
            ['pulseaudio', '--daemonize=no', '--exit-idle-time=-1', '--system=false', '-n', '--load',
             'module-native-protocol-unix socket=%s auth-anonymous=1' % socket, '--load', 'module-null-sink'],
            env=dict(os.environ, XDG_RUNTIME_DIR=self.profile, HOME=self.profile), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 30
        while not os.path.exists(socket) and time.monotonic() < deadline:
            time.sleep(0.1)
        self.process = subprocess.Popen(
            ['firefox-esr', '--new-instance', '--no-remote', '--profile', self.profile, '--remote-debugging-port',
             '0', 'about:blank'], env=dict(os.environ, PULSE_SERVER='unix:' + socket), stdout=subprocess.DEVNULL,
            stderr=subprocess.PIPE, text=True)
        address = None
        for line in self.process.stderr:
            found = re.search(r'WebDriver BiDi listening on (ws://\S+)', line)
            if found:
                address = found.group(1)
                break
        if not address:
            raise AssertionError('Firefox did not start its remote agent')
        threading.Thread(target=self.process.stderr.read, daemon=True).start()  # a full pipe would stall it
        self.loop = asyncio.new_event_loop()
        asyncio.set_event_loop(self.loop)
        self.socket = self.loop.run_until_complete(self._connect(address + '/session'))
        self.sent, self.logged = 0, []
        self.command('session.new', capabilities={})
        self.command('session.subscribe', events=['log.entryAdded'])
        self.context = self.command('browsingContext.getTree')['contexts'][0]['context']
        self.command('browsingContext.setViewport', context=self.context, viewport={'width': 1024, 'height': 768})

    @staticmethod
    async def _connect(address):
        import websockets
        return await websockets.connect(address, max_size=None)

    def command(self, method, **params):
        self.sent += 1
        self.loop.run_until_complete(self.socket.send(json.dumps({'id': self.sent, 'method': method,
                                                                  'params': params})))
        while True:
            message = json.loads(self.loop.run_until_complete(self.socket.recv()))
            if message.get('method') == 'log.entryAdded' and message['params'].get('level') == 'error':
                self.logged.append(message['params'].get('text'))
            if message.get('id') == self.sent:
                if message.get('type') == 'error':
                    raise AssertionError('%s: %s' % (method, message.get('message') or message.get('error')))
                return message['result']

    def open(self, address):
        self.command('browsingContext.navigate', context=self.context, url=address, wait='complete')

    def evaluate(self, script):
        answer = self.command('script.evaluate', expression='JSON.stringify((%s) ?? null)' % script,
                              target={'context': self.context}, awaitPromise=False)
        if answer['type'] != 'success':
            raise AssertionError('the script failed: %s' % answer.get('exceptionDetails', {}).get('text'))
        return json.loads(answer['result']['value'])

    def screenshot(self):
        return base64.b64decode(self.command('browsingContext.captureScreenshot', context=self.context)['data'])

    def act(self, sources):
        self.command('input.performActions', context=self.context, actions=sources)

    def hide_for_a_moment(self):
        other = self.command('browsingContext.create', type='tab')['context']
        self.command('browsingContext.close', context=other)
        self.command('browsingContext.activate', context=self.context)

    def back(self):
        self.command('browsingContext.traverseHistory', context=self.context, delta=-1)

    def errors(self):
        self.command('session.status')  # reads the events that came meanwhile
        return list(self.logged)

    def close(self):
        try:
            self.command('browser.close')
        except Exception:  # the browser may already be gone
            pass
        for process in (self.process, self.sound):
            process.kill()
            process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


def launch(engine, flags=()):
    """The engine's browser; flags are Chromium's command-line switches."""
    return Firefox() if engine == 'firefox' else Selenium(engine, flags)
