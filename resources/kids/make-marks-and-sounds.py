#!/usr/bin/env python3
"""Makes the card drill's marks and sounds, all our own:
  yes.bmp    16 x 16, a green tick on white
  no.bmp     16 x 16, a red cross on white
  right.wav  about 1 s, mono: a bright rising three-note chime
  wrong.wav  about 0.9 s, mono: a soft falling two-note hum
Run it after a change; the files are kept in the repository."""
import math
import os
import struct
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
WHITE = (255, 255, 255)


def write_bmp(name, img):
    h, w = len(img), len(img[0])
    row_bytes = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(img):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        data += line + b"\0" * (row_bytes - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + info + data)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def stroke_image(segments, colour, width):
    img = []
    for y in range(16):
        row = []
        for x in range(16):
            # Coverage by 4 x 4 samples, blended on white.
            hits = 0
            for sy in range(4):
                for sx in range(4):
                    px, py = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
                    if min(segment_distance(px, py, *s) for s in segments) <= width / 2:
                        hits += 1
            a = hits / 16
            row.append(tuple(round(255 + (c - 255) * a) for c in colour))
        img.append(row)
    return img


def tone(freq, seconds, rate, attack, decay, harmonics=((1, 1.0),)):
    n = int(seconds * rate)
    out = []
    for i in range(n):
        t = i / rate
        env = min(1.0, t / attack) * math.exp(-t / decay)
        s = sum(a * math.sin(2 * math.pi * freq * k * t) for k, a in harmonics)
        out.append(env * s)
    return out


def mix_at(buffer, samples, start):
    for i, s in enumerate(samples):
        if start + i < len(buffer):
            buffer[start + i] += s


def write_wav(name, samples, rate):
    peak = max(abs(s) for s in samples) or 1.0
    with wave.open(os.path.join(HERE, name), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", int(s / peak * 0.8 * 32767)) for s in samples))


def main():
    write_bmp("yes.bmp", stroke_image([(2.5, 8.5, 6.2, 12.5), (6.2, 12.5, 13.5, 3.5)], (20, 150, 40), 2.6))
    write_bmp("no.bmp", stroke_image([(3.5, 3.5, 12.5, 12.5), (12.5, 3.5, 3.5, 12.5)], (210, 30, 30), 2.6))

    rate = 22050
    bell = ((1, 1.0), (2, 0.35), (3, 0.12))
    right = [0.0] * int(1.0 * rate)
    for k, freq in enumerate((1046.5, 1318.5, 1568.0)):  # C6 E6 G6
        mix_at(right, tone(freq, 0.75, rate, 0.005, 0.22, bell), int(k * 0.12 * rate))
    for i in range(len(right)):  # fade out the tail
        right[i] *= min(1.0, (len(right) - i) / (0.08 * rate))
    write_wav("right.wav", right, rate)

    soft = ((1, 1.0), (2, 0.15))
    wrong = [0.0] * int(0.9 * rate)
    mix_at(wrong, tone(392.0, 0.42, rate, 0.03, 0.25, soft), 0)  # G4
    mix_at(wrong, tone(311.1, 0.55, rate, 0.03, 0.3, soft), int(0.33 * rate))  # E flat 4
    for i in range(len(wrong)):
        wrong[i] *= min(1.0, (len(wrong) - i) / (0.1 * rate))
    write_wav("wrong.wav", wrong, rate)


if __name__ == "__main__":
    main()
