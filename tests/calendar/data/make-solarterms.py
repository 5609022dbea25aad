#!/usr/bin/python3
"""Writes solarterms.csv: the instant of every solar term 1900-2100 found
with PyEphem (Debian package python3-ephem), an astronomy library whose Sun
comes from its own VSOP87 series and nutation code, independent of the ERFA
routines the program uses.

For each Gregorian year and term index 0 (285 degrees) ... 23 (270 degrees),
the instant when the Sun's apparent geocentric ecliptic longitude (ecliptic
and equinox of date) reaches the term's angle is found by iteration.
Columns: year, index, the instant in UT (ISO, milliseconds), and PyEphem's
Delta T (TT - UT, seconds) at that instant, so that a test can compare
instants in TT and leave the choice of Delta T model aside.

Run: /usr/bin/python3 make-solarterms.py > solarterms.csv
"""
import datetime
import math

import ephem

EPOCH_1900 = datetime.datetime(1900, 1, 6, 2, 5)
OFFSETS = [0, 21208, 42467, 63836, 85337, 107014, 128867, 150921, 173149,
           195551, 218072, 240693, 263343, 285989, 308563, 331033, 353350,
           375494, 397447, 419210, 440795, 462224, 483532, 504758]


def longitude(when):
    sun = ephem.Sun(when)
    equatorial = ephem.Equatorial(sun.g_ra, sun.g_dec, epoch=when)
    return math.degrees(ephem.Ecliptic(equatorial, epoch=when).lon)


def wrapped(degrees):
    degrees = math.fmod(degrees, 360.0)
    if degrees > 180.0:
        degrees -= 360.0
    elif degrees <= -180.0:
        degrees += 360.0
    return degrees


def instant(year, index):
    guess = EPOCH_1900 + datetime.timedelta(
        milliseconds=(year - 1900) * 31556925974.7 + OFFSETS[index] * 60000)
    when = ephem.Date(guess)
    target = (285.0 + 15.0 * index) % 360.0
    for _ in range(40):
        step = wrapped(target - longitude(when)) / (360.0 / 365.2422)
        when = ephem.Date(when + step)
        if abs(step) < 1e-9:
            break
    return when


def main():
    print("year,index,ut,delta_t")
    for year in range(1900, 2101):
        for index in range(24):
            when = instant(year, index)
            moment = ephem.Date(when).datetime()
            stamp = moment.strftime("%Y-%m-%dT%H:%M:%S.") + "%03d" % (moment.microsecond // 1000)
            print("%d,%d,%s,%.3f" % (year, index, stamp, ephem.delta_t(when)))


if __name__ == "__main__":
    main()
