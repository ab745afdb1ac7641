# The world table's server as its Debian package installs it (root only):
# its own system user and database folder, a unit that systemd accepts, the
# service started as that unit says (by systemd where it runs, by hand where
# not), the browser's game served, a climb filed into /var/lib/zarvo-server,
# a clean stop on SIGTERM, and nothing of it left once purged.
# Usage: installed.py GAME.deb SERVER.deb
import grp
import os
import pwd
import re
import shlex
import subprocess
import sys
import time
import urllib.request

if os.geteuid() != 0:
    print('SKIPPED: installing the packages needs root')
    sys.exit(0)
debs = [os.path.realpath(path) for path in sys.argv[1:3]]
UNIT = '/usr/lib/systemd/system/zarvo-server.service'
STATE = '/var/lib/zarvo-server'
CLIMB = '/usr/share/games/zarvo/data/replays/climb.zrp'
systemd = os.path.isdir('/run/systemd/system')


def check(ok, what):
    if not ok:
        raise SystemExit('FAIL: ' + what)
    print('ok:', what, flush=True)


def get(address, path, body=None):
    request = urllib.request.Request(address + path, data=body,
                                     headers={'Content-Type': 'application/octet-stream'} if body else {})
    with urllib.request.urlopen(request, timeout=60) as answer:
        return answer.status, answer.read()


def purge():
    subprocess.run(['apt-get', 'purge', '-y', '-qq', 'zarvo-server', 'zarvo'], stdout=subprocess.DEVNULL)


subprocess.run(['apt-get', 'install', '-y', '-qq'] + debs, check=True, stdout=subprocess.DEVNULL)
try:
    user = pwd.getpwnam('zarvo-server')
    check(user.pw_uid < 1000 and user.pw_shell.endswith('nologin') and grp.getgrgid(user.pw_gid).gr_name == 'zarvo-server',
          'a system user and group of its own')
    state = os.stat(STATE)
    check(state.st_uid == user.pw_uid and state.st_mode & 0o777 == 0o750, STATE + ' is its own')
    subprocess.run(['systemd-analyze', 'verify', UNIT], check=True)
    check(True, 'systemd accepts the unit')
    if systemd:  # the package started it
        server, address = None, 'http://127.0.0.1:8000'
    else:  # started as the unit says, but on any free port
        command = re.search(r'^ExecStart=(.*)$', open(UNIT).read(), re.M).group(1)
        command = command.replace('--listen 127.0.0.1:8000', '--listen 127.0.0.1:0')
        server = subprocess.Popen(['setpriv', '--reuid=zarvo-server', '--regid=zarvo-server', '--init-groups']
                                  + shlex.split(command),
                                  stdout=subprocess.PIPE, text=True, cwd='/')
        address = next(found.group(1) for line in server.stdout
                       for found in [re.search(r'serving (http://\S+)/', line)] if found)
    deadline = time.monotonic() + 60
    while True:
        try:
            if get(address, '/healthz')[0] == 200:
                break
        except OSError:
            if time.monotonic() > deadline:
                raise
            time.sleep(0.2)
    status, page = get(address, '/')
    check(status == 200 and b'zarvo.js' in page, "the browser's game served")
    status, body = get(address, '/api/climbs', open(CLIMB, 'rb').read())
    check(status == 201 and b'"score":13923' in body, 'the shipped climb filed: ' + body.decode())
    check(os.stat(STATE + '/world.sqlite').st_uid == user.pw_uid, 'its table kept in ' + STATE)
    if server:
        server.terminate()
        rest = server.communicate(timeout=60)[0]
        check(server.returncode == 0 and 'stopped' in rest, 'a clean stop on SIGTERM')
finally:
    purge()
check(not any(os.path.exists(path) for path in (STATE, UNIT, '/usr/share/zarvo-server', '/usr/sbin/zarvo-server')),
      'nothing left once purged')
