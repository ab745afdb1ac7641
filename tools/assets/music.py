"""Zarvo music: reads the scores in tools/assets/scores/*.txt, writes each as a
standard MIDI file, renders it with FluidSynth and the MuseScore General
SoundFont, then folds the loops, levels and encodes them with oggenc.

The score format is described in docs/assets.md; in short:

    title  The night tower          # free text
    tempo  132                      # quarter notes per minute
    meter  4/4
    swing  0.6                      # where the off-beat eighth falls (0.5 = straight)
    loop   yes                      # yes: seamless loop; no: a piece with an ending
    tail   4                        # seconds rendered past the end (folded back when looping)
    end    34.5                     # pieces that do not loop: cut (with a short fade) here
    chord  Dm  d4 f4 a4             # a name usable inside <...>
    voice  lead prog=72 vol=100 pan=-10 vel=90 gate=0.9 reverb=50   # GM program 1..128
    voice  drums drums prog=1       # the GM drum channel; prog picks the kit
    pattern groove                  # one bar of drums, one row per drum, one char per step
      kick  x...x...
    phrase theme                    # notes that sections can share with $theme, $theme+12
      d5q a4e d5 f5 e5 d5q |
    section A [tempo=BPM | seconds=S]
      lead:  $theme | c#5e d5 f5q ...
      drums: groove*7 fill
    form   I A A B A

Notes are pitch + length: c4 is middle C, f#5, bb3; r is a rest; <d4 f4 a4>
or <Dm> a chord. Lengths w h q e s, with . (dotted) and 3 (triplet); a note
without a length keeps the previous one. After the length: ' staccato,
_ held full length, ! accent, ~ tie to the next note. @80 sets the velocity,
| is a bar line and is checked.
"""
import math, os, re, struct, subprocess
from types import MappingProxyType
from fractions import Fraction
import numpy as np
from PIL import Image, ImageDraw, ImageFont

SR = 22050
TPQ = 480                       # MIDI ticks per quarter note
SOUNDFONT = '/usr/share/sounds/sf3/MuseScore_General_Lite.sf3'
SCORES = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'scores')
PEAK_DB = -10.0                 # loudest sample of every piece
OGG_QUALITY = '4'
# Every setting that could change the rendering is pinned here: one core, the
# sample-clocked MIDI player, fixed reverb, no chorus, float output (no dither).
FLUIDSYNTH = ('fluidsynth', '-q', '-n', '-i', '-r', str(SR), '-g', '0.5', '-T', 'raw', '-O', 'float', '-E', 'little',
              '-o', 'synth.cpu-cores=1', '-o', 'player.timing-source=sample', '-o', 'audio.period-size=64',
              '-o', 'synth.polyphony=256', '-o', 'synth.lock-memory=0', '-o', 'synth.dynamic-sample-loading=0',
              '-o', 'synth.chorus.active=0', '-o', 'synth.reverb.active=1', '-o', 'synth.reverb.room-size=0.55',
              '-o', 'synth.reverb.damp=0.35', '-o', 'synth.reverb.width=0.8', '-o', 'synth.reverb.level=0.6')

# The tables below are read-only: nothing at module level changes while scores are read.
DRUMS = MappingProxyType({'kick': 36, 'kick2': 35, 'stick': 37, 'snare': 38, 'clap': 39, 'snare2': 40, 'floortom': 41, 'hat': 42,
         'pedalhat': 44, 'tomlo': 45, 'openhat': 46, 'tommid': 47, 'tomhi': 50, 'crash': 49, 'ride': 51,
         'ridebell': 53, 'tamb': 54, 'splash': 55, 'cowbell': 56, 'vibraslap': 58, 'bongohi': 60, 'bongolo': 61,
         'shaker': 70, 'claves': 75, 'woodhi': 76, 'woodlo': 77, 'triangle': 81, 'mutetri': 80})
LENGTHS = MappingProxyType({'w': Fraction(4), 'h': Fraction(2), 'q': Fraction(1), 'e': Fraction(1, 2), 's': Fraction(1, 4)})
PITCH_CLASS = MappingProxyType({'c': 0, 'd': 2, 'e': 4, 'f': 5, 'g': 7, 'a': 9, 'b': 11})
NOTE_RE = re.compile(r"^(?P<p>r|[a-g](?:#|b)?\d|<[^>]*>)(?P<len>[whqes]\.?3?)?(?P<art>[~'_!]*)$")
PITCH_RE = re.compile(r'^([a-g])(#|b)?(\d)$')
REF_RE = re.compile(r'^\$(\w+)([+-]\d+)?(?:\*(\d+))?$')
PATTERN_REF_RE = re.compile(r'^([A-Za-z]\w*)(?:\*(\d+))?$')
VOICE_KEYS = MappingProxyType({'prog': 1, 'vol': 100, 'pan': 0, 'vel': 90, 'gate': 0.9, 'reverb': 40, 'chorus': 0})


