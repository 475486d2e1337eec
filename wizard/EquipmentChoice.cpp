#include "EquipmentChoice.h"

#include "CalculationRecord.h"
#include "DatabaseAccess.h"
#include "QueryTable.h"
#include "SqlLiteral.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace EquipmentChoice {

namespace {

QString& pictureFolderOverride()
{
    static QString folder;
    return folder;
}

std::optional<TypePictures> readPictures(Database& ref, qint32 key)
{
    QueryTable table;
    if (OpenQuery(ref,
                  QStringLiteral("SELECT picture,scheme FROM Equipment WHERE pkey=") +
                      SqlLiteral::integer(key),
                  table) == 0)
        return std::nullopt;
    return TypePictures{table.text(0, 0), table.text(0, 1)};
}

} // namespace

bool IsOffered(const QString& series, double chamberTemperature)
{
    if (chamberTemperature > -25 && (series == QLatin1String("KMC") || series == QLatin1String("KSC")))
        return false;
    if (chamberTemperature < -27 && (series == QLatin1String("KMP") || series == QLatin1String("KSP") ||
                                     series == QLatin1String("KM") || series == QLatin1String("KS")))
        return false;
    return true;
}

QVector<TypeItem> OfferedTypes(CalculationRecord& record)
{
    QVector<TypeItem> items;
    QueryTable table;
    const int rows = OpenQuery(
        *record.ref_db, QStringLiteral("SELECT pkey,text_ru,model FROM equipment ORDER BY text_ru"), table);
    for (int row = 0; row < rows; ++row) {
        if (IsOffered(table.text(row, 2), record.xk_temperature))
            items.append({qint32(table.integer(row, 0)), table.text(row, 1)});
    }
    return items;
}

bool ChooseType(CalculationRecord& record, qint32 key)
{
    record.xo_type1 = qint16(key);
    const std::optional<TypePictures> pictures = readPictures(*record.ref_db, key);
    if (!pictures)
        return false;
    record.xo_picture = pictures->picture;
    record.xo_scheme = pictures->scheme;
    return true;
}

TypePictures PicturesOf(const CalculationRecord& record, qint32 key)
{
    return readPictures(*record.ref_db, key).value_or(TypePictures());
}

QString PictureFolder()
{
    const QString& folder = pictureFolderOverride();
    return folder.isEmpty() ? ProgramFolder() : folder;
}

void SetPictureFolder(const QString& folder)
{
    pictureFolderOverride() = folder;
}

QImage LoadPicture(const QString& bareName)
{
    if (bareName.trimmed().isEmpty())
        return {};
    const QString path = QDir(PictureFolder()).filePath(bareName);
    QImage image;
    if (!QFileInfo(path).isFile() || !image.load(path, "JPEG"))
        return {};
    return image;
}

} // namespace EquipmentChoice
