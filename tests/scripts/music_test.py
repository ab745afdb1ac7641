"""Checks on the music: the score reader refuses what it cannot play exactly
and reads notes, ties, chords and phrases to the right beats, and the
committed pieces have the lengths, loop seams and intro timing the game relies
on.  The MIDI the pieces are rendered from is not read back here: the
assets_regenerate test renders every piece again and compares the bytes, so
a changed tempo, swing, gate, channel or voice setting fails it.

Run: /usr/bin/python3 tests/scripts/music_test.py   (needs oggdec, not fluidsynth)
"""
import os, subprocess, sys, tempfile, unittest, wave
from fractions import Fraction
import numpy as np

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, 'tools', 'assets'))
import music

HEAD = 'tempo 120\nmeter 4/4\nloop yes\nvoice a prog=1\nvoice d drums\npattern p\n  kick x...\n'


def arranged(body, head=HEAD):
    sc = music.parse(head + body, 't.txt')
    return sc, music.arrange(sc)


class ScoreReader(unittest.TestCase):
    def test_mistakes_are_refused_with_their_place(self):
        cases = [  # (score body, words the message must hold)
            ('section S\n  a: c4q d4 e4 | f4 g4 a4 b4 c5 |\nform S\n', 't.txt:9: section S, a: bar line at beat 3'),
            ('section S\n  a: c4w |\n  d: p p |\nform S\n', 'voices differ in length'),
            ('section S\n  a: c4h\nform S\n', 'not a whole number of bars'),
            ('section S\n  a: h4q c4 c4 c4 |\nform S\n', "cannot read 'h4q'"),
            ('section S\n  a: c4h~ d4h |\nform S\n', 'a tie joins equal notes'),
            ('section S\n  a: c4w~ |\nform S\n', 'tied to nothing'),
            ('section S\n  a: $nothing |\nform S\n', "no phrase 'nothing'"),
            ('section S\n  b: c4w |\nform S\n', "no voice 'b'"),
            ('section S\n  a: c4w |\nform S T\n', "section 'T' that is not written"),
            ('section S\n  a: a9w |\nform S\n', 'out of the MIDI range'),
            ('pattern q\n  gong x...\n', "unknown drum 'gong'"),
            ('voice z prog=0\n', 'numbered 1..128'),
            ('voice q prog=2\n  a: c4w\n', 'indented line outside'),
        ]
        for body, words in cases:
            with self.subTest(body=body):
                with self.assertRaises(music.ScoreError) as err:
                    arranged(body)
                self.assertIn(words, str(err.exception))
        with self.assertRaisesRegex(music.ScoreError, 'needs an end time'):
            music.parse('loop no\nsection S\n  a: c4w\nform S\n')

    def test_notes_lengths_ties_chords_and_phrases(self):
        body = ('chord Dm d4 f4 a4\nphrase up\n  c4e d4\nsection S\n'
                "  a: @70 <Dm>q. $up+12 e4e~ e4q | c#4q' bb3e3 b3 c4 rh |\n  d: p*2\nform S S\n")
        sc, (notes, sections, tempos, total) = arranged(body)
        F = Fraction
        self.assertEqual([(0, F(3, 2), [62, 65, 69], 70, 0.9), (F(3, 2), F(1, 2), [72], 70, 0.9),
                          (2, F(1, 2), [74], 70, 0.9), (F(5, 2), F(3, 2), [64], 70, 0.9), (4, 1, [61], 70, 0.45),
                          (5, F(1, 3), [58], 70, 0.9), (F(16, 3), F(1, 3), [59], 70, 0.9),
                          (F(17, 3), F(1, 3), [60], 70, 0.9)], notes['a'][:8])
        self.assertEqual(([('S', 0, 8), ('S', 8, 8)], 16, [(0, 500000), (8, 500000)]), (sections, total, tempos))
        self.assertEqual([0, 4, 8, 12], [n[0] for n in notes['d']])


def decoded(name):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, name + '.wav')
        subprocess.run(['oggdec', '-Q', '-o', out, os.path.join(ROOT, 'data', 'sound', name + '.ogg')], check=True)
        with wave.open(out) as w:
            rate = w.getframerate()
            x = np.frombuffer(w.readframes(w.getnframes()), '<i2').reshape(-1, w.getnchannels()).T / 32768.0
    return rate, x


class CommittedPieces(unittest.TestCase):
    def test_lengths_and_seams(self):
        for name, shortest, longest, loops in (('game', 90, 200, True), ('menu', 45, 120, True),
                                               ('intro', 34, 35, False)):
            with self.subTest(name=name):
                rate, x = decoded(name)
                self.assertEqual((22050, 2), (rate, x.shape[0]))
                self.assertTrue(shortest <= x.shape[1] / rate <= longest, x.shape[1] / rate)
                peak = np.abs(x).max()
                self.assertTrue(0.25 < peak < 0.4, peak)       # about -10 dBFS
                if loops:
                    seam = np.abs(x[:, 0] - x[:, -1])
                    steps = np.abs(np.diff(x, axis=1))
                    self.assertTrue(np.all(seam <= np.percentile(steps, 90, axis=1)), (seam, np.median(steps, axis=1)))
                else:                                          # the last chord has died away
                    tail = np.sqrt(np.mean(x[:, -rate // 2:] ** 2))
                    self.assertLess(tail, np.sqrt(np.mean(x ** 2)) / 20)

    def test_intro_changes_at_the_slide_fades(self):
        with open(os.path.join(music.SCORES, 'intro.txt')) as f:
            sc = music.parse(f.read(), 'intro.txt')
        _notes, sections, tempos, total = music.arrange(sc)
        starts = [music.seconds_at(tempos, int(b * music.TPQ)) for (_n, b, _l) in sections] + \
                 [music.seconds_at(tempos, int(total * music.TPQ))]
        self.assertEqual([0, 13, 24, 34], [round(s, 3) for s in starts])   # IntroState's 13 s and 24 s, 34 s end


if __name__ == '__main__':
    unittest.main(verbosity=1)