class ScoreError(Exception):
    pass


def pitch(word, where):
    m = PITCH_RE.match(word)
    if not m:
        raise ScoreError('%s: not a pitch: %r' % (where, word))
    pc = PITCH_CLASS[m.group(1)] + {'#': 1, 'b': -1, None: 0}[m.group(2)]
    return 12 * (int(m.group(3)) + 1) + pc


def parse(text, name='score'):
    """Reads a score into a dict; raises ScoreError with the line number on anything unclear."""
    sc = {'name': name, 'title': name, 'tempo': 120.0, 'beats': Fraction(4), 'meter': '4/4', 'swing': 0.5,
          'loop': False, 'tail': 3.0, 'end': None, 'chords': {}, 'voices': {}, 'patterns': {}, 'phrases': {},
          'sections': {}, 'form': []}
    block = None        # the pattern, phrase or section that indented lines belong to
    for no, raw in enumerate(text.splitlines(), 1):
        line = re.sub(r'(^|\s)#.*$', '', raw).rstrip()     # a comment starts with '#' after a space
        if not line.strip():
            continue
        where = '%s:%d' % (name, no)
        words = line.split()
        if line[0] in ' \t':
            if block is None:
                raise ScoreError('%s: indented line outside a pattern, phrase or section' % where)
            kind, obj = block
            if kind == 'pattern':
                if len(words) < 2:
                    raise ScoreError('%s: a drum row is NAME STEPS' % where)
                drum = DRUMS.get(words[0]) or (int(words[0]) if words[0].isdigit() else None)
                if drum is None:
                    raise ScoreError('%s: unknown drum %r (known: %s)' % (where, words[0], ' '.join(sorted(DRUMS))))
                steps = ''.join(words[1:]).replace('|', '')
                if set(steps) - set('.xXo'):
                    raise ScoreError('%s: drum steps are . x X o' % where)
                obj['rows'].append((drum, steps, where))
            elif kind == 'phrase':
                obj.extend((w, where) for w in tokens(line))
            else:
                m = re.match(r'^\s*(\w+):(.*)$', line)
                if m:
                    obj['last'] = m.group(1)
                elif obj.get('last') is None:
                    raise ScoreError('%s: a section line is VOICE: notes' % where)
                notes = m.group(2) if m else line           # a line without VOICE: goes on with the last voice
                obj['voices'].setdefault(obj['last'], []).extend((w, where) for w in tokens(notes))
            continue
        key, args = words[0], words[1:]
        block = None
        if key == 'title':
            sc['title'] = ' '.join(args)
        elif key == 'tempo':
            sc['tempo'] = float(args[0])
        elif key == 'meter':
            n, d = args[0].split('/')
            sc['meter'], sc['beats'] = args[0], Fraction(int(n) * 4, int(d))
        elif key == 'swing':
            sc['swing'] = float(args[0])
            if not 0.3 <= sc['swing'] <= 0.75:
                raise ScoreError('%s: swing lies between 0.3 and 0.75' % where)
        elif key == 'loop':
            sc['loop'] = args[0] == 'yes'
        elif key == 'tail':
            sc['tail'] = float(args[0])
        elif key == 'end':
            sc['end'] = float(args[0])
        elif key == 'chord':
            sc['chords'][args[0]] = [pitch(w, where) for w in args[1:]]
        elif key == 'voice':
            v = dict(VOICE_KEYS, name=args[0], drums=False, order=len(sc['voices']))
            for a in args[1:]:
                if a == 'drums':
                    v['drums'] = True
                    continue
                k, _, val = a.partition('=')
                if k not in VOICE_KEYS or not val:
                    raise ScoreError('%s: voice settings are %s=N' % (where, '=N, '.join(VOICE_KEYS)))
                v[k] = float(val) if k == 'gate' else int(val)
            if not 1 <= v['prog'] <= 128:
                raise ScoreError('%s: programs are numbered 1..128 as in the General MIDI list' % where)
            sc['voices'][args[0]] = v
        elif key == 'pattern':
            p = {'rows': [], 'beats': sc['beats']}
            for a in args[1:]:
                if a.startswith('beats='):
                    p['beats'] = Fraction(a[6:])
            sc['patterns'][args[0]] = p
            block = ('pattern', p)
        elif key == 'phrase':
            sc['phrases'][args[0]] = []
            block = ('phrase', sc['phrases'][args[0]])
        elif key == 'section':
            s = {'name': args[0], 'voices': {}, 'tempo': None, 'seconds': None, 'where': where}
            for a in args[1:]:
                k, _, val = a.partition('=')
                if k not in ('tempo', 'seconds'):
                    raise ScoreError('%s: a section takes tempo=BPM or seconds=S' % where)
                s[k] = float(val)
            sc['sections'][args[0]] = s
            block = ('section', s)
        elif key == 'form':
            sc['form'] += args
        else:
            raise ScoreError('%s: unknown keyword %r' % (where, key))
    if not sc['form']:
        raise ScoreError('%s: no form line' % name)
    for s in sc['form']:
        if s not in sc['sections']:
            raise ScoreError('%s: the form names a section %r that is not written' % (name, s))
    if not sc['loop'] and sc['end'] is None:
        raise ScoreError('%s: a piece that does not loop needs an end time' % name)
    return sc


