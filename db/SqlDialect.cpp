#include "SqlDialect.h"

#include <QRegularExpression>
#include <QSet>
#include <QVector>

namespace {

// Marks the characters that lie outside string literals and parentheses, so
// that keywords inside a text value or a sub-query are never rewritten.
QVector<bool> topLevelMask(const QString& sql)
{
    QVector<bool> mask(sql.size(), false);
    int depth = 0;
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            continue;
        }
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        else if (depth == 0)
            mask[i] = true;
    }
    return mask;
}

qsizetype findTopLevel(const QString& sql, const QVector<bool>& mask, const QRegularExpression& re,
                       qsizetype from = 0)
{
    auto it = re.globalMatch(sql, from);
    qsizetype found = -1;
    while (it.hasNext()) {
        const auto m = it.next();
        if (mask.value(m.capturedStart()))
            found = m.capturedStart();
    }
    return found;
}

QString translateTop(const QString& sql)
{
    static const QRegularExpression top(QStringLiteral("^(\\s*SELECT\\s+(?:DISTINCT\\s+)?)TOP\\s+(\\d+)\\s+"),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto m = top.match(sql);
    if (!m.hasMatch())
        return sql;
    QString rest = sql.mid(m.capturedEnd()).trimmed();
    if (rest.endsWith(QLatin1Char(';')))
        rest.chop(1);
    return m.captured(1) + rest + QStringLiteral(" LIMIT ") + m.captured(2);
}

const QRegularExpression& directionAtEnd()
{
    static const QRegularExpression direction(QStringLiteral("\\s+(ASC|DESC)\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
    return direction;
}

QString collateTerm(const QString& term)
{
    static const QRegularExpression collate(QStringLiteral("\\bCOLLATE\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (term.trimmed().isEmpty() || collate.match(term).hasMatch())
        return term;
    const QString name = QLatin1String(SqlDialect::RussianCollationName);
    const auto m = directionAtEnd().match(term);
    if (m.hasMatch())
        return term.left(m.capturedStart()) + QStringLiteral(" COLLATE ") + name +
               term.mid(m.capturedStart());
    qsizetype end = term.size();
    while (end > 0 && term.at(end - 1).isSpace())
        --end;
    return term.left(end) + QStringLiteral(" COLLATE ") + name + term.mid(end);
}

// The server sorts by the key its frostpick_order() functions give: the
// Russian key for text, the value itself for numbers. NULL comes first, as in
// the file store. A term naming a column by position or choosing its own
// collation or NULL place is left as written.
QString serverTerm(const QString& term)
{
    static const QRegularExpression asWritten(QStringLiteral("\\b(COLLATE|NULLS)\\b|^\\s*\\d+\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (term.trimmed().isEmpty() || asWritten.match(term).hasMatch())
        return term;
    const QString core = term.trimmed();
    const qsizetype lead = term.indexOf(core);
    const auto m = directionAtEnd().match(core);
    const bool descending = m.hasMatch() && m.captured(1).compare(u"DESC", Qt::CaseInsensitive) == 0;
    return term.left(lead) + QStringLiteral("frostpick_order(") +
           (m.hasMatch() ? core.left(m.capturedStart()) : core) +
           (descending ? QStringLiteral(") DESC NULLS LAST") : QStringLiteral(") NULLS FIRST")) +
           term.mid(lead + core.size());
}

// In a SELECT DISTINCT the server sorts only by what the list selects, so the
// ORDER BY moves out to a query over its rows, naming the columns unqualified.
QString sortedOutside(const QString& distinctSelect, QStringList terms, const QString& tail)
{
    static const QRegularExpression qualifier(QStringLiteral("^(\\s*)\\w+\\.(\\w+\\b)"));
    for (QString& term : terms)
        term.replace(qualifier, QStringLiteral("\\1\\2"));
    return QStringLiteral("SELECT * FROM (") + distinctSelect.trimmed() +
           QStringLiteral(") AS frostpick_rows ORDER BY") + terms.join(QLatin1Char(',')) + tail;
}

enum class Target { SQLite, Server };

QString translateOrderBy(const QString& sql, Target target)
{
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression limit(QStringLiteral("\\bLIMIT\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression distinct(QStringLiteral("^\\s*SELECT\\s+DISTINCT\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QVector<bool> mask = topLevelMask(sql);
    const qsizetype at = findTopLevel(sql, mask, orderBy);
    if (at < 0)
        return sql;
    const qsizetype termsStart = orderBy.match(sql, at).capturedEnd();
    qsizetype termsEnd = findTopLevel(sql, mask, limit, termsStart);
    if (termsEnd < 0)
        termsEnd = sql.size();

    QStringList terms;
    qsizetype termStart = termsStart;
    for (qsizetype i = termsStart; i <= termsEnd; ++i) {
        if (i == termsEnd || (sql.at(i) == QLatin1Char(',') && mask.at(i))) {
            const QString term = sql.mid(termStart, i - termStart);
            terms << (target == Target::SQLite ? collateTerm(term) : serverTerm(term));
            termStart = i + 1;
        }
    }
    if (target == Target::Server && distinct.match(sql).hasMatch()) {
        const QString tail = sql.mid(termsEnd).trimmed();
        return sortedOutside(sql.left(at), terms, tail.isEmpty() ? tail : QLatin1Char(' ') + tail);
    }
    return sql.left(termsStart) + terms.join(QLatin1Char(',')) + sql.mid(termsEnd);
}

qsizetype firstTopLevel(const QString& sql, const QVector<bool>& mask, const QRegularExpression& re,
                        qsizetype from = 0)
{
    for (auto it = re.globalMatch(sql, from); it.hasNext();) {
        const auto m = it.next();
        if (mask.value(m.capturedStart()))
            return m.capturedStart();
    }
    return -1;
}

// A file gives the rows of a table in the order of their keys, and every
// statement relies on that order for its ties or, without an ORDER BY, for
// all of it; the server gives them in whatever order its storage holds, which
// an UPDATE changes. So a SELECT from one keyed table sorts by the key last.
// A statement that groups, joins, combines or picks distinct rows is left as
// written: its order is its own.
QString orderedByKey(const QString& sql, const QSet<QString>& keyedTables)
{
    static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\s"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression from(
        QStringLiteral("\\bFROM\\s+(\\w+)(?:\\s+(?:AS\\s+)?(?!WHERE\\b|ORDER\\b|LIMIT\\b)\\w+)?"
                       "\\s*(?=$|;|WHERE\\b|ORDER\\s+BY\\b|LIMIT\\b)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression ownOrder(
        QStringLiteral("\\b(DISTINCT|GROUP|HAVING|UNION|INTERSECT|EXCEPT|JOIN|FOR|OFFSET|FETCH|WINDOW|"
                       "RETURNING|OVER)\\b|\\b(COUNT|SUM|MIN|MAX|AVG|TOTAL|GROUP_CONCAT|STRING_AGG|"
                       "ARRAY_AGG|BOOL_AND|BOOL_OR|EVERY)\\s*\\("),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression limit(QStringLiteral("\\bLIMIT\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (keyedTables.isEmpty() || !select.match(sql).hasMatch())
        return sql;
    const QVector<bool> mask = topLevelMask(sql);
    const qsizetype at = firstTopLevel(sql, mask, from);
    if (at < 0 || firstTopLevel(sql, mask, ownOrder) >= 0)
        return sql;
    if (!keyedTables.contains(from.match(sql, at).captured(1).toLower()))
        return sql;
    QString text = sql.trimmed();
    if (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    const QVector<bool> textMask = topLevelMask(text);
    qsizetype end = firstTopLevel(text, textMask, limit);
    if (end < 0)
        end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    const bool sorted = firstTopLevel(text, textMask, orderBy) >= 0;
    return text.left(end) + (sorted ? QStringLiteral(", pkey") : QStringLiteral(" ORDER BY pkey")) +
           (end < text.size() ? QLatin1Char(' ') + text.mid(end).trimmed() : QString());
}

// The server numbers its parameters: "?" outside quotes becomes $1, $2, ...
QString numberParameters(const QString& sql)
{
    QString result;
    result.reserve(sql.size() + 8);
    QChar quote;
    int parameter = 0;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            result += QLatin1Char('$') + QString::number(++parameter);
            continue;
        }
        result += c;
    }
    return result;
}

} // namespace

namespace SqlDialect {

QString translate(const QString& sql)
{
    return translateOrderBy(translateTop(sql), Target::SQLite);
}

QString translateForServer(const QString& sql, const QSet<QString>& keyedTables)
{
    return numberParameters(orderedByKey(translateOrderBy(translateTop(sql), Target::Server), keyedTables));
}

} // namespace SqlDialect
