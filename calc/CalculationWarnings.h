#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

struct CalculationContext;
struct CalculationRecord;

// A place where the numbers of a calculation are stretched: a stable code
// for scripts and a short Russian sentence for the engineer.
struct CalculationWarning
{
    QString code;
    QString text;
};

// Codes of the warnings, in the order they are listed.
namespace WarningCode {
inline constexpr char ChamberOutsideRated[] = "chamber_outside_rated";
inline constexpr char AmbientOutsideRated[] = "ambient_outside_rated";
inline constexpr char CapacityCurveImplausible[] = "capacity_curve_implausible";
inline constexpr char RunTimeAboveMaximum[] = "run_time_above_maximum";
inline constexpr char ReserveBelowMinimum[] = "reserve_below_minimum";
inline constexpr char MinimumReserveNegative[] = "minimum_reserve_negative";
inline constexpr char MissingReferences[] = "missing_references";
inline constexpr char InputCheckFailed[] = "input_check_failed";
} // namespace WarningCode

// The warnings of the record's last calculation and selection. The capacity
// warnings need the steps the selection recorded (record.trace); the run
// time and reserve ones read the figures the results screen shows.
// missingReferences: the names of the reference rows (product, insulation,
// curtain, packing, equipment type) a reopened calculation refers to and
// that no longer exist, as the reopening's check lists them. A reopened
// saved calculation that fails a check of the input screens (computed as
// saved) gets one warning per check.
QVector<CalculationWarning> BuildWarnings(const CalculationRecord& record,
                                          const QStringList& missingReferences);

// The warnings every screen, the report and frostpick-calc show for the
// record: BuildWarnings with the reopening's check of missing reference
// rows, which plugs in here.
QVector<CalculationWarning> RecordWarnings(const CalculationContext& context,
                                           const CalculationRecord& record);