def tokens(s):
    return re.findall(r'<[^>]*>\S*|\S+', s)


def expand(sc, toks, depth=0):
    """Replaces $phrase references by their notes (transposed if asked)."""
    out = []
    for w, where in toks:
        m = REF_RE.match(w)
        if not m:
            out.append((w, where, 0))
            continue
        if m.group(1) not in sc['phrases'] or depth > 8:
            raise ScoreError('%s: no phrase %r' % (where, m.group(1)))
        shift = int(m.group(2) or 0)
        body = expand(sc, sc['phrases'][m.group(1)], depth + 1)
        for _ in range(int(m.group(3) or 1)):
            out += [(bw, bwhere, bs + shift) for (bw, bwhere, bs) in body]
    return out


def voice_notes(sc, voice, toks, label):
    """Notes of one voice in one section: [(start, length, [pitches], velocity, gate)], and the length in beats."""
    notes, pos, last_len, vel = [], Fraction(0), Fraction(1), voice['vel']
    tie = None
    bar = sc['beats']
    for w, where, shift in expand(sc, toks):
        if w == '|':
            if pos % bar:
                raise ScoreError('%s: %s: bar line at beat %s, not at the end of a bar' % (where, label, pos))
            continue
        if w.startswith('@'):
            vel = int(w[1:])
            continue
        pm = PATTERN_REF_RE.match(w)
        if voice['drums'] and pm and pm.group(1) in sc['patterns']:
            p = sc['patterns'][pm.group(1)]
            for _ in range(int(pm.group(2) or 1)):
                for drum, steps, _w in p['rows']:
                    step = p['beats'] / len(steps)
                    for i, c in enumerate(steps):
                        if c != '.':
                            v = {'x': vel, 'X': min(127, vel + 25), 'o': max(1, vel - 35)}[c]
                            notes.append((pos + i * step, step, [drum], v, 1.0))
                pos += p['beats']
            continue
        m = NOTE_RE.match(w)
        if not m:
            raise ScoreError('%s: %s: cannot read %r' % (where, label, w))
        if m.group('len'):
            mark = m.group('len')
            last_len = LENGTHS[mark[0]] * (Fraction(3, 2) if '.' in mark else 1) * (Fraction(2, 3) if '3' in mark else 1)
        length, art, p = last_len, m.group('art'), m.group('p')
        if p == 'r':
            keys = []
        elif p.startswith('<'):
            keys = []
            for item in p[1:-1].split():
                keys += [k + shift for k in sc['chords'][item]] if item in sc['chords'] else [pitch(item, where) + shift]
        else:
            keys = [pitch(p, where) + shift]
        if any(not 0 <= k <= 127 for k in keys):
            raise ScoreError('%s: %s: %r is out of the MIDI range' % (where, label, w))
        gate = 0.45 if "'" in art else 1.0 if '_' in art else voice['gate']
        v = min(127, vel + 20) if '!' in art else vel
        if tie is not None:
            if sorted(tie[2]) != sorted(keys):
                raise ScoreError('%s: %s: a tie joins equal notes, not %r' % (where, label, w))
            notes[-1] = (tie[0], tie[1] + length, keys, tie[3], gate)
        elif keys:
            notes.append((pos, length, keys, v, gate))
        tie = notes[-1] if '~' in art and keys else None
        pos += length
    if tie is not None:
        raise ScoreError('%s: the last note of a voice is tied to nothing' % label)
    return notes, pos


