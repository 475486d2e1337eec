#pragma once

#include <QString>

struct CalculationRecord;

// The heat load of the chamber by component, written into the record's
// result fields (whole watts, halves to the even neighbour; sums formed from
// the rounded components).
//
// Returns false when a result does not fit its 32-bit field; rangeError then
// names the field and the record's results are left as they were before the
// call. Nothing is ever wrapped.
bool CalculateLoad(CalculationRecord& record, QString* rangeError = nullptr);

// Parts of the calculation, exposed for the tests.
double GetRespiration(const CalculationRecord& record, int t);
double GetStaffHeat(double t);
qint16 Clamp(qint16 value, qint16 low, qint16 high);
double AirFactorWarm(double t, double phi);
double AirFactorCold(double t, double phi);
double DoorAirFlow(double t, double volume);
