#include "CsvFile.h"

#include "Windows1251.h"

#include <QLocale>
#include <QStringDecoder>

namespace {

constexpr char Bom[] = "\xEF\xBB\xBF";

QString quoted(const QString& field)
{
    // An empty text is "" so that it stays apart from a missing value.
    if (field.isEmpty())
        return field.isNull() ? QString() : QStringLiteral("\"\"");
    static const QString special = QStringLiteral(";\"\r\n");
    // A reader takes a byte-order mark at the start of the file for its own.
    bool plain = !field.startsWith(QChar(0xFEFF));
    for (const QChar c : field)
        plain = plain && !special.contains(c);
    if (plain)
        return field;
    QString doubled = field;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

// The header's line ends at the first line break outside quotes: a quoted
// column name may hold one.
QString headerLineOf(const QString& text)
{
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"'))
            inQuotes = !inQuotes;
        else if (!inQuotes && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            return text.left(i);
    }
    return text;
}

// The separator is the header's: a spreadsheet writes ';' in locales with a
// decimal comma and ',' elsewhere.
QChar separatorOf(const QString& header)
{
    bool inQuotes = false;
    for (const QChar c : header) {
        if (c == QLatin1Char('"'))
            inQuotes = !inQuotes;
        else if (!inQuotes && c == QLatin1Char(';'))
            return c;
    }
    return header.contains(QLatin1Char(',')) ? QLatin1Char(',') : QLatin1Char(';');
}

bool allEmpty(const QStringList& fields)
{
    for (const QString& f : fields)
        if (!f.trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

namespace CsvFile {

QByteArray write(const QStringList& header, const QList<QStringList>& rows)
{
    QString text;
    auto line = [&text](const QStringList& fields) {
        QStringList out;
        for (const QString& f : fields)
            out << quoted(f);
        text += out.join(QLatin1Char(';')) + QLatin1String("\r\n");
    };
    line(header);
    for (const QStringList& row : rows)
        line(row);
    return QByteArray(Bom) + text.toUtf8();
}

QString number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest)
        .replace(QLatin1Char('.'), QLatin1Char(','));
}

std::optional<Table> read(const QByteArray& bytes, QString* error)
{
    Table table;
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes.startsWith(Bom) ? bytes.mid(3) : bytes);
    if (decoder.hasError()) {
        text = Windows1251::decode(bytes);
        table.encoding = QLatin1String(Windows1251::Name);
    }
    const QString header = headerLineOf(text);
    if (!header.contains(QLatin1Char(';')) && !header.contains(QLatin1Char(',')) &&
        header.contains(QLatin1Char('\t'))) {
        *error = QStringLiteral("Строка 1: поля разделены табуляцией, а читаются файлы с разделителями «;» "
                                "и «,»: сохраните файл как CSV.");
        return std::nullopt;
    }
    const QChar separator = separatorOf(header);
    table.decimalComma = separator == QLatin1Char(';');

    QStringList fields;
    QString field;
    bool inQuotes = false;
    bool wasQuoted = false;
    int line = 1;
    int rowLine = 1;
    auto endRow = [&]() -> bool {
        fields << field;
        field.clear();
        if (table.header.isEmpty()) {
            table.header = fields;
            for (QString& name : table.header)
                name = name.trimmed();
        } else if (!allEmpty(fields)) {
            while (fields.size() > table.header.size() && fields.last().trimmed().isEmpty())
                fields.removeLast();
            if (fields.size() != table.header.size()) {
                *error = QStringLiteral("Строка %1: полей %2, а в заголовке %3.")
                             .arg(rowLine)
                             .arg(fields.size())
                             .arg(table.header.size());
                return false;
            }
            table.rows << fields;
            table.lines << rowLine;
        }
        fields.clear();
        return true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                inQuotes = false;
                if (field.isNull())
                    field = QStringLiteral("");
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
            }
        } else if (c == QLatin1Char('"') && field.trimmed().isEmpty() && !wasQuoted) {
            inQuotes = wasQuoted = true;
            field.clear();
        } else if (c == separator) {
            fields << field;
            field.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            if (!endRow())
                return std::nullopt;
            wasQuoted = false;
            rowLine = ++line;
        } else if (!wasQuoted || !c.isSpace()) {
            field += c;
        }
    }
    if (inQuotes) {
        *error = QStringLiteral("Строка %1: кавычки не закрыты до конца файла.").arg(rowLine);
        return std::nullopt;
    }
    if ((!field.isEmpty() || !fields.isEmpty()) && !endRow())
        return std::nullopt;
    if (table.header.isEmpty() || allEmpty(table.header)) {
        *error = QStringLiteral("Строка 1: нет заголовка с именами столбцов.");
        return std::nullopt;
    }
    return table;
}

QString at(int line, const QString& column)
{
    return QStringLiteral("Строка %1, ").arg(line) + inColumn(column);
}

QString inColumn(const QString& column)
{
    return QStringLiteral("столбец «%1»: ").arg(column);
}

} // namespace CsvFile
