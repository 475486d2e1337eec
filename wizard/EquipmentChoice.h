#pragma once

#include <QImage>
#include <QString>
#include <QVector>

class DataLocation;
struct CalculationRecord;

// The equipment screen's choices as they act on the record, shared by the
// screen and by the report, which re-selects the record's type before it
// prints (the type's pictures go onto its second page).
namespace EquipmentChoice {

struct TypeItem
{
    qint32 key = 0;
    QString name;
};

struct Refrigerant
{
    qint16 code;
    const char* name;
};
// The two refrigerants offered, in the order of the list.
inline constexpr Refrigerant Refrigerants[] = {{1, "R22"}, {2, "R404a"}};

// Whether a type of this series suits the chamber temperature: low-temperature
// series only at -25 °C and below, medium-temperature ones only down to -27 °C.
bool IsOffered(const QString& series, double chamberTemperature);

// The equipment types offered for the record's chamber temperature, in the
// order of their names.
QVector<TypeItem> OfferedTypes(CalculationRecord& record);

// A type chosen: xo_type1 and, when the type exists, its picture and scheme
// names. Returns false when there is no such type.
bool ChooseType(CalculationRecord& record, qint32 key);

// What the equipment screen's load step does to the record: the record's
// type (or the first one offered) and refrigerant (or "R22") are chosen
// again, and the model code is rebuilt.
void ReselectEquipment(CalculationRecord& record);

// A picture of the location by its bare name; a null image when the name is
// empty or the file is missing, damaged or not a JPEG.
QImage LoadPicture(const DataLocation& location, const QString& bareName);

} // namespace EquipmentChoice