def arrange(sc):
    """Lays the form out in time: notes per voice in absolute beats, sections, and the tempo map."""
    notes = {v: [] for v in sc['voices']}
    sections, tempos, at = [], [], Fraction(0)
    for name in sc['form']:
        s = sc['sections'][name]
        label = 'section %s' % name
        lengths = {}
        for vname, toks in s['voices'].items():
            if vname not in sc['voices']:
                raise ScoreError('%s: %s: no voice %r' % (s['where'], label, vname))
            got, lengths[vname] = voice_notes(sc, sc['voices'][vname], toks, '%s, %s' % (label, vname))
            notes[vname] += [(at + st, ln, ks, v, g) for (st, ln, ks, v, g) in got]
        if not lengths or len(set(lengths.values())) != 1:
            raise ScoreError('%s: %s: the voices differ in length (beats: %s)' % (
                s['where'], label, ', '.join('%s %s' % kv for kv in lengths.items())))
        beats = next(iter(lengths.values()))
        if beats % sc['beats']:
            raise ScoreError('%s: %s is %s beats, not a whole number of bars' % (s['where'], label, beats))
        bpm = beats * 60 / s['seconds'] if s['seconds'] else s['tempo'] or sc['tempo']
        tempos.append((at, int(round(60e6 / float(bpm)))))
        sections.append((name, at, beats))
        at += beats
    return notes, sections, tempos, at


def swung(sc, beat):
    """Moves off-beat eighths later by the score's swing (0.5 leaves them alone)."""
    s = sc['swing']
    whole = math.floor(beat)
    f = float(beat - whole)
    f = f * 2 * s if f < 0.5 else s + (f - 0.5) * 2 * (1 - s)
    return whole + f


def ticks(sc, beat):
    return int(round(swung(sc, beat) * TPQ))


def seconds_at(tempos, tick):
    """Seconds from the start to a tick, through the tempo map."""
    t, prev_tick, prev_us = 0.0, 0, tempos[0][1]
    for (b, us) in tempos[1:]:
        bt = int(b * TPQ)
        if bt >= tick:
            break
        t += (bt - prev_tick) * prev_us / 1e6 / TPQ
        prev_tick, prev_us = bt, us
    return t + (tick - prev_tick) * prev_us / 1e6 / TPQ


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


def track(events, end):
    """events: (tick, order, bytes); returns an MTrk chunk ending at tick `end`."""
    data, now = b'', 0
    for tick, _o, ev in sorted(events, key=lambda e: (e[0], e[1])):
        data += vlq(tick - now) + ev
        now = tick
    data += vlq(max(0, end - now)) + b'\xff\x2f\x00'
    return b'MTrk' + struct.pack('>I', len(data)) + data


def midi(sc, notes, sections, tempos, end_tick):
    """A format 1 standard MIDI file: a conductor track, then one track per voice."""
    num, den = sc['meter'].split('/')
    meta = [(0, 0, b'\xff\x03' + vlq(len(sc['title'])) + sc['title'].encode('ascii')),
            (0, 0, b'\xff\x58\x04' + bytes([int(num), int(den).bit_length() - 1, 24, 8]))]
    meta += [(int(b * TPQ), 1, b'\xff\x51\x03' + us.to_bytes(3, 'big')) for (b, us) in tempos]
    meta += [(int(b * TPQ), 2, b'\xff\x06' + vlq(len(n)) + n.encode('ascii')) for (n, b, _l) in sections]
    chunks = [track(meta, end_tick)]
    melodic = iter([c for c in range(16) if c != 9])
    for v in sorted(sc['voices'].values(), key=lambda v: v['order']):
        ch = 9 if v['drums'] else next(melodic)
        ev = [(0, -2, b'\xff\x03' + vlq(len(v['name'])) + v['name'].encode('ascii'))]
        setup = [] if v['drums'] else [(0xB0, 0, 0)]
        setup += [(0xC0, v['prog'] - 1), (0xB0, 7, v['vol']), (0xB0, 10, max(0, min(127, 64 + v['pan']))),
                  (0xB0, 91, v['reverb']), (0xB0, 93, v['chorus']), (0xB0, 11, 127)]
        ev += [(0, -1, bytes([s[0] | ch] + list(s[1:]))) for s in setup]
        for (st, ln, keys, vel, gate) in notes[v['name']]:
            on = ticks(sc, st)
            off = max(on + 10, ticks(sc, st + ln * Fraction(gate).limit_denominator(100)) if gate < 1 else ticks(sc, st + ln))
            for k in keys:
                ev.append((on, 1, bytes([0x90 | ch, k, vel])))
                ev.append((off, 0, bytes([0x80 | ch, k, 0])))
        chunks.append(track(ev, end_tick))
    return b'MThd' + struct.pack('>IHHH', 6, 1, len(chunks), TPQ) + b''.join(chunks)


