// How long loading a capacity table of about 10,000 rows takes with every
// check: through frostpick-db import and through Rimehold's import of one
// equipment type's table, into a file and, given a server, into a database
// there (an initialised, empty one, which the figures fill).
//
//   frostpick-bench-csv WORK [--server URI]
#include "AdminSession.h"
#include "CsvCapacityLayout.h"
#include "CsvFile.h"
#include "CsvImport.h"
#include "DataGenerator.h"
#include "DataLocation.h"
#include "Database.h"
#include "Functions.h"
#include "StoreCopy.h"
#include "StoreExport.h"
#include "StoreImport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {

// 185 modifications of the six letters of the KM type: 1,110 sets.
constexpr int Modifications = 185;

void print(const QString& figure, const QString& where, double seconds, qint64 rows)
{
    std::printf("%-58s %-7s %7.2f s  (%lld rows)\n", qPrintable(figure), qPrintable(where), seconds, rows);
}

int fail(const QString& why)
{
    std::fprintf(stderr, "%s\n", qPrintable(why));
    return 1;
}

// The tool's import of the exported store into target, replacing its rows.
int toolImport(const QString& csv, const QString& target, const QString& where)
{
    QElapsedTimer clock;
    clock.start();
    const ToolOutcome outcome = importStore(csv, target, {true, false}, [](const QString&) {});
    if (!outcome.ok())
        return fail(outcome.message);
    QFile power(csv + QStringLiteral("/power.csv"));
    power.open(QIODevice::ReadOnly);
    print(QStringLiteral("frostpick-db import --replace of the capacity table"), where,
          double(clock.nsecsElapsed()) / 1e9, power.readAll().count('\n') - 1);
    return 0;
}

// Rimehold's import of the KM type's whole table into the store of folder,
// after the type's rows were deleted: every row is added.
int rimeholdImport(const QString& folder, const QString& where)
{
    AdminSession session;
    if (const Result<void> opened = session.open(DataLocation::folder(folder)); !opened)
        return fail(Functions::FailureDescription(opened.failure()));
    const CsvCapacityLayout layout(session, 1);
    QVector<ExchangeRow> rows;
    if (const Result<void> read = layout.readStored(rows); !read)
        return fail(Functions::FailureDescription(read.failure()));
    QList<QStringList> lines;
    for (const ExchangeRow& row : std::as_const(rows))
        lines << row.fields;
    const QByteArray file = CsvFile::write(layout.header(), lines);
    if (const Result<void> emptied = session.execSql(QStringLiteral("DELETE FROM power WHERE fkey=1"));
        !emptied)
        return fail(Functions::FailureDescription(emptied.failure()));
    QElapsedTimer clock;
    clock.start();
    const CsvImport import(session, layout, file);
    if (!import.problems().isEmpty() || import.adds() != rows.size())
        return fail(import.problems().join(QLatin1Char('\n')));
    if (const Result<void> applied = import.apply(false); !applied)
        return fail(Functions::FailureDescription(applied.failure()));
    print(QStringLiteral("Rimehold import of one type's table, all rows added"), where,
          double(clock.nsecsElapsed()) / 1e9, import.adds());
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && !(args.size() == 4 && args.at(2) == QLatin1String("--server")))
        return fail(QStringLiteral("usage: frostpick-bench-csv WORK [--server URI]"));
    const QDir work(args.at(1));
    work.mkpath(QStringLiteral("file"));
    const QString source = work.filePath(QStringLiteral("nv.mdb"));
    const QString csv = work.filePath(QStringLiteral("csv"));
    QString error;
    GeneratorSize size;
    size.modifications = Modifications;
    if (!GenerateReference(source, size, 1, &error))
        return fail(error);
    const ToolOutcome exported = exportStore(source, csv, [](const QString&) {});
    if (!exported.ok())
        return fail(exported.message);
    // The tool loads the KM type's rows alone, as many as Rimehold does.
    for (const QString& name : QDir(csv).entryList({QStringLiteral("*.csv")}))
        if (name != QLatin1String("power.csv"))
            QFile::remove(QDir(csv).filePath(name));
    QFile power(QDir(csv).filePath(QStringLiteral("power.csv")));
    if (!power.open(QIODevice::ReadWrite))
        return fail(power.errorString());
    QList<QByteArray> lines = power.readAll().split('\n');
    lines.removeIf([](const QByteArray& line) {
        return line.count(';') == 6 && !line.trimmed().endsWith(";1") && !line.startsWith("\xEF");
    });
    power.resize(0);
    power.write(lines.join('\n'));
    power.close();
    const QString file = work.filePath(QStringLiteral("file/nv.mdb"));
    QFile::remove(file);
    QFile::copy(source, file);
    if (int rc = toolImport(csv, file, QStringLiteral("file")) ||
                 rimeholdImport(work.filePath(QStringLiteral("file")), QStringLiteral("file")))
        return rc;
    if (args.size() == 4) {
        work.mkpath(QStringLiteral("server"));
        QFile ini(work.filePath(QStringLiteral("server/frostpick.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            return fail(ini.errorString());
        ini.write("[database]\nreference=" + args.at(3).toUtf8() + "\n");
        ini.close();
        // The server gets the store first: the rows refer to its equipment types.
        CopyOptions replace;
        replace.replace = true;
        const ToolOutcome copied = copyStore(source, args.at(3), replace, {[](const QString&) {}, {}});
        if (!copied.ok())
            return fail(copied.message);
        if (int rc = toolImport(csv, args.at(3), QStringLiteral("server")) ||
                     rimeholdImport(work.filePath(QStringLiteral("server")), QStringLiteral("server")))
            return rc;
    }
    return 0;
}
