#include "CsvImport.h"

#include "AdminSession.h"
#include "CsvFile.h"
#include "Functions.h"

#include <QHash>

CsvImport::CsvImport(AdminSession& session, const CsvLayout& layout, const QByteArray& file)
    : m_session(session), m_layout(layout)
{
    QString problem;
    const std::optional<CsvFile::Table> table = CsvFile::read(file, &problem);
    if (!table) {
        m_problems << problem;
        return;
    }
    m_encoding = table->encoding;
    const QStringList header = layout.header();
    QVector<int> columnAt;
    for (const QString& name : header) {
        columnAt << table->column(name);
        if (columnAt.last() < 0)
            m_problems << QStringLiteral("Строка 1: нет столбца «%1».").arg(name);
    }
    QVector<ExchangeRow> stored;
    if (const Result<void> read = layout.readStored(stored); !read)
        m_problems << QStringLiteral("Справочник не прочитан: ") +
                          Functions::FailureDescription(read.failure());
    if (!m_problems.isEmpty())
        return;

    QVector<ExchangeRow> rows;
    QHash<QString, int> lineOf;
    for (int r = 0; r < table->rows.size() && m_problems.size() < ProblemLimit; ++r) {
        QStringList fields;
        for (int at : columnAt)
            fields << table->rows.at(r).at(at);
        const int line = table->lines.at(r);
        std::optional<ExchangeRow> row = layout.fromFile(fields, table->decimalComma, &problem);
        if (row && lineOf.contains(row->identity))
            problem = QStringLiteral("та же запись, что в строке %1").arg(lineOf.value(row->identity));
        if (!row || !problem.isEmpty()) {
            m_problems << QStringLiteral("Строка %1, ").arg(line) + problem;
            problem.clear();
            continue;
        }
        row->line = line;
        lineOf.insert(row->identity, line);
        rows << *row;
    }
    if (m_problems.isEmpty())
        compare(stored, rows);
}

void CsvImport::compare(const QVector<ExchangeRow>& stored, const QVector<ExchangeRow>& file)
{
    QHash<QString, int> storedAt;
    for (int s = 0; s < stored.size(); ++s) {
        if (storedAt.contains(stored.at(s).identity))
            storedAt[stored.at(s).identity] = -1; // named twice in the list: the file cannot say which
        else
            storedAt.insert(stored.at(s).identity, s);
    }
    QSet<int> matched;
    for (const ExchangeRow& row : file) {
        const int s = storedAt.value(row.identity, -2);
        if (s == -1) {
            if (m_problems.size() < ProblemLimit)
                m_problems << QStringLiteral("Строка %1: в справочнике несколько записей «%2»")
                                  .arg(row.line)
                                  .arg(row.identity);
        } else if (s < 0) {
            m_adds << row;
        } else {
            matched.insert(s);
            if (stored.at(s).values == row.values)
                ++m_unchanged;
            else
                m_changes.append({row, stored.at(s).key});
        }
    }
    for (int s = 0; s < stored.size(); ++s)
        if (!matched.contains(s))
            m_missing << stored.at(s);
    // The list after the import: the file's rows, and the missing entries
    // unless they go.
    QVector<ExchangeRow> after = file;
    m_listProblems[true] = m_layout.listProblems(after, ProblemLimit);
    after += m_missing;
    m_listProblems[false] = m_layout.listProblems(after, ProblemLimit);
}

QVector<qint64> CsvImport::missingKeys() const
{
    QVector<qint64> keys;
    for (const ExchangeRow& row : m_missing)
        keys << row.key;
    return keys;
}

QString CsvImport::counts(bool deleteMissing) const
{
    QString text = QStringLiteral("добавить %1, изменить %2, без изменений %3")
                       .arg(adds())
                       .arg(changes())
                       .arg(unchanged());
    if (deleteMissing)
        text += QStringLiteral(", удалить %1").arg(deletes());
    return text;
}

Result<void> CsvImport::apply(bool deleteMissing, QString* failedRows) const
{
    QVector<CsvLayout::Statement> statements = m_layout.insertStatements(m_adds);
    statements += m_layout.updateStatements(m_changes);
    if (deleteMissing)
        statements += m_layout.deleteStatements(missingKeys());
    if (statements.isEmpty())
        return {};
    qsizetype failed = -1;
    const Result<void> applied = m_session.write(statements, m_layout.shortKeys(), &failed);
    if (!applied && failed >= 0 && failedRows)
        *failedRows = rowsOf(statements, failed);
    return applied;
}

// The file's lines (or, for a deletion, the stored keys) of the rows that
// statement `which` writes: the statements take the additions, the changes
// and the deletions in turn, each as many as it changes.
QString CsvImport::rowsOf(const QVector<CsvLayout::Statement>& statements, qsizetype which) const
{
    qsizetype first = 0;
    for (qsizetype i = 0; i < which; ++i)
        first += statements.at(i).rows;
    QStringList lines, keys;
    for (qsizetype r = first; r < first + statements.at(which).rows; ++r) {
        if (r < m_adds.size())
            lines << QString::number(m_adds.at(r).line);
        else if (r - m_adds.size() < m_changes.size())
            lines << QString::number(m_changes.at(r - m_adds.size()).first.line);
        else
            keys << QString::number(m_missing.value(r - m_adds.size() - m_changes.size()).key);
    }
    if (!keys.isEmpty())
        return QStringLiteral("Удаление записи с ключом %1: ").arg(keys.join(QStringLiteral(", ")));
    return (lines.size() == 1 ? QStringLiteral("Строка %1: ") : QStringLiteral("Строки %1: "))
        .arg(lines.join(QStringLiteral(", ")));
}
