#pragma once

#include "Result.h"
#include "WriteStatement.h"

#include <QStringList>
#include <QVector>
#include <utility>

class AdminSession;
class QueryTable;

// The rated capacities (table power) of one equipment type, as the editor of
// a unit model's capacity set and the capacity-table import write them: the
// same statements for both, many rows a statement, so that a whole catalogue
// goes to a server in few round trips.
class CapacitySetStore
{
public:
    CapacitySetStore(AdminSession& session, qint32 typeKey) : m_session(session), m_type(typeKey) {}

    // The rows of one model code and modification, whatever their type, as
    // PowerSet::readQuery reads them.
    Result<int> modelRows(const QString& model, double modification, QueryTable& rows) const;

    // The literals a rated capacity is written with, in statement order;
    // the numbers are literals already.
    static QStringList literals(const QString& model, const QString& modification, const QString& inT,
                                const QString& outT, const QString& power);
    enum Literal { Model, Modification, InT, OutT, Power };

    // A capacity's literals and the key of the stored row it replaces.
    using Change = std::pair<QStringList, qint64>;
    QVector<WriteStatement> insertStatements(const QVector<QStringList>& rows) const;
    QVector<WriteStatement> updateStatements(const QVector<Change>& changes) const;
    static QVector<WriteStatement> deleteStatements(const QVector<qint64>& keys);

    // Adds the rows or changes the stored ones as one change, all or none:
    // a half-written set would mislead the selection.
    Result<void> save(const QVector<QStringList>& adds, const QVector<Change>& changes);

private:
    AdminSession& m_session;
    qint32 m_type;
};
