#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Tables exchanged with spreadsheets. Files are written as a spreadsheet in a
// Russian locale writes them: ';' between fields, a decimal comma, UTF-8 with
// a byte order mark, CRLF and a header row. Reading also takes ','-separated
// files with decimal points, which other locales write.
namespace CsvFile {

struct Table
{
    QStringList header;
    QList<QStringList> rows;
    QList<int> lines; // the file line each row starts on; the header is line 1
    bool decimalComma = true;
    QString encoding; // empty for UTF-8, else the one the file was read in

    // Where a column is in the header, or -1.
    int column(const QString& name) const { return int(header.indexOf(name)); }
};

// A null field is written empty, an empty one that is not null as "".
QByteArray write(const QStringList& header, const QList<QStringList>& rows);

// The shortest text that reads back as the same number, with a decimal comma.
QString number(double value);

// The file as rows of fields; nullopt with the line and the reason in error
// when it cannot be read as a table: a quote never closed, a row with more
// fields than the header, a header separated by tabs. A file that is not
// UTF-8 is read as Windows-1251, as a Russian-locale spreadsheet saves its
// plain "CSV". Rows whose fields are all empty are
// left out, as spreadsheets add them at the end. An empty field is a null
// text, a quoted empty one ("") an empty text that is not null.
std::optional<Table> read(const QByteArray& bytes, QString* error);

// The beginning of a message about one field: "Строка 17, столбец «power»: ",
// and its column part alone.
QString at(int line, const QString& column);
QString inColumn(const QString& column);

} // namespace CsvFile
