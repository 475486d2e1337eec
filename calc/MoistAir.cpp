#include "MoistAir.h"

#include <cmath>

double SaturationPressure(double t)
{
    // Magnus forms over water and over ice.
    return t >= 0 ? 611.2 * std::exp(17.62 * t / (243.12 + t)) : 611.2 * std::exp(22.46 * t / (272.62 + t));
}

MoistAir MoistAir::at(double t, double phi)
{
    const double p = AtmosphericPressure;
    MoistAir air;
    air.saturationPressure = SaturationPressure(t);
    const double vapour = phi * air.saturationPressure;
    air.moisture = 0.622 * vapour / (p - vapour);
    air.enthalpy = 1.006 * t + air.moisture * (2501 + 1.86 * t);
    air.density = p * (1 + air.moisture) / (287.055 * (t + 273.15) * (1 + 1.6078 * air.moisture));
    return air;
}
