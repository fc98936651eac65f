#!/usr/bin/env python3
"""Makes Wendle's demo list: three short WAV sounds, a small MIDI tune, a
compressed sound and the list file demo.wdl that plays them.

    demo/make_demo.py [--output DIR]     (default: the folder of this script)
    demo/make_demo.py --ogg              also encodes bells.ogg anew

The compressed sound, bells.ogg (Ogg Vorbis), is committed as it is: only
--ogg encodes it, from samples made here, with GStreamer's gst-launch-1.0
(Debian packages gstreamer1.0-tools and gstreamer1.0-plugins-base); the
encoder's stream serial number differs on every run.

The output is the same, byte for byte, on every run and every machine: the
samples are computed with plain arithmetic only (no libm sine or exponent,
whose last bits may differ between platforms), and no file holds a date.

Every WAV is 16-bit 22050 Hz mono, so that the sound sink of a headless run
(which receives each play in the file's own format, one after the other)
holds one stream of a single format.

The list names its files without a folder: Wendle looks them up in the
current directory, so the list plays wherever the repository lies when it
is opened from its own folder (scripts/run.sh does that; so does File >
Open, which moves the current directory to the list's folder).
"""

import argparse
import os
import struct
import subprocess
import tempfile
import wave

RATE = 22050
TWO_PI = 6.283185307179586

# Equal-tempered frequencies, written out so no pow() is involved.
A2 = 110.0
C5, E5, G5 = 523.2511, 659.2551, 783.9909
C6, E6, G6 = 1046.502, 1318.510, 1567.982

# 1/3!, 1/5!, ... 1/13! for the sine series.
_SINE_TERMS = []
_f = 1.0
for _n in range(2, 14):
    _f *= _n
    if _n % 2 == 1:
        _SINE_TERMS.append(1.0 / _f)


def sine(cycles):
    """sin(2 pi cycles), by a Taylor series after reducing to a quarter turn."""
    p = cycles - int(cycles)          # cycles >= 0 here
    if p > 0.5:
        p -= 1.0                      # (-0.5, 0.5]
    if p > 0.25:
        p = 0.5 - p
    elif p < -0.25:
        p = -0.5 - p
    x = p * TWO_PI                    # |x| <= pi/2: the series is exact to 1e-10
    x2 = x * x
    acc = 0.0
    sign = 1.0 if len(_SINE_TERMS) % 2 == 0 else -1.0
    for term in reversed(_SINE_TERMS):
        acc = (acc + sign * term) * x2
        sign = -sign
    return x + x * acc


def note(samples, start, freq, length, level, decay, partials=((1, 1.0),), attack=0.005):
    """Adds one note to samples: a quick linear attack, an exponential decay
    (a constant factor per sample) and a short fade at its end."""
    first = int(start * RATE)
    count = int(length * RATE)
    attack_n = max(1, int(attack * RATE))
    fade_n = min(count, int(0.02 * RATE))
    env = level
    for i in range(count):
        t = i / RATE
        v = 0.0
        for multiple, weight in partials:
            v += weight * sine(freq * multiple * t)
        gain = env
        if i < attack_n:
            gain *= i / attack_n
        if i >= count - fade_n:
            gain *= (count - i) / fade_n
        index = first + i
        if index < len(samples):
            samples[index] += v * gain
        env *= decay


def pcm16(samples):
    out = bytearray()
    for v in samples:
        s = int(round(v * 32767.0))
        out += struct.pack('<h', max(-32768, min(32767, s)))
    return bytes(out)


def write_wave(path, samples):
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm16(samples))


def chime():
    """A rising three-note bell chime, 1.4 s."""
    s = [0.0] * int(1.4 * RATE)
    bell = ((1, 1.0), (2, 0.35), (3, 0.1))
    for i, f in enumerate((C5, E5, G5)):
        start = 0.25 * i
        note(s, start, f, 1.4 - start, 0.3, 0.99985, bell)
    return s


def low_tone():
    """A soft low organ tone, 1 s."""
    s = [0.0] * RATE
    note(s, 0.0, A2, 1.0, 0.45, 0.99997, ((1, 1.0), (2, 0.5), (3, 0.25), (4, 0.12)), attack=0.05)
    return s


