#!/usr/bin/env python3
"""Makes the game's eleven sounds, resources/sounds/101.wav to 111.wav.

Everything is synthesised with sox (no samples from anywhere): noise
shaped into splashes and explosions, sine partials into bells, sawtooth
chords into horns and brass, plucked strings and a little drum kit into
the top-ten tune. Run it from anywhere; it needs sox and python3; sox runs
in its repeatable mode, so a second run makes the same files. The
outputs are committed, so a build never runs this.

All are levelled to one loudness. The five a player waits for (102, 105,
106, 107, 108) stop where they fall silent, last at most 1.5 s, and are
stored at about 22 kB a second (PCM 11025 Hz 16-bit mono, 106 MS ADPCM
at 44100 Hz), so that the pause that stands in for them with sound off,
800 ms per 22158 bytes, comes close to their real length.

  101 waste bin clicked        tin bin: thud, lid clank, rattle    MS ADPCM
  102 a boat is complete       two strokes of a ship's bell        PCM
  103 all boats stand          a ship's horn, two deep blasts      PCM
  104 the battle begins        bugle call over a snare roll        PCM
  105 a shot into water        plop and splash with droplets       PCM
  106 cell already shot        two dull knocks on a hull           MS ADPCM
  107 a hit                    explosion with a metal clang        PCM
  108 a boat sinks             big blast, groaning hull, bubbles   PCM
  109 the player wins          brass fanfare with timpani          PCM
  110 the top ten opens        a 19-second march tune              PCM
  111 the computer wins        sad trombone, falling "wah-wah"     PCM
"""
import os
import random
import shutil
import subprocess
import sys
import tempfile

RATE = 44100
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.normpath(os.path.join(HERE, "..", "sounds"))
work = tempfile.mkdtemp(prefix="murvel-sounds-")
counter = 0


def sox(*args):
    subprocess.run(["sox", "-q", "-V1", "-R", *[str(a) for a in args]], check=True)


def tmp():
    global counter
    counter += 1
    return os.path.join(work, f"t{counter}.wav")


def gen(length, *effects):
    """A mono 44.1 kHz layer made by synth and effects, trimmed to length."""
    path = tmp()
    sox("-n", "-r", RATE, "-c", 1, "-b", 16, path, "synth", length, *effects, "trim", 0, length)
    return path


def silence(length):
    path = tmp()
    sox("-n", "-r", RATE, "-c", 1, "-b", 16, path, "trim", 0, length)
    return path


def at(offset, path):
    """The layer delayed by offset seconds."""
    out = tmp()
    sox(path, out, "pad", offset, 0)
    return out


def mix(*paths):
    out = tmp()
    if len(paths) == 1:
        shutil.copy(paths[0], out)
    else:
        sox("-m", *paths, out)
    return out


def concat(*paths):
    out = tmp()
    sox(*paths, out)
    return out


# Every sound is levelled to this loudness (RMS over its whole length, in
# dB of full scale), so no effect stands out; a sound that would clip there
# stays at a peak of -1 dB instead.
LOUDNESS = -17.0


def stats(path):
    """sox's measures of a file: RMS level and peak level in dB."""
    out = subprocess.run(["sox", "-q", "-R", path, "-n", "stats"], check=True, capture_output=True, text=True).stderr
    values = {}
    for line in out.splitlines():
        name, _, rest = line.rpartition("  ")
        values[name.strip()] = rest.strip()
    return float(values["RMS lev dB"]), float(values["Pk lev dB"])


def finish(path, sound_id, length, rate, bits, channels, adpcm=False, reverb=None, fade_out=0.04, waited_for=False):
    """Reverb, the length, the common loudness and the resource's format. A
    sound that the player waits for (waited_for) loses its silent tail."""
    shaped = tmp()
    # No offset (a swept sawtooth leaves one), room for the reverb's tail.
    effects = ["highpass", 30, "pad", 0, length]
    if reverb:
        effects += ["reverb", *reverb]
    effects += ["channels", 1, "norm", -1, "trim", 0, length]
    # A waiting player hears such a sound to its end: what is left below
    # -42 dB at the end is cut, and the last few milliseconds fade out.
    if waited_for:
        effects += ["reverse", "silence", 1, 0.005, "-42d", "reverse"]
    sox(path, shaped, *effects)
    faded = tmp()
    sox(shaped, faded, "fade", "t", 0, "-0", fade_out)
    shaped = faded
    rms, peak = stats(shaped)
    gain = min(LOUDNESS - rms, -1 - peak)
    if channels == 2:
        wide = tmp()
        # A touch of width: the right channel a few milliseconds late.
        sox(shaped, wide, "remix", "1", "1", "delay", 0, 0.007)
        shaped = wide
    target = os.path.join(OUT, f"{sound_id}.wav")
    encoding = ["-e", "ms-adpcm"] if adpcm else (["-e", "unsigned-integer"] if bits == 8 else ["-e", "signed-integer"])
    sox(shaped, "-r", rate, "-c", channels, *([] if adpcm else ["-b", bits]), *encoding, target,
        "gain", f"{gain:.2f}", *(["dither"] if bits == 8 else []))


