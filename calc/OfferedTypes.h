#pragma once

#include <QString>
#include <QVector>

struct CalculationContext;
struct CalculationRecord;

// An equipment type the wizard offers for a chamber.
struct OfferedType
{
    qint32 key = 0;
    QString name;
    QString series;
};

// Whether a type of this series suits the chamber temperature: low-temperature
// series only at -25 °C and below, medium-temperature ones only down to -27 °C.
bool IsOffered(const QString& series, double chamberTemperature);

// The equipment types offered for the record's chamber temperature, in the
// order of their names.
QVector<OfferedType> OfferedEquipmentTypes(CalculationContext& context, const CalculationRecord& record);
// The statement that list is read by.
QString OfferedTypesRead();
