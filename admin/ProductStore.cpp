#include "ProductStore.h"

#include "AdminSession.h"
#include "SqlLiteral.h"

const QStringList& ProductStore::valueColumns()
{
    static const QStringList columns = {QStringLiteral("co"),  QStringLiteral("cz"),  QStringLiteral("cwr"),
                                        QStringLiteral("tko"), QStringLiteral("tnz"), QStringLiteral("td0"),
                                        QStringLiteral("td2"), QStringLiteral("td5"), QStringLiteral("td15")};
    return columns;
}

Result<int> ProductStore::record(qint64 key, QueryTable& row) const
{
    return m_session.query(
        QStringLiteral("SELECT pkey,text_ru,text_en,text_it,co,cz,cwr,tko,tnz,td0,td2,td5,td15,fkey FROM "
                       "product WHERE pkey=") +
            SqlLiteral::integer(key),
        row);
}

QStringList ProductStore::literals(qint64 group, const QString& name, const QVector<double>& values)
{
    QStringList literals = {SqlLiteral::integer(group), SqlLiteral::text(name)};
    for (const double value : values)
        literals << SqlLiteral::number(value);
    return literals;
}

QString ProductStore::insertStatement(const QStringList& literals)
{
    return QStringLiteral("INSERT INTO Product(text_ru,") + valueColumns().join(QLatin1Char(',')) +
           QStringLiteral(",fkey) VALUES (") + QStringList(literals.mid(1)).join(QLatin1Char(',')) +
           QLatin1Char(',') + literals.at(0) + QLatin1Char(')');
}

QString ProductStore::updateStatement(const QStringList& literals, qint64 key)
{
    QString sql = QStringLiteral("UPDATE Product SET fkey=") + literals.at(0) + QStringLiteral(", text_ru=") +
                  literals.at(1);
    for (int c = 0; c < valueColumns().size(); ++c)
        sql += QStringLiteral(", %1=").arg(valueColumns().at(c)) + literals.at(2 + c);
    return sql + QStringLiteral(" WHERE pkey=") + SqlLiteral::integer(key);
}

QString ProductStore::deleteStatement(qint64 key)
{
    return QStringLiteral("DELETE FROM Product WHERE pkey=") + SqlLiteral::integer(key);
}

Result<void> ProductStore::save(bool adding, qint64 key, const QStringList& literals) const
{
    if (!adding)
        return m_session.execSqlChanging(updateStatement(literals, key));
    const Result<qint64> inserted = m_session.insertRow(insertStatement(literals));
    if (!inserted)
        return inserted.failure();
    return {};
}
