#include "SqlDialect.h"

#include <QRegularExpression>
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

QString collateTerm(const QString& term)
{
    static const QRegularExpression direction(QStringLiteral("\\s+(ASC|DESC)\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression collate(QStringLiteral("\\bCOLLATE\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (term.trimmed().isEmpty() || collate.match(term).hasMatch())
        return term;
    const QString name = QLatin1String(SqlDialect::RussianCollationName);
    const auto m = direction.match(term);
    if (m.hasMatch())
        return term.left(m.capturedStart()) + QStringLiteral(" COLLATE ") + name +
               term.mid(m.capturedStart());
    qsizetype end = term.size();
    while (end > 0 && term.at(end - 1).isSpace())
        --end;
    return term.left(end) + QStringLiteral(" COLLATE ") + name + term.mid(end);
}

QString translateOrderBy(const QString& sql)
{
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression limit(QStringLiteral("\\bLIMIT\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QVector<bool> mask = topLevelMask(sql);
    const qsizetype at = findTopLevel(sql, mask, orderBy);
    if (at < 0)
        return sql;
    const qsizetype termsStart = orderBy.match(sql, at).capturedEnd();
    qsizetype termsEnd = findTopLevel(sql, mask, limit, termsStart);
    if (termsEnd < 0)
        termsEnd = sql.size();

    QString result = sql.left(termsStart);
    qsizetype termStart = termsStart;
    for (qsizetype i = termsStart; i <= termsEnd; ++i) {
        if (i == termsEnd || (sql.at(i) == QLatin1Char(',') && mask.at(i))) {
            result += collateTerm(sql.mid(termStart, i - termStart));
            if (i < termsEnd)
                result += QLatin1Char(',');
            termStart = i + 1;
        }
    }
    return result + sql.mid(termsEnd);
}

} // namespace

namespace SqlDialect {

QString translate(const QString& sql)
{
    return translateOrderBy(translateTop(sql));
}

} // namespace SqlDialect