def arpeggio():
    """A quick plucked arpeggio up and down, 1.2 s."""
    s = [0.0] * int(1.2 * RATE)
    notes = (C5, E5, G5, C6, E6, G6, E6, C6)
    for i, f in enumerate(notes):
        start = 0.12 * i
        note(s, start, f, min(0.4, 1.2 - start), 0.4, 0.9997, ((1, 1.0), (2, 0.2)))
    return s


def bells():
    """Three falling bell notes, 1.8 s: the compressed sound."""
    s = [0.0] * int(1.8 * RATE)
    bell = ((1, 1.0), (2, 0.3), (3, 0.08))
    for i, f in enumerate((G5, E5, C5)):
        start = 0.3 * i
        note(s, start, f, 1.8 - start, 0.3, 0.99988, bell)
    return s


def encode_ogg(path, samples):
    """Encodes samples as Ogg Vorbis (small: low quality, mono)."""
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, 'bells.wav')
        write_wave(source, samples)
        subprocess.run(['gst-launch-1.0', '-q', 'filesrc', 'location=' + source, '!', 'wavparse', '!',
                        'audioconvert', '!', 'audioresample', '!', 'vorbisenc', 'quality=0.1', '!', 'oggmux', '!',
                        'filesink', 'location=' + path], check=True, stdout=subprocess.DEVNULL)


def vlq(n):
    """A MIDI variable-length quantity."""
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, 0x80 | (n & 0x7F))
        n >>= 7
    return bytes(out)


def midi_tune():
    """A standard MIDI file (format 0): five vibraphone notes, 1.5 s."""
    ticks = 96                                  # per quarter note
    events = bytearray()
    events += vlq(0) + b'\xff\x51\x03' + (500000).to_bytes(3, 'big')   # 120 bpm
    events += vlq(0) + b'\xc0\x0b'              # program 12, vibraphone
    melody = ((72, 48), (74, 48), (76, 48), (79, 48), (84, 96))  # C D E G C'
    for key, length in melody:
        events += vlq(0) + bytes((0x90, key, 96))
        events += vlq(length) + bytes((0x80, key, 64))
    events += vlq(0) + b'\xff\x2f\x00'
    header = b'MThd' + struct.pack('>IHHH', 6, 0, 1, ticks)
    return header + b'MTrk' + struct.pack('>I', len(events)) + bytes(events)


# The list: (description or None, file name or label, kind, repeats, delay).
WAVE, MIDI, PAUSE, AUDIO_FILE = 1, 2, 8, 32
ITEMS = (
    ('Rising chime', 'chime.wav', WAVE, 0, 0),
    ('Low tone, played twice', 'low.wav', WAVE, 1, 0),
    (None, 'Pause 2 sec.', PAUSE, 0, 2),
    ('Arpeggio, then a second of quiet', 'arpeggio.wav', WAVE, 0, 1),
    ('A little tune (MIDI)', 'tune.mid', MIDI, 0, 0),
    ('Falling bells (Ogg Vorbis)', 'bells.ogg', AUDIO_FILE, 0, 0),
)


def list_file():
    lines = ['WDv1.0']
    for description, name, kind, repeats, delay in ITEMS:
        lines += [description or '*', name, '%u %u %u %u' % (kind, repeats, delay, 0)]
    return ('\n'.join(lines) + '\n').encode('ascii')


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--output', default=os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument('--ogg', action='store_true', help='also encode bells.ogg anew')
    args = parser.parse_args()
    out = args.output
    os.makedirs(out, exist_ok=True)
    write_wave(os.path.join(out, 'chime.wav'), chime())
    write_wave(os.path.join(out, 'low.wav'), low_tone())
    write_wave(os.path.join(out, 'arpeggio.wav'), arpeggio())
    with open(os.path.join(out, 'tune.mid'), 'wb') as f:
        f.write(midi_tune())
    with open(os.path.join(out, 'demo.wdl'), 'wb') as f:
        f.write(list_file())
    if args.ogg:
        encode_ogg(os.path.join(out, 'bells.ogg'), bells())


if __name__ == '__main__':
    main()