def bell(length, f, level=0):
    """A struck bell: inharmonic partials that die away, the high ones first."""
    partials = [(1.0, 0), (2.0, -6), (2.76, -8), (4.07, -14), (5.4, -16)]
    layers = []
    for ratio, db in partials:
        decay = length / (1 + ratio * 0.6)
        layers.append(gen(length, "sine", f * ratio, "gain", db + level - 10, "fade", "q", 0.002, length, length - decay * 0.2))
    return mix(*layers)


def brass(length, note, level=-12, attack=0.03):
    """A brass note: detuned sawtooths through a low-pass, swelling in."""
    return gen(length, "sawtooth", note, "sawtooth", "mix", note, "gain", level, "lowpass", 2400, "lowpass", 3200,
               "tremolo", 5.5, 8, "fade", "q", attack, length, min(0.08, length / 3))


# 101: a tin waste bin: the thud of the boat landing in it, the lid's
# clank and a short rattle.
def s101():
    thud = gen(0.3, "sine", "120/42", "gain", -4, "fade", "h", 0.002, 0.3, 0.27)
    clank = gen(0.55, "sine", 1650, "sine", "mix", 2390, "sine", "mix", 3710, "gain", -16, "fade", "l", 0.001, 0.55, 0.53)
    rattle = gen(0.45, "whitenoise", "bandpass", 3200, "1.5q", "tremolo", 32, 90, "gain", -16, "fade", "h", 0.004, 0.45, 0.4)
    knock = gen(0.08, "brownnoise", "lowpass", 900, "gain", -6, "fade", "h", 0.001, 0.08, 0.07)
    body = mix(thud, at(0.02, clank), at(0.05, rattle), at(0.18, knock), at(0.21, gen(0.3, "sine", 1650, "sine", "mix", 2390, "gain", -24, "fade", "l", 0.001, 0.3, 0.29)))
    finish(body, 101, 0.76, 22050, 16, 1, adpcm=True, reverb=(20, 50, 40))


# 102: a boat is complete: two strokes of a ship's bell.
def s102():
    body = mix(bell(1.1, 880), at(0.28, bell(0.95, 880, -3)))
    finish(body, 102, 1.3, 11025, 16, 1, reverb=(35, 50, 60), waited_for=True)


# 103: the fleet stands: a ship's horn, two deep blasts.
def s103():
    def blast(length):
        return gen(length, "sawtooth", 98, "sawtooth", "mix", 123.5, "sawtooth", "mix", 147, "sawtooth", "mix", 49,
                   "gain", -8, "lowpass", 700, "lowpass", 900, "overdrive", 6, "tremolo", 4.5, 6, "fade", "q", 0.12, length, 0.35)
    body = mix(blast(0.9), at(1.1, blast(1.3)))
    finish(body, 103, 2.8, 22050, 16, 2, reverb=(70, 50, 90))


# 104: battle stations: a bugle call over a snare roll.
def s104():
    notes = [("G4", 0.14), ("G4", 0.14), ("C5", 0.28), ("E5", 0.28), ("G5", 0.22), ("E5", 0.14), ("G5", 0.9)]
    call = concat(*[brass(d, n, -10, 0.015) for n, d in notes])
    roll = gen(2.1, "whitenoise", "bandpass", 1900, "0.8q", "tremolo", 24, 100, "gain", -20, "fade", "t", 0.6, 2.1, 0.5)
    hit = gen(0.5, "brownnoise", "lowpass", 400, "gain", -6, "fade", "h", 0.002, 0.5, 0.45)
    body = mix(at(0.05, call), roll, at(1.2, hit))
    finish(body, 104, 2.4, 44100, 16, 2, reverb=(40, 50, 70))


