#include "PostgresConnection.h"
#include "PostgresDatabase.h"

#include <QRegularExpression>

using PostgresConnection::setError;

namespace {

constexpr int CompletionMs = 120000;
constexpr char WriteTokens[] = "frostpick_write";

struct Statement
{
    QString table; // the table it creates, fills, indexes or watches
    QString text;
};

// A store script's statements, each with the table it concerns. The store
// scripts hold no function bodies, so a semicolon at a line's end ends one.
QList<Statement> statementsOf(const QString& script)
{
    static const QRegularExpression comment(QStringLiteral("--[^\\n]*"));
    static const QRegularExpression end(QStringLiteral(";\\s*(\\n|$)"));
    static const QRegularExpression target(
        QStringLiteral(
            "^\\s*(?:CREATE\\s+TABLE\\s+(?:IF\\s+NOT\\s+EXISTS\\s+)?(\\w+)|INSERT\\s+INTO\\s+(\\w+)|"
            "CREATE\\s+(?:UNIQUE\\s+)?(?:INDEX|TRIGGER)\\b.*?\\bON\\s+(\\w+))"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QList<Statement> statements;
    for (const QString& text : QString(script).remove(comment).split(end, Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = target.match(text);
        if (m.hasMatch() && !text.trimmed().isEmpty())
            statements.append({(m.captured(1) + m.captured(2) + m.captured(3)).toLower(), text.trimmed()});
    }
    return statements;
}

} // namespace

// A store made by an earlier version lacks the tables added since: for each
// script whose store the database holds (some of its tables are there), the
// statements of its missing tables run, with the support script, in one
// transaction. A store the database does not hold is left alone.
std::optional<QStringList> PostgresDatabase::complete(const DatabaseAddress& address,
                                                      const QStringList& scriptFiles, DatabaseFailure* error)
{
    const std::optional<QStringList> scripts = readScripts(scriptFiles, error);
    if (!scripts)
        return std::nullopt;
    std::unique_ptr<PostgresDatabase> db = connect(address, false, error);
    if (!db || !db->readTables(error))
        return std::nullopt;
    QStringList added = db->missingTables({QLatin1String(WriteTokens)});
    QString script = QStringLiteral("BEGIN;\n") + scripts->first();
    for (qsizetype i = 1; i < scripts->size(); ++i) {
        const QList<Statement> statements = statementsOf(scripts->at(i));
        QStringList tables;
        for (const Statement& s : statements)
            if (s.text.startsWith(QLatin1String("CREATE TABLE"), Qt::CaseInsensitive))
                tables << s.table;
        const QStringList missing = db->missingTables(tables);
        if (missing.size() == tables.size())
            continue;
        for (const Statement& s : statements)
            if (missing.contains(s.table))
                script += QLatin1Char('\n') + s.text + QLatin1Char(';');
        added << missing;
    }
    db->m_inTransaction = true;
    const bool ok =
        db->runScript(script, CompletionMs, error) && PostgresConnection::done(db->commit(), error);
    if (!ok) {
        db->rollback();
        return std::nullopt;
    }
    setError(error, {});
    return added;
}
