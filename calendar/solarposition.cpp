#include "solarposition.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace SolarPosition {

namespace {

constexpr double UnixEpochJd = 2440587.5;
constexpr double MsPerDay = 86400000.0;
constexpr double DegreesPerRadian = 180.0 / ERFA_DPI;
constexpr double MeanDegreesPerDay = 360.0 / 365.2422;

// Wraps a difference of angles into −180…180 degrees.
double wrapped(double degrees)
{
    degrees = std::fmod(degrees, 360.0);
    if (degrees > 180.0)
        degrees -= 360.0;
    else if (degrees <= -180.0)
        degrees += 360.0;
    return degrees;
}

double decimalYearOf(double julianDate)
{
    return 2000.0 + (julianDate - ERFA_DJ00) / ERFA_DJY;
}

} // namespace

double apparentLongitude(double julianDateTT)
{
    // ERFA splits a Julian date in two parts to keep its precision.
    const double date1 = ERFA_DJ00;
    const double date2 = julianDateTT - ERFA_DJ00;

    double heliocentric[2][3];
    double barycentric[2][3];
    eraEpv00(date1, date2, heliocentric, barycentric);

    // The geometric direction from the Earth to the Sun, and the distance.
    double toSun[3];
    for (int i = 0; i < 3; ++i)
        toSun[i] = -heliocentric[0][i];
    double distance = 0.0;
    double direction[3];
    eraPn(toSun, &distance, direction);

    // Annual aberration from the Earth's barycentric velocity, in units of c.
    double velocity[3];
    const double auPerDayInC = ERFA_DAU / ERFA_DAYSEC / ERFA_CMPS;
    for (int i = 0; i < 3; ++i)
        velocity[i] = barycentric[1][i] * auPerDayInC;
    const double inverseLorentz = std::sqrt(1.0 - eraPdp(velocity, velocity));
    double apparent[3];
    eraAb(direction, velocity, distance, inverseLorentz, apparent);

    // Into the mean ecliptic and equinox of date, then nutation in longitude.
    double toEcliptic[3][3];
    eraEcm06(date1, date2, toEcliptic);
    double ecliptic[3];
    eraRxp(toEcliptic, apparent, ecliptic);
    double nutationLongitude = 0.0;
    double nutationObliquity = 0.0;
    eraNut00b(date1, date2, &nutationLongitude, &nutationObliquity);

    const double longitude
        = (std::atan2(ecliptic[1], ecliptic[0]) + nutationLongitude) * DegreesPerRadian;
    const double degrees = std::fmod(longitude, 360.0);
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

double deltaT(double y)
{
    if (y < 1900.0) {
        const double t = y - 1860.0;
        return 7.62 + 0.5737 * t - 0.251754 * t * t + 0.01680668 * t * t * t
            - 0.0004473624 * std::pow(t, 4) + std::pow(t, 5) / 233174.0;
    }
    if (y < 1920.0) {
        const double t = y - 1900.0;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t
            - 0.000197 * std::pow(t, 4);
    }
    if (y < 1941.0) {
        const double t = y - 1920.0;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (y < 1961.0) {
        const double t = y - 1950.0;
        return 29.07 + 0.407 * t - t * t / 233.0 + t * t * t / 2547.0;
    }
    if (y < 1986.0) {
        const double t = y - 1975.0;
        return 45.45 + 1.067 * t - t * t / 260.0 - t * t * t / 718.0;
    }
    if (y < 2005.0) {
        const double t = y - 2000.0;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t
            + 0.000651814 * std::pow(t, 4) + 0.00002373599 * std::pow(t, 5);
    }
    if (y < 2050.0) {
        const double t = y - 2000.0;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    if (y < 2150.0) {
        const double u = (y - 1820.0) / 100.0;
        return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - y);
    }
    const double u = (y - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u;
}

double instantOfLongitude(double degrees, double utcMsGuess)
{
    const double utcGuessJd = UnixEpochJd + utcMsGuess / MsPerDay;
    const double offsetDays = deltaT(decimalYearOf(utcGuessJd)) / 86400.0;

    // The Sun moves about a degree a day, a few per cent faster or slower
    // with the season, so correcting by the mean rate converges quickly.
    double jd = utcGuessJd + offsetDays;
    for (int step = 0; step < 30; ++step) {
        const double correction = wrapped(degrees - apparentLongitude(jd)) / MeanDegreesPerDay;
        jd += correction;
        if (std::abs(correction) < 1e-9)
            break;
    }
    const double utcJd = jd - deltaT(decimalYearOf(jd)) / 86400.0;
    return (utcJd - UnixEpochJd) * MsPerDay;
}

} // namespace SolarPosition