# 105: a shot into water: a plop, the splash, droplets falling back.
def s105():
    plop = gen(0.14, "sine", "950/180", "gain", -4, "fade", "h", 0.002, 0.14, 0.12)
    burst = gen(0.45, "pinknoise", "highpass", 500, "lowpass", 5000, "gain", -4, "fade", "l", 0.01, 0.45, 0.43)
    wash = gen(0.85, "brownnoise", "lowpass", 1500, "tremolo", 13, 50, "gain", -12, "fade", "h", 0.05, 0.85, 0.7)
    splash = mix(burst, wash)
    rng = random.Random(105)
    drops = [at(0.25 + rng.random() * 0.5, gen(0.05, "sine", f"{rng.randint(1300, 2100)}/{rng.randint(2600, 3600)}", "gain", -18 - rng.random() * 8, "fade", "h", 0.002, 0.05, 0.045)) for _ in range(9)]
    body = mix(plop, at(0.03, splash), *drops)
    finish(body, 105, 0.95, 11025, 16, 1, reverb=(25, 50, 50), waited_for=True)


# 106: a cell already shot: two dull knocks on a hull.
def s106():
    def knock():
        return mix(gen(0.42, "sine", "230/170", "sine", "mix", "470/350", "gain", -6, "fade", "h", 0.001, 0.42, 0.41),
                   gen(0.03, "brownnoise", "bandpass", 1200, "1q", "gain", -8, "fade", "h", 0, 0.03, 0.03))
    body = mix(knock(), at(0.34, knock()))
    finish(body, 106, 0.9, 44100, 16, 1, adpcm=True, reverb=(30, 60, 40), waited_for=True)


def explosion(length, cutoff, boom_hz, level=0):
    blast = gen(length, "brownnoise", "lowpass", cutoff, "overdrive", 8, "gain", level - 4, "fade", "l", 0.004, length, length - 0.01)
    crack = gen(0.12, "whitenoise", "lowpass", 5000, "gain", level - 10, "fade", "h", 0.001, 0.12, 0.11)
    boom = gen(length * 0.6, "sine", f"{boom_hz}/{boom_hz / 2.2:.0f}", "gain", level - 2, "fade", "h", 0.003, length * 0.6, length * 0.55)
    return mix(blast, crack, boom)


# 107: a hit: an explosion and the clang of torn steel.
def s107():
    clang = gen(1.2, "sine", 523, "sine", "mix", 1187, "sine", "mix", 1761, "sine", "mix", 2617, "gain", -20, "fade", "l", 0.002, 1.2, 1.18)
    body = mix(explosion(1.2, 1400, 90), at(0.02, clang))
    finish(body, 107, 1.4, 11025, 16, 1, reverb=(55, 50, 80), waited_for=True)


# 108: a boat sinks: a big blast, the hull groaning down, bubbles rising.
def s108():
    groan = gen(1.1, "sawtooth", "75-38", "lowpass", 380, "lowpass", 500, "tremolo", 3, 40, "gain", -14, "fade", "t", 0.2, 1.1, 0.5)
    rng = random.Random(108)
    bubbles = []
    for i in range(16):
        t = 0.45 + rng.random() * 0.9
        level = -16 - 8 * (t - 0.45) / 0.9 - rng.random() * 4
        f = rng.randint(240, 520)
        bubbles.append(at(t, gen(0.06, "sine", f"{f}/{f * 2.6:.0f}", "gain", level, "fade", "h", 0.003, 0.06, 0.05)))
    body = mix(explosion(1.0, 900, 70, 0), at(0.3, groan), *bubbles)
    finish(body, 108, 1.5, 11025, 16, 1, reverb=(60, 50, 90), waited_for=True)


# 109: the player wins: a brass fanfare, timpani, a held major chord.
def s109():
    notes = [("G4", 0.16), ("C5", 0.16), ("E5", 0.16), ("G5", 0.42), ("E5", 0.16), ("G5", 0.7)]
    lead = concat(*[brass(d, n, -10, 0.02) for n, d in notes])
    harmony = concat(*[brass(d, n, -16, 0.02) for n, d in [("E4", 0.16), ("G4", 0.16), ("C5", 0.16), ("E5", 0.42), ("C5", 0.16), ("E5", 0.7)]])
    chord = mix(*[brass(1.6, n, -15, 0.05) for n in ("C4", "G4", "C5", "E5", "G5")])
    timpani = [at(t, gen(0.6, "sine", "98/88", "sine", "mix", "196/180", "gain", -4, "fade", "h", 0.003, 0.6, 0.55)) for t in (1.62, 1.82)]
    body = mix(lead, at(0.02, harmony), at(1.76, chord), *timpani)
    finish(body, 109, 3.5, 44100, 16, 2, reverb=(45, 50, 80))


