#include "StoreLayout.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QString readResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("frostpick-db: the built-in script %s is missing", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

// The schema scripts are plain: one "CREATE TABLE name (" per table, one
// column per line, the closing ");" on a line of its own, and the rows the
// store starts with as "INSERT INTO name".
QList<StoreTable> tablesOf(const QString& schema)
{
    static const QRegularExpression table(QStringLiteral(R"(CREATE TABLE (\w+) \((.*?)\n\);)"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression column(QStringLiteral(R"(^\s*(\w+)\s+(\w+))"),
                                           QRegularExpression::MultilineOption);
    QList<StoreTable> tables;
    for (const QRegularExpressionMatch& t : table.globalMatch(schema)) {
        StoreTable entry;
        entry.name = t.captured(1);
        for (const QRegularExpressionMatch& c : column.globalMatch(t.captured(2))) {
            entry.columns << c.captured(1);
            entry.types << c.captured(2).toUpper();
        }
        entry.seedRows = int(schema.count(QStringLiteral("INSERT INTO %1 ").arg(entry.name)));
        tables << entry;
    }
    return tables;
}

StoreLayout layout(StoreKind kind, const QString& title, const QString& sqlite, const QString& server)
{
    const QString prefix = QStringLiteral(":/storetool/");
    return {kind, title, prefix + sqlite, prefix + server, tablesOf(readResource(prefix + sqlite))};
}

} // namespace

QStringList StoreLayout::tableNames() const
{
    QStringList names;
    for (const StoreTable& t : tables)
        names << t.name;
    return names;
}

const StoreLayout& StoreLayout::of(StoreKind kind)
{
    static const StoreLayout reference =
        layout(StoreKind::Reference, QStringLiteral("reference store (nv.mdb)"),
               QStringLiteral("schema_nv.sql"), QStringLiteral("server_schema_nv.sql"));
    static const StoreLayout orders =
        layout(StoreKind::Orders, QStringLiteral("orders store (order.mdb)"),
               QStringLiteral("schema_order.sql"), QStringLiteral("server_schema_order.sql"));
    return kind == StoreKind::Reference ? reference : orders;
}

const QList<StoreKind>& StoreLayout::kinds()
{
    static const QList<StoreKind> all{StoreKind::Reference, StoreKind::Orders};
    return all;
}

DatabaseAddress storeAddress(const QString& argument)
{
    if (argument.startsWith(QLatin1String("postgresql://")) ||
        argument.startsWith(QLatin1String("postgres://")) || argument.contains(QLatin1Char('=')))
        return DatabaseAddress::server(argument);
    return DatabaseAddress::file(argument);
}
