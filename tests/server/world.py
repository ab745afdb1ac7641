# The world table's server, really started on a real database: SQLite (a
# file of its own), or PostgreSQL (the cluster pg_virtualenv makes, named by
# its PG* variables). The API's answers, hostile inputs, the rate limit, a slow
# client; on SQLite a server killed mid-load loses no accepted climb; on
# PostgreSQL two servers share one table.
# Usage: world.py sqlite|postgresql BUILD-FOLDER
import atexit
import concurrent.futures
import json
import os
import re
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request

kind, build = sys.argv[1], sys.argv[2]
work = tempfile.mkdtemp(prefix='zarvo-world-')
database = 'sqlite:' + os.path.join(work, 'world.sqlite') if kind == 'sqlite' else 'postgresql://'
SHIPPED = open('data/replays/climb.zrp', 'rb').read()


def start(*options):
    """A server on a free port; its address."""
    server = subprocess.Popen([os.path.join(build, 'zarvo-server'), '--listen', '127.0.0.1:0', '--database', database,
                               '--workers', '2', '--www', work] + list(options), stdout=subprocess.PIPE, text=True)
    atexit.register(server.kill)  # none outlives a failed step
    for line in server.stdout:
        found = re.search(r'serving (http://\S+)/', line)
        if found:
            return server, found.group(1)
    raise AssertionError('the server did not start')


def call(address, path, body=None, kind='application/octet-stream'):
    """(status, body) of a request; JSON bodies decoded."""
    request = urllib.request.Request(address + path, data=body, headers={'Content-Type': kind} if body is not None else {})
    try:
        with urllib.request.urlopen(request, timeout=60) as answer:
            status, data, type_ = answer.status, answer.read(), answer.headers.get('Content-Type', '')
    except urllib.error.HTTPError as e:
        status, data, type_ = e.code, e.read(), e.headers.get('Content-Type', '')
    return status, json.loads(data) if 'json' in type_ else data


def climbs(count, seed):
    """Distinct honest fifteen-level climbs, recorded by the autopilot."""
    folder = tempfile.mkdtemp(dir=work)
    subprocess.run([os.path.join(build, 'zarvo-autoplay'), '--runs', str(count), '--seed', str(seed),
                    '--record', folder], check=True, stdout=subprocess.DEVNULL)
    return [open(os.path.join(folder, f), 'rb').read() for f in sorted(os.listdir(folder))]


def named(replay, name):
    """The replay with another name: the length byte and the letters after the versions."""
    return replay[:6] + bytes([len(name)]) + name + replay[7 + replay[6]:]