# 110: the top ten: a march of eight bars at 100 beats a minute, melody on
# plucked strings and a soft brass line, oom-pah bass, kick and snare.
BEAT = 0.6
MELODY = [
    ("C5", 1), ("E5", .5), ("G5", .5), ("C6", 1.5), ("G5", .5),
    ("A5", 1), ("G5", .5), ("E5", .5), ("F5", 1), ("D5", 1),
    ("E5", 1), ("G5", .5), ("E5", .5), ("C5", 1), ("E5", .5), ("G5", .5),
    ("D5", 1.5), ("E5", .5), ("D5", 1), ("G4", 1),
    ("C5", 1), ("E5", .5), ("G5", .5), ("C6", 1.5), ("B5", .5),
    ("A5", 1), ("C6", .5), ("A5", .5), ("G5", 1), ("E5", 1),
    ("F5", 1), ("A5", .5), ("F5", .5), ("E5", .5), ("G5", .5), ("D5", 1),
    ("C5", 4),
]
# One chord per half bar: bass note and the three notes of the off-beat.
CHORDS = ["C", "C", "F", "G", "C", "C", "G", "G", "C", "C", "F", "C", "F", "G", "C", "C"]
TRIADS = {"C": ("C3", ("E4", "G4", "C5")), "F": ("F2", ("F4", "A4", "C5")), "G": ("G2", ("D4", "G4", "B4"))}


def s110():
    melody = concat(*[mix(gen(d * BEAT, "pluck", n, "gain", -8, "fade", "t", 0.005, d * BEAT, 0.05),
                          brass(d * BEAT, n, -22, 0.04)) for n, d in MELODY])
    bass, offbeat, drums = [], [], []
    for chord in CHORDS[:-2]:
        root, triad = TRIADS[chord]
        for _ in range(2):  # beats 1 and 2 of the half bar
            bass.append(gen(BEAT, "pluck", root, "gain", -6, "lowpass", 900, "fade", "t", 0.003, BEAT, 0.1))
        offbeat.append(silence(BEAT))
        offbeat.append(mix(*[gen(BEAT, "pluck", n, "gain", -20, "fade", "t", 0.003, BEAT, 0.2) for n in triad]))
        drums.append(gen(BEAT, "sine", "110/45", "gain", -6, "fade", "h", 0.002, 0.25, 0.22))
        drums.append(mix(gen(BEAT, "whitenoise", "bandpass", 2200, "1q", "gain", -20, "fade", "h", 0.001, 0.16, 0.15),
                         gen(BEAT, "sine", 190, "gain", -20, "fade", "h", 0.001, 0.1, 0.09)))
    # The last bar: one full chord over a deep C, a kick and a cymbal ringing out.
    last = 4 * BEAT
    bass.append(mix(gen(last, "pluck", "C2", "gain", -6, "lowpass", 900), gen(last, "pluck", "C3", "gain", -8, "lowpass", 900)))
    offbeat.append(mix(*[gen(last, "pluck", n, "gain", -18) for n in ("C4", "E4", "G4", "C5")]))
    drums.append(mix(gen(last, "sine", "110/45", "gain", -4, "fade", "h", 0.002, 0.35, 0.32),
                     gen(last, "whitenoise", "highpass", 4500, "gain", -22, "fade", "l", 0.002, last, last - 0.01)))
    body = mix(melody, concat(*bass), concat(*offbeat), concat(*drums))
    finish(body, 110, 19.2, 22050, 16, 1, reverb=(40, 50, 70), fade_out=0.8)


# 111: the computer wins: a trombone falling "wah, wah, wah, waaah".
def s111():
    def wah(length, f1, f2):
        return gen(length, "sawtooth", f"{f1}-{f2}", "gain", -10, "lowpass", 1100, "tremolo", 6, 25 if length > 1 else 10,
                   "fade", "q", 0.06, length, 0.25)
    body = concat(wah(0.5, 233, 220), wah(0.5, 220, 208), wah(0.5, 208, 196), wah(1.6, 196, 180))
    finish(body, 111, 3.3, 22050, 16, 1, reverb=(50, 50, 80))


def main():
    os.makedirs(OUT, exist_ok=True)
    try:
        for make in (s101, s102, s103, s104, s105, s106, s107, s108, s109, s110, s111):
            make()
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
