#include "EquipmentChoice.h"

#include "CalculationRecord.h"
#include "DatabaseAccess.h"
#include "QueryTable.h"
#include "Selection.h"
#include "SqlLiteral.h"

#include <QDir>
#include <QFileInfo>

namespace EquipmentChoice {

namespace {

QString& pictureFolderOverride()
{
    static QString folder;
    return folder;
}

} // namespace

QVector<TypeItem> OfferedTypes(CalculationRecord& record)
{
    return OfferedEquipmentTypes(record);
}

bool ChooseType(CalculationRecord& record, qint32 key)
{
    record.xo_type1 = qint16(key);
    QueryTable table;
    if (OpenQuery(*record.ref_db,
                  QStringLiteral("SELECT picture,scheme FROM Equipment WHERE pkey=") +
                      SqlLiteral::integer(key),
                  table) == 0)
        return false;
    record.xo_picture = table.text(0, 0);
    record.xo_scheme = table.text(0, 1);
    return true;
}

void ReselectEquipment(CalculationRecord& record)
{
    const QVector<TypeItem> types = OfferedTypes(record);
    if (!types.isEmpty()) {
        auto chosen = std::find_if(types.cbegin(), types.cend(),
                                   [&](const TypeItem& item) { return item.key == record.xo_type1; });
        ChooseType(record, chosen != types.cend() ? chosen->key : types.first().key);
    }
    record.xo_gas = QString::fromLatin1(Refrigerants[0].name);
    for (const Refrigerant& refrigerant : Refrigerants) {
        if (refrigerant.code == record.xo_type2)
            record.xo_gas = QString::fromLatin1(refrigerant.name);
    }
    GetSeries(record);
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
