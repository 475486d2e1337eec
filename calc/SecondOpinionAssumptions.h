#pragma once

// What the door-opening formula needs that the calculation does not ask
// for. Kept with the calculation beside its saved row; a calculation saved
// without them takes these defaults.
struct SecondOpinionAssumptions
{
    double doorHeight = 2.0;     // m
    double chamberHumidity = 90; // relative humidity of the chamber air, %
    double fans = 0;             // evaporator fan motors in the chamber, W; 0: not counted
    double defrost = 0;          // defrosting heat averaged over the process, W; 0: not counted

    bool operator==(const SecondOpinionAssumptions& other) const
    {
        return doorHeight == other.doorHeight && chamberHumidity == other.chamberHumidity &&
               fans == other.fans && defrost == other.defrost;
    }
    bool operator!=(const SecondOpinionAssumptions& other) const { return !(*this == other); }
};

// Each assumption by its name in frostpick-calc's input and output, with
// the values it may take: beyond them the formulas give no physical answer
// (a root of a negative number) or the number is a slip of the finger.
struct AssumptionField
{
    const char* key;
    double SecondOpinionAssumptions::*value;
    double low, high;
};
inline constexpr AssumptionField AssumptionFields[] = {
    {"door_height", &SecondOpinionAssumptions::doorHeight, 0, 10},
    {"chamber_humidity", &SecondOpinionAssumptions::chamberHumidity, 0, 100},
    {"fans", &SecondOpinionAssumptions::fans, 0, 1e6},
    {"defrost", &SecondOpinionAssumptions::defrost, 0, 1e6},
};
