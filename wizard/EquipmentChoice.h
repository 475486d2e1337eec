#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

class DataLocation;
struct CalculationContext;
struct CalculationRecord;

// The equipment screen's choices as they act on the record, and the type's
// pictures, which the report also prints on its second page.
namespace EquipmentChoice {

struct Refrigerant
{
    qint16 code;
    const char* name;
};
// The two refrigerants offered, in the order of the list.
inline constexpr Refrigerant Refrigerants[] = {{1, "R22"}, {2, "R404a"}};

// A type chosen: xo_type1 and, when the type exists, its picture and scheme
// names. Returns false when there is no such type.
bool ChooseType(CalculationContext& context, CalculationRecord& record, qint32 key);

// The bare file names of a type's appearance picture and mounting scheme;
// both empty when there is no such type.
struct TypePictures
{
    QString picture;
    QString scheme;
};
TypePictures PicturesOf(CalculationContext& context, qint32 key);

// What the equipment screen reads as it opens on the record: the offered
// types, and the record's type with its pictures.
QStringList ScreenReads(const CalculationRecord& record);
// What choosing a type of that series reads for the record: the type, its
// pictures and its model codes.
QStringList TypeReads(const CalculationRecord& record, qint32 key, const QString& series);

// A picture of the location by its bare name; a null image when the name is
// empty or the file is missing, damaged or not a JPEG.
QImage LoadPicture(const DataLocation& location, const QString& bareName);

} // namespace EquipmentChoice
