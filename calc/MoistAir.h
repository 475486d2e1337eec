#pragma once

// Moist air at the standard atmospheric pressure, as the door-opening
// formula uses it.
struct MoistAir
{
    double saturationPressure = 0; // p_s, Pa
    double moisture = 0;           // x, kg of water per kg of dry air
    double enthalpy = 0;           // h, kJ per kg of dry air
    double density = 0;            // ρ, kg/m³

    // Air at t °C with relative humidity phi (0..1).
    static MoistAir at(double t, double phi);
};

inline constexpr double AtmosphericPressure = 101325; // Pa

// Saturation pressure of water vapour over water (t ≥ 0 °C) or ice, Pa.
double SaturationPressure(double t);
