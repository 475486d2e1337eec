#pragma once

#include "CsvLayout.h"
#include "ReferenceListStore.h"

#include <QHash>

struct SimpleList;

// Insulation, curtains or packing: name and value(s), named by the name.
class CsvSimpleLayout final : public CsvLayout
{
public:
    CsvSimpleLayout(AdminSession& session, int kind);

    QString fileName() const override;
    QStringList header() const override;
    Result<void> readStored(QVector<ExchangeRow>& rows) const override;
    std::optional<ExchangeRow> fromFile(const QStringList& fields, bool decimalComma,
                                        QString* problem) const override;
    QVector<Statement> insertStatements(const QVector<ExchangeRow>& rows) const override;
    QVector<Statement> updateStatements(const QVector<Change>& changes) const override;
    QVector<Statement> deleteStatements(const QVector<qint64>& keys) const override;

private:
    const SimpleList* m_list;
    ReferenceListStore m_store;
};

// Every product with its group by name and its thermal properties, named by
// the product's name. The groups must exist.
class CsvProductLayout final : public CsvLayout
{
public:
    explicit CsvProductLayout(AdminSession& session) : CsvLayout(session) {}

    QString fileName() const override;
    QStringList header() const override;
    Result<void> readStored(QVector<ExchangeRow>& rows) const override;
    std::optional<ExchangeRow> fromFile(const QStringList& fields, bool decimalComma,
                                        QString* problem) const override;
    QVector<Statement> insertStatements(const QVector<ExchangeRow>& rows) const override;
    QVector<Statement> updateStatements(const QVector<Change>& changes) const override;
    QVector<Statement> deleteStatements(const QVector<qint64>& keys) const override;

private:
    // Read with the stored products, before any row of the file.
    mutable QHash<QString, qint64> m_groups;
};
