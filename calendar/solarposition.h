#pragma once

// Where the Sun stands as seen from the Earth, for finding the instants of
// the solar terms. Times are Julian dates in Terrestrial Time (TT) or
// milliseconds since 1970-01-01 00:00 UTC.

namespace SolarPosition {

// The Sun's apparent geocentric ecliptic longitude, in degrees 0…360:
// the Earth's place from the VSOP87-based series of the ERFA library,
// annual aberration, the mean ecliptic and equinox of date (IAU 2006
// precession) and the nutation in longitude (IAU 2000B).
double apparentLongitude(double julianDateTT);

// TT − UT in seconds for a decimal year (the polynomial fits of Espenak and
// Meeus, good to about a second across 1900–2050 and growing more
// uncertain after that, as any prediction of the Earth's rotation does).
double deltaT(double decimalYear);

// The instant, as UTC milliseconds since 1970, when the apparent longitude
// reaches `degrees`, searching from `utcMsGuess`, which must lie within a few
// days of the answer.
double instantOfLongitude(double degrees, double utcMsGuess);

} // namespace SolarPosition
