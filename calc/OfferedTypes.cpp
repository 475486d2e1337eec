#include "OfferedTypes.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DatabaseAccess.h"
#include "QueryTable.h"

QString OfferedTypesRead()
{
    return QStringLiteral("SELECT pkey,text_ru,model FROM equipment ORDER BY text_ru");
}

bool IsOffered(const QString& series, double chamberTemperature)
{
    if (chamberTemperature > -25 && (series == QLatin1String("KMC") || series == QLatin1String("KSC")))
        return false;
    if (chamberTemperature < -27 && (series == QLatin1String("KMP") || series == QLatin1String("KSP") ||
                                     series == QLatin1String("KM") || series == QLatin1String("KS")))
        return false;
    return true;
}

QVector<OfferedType> OfferedEquipmentTypes(CalculationContext& context, const CalculationRecord& record)
{
    QVector<OfferedType> items;
    if (!context.ref_db)
        return items;
    QueryTable table;
    const int rows = ReadReference(context, OfferedTypesRead(), table);
    for (int row = 0; row < rows; ++row) {
        if (IsOffered(table.text(row, 2), record.xk_temperature))
            items.append({qint32(table.integer(row, 0)), table.text(row, 1), table.text(row, 2)});
    }
    return items;
}
