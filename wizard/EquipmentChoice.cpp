#include "EquipmentChoice.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DataLocation.h"
#include "DatabaseAccess.h"
#include "QueryTable.h"
#include "SqlLiteral.h"

#include <QFileInfo>
#include <optional>

namespace EquipmentChoice {

namespace {

std::optional<TypePictures> readPictures(CalculationContext& context, qint32 key)
{
    QueryTable table;
    if (ReadReference(context,
                      QStringLiteral("SELECT picture,scheme FROM Equipment WHERE pkey=") +
                          SqlLiteral::integer(key),
                      table) <= 0)
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
