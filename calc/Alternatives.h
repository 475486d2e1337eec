#pragma once

#include "Selection.h"

#include <QString>
#include <QVector>
#include <optional>

struct CalculationContext;
struct CalculationRecord;

// A unit the engineer could have chosen instead: one modification of the
// model code an offered equipment type gives for the record's chamber
// temperature and refrigerant.
struct Alternative
{
    QString typeName;
    QString model;        // the model code, as the selection forms it
    QString modification; // as the selection names it ("060")
    // At the chamber and ambient temperatures; none when the capacity table
    // lacks the rows of a rated ambient for it.
    std::optional<double> capacity;
    SelectionFigures figures; // reserve and run time with the record's unit count
    bool sufficient = false;  // reaches q_unit_required, as the selection asks
    bool chosen = false;      // the unit the selection chose
};

// Every modification of every offered type, read as the selection reads
// them, sorted by capacity (those without one last). Reads the reference
// file in one snapshot and leaves the record as it was.
QVector<Alternative> ListAlternatives(CalculationContext& context, const CalculationRecord& record);
