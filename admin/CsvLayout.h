#pragma once

#include "Result.h"
#include "WriteStatement.h"

#include <QString>
#include <QStringList>
#include <QVariantHash>
#include <QVector>
#include <memory>
#include <optional>

class AdminSession;
class QueryTable;

// One entry of a reference list as the exchange files hold it.
struct ExchangeRow
{
    QString identity;   // what names the entry in the list and in the file
    QStringList fields; // as the file holds them
    QStringList values; // as the statements write them, compared to find changes
    qint64 key = 0;     // in the store; 0 for a row of the file
    int line = 0;       // in the file; 0 for a row of the store
};

// How one reference list is written to and read from a spreadsheet file,
// checked as its editor checks it and stored as its editor stores it.
class CsvLayout
{
public:
    // The capacity table of an equipment type (kind 5), the products (3),
    // the insulation, curtains and packing (1, 2, 4); nullptr for another.
    static std::unique_ptr<CsvLayout> forKind(AdminSession& session, int kind, qint32 parentKey);
    virtual ~CsvLayout() = default;

    // A file name to suggest, without the folder.
    virtual QString fileName() const = 0;
    virtual QStringList header() const = 0;

    // The entries the store holds, in the list's order.
    virtual Result<void> readStored(QVector<ExchangeRow>& rows) const = 0;
    // A row of the file, fields in header() order; nullopt with the column
    // and the reason in problem when its editor would refuse it.
    virtual std::optional<ExchangeRow> fromFile(const QStringList& fields, bool decimalComma,
                                                QString* problem) const = 0;
    // Problems of the list as it would be after the import: the entries
    // that stay plus those of the file (with their lines).
    virtual QStringList listProblems(const QVector<ExchangeRow>& after, int limit) const
    {
        Q_UNUSED(after);
        Q_UNUSED(limit);
        return {};
    }

    using Statement = WriteStatement;
    // An entry of the file and the key of the stored entry it changes.
    using Change = std::pair<ExchangeRow, qint64>;
    virtual QVector<Statement> insertStatements(const QVector<ExchangeRow>& rows) const = 0;
    virtual QVector<Statement> updateStatements(const QVector<Change>& changes) const = 0;
    virtual QVector<Statement> deleteStatements(const QVector<qint64>& keys) const = 0;
    // Whether new entries get keys the wizard keeps in 16 bits.
    virtual bool shortKeys() const { return true; }

protected:
    explicit CsvLayout(AdminSession& session) : m_session(session) {}

    // Rows of the session's connection.
    Result<int> query(const QString& sql, QueryTable& rows) const;
    // The field of a numeric column checked against the column's rule; the
    // literal for the statement, or nullopt with the problem.
    static std::optional<QString> number(const QString& table, const QString& column, const QString& field,
                                         bool decimalComma, QString* problem);
    static std::optional<QString> name(const QString& column, const QString& field, QString* problem);
    // What breaks a rule between the columns of a row whose fields each
    // passed their own ("столбец «tko»: должно быть больше tnz…"), or empty.
    static QString rowProblem(const QString& table, const QVariantHash& row);
    // One statement per item, each changing one row.
    template <class Item, class Make>
    static QVector<Statement> each(const QVector<Item>& items, Make statement)
    {
        QVector<Statement> statements;
        for (const Item& item : items)
            statements.append({statement(item), 1});
        return statements;
    }

    AdminSession& m_session;
};
