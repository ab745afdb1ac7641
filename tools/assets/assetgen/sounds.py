"""Sounds: the three pieces of music (rendered from their scores by music.py)
and the effects synthesised here (jump.wav, fall.wav, chichicheche.wav)."""
import os
import wave

import numpy as np

import music

SR = 22050

def write_wav(path, st):
    st = np.clip(st, -1, 1)
    data = (st.T * 32767).round().astype('<i2').tobytes()
    with wave.open(path, 'wb') as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(data)

def make_music(out, tmp):
    """The three pieces are scores in tools/assets/scores, rendered by music.py."""
    pieces = music.make_music(out.root, tmp, write_wav)
    for (name, _st, _marks, _sc) in pieces:
        out.wrote('sound/' + name + '.ogg')
    return pieces

def make_sfx(out):
    # jump: rising boing
    n = int(0.25 * SR)
    t = np.arange(n) / SR
    fr = 220 * (3.2 ** (t / 0.25)) * (1 + 0.06 * np.sin(2 * np.pi * 28 * t))
    ph = 2 * np.pi * np.cumsum(fr) / SR
    s = (np.sin(ph) + 0.3 * np.sin(2 * ph)) * np.minimum(1, t / 0.005) * np.minimum(1, (0.25 - t) / 0.06)
    write_sfx(out, 'jump.wav', s)
    # fall: falling whistle
    n = int(0.6 * SR)
    t = np.arange(n) / SR
    fr = 1500 * (0.22 ** (t / 0.6)) * (1 + 0.015 * np.sin(2 * np.pi * 7 * t))
    ph = 2 * np.pi * np.cumsum(fr) / SR
    s = (np.sin(ph) + 0.08 * np.sin(3 * ph)) * np.minimum(1, t / 0.02) * np.minimum(1, (0.6 - t) / 0.12)
    write_sfx(out, 'fall.wav', s)
    # cackle: "hee-hee-hee" with a formant bank over a glottal source
    rng = np.random.default_rng(77)
    n = int(1.2 * SR)
    t = np.arange(n) / SR
    voice = np.zeros(n)
    sylls = [(0.02, 0.17, 560), (0.22, 0.16, 540), (0.41, 0.16, 510), (0.60, 0.16, 480), (0.79, 0.16, 450), (0.98, 0.18, 400)]
    formants = [(330, 90, 1.0), (2700, 200, 0.5), (3300, 260, 0.35)]
    for (t0, dur, f0) in sylls:
        m = (t >= t0) & (t < t0 + dur)
        tt = t[m] - t0
        f = f0 * (1 + 0.12 * np.exp(-tt * 25)) * (1 - 0.12 * tt / dur) * (1 + 0.01 * np.sin(2 * np.pi * 30 * tt))
        ph = 2 * np.pi * np.cumsum(f) / SR
        voiced = np.zeros(len(tt))
        for h in range(1, 24):
            hf = f * h
            amp = np.zeros(len(tt))
            for (F, B, g) in formants:
                amp += g / (1 + ((hf - F) / B) ** 2)
            amp *= (hf < 10000)
            voiced += amp * np.sin(h * ph) / h ** 0.3
        onset = 0.035
        venv = np.clip((tt - onset * 0.6) / 0.02, 0, 1) * np.clip((dur - tt) / 0.05, 0, 1)
        noise = rng.normal(0, 1, len(tt))
        noise = noise - np.concatenate([[0], noise[:-1]]) * 0.6
        nenv = np.exp(-((tt - onset * 0.4) / 0.02) ** 2) * 0.25 + 0.04 * venv
        voice[m] += voiced * venv + noise * nenv
    write_sfx(out, 'chichicheche.wav', voice)

def write_sfx(out, name, s):
    s = s / np.max(np.abs(s)) * 0.6
    st = np.vstack([s, s])
    write_wav(out.path(os.path.join('sound', name)), st)
    out.wrote('sound/' + name)
