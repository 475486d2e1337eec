#pragma once

#include "CsvLayout.h"
#include "Result.h"

#include <QStringList>

class AdminSession;

// What loading a spreadsheet file into a reference list would do, worked out
// before anything is written: the rows to add, change and keep, those of the
// list the file lacks, and every problem found.
class CsvImport
{
public:
    // At most this many problems are named.
    static constexpr int ProblemLimit = 10;

    // Reads the file and the list as stored and checks every row as the
    // list's editor checks it.
    CsvImport(AdminSession& session, const CsvLayout& layout, const QByteArray& file);

    // Problems that refuse the file whatever is chosen: a row its editor
    // would refuse, a name twice, the list that cannot be read.
    const QStringList& problems() const { return m_problems; }
    // Problems of the list after the import, keeping or deleting the
    // entries the file lacks.
    const QStringList& listProblems(bool deleteMissing) const { return m_listProblems[deleteMissing]; }

    // The file's encoding when it was not UTF-8 ("Windows-1251"), else empty.
    const QString& encoding() const { return m_encoding; }

    int adds() const { return int(m_adds.size()); }
    int changes() const { return int(m_changes.size()); }
    int unchanged() const { return m_unchanged; }
    int deletes() const { return int(m_missing.size()); }
    QVector<qint64> missingKeys() const;

    // "добавить N, изменить M, без изменений K[, удалить L]"
    QString counts(bool deleteMissing) const;

    // Writes every change in one transaction, or none; on failure the rows
    // of the statement that failed go to failedRows ("Строка 17").
    Result<void> apply(bool deleteMissing, QString* failedRows = nullptr) const;

private:
    QString rowsOf(const QVector<CsvLayout::Statement>& statements, qsizetype which) const;
    void compare(const QVector<ExchangeRow>& stored, const QVector<ExchangeRow>& file);

    AdminSession& m_session;
    const CsvLayout& m_layout;
    QStringList m_problems;
    QStringList m_listProblems[2];
    QVector<ExchangeRow> m_adds;
    QVector<CsvLayout::Change> m_changes;
    QVector<ExchangeRow> m_missing;
    int m_unchanged = 0;
    QString m_encoding;
};
