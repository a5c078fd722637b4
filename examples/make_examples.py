#!/usr/bin/env python3
"""Writes the sample data files of this folder. Run from anywhere; the output is committed.

All values are whole numbers, so the files read the same whatever decimal separator the
user's regional settings name. daily_weather.txt has day.month.year dates (see README.md).
"""
import datetime
import math
import pathlib
import random

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


def main():
    rng = random.Random(1)
    for name, lines in (("daily_weather.txt", daily_weather(rng)),
                        ("signals.txt", signals(rng))):
        (HERE / name).write_text("\n".join(lines) + "\n", encoding="ascii")


if __name__ == "__main__":
    main()