def render(mid_path, raw_path):
    subprocess.run([*FLUIDSYNTH, '-F', raw_path, SOUNDFONT, mid_path], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return np.fromfile(raw_path, dtype='<f4').astype(np.float64).reshape(-1, 2).T


def close_loop(st):
    """Bends the last 256 samples so that the last one leads into the first as
    smoothly as the neighbouring samples lead into each other."""
    n = 256
    want = st[:, 0] - (st[:, 1] - st[:, 0])          # one step back from the start
    err = want - st[:, -1]
    ramp = 0.5 - 0.5 * np.cos(np.linspace(0, np.pi, n))
    st[:, -n:] += err[:, None] * ramp[None, :]
    return st


def build(name, tmp):
    """Reads, renders and finishes one score; returns (stereo float samples, sections in seconds, score)."""
    path = os.path.join(SCORES, name + '.txt')
    with open(path) as f:
        sc = parse(f.read(), name + '.txt')
    notes, sections, tempos, total = arrange(sc)
    total_tick = int(total * TPQ)
    length_s = seconds_at(tempos, total_tick)
    tail_ticks = int(math.ceil(sc['tail'] * 1e6 / tempos[-1][1] * TPQ))
    end_s = sc['end'] if not sc['loop'] else length_s
    end_tick = max(total_tick + tail_ticks, int(math.ceil((end_s + 0.1) * 1e6 / tempos[-1][1] * TPQ)))
    mid = os.path.join(tmp, name + '.mid')
    with open(mid, 'wb') as f:
        f.write(midi(sc, notes, sections, tempos, end_tick))
    audio = render(mid, os.path.join(tmp, name + '.raw'))
    if sc['loop']:
        n = int(round(length_s * SR))
        audio = np.pad(audio, ((0, 0), (0, max(0, 2 * n - audio.shape[1]))))
        st = audio[:, :n] + audio[:, n:2 * n]          # what rings past the end sounds again at the start
        st = close_loop(st)
    else:
        n = int(round(sc['end'] * SR))
        st = np.pad(audio, ((0, 0), (0, max(0, n - audio.shape[1]))))[:, :n]
        fade = int(0.5 * SR)
        st[:, -fade:] *= np.cos(np.linspace(0, np.pi / 2, fade)) ** 2
    st = st * (10 ** (PEAK_DB / 20) / np.max(np.abs(st)))
    marks = [(s, seconds_at(tempos, int(b * TPQ)), 60e6 / us) for ((s, b, _l), (_b, us)) in zip(sections, tempos)]
    return st, marks, sc


def make_music(out_dir, tmp, write_wav):
    """Renders every score into out_dir/sound/NAME.ogg; returns [(name, samples, section marks, score)]."""
    pieces = []
    for name in ('game', 'menu', 'intro'):
        st, marks, sc = build(name, tmp)
        wav = os.path.join(tmp, name + '.wav')
        write_wav(wav, st)
        subprocess.run(['oggenc', '-Q', '-q', OGG_QUALITY, '--serial', '1', '-o',
                        os.path.join(out_dir, 'sound', name + '.ogg'), wav], check=True)
        pieces.append((name, st, marks, sc))
    return pieces


# ---------------------------------------------------------------- music sheet

PX_PER_S = 8
NIGHT = ((0.0, (8, 6, 24)), (0.35, (46, 24, 96)), (0.6, (150, 50, 130)), (0.8, (236, 150, 70)), (1.0, (255, 242, 196)))


def colour(v):
    xs = [p for p, _ in NIGHT]
    return np.stack([np.interp(v, xs, [c[i] for _, c in NIGHT]) for i in range(3)], -1).astype(np.uint8)


def spectrogram(st, width, height=150, lo=40.0, hi=SR / 2):
    """Log-frequency power picture of a piece, `width` columns, low notes at the bottom."""
    mono = st.mean(axis=0)
    nfft, hop = 2048, 256
    frames = np.lib.stride_tricks.sliding_window_view(np.pad(mono, (nfft // 2, nfft)), nfft)[::hop]
    power = np.abs(np.fft.rfft(frames * np.hanning(nfft), axis=1)) ** 2
    cols = np.minimum((np.arange(len(power)) * hop / len(mono) * width).astype(int), width - 1)
    img = np.zeros((width, power.shape[1]))
    np.add.at(img, cols, power)
    img /= np.maximum(1, np.bincount(cols, minlength=width))[:, None]
    freqs = np.fft.rfftfreq(nfft, 1 / SR)
    edges = np.geomspace(lo, hi, height + 1)
    rows = np.stack([img[:, max(1, np.searchsorted(freqs, edges[i])):max(np.searchsorted(freqs, edges[i]) + 1,
                                                                         np.searchsorted(freqs, edges[i + 1]))].mean(axis=1)
                     for i in range(height)])[::-1]
    db = 10 * np.log10(rows + 1e-12)
    v = np.clip((db - (db.max() - 75)) / 75, 0, 1)
    return colour(v)


def music_sheet(path, pieces, font_path, font_bold):
    def font(size, bold=True):
        return ImageFont.truetype(font_bold if bold else font_path, size)
    left, top, row_h, spec_h = 60, 50, 230, 150
    longest = max(st.shape[1] / SR for (_n, st, _m, _s) in pieces)
    W = left + int(math.ceil(longest * PX_PER_S)) + 90
    img = Image.new('RGB', (W, top + row_h * len(pieces)), (34, 30, 44))
    d = ImageDraw.Draw(img)
    d.text((10, 12), 'Zarvo music (tools/assets/scores): log-frequency spectrograms, 40 Hz to 11 kHz, with the sections',
           font=font(16), fill=(255, 236, 160))
    for i, (name, st, marks, sc) in enumerate(pieces):
        y0 = top + i * row_h
        secs = st.shape[1] / SR
        w = int(round(secs * PX_PER_S))
        bpm = sorted(set(int(round(m[2])) for m in marks))
        head = '%s.ogg  %.1f s  %s bpm  %s  %s' % (name, secs, '-'.join(str(b) for b in bpm[::max(1, len(bpm) - 1)]),
                                                   sc['meter'], 'loops back to 0:00' if sc['loop'] else 'ends')
        d.text((left, y0), head, font=font(14), fill=(255, 255, 255))
        d.text((left + d.textlength(head, font=font(14)) + 16, y0 + 1), sc['title'], font=font(13, False),
               fill=(200, 200, 214))
        ys = y0 + 44
        img.paste(Image.fromarray(spectrogram(st, w, spec_h)), (left, ys))
        for hz in (100, 1000, 10000):
            y = ys + spec_h - int(round(spec_h * math.log(hz / 40.0) / math.log(SR / 2 / 40.0)))
            d.line([(left - 5, y), (left - 1, y)], fill=(200, 200, 214))
            d.text((left - 8, y), '%gk' % (hz / 1000) if hz >= 1000 else str(hz), font=font(10, False),
                   fill=(200, 200, 214), anchor='rm')
        for t in range(0, int(secs) + 1, 10):
            x = left + int(round(t * PX_PER_S))
            d.line([(x, ys + spec_h), (x, ys + spec_h + 4)], fill=(200, 200, 214))
            d.text((x, ys + spec_h + 6), '%d:%02d' % (t // 60, t % 60), font=font(10, False), fill=(200, 200, 214), anchor='mt')
        for k, (sname, t, _bpm) in enumerate(marks):
            x = left + int(round(t * PX_PER_S))
            for yy in range(ys - 4, ys + spec_h, 6):
                d.line([(x, yy), (x, yy + 3)], fill=(255, 220, 120))
            d.text((x + 2, ys - 6 - (k % 2) * 13), '%s %d:%04.1f' % (sname, t // 60, t % 60), font=font(11),
                   fill=(255, 220, 120), anchor='ls')
        xe = left + w
        d.line([(xe, ys - 4), (xe, ys + spec_h)], fill=(255, 255, 255), width=2)
        d.text((xe + 4, ys + spec_h // 2), 'loop' if sc['loop'] else 'end', font=font(11), fill=(255, 255, 255), anchor='lm')
    img.save(path, 'PNG')
