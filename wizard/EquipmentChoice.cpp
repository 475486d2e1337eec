#include "EquipmentChoice.h"

#include "CalculationRecord.h"
#include "DataLocation.h"
#include "DatabaseAccess.h"
#include "QueryTable.h"
#include "Selection.h"
#include "SqlLiteral.h"

#include <QFileInfo>

namespace EquipmentChoice {

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
