# The desktop game played by the browser tests' own player (page.py's
# bounce) until a bounce has scored and the figure has fallen into the name
# box: it sees the screen of $DISPLAY, where the game fills 1024 x 768, and
# acts through XTEST. Run by e2e_installed.sh; exits 1 without a bounce.
import io
import os
import subprocess
import sys

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', 'web'))
import page  # noqa: E402


class Desktop(page.Page):
    phone = False

    def __init__(self):  # no browser: the game's window is the screen
        self.browser = None

    def shot(self):
        png = subprocess.run('xwd -root -silent | convert xwd:- png:-', shell=True, capture_output=True, check=True)
        return Image.open(io.BytesIO(png.stdout)).convert('RGB')

    def mouse(self, *steps):
        moves = [['mousemove', str(s[1]), str(s[2])] if s[0] == 'move' else ['mouse' + s[0], '1'] for s in steps]
        subprocess.run(['xdotool'] + sum(moves, []), check=True)

    def key(self, key):
        subprocess.run(['xdotool', 'key', key], check=True)

    def jump_and_steer(self, x, to, y, delay):
        # One command, so that starting a process on a busy machine does not add to the reaction time.
        subprocess.run(['xdotool', 'mousemove', str(x), str(y), 'click', '1', 'sleep', str(delay),
                        'mousemove', str(to), str(y)], check=True)


page.bounce(Desktop())
