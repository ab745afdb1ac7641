# The browser's game in Chromium where things go wrong: sound with the
# browser's own Ogg decoding refused (as Safari refuses it), a hidden tab's
# sound, and the page a player sees for a build that will not download or
# compile, for storage that is refused or silent, for an exception in the game
# and for a browser without WebGL.
# Usage: failures.py BUILD-WEB-FOLDER SHOTS-FOLDER
import os
import shutil
import struct
import sys
import tempfile

from page import Page, SOURCE, require, serve, start_round, wait_until

build, shots = sys.argv[1], sys.argv[2]
require(build)

REFUSE_OGG = '''
  var decode = AudioContext.prototype.decodeAudioData;
  AudioContext.prototype.decodeAudioData = function(data) {
    if (String.fromCharCode.apply(null, new Uint8Array(data, 0, 4)) === 'OggS')
      return Promise.reject(new DOMException('Ogg Vorbis is not supported', 'EncodingError'));
    return decode.apply(this, arguments);
  };
  var start = AudioBufferSourceNode.prototype.start;
  window.effects = 0;  // sounds started that do not loop: the effects
  AudioBufferSourceNode.prototype.start = function() {
    if (!this.loop) effects++;
    return start.apply(this, arguments);
  };
'''


def samples(name):
    """An Ogg Vorbis file's sample count: the granule position of its last page."""
    data = open(os.path.join(SOURCE, 'data', 'sound', name), 'rb').read()
    return struct.unpack_from('<q', data, data.rindex(b'OggS') + 6)[0]


def failure_page(page, title, shot):
    wait_until(lambda: page.js("document.getElementById('failure').textContent") == title, 60, title)
    assert page.js("!document.getElementById('reload').hidden && document.getElementById('help').textContent") != ''
    page.snap(shot)
    return page.js("document.getElementById('message').textContent")


page = Page(shots)
print('-- music and an effect play with the browser\'s Ogg decoding refused, each piece sample-exact', flush=True)
page.cdp('Page.addScriptToEvaluateOnNewDocument', {'source': REFUSE_OGG})
page.open(serve(build)[0])
wait_until(page.showing('menu.jpg'), 60, 'the menu')
page.click(100, 700)
wait_until(lambda: page.js('ZarvoMixer.music && ZarvoMixer.music.source !== null'), 30, "the menu's music")
lengths = page.js('ZarvoMixer.sounds.filter(function(s) { return s && s.buffer; }).map(function(s) { '
                  'return s.buffer.length; })')
for piece in ('menu.ogg', 'game.ogg', 'intro.ogg'):
    assert samples(piece) in lengths, '%s: %d samples, decoded %s' % (piece, samples(piece), lengths)
start_round(page, first=True)
before = page.js('effects')
page.click(512, 700)  # the jump's sound
wait_until(lambda: page.js('effects') > before, 10, 'the jump to sound')

print('-- a hidden tab suspends the sound, and showing it again resumes it', flush=True)
page.js("(window.heard = [], ZarvoMixer.context.addEventListener('statechange', function() {"
        " heard.push(ZarvoMixer.context.state + (document.hidden ? ' hidden' : ' shown')); }), 0)")
page.browser.hide_for_a_moment()
wait_until(lambda: page.js('heard').count('running shown') == 1, 10, 'sound to run again')
assert page.js('heard')[0] == 'suspended hidden', page.js('heard')
assert not page.browser.errors(), page.browser.errors()

print('-- a file that does not arrive, and code that does not compile', flush=True)
page.cdp('Network.enable', {})
page.cdp('Network.setBlockedURLs', {'urls': ['*zarvo.wasm']})
page.open(serve(build)[0])
failure_page(page, 'Zarvo could not be loaded', 'failed-download')
page.cdp('Network.setBlockedURLs', {'urls': []})
damaged = tempfile.mkdtemp(prefix='zarvo-damaged-')
shutil.copytree(build, damaged, dirs_exist_ok=True, ignore=shutil.ignore_patterns('sw.js', 'CMakeFiles', 'npm'))
with open(os.path.join(damaged, 'zarvo.wasm'), 'r+b') as wasm:
    wasm.write(b'not wasm')
page.open(serve(damaged)[0])
failure_page(page, 'Zarvo could not start', 'failed-start')

# Storage that refuses, and storage that never answers (after its deadline).
for what, script in (('refused', "function() { throw new DOMException('refused', 'SecurityError'); }"),
                     ('silent', "function() { return {}; }")):
    print('-- storage %s: the game plays, and says its table is kept for this visit' % what, flush=True)
    refusing = page.cdp('Page.addScriptToEvaluateOnNewDocument', {'source': 'IDBFactory.prototype.open = ' + script})
    page.open(serve(build)[0])
    wait_until(page.showing('menu.jpg'), 60, 'the menu')
    wait_until(lambda: page.js("!document.getElementById('note').hidden"), 10, 'the note')
    page.snap('storage-' + what)
    page.cdp('Page.removeScriptToEvaluateOnNewDocument', refusing)
start_round(page, first=True)

print('-- an exception in the game', flush=True)
page.open(serve(build)[0])
wait_until(page.showing('menu.jpg'), 60, 'the menu')
page.js("(Module.zarvoStateShown = function() { throw new Error('a fault in a frame'); }, 0)")
page.click(838, 322)
assert 'a fault in a frame' in failure_page(page, 'Zarvo stopped', 'failed-stopped')
page.close()

print('-- a browser without WebGL', flush=True)
page = Page(shots, flags=['--disable-webgl'])
page.open(serve(build)[0])
failure_page(page, 'Zarvo needs WebGL', 'failed-webgl')
assert page.js("typeof Module.calledRun") == 'undefined', 'the game ran all the same'
page.close()
print('every failure was shown')
