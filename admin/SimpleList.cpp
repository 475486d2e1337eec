#include "SimpleList.h"

#include "Functions.h"
#include "SqlLiteral.h"

const SimpleList* SimpleList::forKind(int kind)
{
    static const SimpleList insulation{QStringLiteral("article"),
                                       QStringLiteral("Теплоизоляция"),
                                       QStringLiteral("s_name"),
                                       QStringLiteral("Теплоизоляционный материал"),
                                       QStringLiteral("Теплопроводность"),
                                       QStringLiteral("s_value"),
                                       false,
                                       {}};
    static const SimpleList curtain{QStringLiteral("curtain"),
                                    QStringLiteral("Занавесь"),
                                    QStringLiteral("text_ru"),
                                    QStringLiteral("Тип занавеси"),
                                    QStringLiteral("Коэффициент уменьшения потерь холода через дверь"),
                                    QStringLiteral("c_value"),
                                    false,
                                    {}};
    static const SimpleList packing{QStringLiteral("packing"),
                                    QStringLiteral("Упаковка"),
                                    QStringLiteral("text_ru"),
                                    QStringLiteral("Тип упаковки"),
                                    QStringLiteral("Теплоемкость тары"),
                                    QStringLiteral("mass"),
                                    true,
                                    QStringLiteral("thermal")};
    switch (kind) {
    case Functions::KindInsulation:
        return &insulation;
    case Functions::KindCurtain:
        return &curtain;
    case Functions::KindPacking:
        return &packing;
    default:
        return nullptr;
    }
}

QString SimpleList::listQuery() const
{
    if (table == QLatin1String("article"))
        return QStringLiteral("SELECT Pkey,s_name,s_value FROM article WHERE cls_n=%1 ORDER BY s_name")
            .arg(int(Functions::KindInsulation));
    if (table == QLatin1String("curtain"))
        return QStringLiteral("SELECT Pkey,text_ru,c_value FROM curtain ORDER BY text_ru");
    return QStringLiteral("SELECT Pkey,text_ru,mass,thermal FROM packing ORDER BY text_ru");
}

// Packing reads thermal into column 1 and mass into column 2: the second box
// is "Масса тары" (thermal), the value box "Теплоемкость тары" (mass).
QString SimpleList::readQuery(qint64 key) const
{
    if (hasSecondValue)
        return QStringLiteral("SELECT text_ru,thermal,mass FROM packing WHERE Pkey=") +
               SqlLiteral::integer(key);
    return QStringLiteral("SELECT %1,pkey,%2 FROM %3 WHERE Pkey=").arg(nameColumn, valueColumn, table) +
           SqlLiteral::integer(key);
}

QString SimpleList::insertStatement(const QString& name, double value, double second) const
{
    if (table == QLatin1String("article"))
        return QStringLiteral("INSERT INTO article(s_name,s_value,cls_n) VALUES (") + SqlLiteral::text(name) +
               QLatin1Char(',') + SqlLiteral::number(value) + QLatin1Char(',') +
               SqlLiteral::integer(Functions::KindInsulation) + QLatin1Char(')');
    if (table == QLatin1String("curtain"))
        return QStringLiteral("INSERT INTO curtain(text_ru,c_value) VALUES (") + SqlLiteral::text(name) +
               QLatin1Char(',') + SqlLiteral::number(value) + QLatin1Char(')');
    return QStringLiteral("INSERT INTO packing(text_ru,mass,thermal) VALUES (") + SqlLiteral::text(name) +
           QLatin1Char(',') + SqlLiteral::number(value) + QLatin1Char(',') + SqlLiteral::number(second) +
           QLatin1Char(')');
}

QString SimpleList::updateStatement(const QString& name, double value, double second, qint64 key) const
{
    QString sql = QStringLiteral("UPDATE %1 SET %2=").arg(table, nameColumn) + SqlLiteral::text(name) +
                  QStringLiteral(",  %1=").arg(valueColumn) + SqlLiteral::number(value);
    if (hasSecondValue)
        sql += QStringLiteral(", thermal=") + SqlLiteral::number(second);
    return sql + QStringLiteral(" WHERE Pkey=") + SqlLiteral::integer(key);
}

QString SimpleList::deleteStatement(qint64 key) const
{
    return QStringLiteral("DELETE FROM %1 WHERE Pkey=").arg(table) + SqlLiteral::integer(key);
}
