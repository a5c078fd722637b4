#!/usr/bin/env python3
"""Writes the sample data files of this folder. Run from anywhere; the output is committed.

All values are whole numbers, so the files read the same whatever decimal separator the
user's regional settings name. daily_weather.txt has day.month.year dates (see README.md).
"""
import datetime
import math
import pathlib
import random
import struct
import zlib

HERE = pathlib.Path(__file__).resolve().parent


def daily_weather(rng):
    """Two years of a temperature-like series (annual and weekly cycles plus noise) and a
    consumption-like series with a strong working-week rhythm."""
    lines = ["DATE\tTemperature\tConsumption"]
    start = datetime.date(2022, 1, 1)
    for day in range(730):
        date = start + datetime.timedelta(days=day)
        season = math.cos(2 * math.pi * (day - 15) / 365.25)
        week = math.sin(2 * math.pi * day / 7)
        temperature = 6 - 14 * season + 1.5 * week + rng.gauss(0, 2.5)
        weekend = 1 if date.weekday() >= 5 else 0
        consumption = 300 + 80 * season - 60 * weekend + rng.gauss(0, 12)
        lines.append(f"{date:%d.%m.%Y}\t{round(temperature)}\t{round(consumption)}")
    return lines


def signals(rng):
    """Three 2048-sample test signals: a chirp, a tone that changes its period halfway, and
    a wave packet in noise."""
    n = 2048
    lines = ["N\tChirp\tTwoTones\tBurst"]
    for i in range(n):
        t = i / n
        chirp = math.sin(2 * math.pi * (n / 200) * (t + 4.5 * t * t))
        period = 64 if i < n // 2 else 16
        tone = math.sin(2 * math.pi * i / period)
        packet = math.exp(-((i - n / 2) / 120) ** 2) * math.sin(2 * math.pi * i / 32)
        burst = packet + rng.gauss(0, 0.3)
        lines.append(f"{i + 1}\t{round(1000 * chirp)}\t{round(1000 * tone)}\t{round(1000 * burst)}")
    return lines


def texture_png():
    """A 256 x 256 grey picture for the 2-D mode: stripes of two periods and directions, a
    ring and a bright square with sharp edges, written as an 8-bit grey PNG."""
    size = 256
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            v = 100 + 40 * math.sin(2 * math.pi * x / (24 if y < 128 else 9))
            v += 30 * math.sin(2 * math.pi * (x + y) / 40)
            r = math.hypot(x - 180, y - 80)
            v += 60 * math.exp(-((r - 40) / 6) ** 2)
            if 40 <= x < 100 and 150 <= y < 210:
                v += 70
            row.append(max(0, min(255, round(v))))
        rows.append(b"\0" + bytes(row))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 0, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def main():
    rng = random.Random(1)
    for name, lines in (("daily_weather.txt", daily_weather(rng)),
                        ("signals.txt", signals(rng))):
        (HERE / name).write_text("\n".join(lines) + "\n", encoding="ascii")
    (HERE / "texture.png").write_bytes(texture_png())


if __name__ == "__main__":
    main()
