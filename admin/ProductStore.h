#pragma once

#include "Result.h"

#include <QStringList>

class AdminSession;
class QueryTable;

// The statements of the products, as their editor and the products'
// spreadsheet import write them, run on the session's connection.
class ProductStore
{
public:
    explicit ProductStore(AdminSession& session) : m_session(session) {}

    // The product's thermal properties, in the order of the editor's boxes.
    static const QStringList& valueColumns();

    // The product as its editor reads it: 1, or 0 when it is gone; the
    // columns of that row, the nine values co .. td15 from FirstValue on.
    Result<int> record(qint64 key, QueryTable& row) const;
    enum Column { Key = 0, Name = 1, FirstValue = 4, Group = 13 };

    // The literals a product is written with: its group's key, its name,
    // then the values in valueColumns() order.
    static QStringList literals(qint64 group, const QString& name, const QVector<double>& values);
    static QString insertStatement(const QStringList& literals);
    static QString updateStatement(const QStringList& literals, qint64 key);
    static QString deleteStatement(qint64 key);

    // Adds the product, or changes the one with key (a failure when it is
    // gone).
    Result<void> save(bool adding, qint64 key, const QStringList& literals) const;

private:
    AdminSession& m_session;
};
