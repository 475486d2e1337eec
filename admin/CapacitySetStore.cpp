#include "CapacitySetStore.h"

#include "AdminSession.h"
#include "PowerSet.h"
#include "SqlLiteral.h"

namespace {

constexpr qsizetype RowsPerStatement = 500;

const char* const Columns[] = {"model", "modification", "in_t", "out_t", "power"};

// The items in statements of at most RowsPerStatement each.
template <class Item, class Make> QVector<WriteStatement> inParts(const QVector<Item>& items, Make statement)
{
    QVector<WriteStatement> statements;
    for (qsizetype first = 0; first < items.size(); first += RowsPerStatement) {
        const QVector<Item> part = items.mid(first, RowsPerStatement);
        statements.append({statement(part), int(part.size())});
    }
    return statements;
}

} // namespace

Result<int> CapacitySetStore::modelRows(const QString& model, double modification, QueryTable& rows) const
{
    return m_session.query(PowerSet::readQuery(model, modification), rows);
}

QStringList CapacitySetStore::literals(const QString& model, const QString& modification, const QString& inT,
                                       const QString& outT, const QString& power)
{
    return {SqlLiteral::text(model), modification, inT, outT, power};
}

QVector<WriteStatement> CapacitySetStore::insertStatements(const QVector<QStringList>& rows) const
{
    const QString type = SqlLiteral::integer(m_type);
    return inParts(rows, [&](const QVector<QStringList>& part) {
        QStringList tuples;
        for (const QStringList& row : part)
            tuples << QLatin1Char('(') + row.join(QLatin1Char(',')) + QLatin1Char(',') + type +
                          QLatin1Char(')');
        return QStringLiteral("INSERT INTO power(model,modification,in_t,out_t,power,fkey) VALUES ") +
               tuples.join(QLatin1Char(','));
    });
}

QVector<WriteStatement> CapacitySetStore::updateStatements(const QVector<Change>& changes) const
{
    const QString type = SqlLiteral::integer(m_type);
    return inParts(changes, [&](const QVector<Change>& part) {
        QStringList keys;
        for (const Change& change : part)
            keys << SqlLiteral::integer(change.second);
        QStringList columns;
        for (int c = Model; c <= Power; ++c) {
            QString cases;
            for (qsizetype k = 0; k < part.size(); ++k)
                cases +=
                    QStringLiteral(" WHEN ") + keys.at(k) + QStringLiteral(" THEN ") + part.at(k).first.at(c);
            columns << QLatin1String(Columns[c]) + QStringLiteral("=CASE pkey") + cases +
                           QStringLiteral(" END");
        }
        return QStringLiteral("UPDATE power SET ") + columns.join(QStringLiteral(", ")) +
               QStringLiteral(", fkey=") + type + QStringLiteral(" WHERE pkey IN (") +
               keys.join(QLatin1Char(',')) + QLatin1Char(')');
    });
}

QVector<WriteStatement> CapacitySetStore::deleteStatements(const QVector<qint64>& keys)
{
    return inParts(keys, [](const QVector<qint64>& part) {
        QStringList some;
        for (const qint64 key : part)
            some << SqlLiteral::integer(key);
        return QStringLiteral("DELETE FROM power WHERE pkey IN (") + some.join(QLatin1Char(',')) +
               QLatin1Char(')');
    });
}

Result<void> CapacitySetStore::save(const QVector<QStringList>& adds, const QVector<Change>& changes)
{
    return m_session.write(insertStatements(adds) + updateStatements(changes));
}
