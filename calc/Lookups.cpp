#include "Lookups.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DatabaseAccess.h"
#include "QueryTable.h"
#include "SqlLiteral.h"

int GetArticle(CalculationContext& context, qint16 pkey, QString& name, double& value)
{
    QueryTable table;
    const int rows = ReadReference(
        context, QStringLiteral("SELECT s_value,s_name from article WHERE pkey=") + SqlLiteral::integer(pkey),
        table);
    if (rows <= 0)
        return -1;
    value = table.number(0, 0);
    name = table.text(0, 1);
    return rows;
}

int GetProduct(CalculationContext& context, CalculationRecord& record, qint16 pkey)
{
    QueryTable table;
    const int rows = ReadReference(
        context, QStringLiteral("SELECT * FROM product WHERE pkey=") + SqlLiteral::integer(pkey), table);
    if (rows > 0) {
        // By stored position: whatever the columns are called.
        record.px_product_name = table.text(0, 3);
        double* const properties[] = {&record.co,  &record.cz,  &record.cwr, &record.tko, &record.tnz,
                                      &record.td0, &record.td2, &record.td5, &record.td15};
        int column = 4;
        for (double* property : properties)
            *property = table.number(0, column++);
    }
    return 0;
}

int GetPacking(CalculationContext& context, CalculationRecord& record, qint16 pkey)
{
    QueryTable table;
    const int rows = ReadReference(context,
                                   QStringLiteral("SELECT mass, thermal, text_ru FROM packing WHERE pkey=") +
                                       SqlLiteral::integer(pkey),
                                   table);
    if (rows > 0) {
        record.packing_mass = table.number(0, 0);
        record.packing_thermal = table.number(0, 1);
        record.px_packing_name = table.text(0, 2);
    }
    return rows;
}

int GetCurtain(CalculationContext& context, CalculationRecord& record, qint16 pkey)
{
    QueryTable table;
    const int rows = ReadReference(
        context,
        QStringLiteral("SELECT text_ru,c_value FROM curtain WHERE pkey=") + SqlLiteral::integer(pkey), table);
    if (rows > 0) {
        record.xk_curtain_name = table.text(0, 0);
        record.xk_curtain_c = table.number(0, 1);
    }
    return rows;
}

int GetGas(CalculationContext& context, CalculationRecord& record, qint16 pkey)
{
    QueryTable table;
    const int rows = ReadReference(
        context, QStringLiteral("SELECT model FROM gas WHERE pkey=") + SqlLiteral::integer(pkey), table);
    if (rows > 0)
        record.xo_gas = table.text(0, 0);
    return rows;
}
