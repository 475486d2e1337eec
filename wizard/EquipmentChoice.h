#pragma once

#include "OfferedTypes.h"

#include <QImage>
#include <QString>
#include <QVector>

struct CalculationRecord;

// The equipment screen's choices as they act on the record, shared by the
// screen and by the report, which re-selects the record's type before it
// prints (the type's pictures go onto its second page).
namespace EquipmentChoice {

using TypeItem = OfferedType;

struct Refrigerant
{
    qint16 code;
    const char* name;
};
// The two refrigerants offered, in the order of the list.
inline constexpr Refrigerant Refrigerants[] = {{1, "R22"}, {2, "R404a"}};

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

// The folder the equipment pictures are taken from: the program folder,
// unless set otherwise (tests use their own folder).
QString PictureFolder();
void SetPictureFolder(const QString& folder);

// A picture of the picture folder by its bare name; a null image when the
// name is empty or the file is missing, damaged or not a JPEG.
QImage LoadPicture(const QString& bareName);

} // namespace EquipmentChoice