server, address = start()
print('-- answers to honest and hostile climbs', flush=True)
score = SHIPPED[8:10]  # 13923 as a varint
rows = [
    ('an honest climb', SHIPPED, 'application/octet-stream', 201, "'rank': 1"),
    ('the same climb again', SHIPPED, 'application/octet-stream', 409, 'sent before'),
    ('a forged score', SHIPPED[:8] + bytes([0x84, 0x6d]) + SHIPPED[10:], 'application/octet-stream', 422,
     'reaches score 13923 on level 15, not the score 13956'),
    ('other rules', SHIPPED[:5] + b'\x02' + SHIPPED[6:], 'application/octet-stream', 422, 'other rules'),
    ('a cut file', SHIPPED[:len(SHIPPED) // 2], 'application/octet-stream', 400, 'damaged'),
    ('an oversized file', SHIPPED * 7, 'application/octet-stream', 413, ''),
    ('a wrong type', SHIPPED, 'application/json', 415, 'application/octet-stream'),
    ('a name of markup', named(SHIPPED, b'<b>"\'&'), 'application/octet-stream', 400, 'not letters'),
    ('the same climb renamed', named(SHIPPED, b'THIEF'), 'application/octet-stream', 409, 'sent before'),
    ('no name', named(SHIPPED, b''), 'application/octet-stream', 422, 'not filed with a name'),
]
assert score == bytes([0xe3, 0x6c])
for what, body, type_, status, says in rows:
    got, answer = call(address, '/api/climbs', body, type_)
    assert got == status and says in str(answer), '%s: %d %s' % (what, got, answer)
    print('  %s: %d %s' % (what, got, answer), flush=True)

print('-- the table, a replay, health and metrics', flush=True)
status, table = call(address, '/api/table?period=week&limit=5')
assert status == 200 and [(c['rank'], c['name'], c['score'], c['level']) for c in table['climbs']] == [(1, 'A', 13923, 15)]
assert re.fullmatch(r'\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ', table['climbs'][0]['date']), table
for bad in ('?period=year', '?limit=0', '?limit=101', '?limit=x'):
    assert call(address, '/api/table' + bad)[0] == 400, bad
assert call(address, '/api/climbs/%d/replay' % table['climbs'][0]['id']) == (200, SHIPPED)
assert call(address, '/api/climbs/999999/replay')[0] == 404
assert call(address, '/healthz') == (200, b'ok\n')
metrics = call(address, '/metrics')[1].decode()
for line in ('zarvo_requests_total{route="/api/climbs",status="201"} 1', 'zarvo_verifications_total{result="accepted"} 1',
             'zarvo_verifications_total{result="refused"} 1', 'zarvo_verification_queue 0'):
    assert line in metrics, line

print('-- zarvo-replay --send, on a table of its own', flush=True)
sender, sender_address = start('--rate', '100', '--database', 'sqlite:' + os.path.join(work, 'sent.sqlite'))
fresh, forged = os.path.join(work, 'fresh.zrp'), os.path.join(work, 'forged.zrp')
open(fresh, 'wb').write(climbs(1, 70)[0])
open(forged, 'wb').write(SHIPPED[:8] + bytes([0x84, 0x6d]) + SHIPPED[10:])
for what, url, path, code, says in [
        ('a fresh climb', sender_address + '/', fresh, 0, 'rank 1 of the world table'),
        ('the same again', sender_address, fresh, 1, 'sent before'),
        ('a forged score, refused before sending', sender_address, forged, 1, 'the file claims'),
        ('an address without a table', sender_address + '/elsewhere', fresh, 1, 'no world table'),
        ('no server', 'http://127.0.0.1:1', fresh, 1, 'cannot reach the server')]:
    sent = subprocess.run([os.path.join(build, 'zarvo-replay'), path, '--send', url], capture_output=True, text=True)
    assert sent.returncode == code and says in sent.stdout + sent.stderr, (what, sent.stdout, sent.stderr)
    print('  %s: %s' % (what, (sent.stderr or sent.stdout).strip().splitlines()[-1]), flush=True)
assert call(sender_address, '/metrics')[1].count(b'zarvo_verifications_total{result="accepted"} 1') == 1
sender.send_signal(signal.SIGTERM)
assert sender.wait(30) == 0

print('-- 1,000 rapid posts from one address, and a slow client', flush=True)
server.send_signal(signal.SIGTERM)
assert server.wait(30) == 0
server, address = start()  # a fresh count of posts
with concurrent.futures.ThreadPoolExecutor(8) as pool:
    answers = list(pool.map(lambda i: call(address, '/api/climbs', b'rapid')[0], range(1000)))
assert answers.count(429) == 990 and answers.count(400) == 10, answers[:12]
slow = socket.create_connection(('127.0.0.1', int(address.split(':')[2])))
slow.sendall(b'POST /api/climbs HTTP/1.1\r\nContent-Length: 1000\r\n')
assert call(address, '/healthz')[0] == 200, 'a slow client holds the server'
slow.settimeout(60)
started = time.monotonic()
while slow.recv(100):  # an answer, perhaps, then the connection closed
    pass
assert time.monotonic() - started < 20, 'the slow client was waited for %.0f s' % (time.monotonic() - started)
server.send_signal(signal.SIGTERM)
assert server.wait(30) == 0

if kind == 'sqlite':
    print('-- a server killed while climbs arrive loses none it accepted', flush=True)
    honest = climbs(16, 50)
    server, address = start('--rate', '100000')
    accepted = []
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        posts = [pool.submit(call, address, '/api/climbs', c) for c in honest]
        while len(accepted) < 4:
            accepted = [p.result()[1]['id'] for p in posts if p.done() and p.result()[0] == 201]
            time.sleep(0.05)
        server.kill()
        for p in posts:
            try:
                if p.result()[0] == 201 and p.result()[1]['id'] not in accepted:
                    accepted.append(p.result()[1]['id'])
            except (OSError, urllib.error.URLError):
                pass  # the connection went with the server
    server.wait()
    server, address = start()
    kept = [i for i in accepted if call(address, '/api/climbs/%d/replay' % i)[0] == 200]
    print('  %d climbs sent, %d accepted before the kill, %d of them kept' % (len(honest), len(accepted), len(kept)))
    assert kept == accepted
    check = subprocess.run(['sqlite3', database[7:], 'PRAGMA integrity_check'], capture_output=True, text=True)
    assert check.stdout.strip() == 'ok', check.stdout
else:
    print('-- two servers on one database: climbs sent to either, one table read from both', flush=True)
    first, second = start('--rate', '1000'), start('--rate', '1000')
    sent = [named(c, name) for c, name in zip(climbs(4, 90), (b'BEA', b'CY', b'DAN', b'EVE'))]
    for i, climb in enumerate(sent):
        assert call((first, second)[i % 2][1], '/api/climbs', climb)[0] == 201
    tables = [call(s[1], '/api/table')[1]['climbs'] for s in (first, second)]
    assert tables[0] == tables[1] and len(tables[0]) == 5, tables
    server = first[0]
    second[0].send_signal(signal.SIGTERM)
    assert second[0].wait(30) == 0
server.send_signal(signal.SIGTERM)
assert server.wait(30) == 0
print('world table on %s: all answers right' % kind)
