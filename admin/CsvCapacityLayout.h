#pragma once

#include "CapacitySetStore.h"
#include "CsvLayout.h"

// The capacity table of one equipment type, one row per rated capacity:
// model code, modification, outside temperature, chamber temperature,
// capacity. A row is named by the first four.
class CsvCapacityLayout final : public CsvLayout
{
public:
    CsvCapacityLayout(AdminSession& session, qint32 typeKey)
        : CsvLayout(session), m_type(typeKey), m_store(session, typeKey)
    {}

    QString fileName() const override;
    QStringList header() const override;
    Result<void> readStored(QVector<ExchangeRow>& rows) const override;
    std::optional<ExchangeRow> fromFile(const QStringList& fields, bool decimalComma,
                                        QString* problem) const override;
    // Every set the file touches must be a complete set of this type, of a
    // code no other type holds, as the editor of one set requires.
    QStringList listProblems(const QVector<ExchangeRow>& after, int limit) const override;
    // As the editor of one set writes it (CapacitySetStore).
    QVector<Statement> insertStatements(const QVector<ExchangeRow>& rows) const override;
    QVector<Statement> updateStatements(const QVector<Change>& changes) const override;
    QVector<Statement> deleteStatements(const QVector<qint64>& keys) const override;
    bool shortKeys() const override { return false; }

private:
    qint32 m_type;
    CapacitySetStore m_store;
};
