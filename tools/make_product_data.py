#!/usr/bin/env python3
"""Makes the launcher's sounds and its default background picture.

The outputs are small and committed (launcher/resources/Sounds, launcher/resources/Images); run
this again only to change them: python3 tools/make_product_data.py
"""
import math
import os
import random
import struct
import wave

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "launcher", "resources")
RATE = 22050


def write_wav(name, samples):
    path = os.path.join(ROOT, "Sounds", name)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32767)) for s in samples))


def tone(freqs, seconds, volume, attack=0.005, decay=8.0):
    """A soft bell-like tone: partials in `freqs`, a short attack and an exponential decay."""
    count = int(RATE * seconds)
    out = []
    for i in range(count):
        t = i / RATE
        envelope = min(1.0, t / attack) * math.exp(-decay * t)
        # a fade over the last 10 ms so the sound never ends in a click
        envelope *= min(1.0, (count - i) / (RATE * 0.01))
        value = sum(math.sin(2 * math.pi * f * t) / (k + 1) for k, f in enumerate(freqs))
        out.append(volume * envelope * value)
    return out


def sweep(start, end, seconds, volume):
    count = int(RATE * seconds)
    out, phase = [], 0.0
    for i in range(count):
        t = i / RATE
        freq = start + (end - start) * (i / count)
        phase += 2 * math.pi * freq / RATE
        envelope = math.sin(math.pi * i / count) ** 2
        out.append(volume * envelope * math.sin(phase))
    return out


def write_background(name, size=128):
    """A calm light gradient with a faint grain, stretched over the panel by the program."""
    random.seed(7)
    top, bottom = (250, 247, 244), (236, 231, 226)  # RGB, light warm grey
    row_bytes = (size * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(size - 1, -1, -1):  # bottom-up rows
        share = y / (size - 1)
        row = bytearray()
        for x in range(size):
            grain = random.randint(-2, 2)
            r, g, b = (int(top[c] + (bottom[c] - top[c]) * share) + grain for c in range(3))
            row += bytes((max(0, min(255, b)), max(0, min(255, g)), max(0, min(255, r))))
        row += b"\0" * (row_bytes - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(os.path.join(ROOT, "Images", name), "wb") as out:
        out.write(header + info + pixels)


if __name__ == "__main__":
    write_wav("default_click.wav", tone([1760, 2640], 0.07, 0.22, decay=60.0))
    write_wav("default_switch.wav", sweep(620, 980, 0.12, 0.18))
    write_wav("default_active.wav", tone([988, 1319], 0.16, 0.2, decay=14.0) + tone([1319, 1976], 0.24, 0.2, decay=12.0))
    write_background("default.bmp")
