// Runs every benchmark figure on generated databases of several sizes and
// prints them as one table.
#include "BenchTable.h"
#include "ChildProcess.h"
#include "CoreFigures.h"
#include "DataGenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

namespace {

struct Options
{
    QList<int> sizes;
    int runs = 5;
    int reopens = 2000;
    quint32 seed = 1;
    QDir work;
    bool regenerate = false;
    QDir programs; // frostpick-calc
    QDir benchPrograms;
};

void note(const QString& text)
{
    std::fprintf(stderr, "bench: %s\n", text.toUtf8().constData());
}

// The databases of one size, generated once and kept for later runs.
QString dataFolder(const Options& o, int calculations)
{
    const QString folder = o.work.filePath(QStringLiteral("data-%1").arg(calculations));
    if (o.regenerate)
        QDir(folder).removeRecursively();
    else if (QFileInfo::exists(folder + QStringLiteral("/order.mdb")))
        return folder;
    note(QStringLiteral("generating %1 calculations in %2").arg(calculations).arg(folder));
    QDir().mkpath(folder);
    GeneratorSize size;
    size.calculations = calculations;
    size.bigCustomerCalculations = qMin(size.bigCustomerCalculations, calculations);
    QString error;
    if (!GenerateReference(folder + QStringLiteral("/nv.mdb"), size, o.seed, &error) ||
        !GenerateOrders(folder + QStringLiteral("/order.mdb"), size, o.seed, &error)) {
        note(error);
        return {};
    }
    return folder;
}

Summary inUnit(std::vector<double> samples, double factor)
{
    for (double& s : samples)
        s *= factor;
    return summarize(std::move(samples));
}

void allOrders(const Options& o, const QString& folder, int n, BenchTable& table)
{
    const QString calc = o.programs.filePath(QStringLiteral("frostpick-calc"));
    const QString sqlite = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    std::vector<double> seconds, cpu, floor, startUp;
    for (int run = 0; run < o.runs; ++run) {
        // One order: the tool's fixed cost of starting and opening the files.
        startUp.push_back(
            runChild(calc, {QStringLiteral("--dir"), folder, QStringLiteral("--order"), QStringLiteral("1")},
                     false)
                .seconds);
        const ChildRun r =
            runChild(calc, {QStringLiteral("--dir"), folder, QStringLiteral("--all-orders")}, false);
        if (!r.started || r.exitCode != 0) {
            table.addMissing(QStringLiteral("frostpick-calc --all-orders"), n,
                             QStringLiteral(">= 20000 calcs/s"), QStringLiteral("exit %1").arg(r.exitCode));
            return;
        }
        seconds.push_back(r.seconds);
        cpu.push_back(r.cpuSeconds);
        if (!sqlite.isEmpty())
            floor.push_back(
                runChild(sqlite,
                         {folder + QStringLiteral("/order.mdb"), QStringLiteral("SELECT * FROM data")}, false)
                    .seconds);
    }
    const Summary time = summarize(seconds);
    // The fastest run gives the highest rate, so min and max swap.
    table.add(QStringLiteral("--all-orders rate"), n,
              {time.count, n / time.median, n / time.max, n / time.min, 0}, QStringLiteral("calcs/s"),
              QStringLiteral(">= 20000"), 0);
    // On a shared machine the process's own CPU time shows the rate that
    // other programs' load does not change.
    const Summary cpuTime = summarize(cpu);
    table.add(QStringLiteral("--all-orders rate, CPU time"), n,
              {cpuTime.count, n / cpuTime.median, n / cpuTime.max, n / cpuTime.min, 0},
              QStringLiteral("calcs/s"), QStringLiteral(">= 20000"), 0);
    table.add(QStringLiteral("--all-orders wall time"), n, time, QStringLiteral("s"), QString(), 3);
    const Summary start = summarize(startUp);
    table.add(QStringLiteral("frostpick-calc --order 1 (start-up)"), n, start, QStringLiteral("s"), QString(),
              3);
    table.addValue(QStringLiteral("--all-orders per calculation"), n, (time.median - start.median) * 1e6 / n,
                   QStringLiteral("us"), QStringLiteral("flat"), 1);
    if (floor.empty()) {
        table.addMissing(QStringLiteral("sqlite3 floor (SELECT * FROM data)"), n, QString(),
                         QStringLiteral("no sqlite3"));
        return;
    }
    const Summary f = summarize(floor);
    table.add(QStringLiteral("sqlite3 floor (SELECT * FROM data)"), n, f, QStringLiteral("s"), QString(), 3);
    table.addValue(QStringLiteral("--all-orders / floor"), n, time.median / f.median, QStringLiteral("x"),
                   QStringLiteral("<= 10"), 1);
}

void core(const Options& o, const QString& folder, int n, BenchTable& table)
{
    const CoreSamples s = measureCore(folder, o.reopens, o.runs);
    if (!s.error.isEmpty()) {
        table.addMissing(QStringLiteral("reopen in process"), n, QString(), s.error);
        return;
    }
    const Summary reopen = summarize(s.reopen);
    table.add(QStringLiteral("reopen in process (%1 keys)").arg(reopen.count), n, reopen,
              QStringLiteral("us"), QStringLiteral("<= 50"), 1);
    table.addValue(QStringLiteral("reopen in process, 99th percentile"), n, reopen.p99, QStringLiteral("us"),
                   QStringLiteral("<= 200"), 1);
    const Summary reopenCpu = summarize(s.reopenCpu);
    table.add(QStringLiteral("reopen in process, thread CPU time"), n, reopenCpu, QStringLiteral("us"),
              QStringLiteral("<= 50"), 1);
    table.addValue(QStringLiteral("reopen in process, CPU time, 99th percentile"), n, reopenCpu.p99,
                   QStringLiteral("us"), QStringLiteral("<= 200"), 1);
    table.add(QStringLiteral("FindOrders, big customer, %1 rows").arg(s.bigCustomerRows), n,
              inUnit(s.searchBig, 1e-3), QStringLiteral("ms"), QStringLiteral("flat"), 2);
    if (s.searchSmall.empty())
        table.addMissing(QStringLiteral("FindOrders, ordinary customer"), n, QString(),
                         QStringLiteral("no other customer has calculations"));
    else
        table.add(QStringLiteral("FindOrders, ordinary customer, %1 rows").arg(s.smallCustomerRows), n,
                  summarize(s.searchSmall), QStringLiteral("us"), QString(), 1);
    table.add(QStringLiteral("ReadCustomers, 5000 rows"), n, inUnit(s.customerList, 1e-3),
              QStringLiteral("ms"), QString(), 2);
}

// The GUI figures come from separate programs that link the screens; each
// line they print is "figure<TAB>median<TAB>min<TAB>max<TAB>unit<TAB>target",
// or "figure<TAB>not measured<TAB>why<TAB>target".
void gui(const Options& o, const QString& folder, int n, BenchTable& table)
{
    for (const QString& name :
         {QStringLiteral("frostpick-bench-gui"), QStringLiteral("rimehold-bench-gui")}) {
        const QString program = o.benchPrograms.filePath(name);
        if (!QFileInfo(program).isExecutable()) {
            table.addMissing(name, n, QString(), QStringLiteral("not built"));
            continue;
        }
        const ChildRun r = runChild(
            program, {QStringLiteral("--dir"), folder, QStringLiteral("--runs"), QString::number(o.runs)},
            true, {QStringLiteral("QT_QPA_PLATFORM=offscreen")});
        int figures = 0;
        for (const QByteArray& raw : r.output.split('\n')) {
            const QStringList f = QString::fromUtf8(raw).split(QLatin1Char('\t'));
            if (f.size() == 4 && f.at(1) == QLatin1String("not measured")) {
                table.addMissing(f.at(0), n, f.at(3), f.at(2));
                ++figures;
            } else if (f.size() == 6) {
                table.add(f.at(0), n, {0, f.at(1).toDouble(), f.at(2).toDouble(), f.at(3).toDouble(), 0},
                          f.at(4), f.at(5), 1);
                ++figures;
            }
        }
        if (figures == 0)
            table.addMissing(name, n, QString(), QStringLiteral("exit %1, no figures").arg(r.exitCode));
    }
}

// Process start to the first screen painted, and the process's peak memory.
void start(const Options& o, const QString& folder, int n, BenchTable& table)
{
    const QString probe = o.benchPrograms.filePath(QStringLiteral("frostpick-bench-start"));
    const QString figure = QStringLiteral("frostpick start to first screen");
    if (!QFileInfo(probe).isExecutable()) {
        table.addMissing(figure, n, QStringLiteral("<= 250"),
                         QStringLiteral("frostpick-bench-start not built"));
        return;
    }
    std::vector<double> ms, rss;
    for (int run = 0; run < o.runs; ++run) {
        const QString t0 = QString::number(monotonicNanoseconds());
        const ChildRun r = runChild(
            probe, {QStringLiteral("--dir"), folder}, true,
            {QStringLiteral("QT_QPA_PLATFORM=offscreen"), QStringLiteral("FROSTPICK_BENCH_T0=") + t0});
        bool ok = false;
        const double shown = r.output.trimmed().toDouble(&ok);
        if (r.exitCode != 0 || !ok) {
            table.addMissing(figure, n, QStringLiteral("<= 250"),
                             QStringLiteral("probe exit %1").arg(r.exitCode));
            return;
        }
        ms.push_back(shown);
        rss.push_back(double(r.peakRssKb) / 1024.0);
    }
    table.add(figure, n, summarize(ms), QStringLiteral("ms"), QStringLiteral("<= 250"), 1);
    table.add(QStringLiteral("frostpick start, peak resident memory"), n, summarize(rss),
              QStringLiteral("MB"), QStringLiteral("<= 80"), 1);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs the benchmark and prints its figures."));
    parser.addHelpOption();
    const QCommandLineOption sizes(QStringLiteral("sizes"),
                                   QStringLiteral("saved calculations, comma-separated"),
                                   QStringLiteral("list"), QStringLiteral("1000,10000,100000"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("repetitions of each figure"),
                                  QStringLiteral("count"), QStringLiteral("5"));
    const QCommandLineOption reopens(QStringLiteral("reopens"),
                                     QStringLiteral("calculations reopened in process"),
                                     QStringLiteral("count"), QStringLiteral("2000"));
    const QCommandLineOption work(QStringLiteral("work"),
                                  QStringLiteral("folder for the generated databases"),
                                  QStringLiteral("folder"), QStringLiteral("bench-data"));
    const QCommandLineOption bin(QStringLiteral("bin"), QStringLiteral("folder of frostpick-calc"),
                                 QStringLiteral("folder"),
                                 QCoreApplication::applicationDirPath() + QStringLiteral("/../bin"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("generator seed"),
                                  QStringLiteral("seed"), QStringLiteral("1"));
    const QCommandLineOption regenerate(QStringLiteral("regenerate"),
                                        QStringLiteral("generate the databases even when they exist"));
    parser.addOptions({sizes, runs, reopens, work, bin, seed, regenerate});
    parser.process(app);

    Options o;
    for (const QString& s : parser.value(sizes).split(QLatin1Char(','), Qt::SkipEmptyParts))
        o.sizes << s.toInt();
    o.runs = qMax(1, parser.value(runs).toInt());
    o.reopens = qMax(1, parser.value(reopens).toInt());
    o.seed = parser.value(seed).toUInt();
    o.regenerate = parser.isSet(regenerate);
    QDir().mkpath(parser.value(work));
    o.work = QDir(QFileInfo(parser.value(work)).absoluteFilePath());
    o.programs = QDir(QFileInfo(parser.value(bin)).absoluteFilePath());
    o.benchPrograms = QDir(QCoreApplication::applicationDirPath());

    BenchTable table;
    for (int n : o.sizes) {
        const QString folder = dataFolder(o, n);
        if (folder.isEmpty())
            return 1;
        note(QStringLiteral("measuring %1 calculations").arg(n));
        allOrders(o, folder, n, table);
        core(o, folder, n, table);
        gui(o, folder, n, table);
        start(o, folder, n, table);
    }
    const QByteArray text = table.text().toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return 0;
}
