#include "EquipmentChoice.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DataLocation.h"
#include "DatabaseAccess.h"
#include "Lookups.h"
#include "OfferedTypes.h"
#include "QueryTable.h"
#include "Selection.h"
#include "SqlLiteral.h"

#include <QFileInfo>
#include <optional>

namespace EquipmentChoice {

namespace {

QString picturesRead(qint32 key)
{
    return QStringLiteral("SELECT picture,scheme FROM Equipment WHERE pkey=") + SqlLiteral::integer(key);
}

std::optional<TypePictures> readPictures(CalculationContext& context, qint32 key)
{
    QueryTable table;
    if (ReadReference(context, picturesRead(key), table) <= 0)
        return std::nullopt;
    return TypePictures{table.text(0, 0), table.text(0, 1)};
}

} // namespace

bool ChooseType(CalculationContext& context, CalculationRecord& record, qint32 key)
{
    record.xo_type1 = qint16(key);
    const std::optional<TypePictures> pictures = readPictures(context, key);
    if (!pictures)
        return false;
    record.xo_picture = pictures->picture;
    record.xo_scheme = pictures->scheme;
    return true;
}

TypePictures PicturesOf(CalculationContext& context, qint32 key)
{
    return readPictures(context, key).value_or(TypePictures());
}

QStringList ScreenReads(const CalculationRecord& record)
{
    return {OfferedTypesRead(), picturesRead(record.xo_type1), LookupReads::equipment(record.xo_type1)};
}

QStringList TypeReads(const CalculationRecord& record, qint32 key, const QString& series)
{
    return QStringList{picturesRead(key), LookupReads::equipment(qint16(key))} + SeriesReads(record, series);
}

QImage LoadPicture(const DataLocation& location, const QString& bareName)
{
    if (bareName.trimmed().isEmpty())
        return {};
    const QString path = location.picturePath(bareName);
    QImage image;
    if (!QFileInfo(path).isFile() || !image.load(path, "JPEG"))
        return {};
    return image;
}

} // namespace EquipmentChoice
