#include "Lookups.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DatabaseAccess.h"
#include "QueryTable.h"
#include "SqlLiteral.h"

namespace {

// A lookup by key, whose statement is made only when its rows are not kept.
int lookUp(CalculationContext& context, KeptLookups::Kind kind, QString (*read)(qint16), qint16 pkey,
           QueryTable& table)
{
    return ReadReference(
        context, {kind, pkey}, [read, pkey] { return read(pkey); }, table);
}

} // namespace

int GetArticle(CalculationContext& context, qint16 pkey, QString& name, double& value)
{
    QueryTable table;
    const int rows = lookUp(context, KeptLookups::Kind::Article, &LookupReads::article, pkey, table);
    if (rows <= 0)
        return -1;
    value = table.number(0, 0);
    name = table.text(0, 1);
    return rows;
}

int GetProduct(CalculationContext& context, CalculationRecord& record, qint16 pkey)
{
    QueryTable table;
    const int rows = lookUp(context, KeptLookups::Kind::Product, &LookupReads::product, pkey, table);
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
    const int rows = lookUp(context, KeptLookups::Kind::Packing, &LookupReads::packing, pkey, table);
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
    const int rows = lookUp(context, KeptLookups::Kind::Curtain, &LookupReads::curtain, pkey, table);
    if (rows > 0) {
        record.xk_curtain_name = table.text(0, 0);
        record.xk_curtain_c = table.number(0, 1);
    }
    return rows;
}

int GetGas(CalculationContext& context, CalculationRecord& record, qint16 pkey)
{
    QueryTable table;
    const int rows = lookUp(context, KeptLookups::Kind::Gas, &LookupReads::gas, pkey, table);
    if (rows > 0)
        record.xo_gas = table.text(0, 0);
    return rows;
}

namespace LookupReads {

QString article(qint16 pkey)
{
    return QStringLiteral("SELECT s_value,s_name from article WHERE pkey=") + SqlLiteral::integer(pkey);
}

QString product(qint16 pkey)
{
    return QStringLiteral("SELECT * FROM product WHERE pkey=") + SqlLiteral::integer(pkey);
}

QString packing(qint16 pkey)
{
    return QStringLiteral("SELECT mass, thermal, text_ru FROM packing WHERE pkey=") +
           SqlLiteral::integer(pkey);
}

QString curtain(qint16 pkey)
{
    return QStringLiteral("SELECT text_ru,c_value FROM curtain WHERE pkey=") + SqlLiteral::integer(pkey);
}

QString gas(qint16 pkey)
{
    return QStringLiteral("SELECT model FROM gas WHERE pkey=") + SqlLiteral::integer(pkey);
}

QString equipment(qint16 pkey)
{
    return QStringLiteral("SELECT model,text_ru FROM equipment WHERE pkey=") + SqlLiteral::integer(pkey);
}

QStringList of(const CalculationRecord& r)
{
    return {article(r.xk_ceiling_stuff),
            article(r.xk_wall_stuff),
            article(r.xk_floor_stuff),
            curtain(r.xk_curtain),
            product(r.px_product),
            packing(r.px_packing),
            gas(r.xo_type2),
            equipment(r.xo_type1)};
}

} // namespace LookupReads
