// Runs every benchmark figure on generated databases of several sizes and
// prints them as one table.
#include "BenchServer.h"
#include "BenchTable.h"
#include "ChildProcess.h"
#include "CoreFigures.h"
#include "DataGenerator.h"
#include "FigureNames.h"
#include "NetworkRelay.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>
#include <cstdio>
#include <functional>

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
    bool files = true;
    bool server = false;
    double addedRoundTripMs = 1;
};

// One store the figures are taken on: the generated files, or their copy on
// a server reached directly or through a relay that adds round-trip time.
struct Setting
{
    QString folder;      // the files, or a frostpick.ini naming the server
    QString adminFolder; // the administrator's, whose data it may change
    int calculations = 0;
    QString label; // the table's "calcs" column
    bool server = false;
    // Count the requests sent through a relay, in all and between two times
    // of the monotonic clock (ns); empty when none stands between.
    std::function<qint64()> requestsSent;
    std::function<qint64(qint64, qint64)> requestsBetween;
    // Targets of the core figures; empty where none applies.
    QString rateTarget, reopenTarget, reopenP99Target;
    // Targets of screen figures and their request counts ("server requests,
    // " and the figure) that replace the ones the probes give, by figure.
    QMap<QString, QString> targets;
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

void allOrders(const Options& o, const Setting& s, BenchTable& table)
{
    const QString calc = o.programs.filePath(QStringLiteral("frostpick-calc"));
    const QString sqlite = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    std::vector<double> seconds, cpu, floor, startUp, requests;
    for (int run = 0; run < o.runs; ++run) {
        // One order: the tool's fixed cost of starting and opening the files.
        startUp.push_back(
            runChild(calc,
                     {QStringLiteral("--dir"), s.folder, QStringLiteral("--order"), QStringLiteral("1")},
                     false)
                .seconds);
        const qint64 sentBefore = s.requestsSent ? s.requestsSent() : 0;
        const ChildRun r =
            runChild(calc, {QStringLiteral("--dir"), s.folder, QStringLiteral("--all-orders")}, false);
        if (s.requestsSent)
            requests.push_back(double(s.requestsSent() - sentBefore) / s.calculations);
        if (!r.started || r.exitCode != 0) {
            table.addMissing(QStringLiteral("frostpick-calc --all-orders"), s.label, s.rateTarget,
                             QStringLiteral("exit %1").arg(r.exitCode));
            return;
        }
        seconds.push_back(r.seconds);
        cpu.push_back(r.cpuSeconds);
        if (!sqlite.isEmpty() && !s.server)
            floor.push_back(runChild(sqlite,
                                     {QStringLiteral("-json"), s.folder + QStringLiteral("/order.mdb"),
                                      QStringLiteral("SELECT * FROM data")},
                                     false)
                                .seconds);
    }
    const Summary time = summarize(seconds);
    // The fastest run gives the highest rate, so min and max swap.
    table.add(
        QStringLiteral("--all-orders rate"), s.label,
        {time.count, s.calculations / time.median, s.calculations / time.max, s.calculations / time.min, 0},
        QStringLiteral("calcs/s"), s.rateTarget, 0);
    // On a shared machine the process's own CPU time shows the rate that
    // other programs' load does not change. With a server the server's own
    // work is not in it, so it has no target there.
    const Summary cpuTime = summarize(cpu);
    table.add(QStringLiteral("--all-orders rate, CPU time"), s.label,
              {cpuTime.count, s.calculations / cpuTime.median, s.calculations / cpuTime.max,
               s.calculations / cpuTime.min, 0},
              QStringLiteral("calcs/s"), s.server ? QString() : s.rateTarget, 0);
    table.add(QStringLiteral("--all-orders wall time"), s.label, time, QStringLiteral("s"), QString(), 3);
    const Summary start = summarize(startUp);
    table.add(QStringLiteral("frostpick-calc --order 1 (start-up)"), s.label, start, QStringLiteral("s"),
              QString(), 3);
    table.addValue(QStringLiteral("--all-orders per calculation"), s.label,
                   (time.median - start.median) * 1e6 / s.calculations, QStringLiteral("us"),
                   QStringLiteral("flat"), 1);
    if (!requests.empty())
        table.add(QStringLiteral("server requests per calculation of --all-orders"), s.label,
                  summarize(requests), QString(), QString(), 1);
    if (s.server)
        return;
    if (floor.empty()) {
        table.addMissing(QStringLiteral("sqlite3 -json floor (SELECT * FROM data)"), s.label, QString(),
                         QStringLiteral("no sqlite3"));
        return;
    }
    const Summary f = summarize(floor);
    table.add(QStringLiteral("sqlite3 -json floor (SELECT * FROM data)"), s.label, f, QStringLiteral("s"),
              QString(), 3);
    table.addValue(QStringLiteral("--all-orders / floor"), s.label, time.median / f.median,
                   QStringLiteral("x"), QStringLiteral("<= 2"), 1);
}

void core(const Options& o, const Setting& s, BenchTable& table)
{
    const CoreSamples c = measureCore(s.folder, o.reopens, o.runs, s.requestsSent);
    if (!c.error.isEmpty()) {
        table.addMissing(QStringLiteral("reopen in process"), s.label, s.reopenTarget, c.error);
        return;
    }
    const Summary reopen = summarize(c.reopen);
    table.add(QStringLiteral("reopen in process (%1 keys)").arg(reopen.count), s.label, reopen,
              QStringLiteral("us"), s.reopenTarget, 1);
    table.addValue(QStringLiteral("reopen in process, 99th percentile"), s.label, reopen.p99,
                   QStringLiteral("us"), s.reopenP99Target, 1);
    // The thread's CPU time leaves out waiting for a server, so it is
    // judged only on files.
    const Summary reopenCpu = summarize(c.reopenCpu);
    table.add(QStringLiteral("reopen in process, thread CPU time"), s.label, reopenCpu, QStringLiteral("us"),
              s.server ? QString() : s.reopenTarget, 1);
    table.addValue(QStringLiteral("reopen in process, CPU time, 99th percentile"), s.label, reopenCpu.p99,
                   QStringLiteral("us"), s.server ? QString() : s.reopenP99Target, 1);
    table.add(QStringLiteral("FindOrders, big customer, %1 rows").arg(c.bigCustomerRows), s.label,
              inUnit(c.searchBig, 1e-3), QStringLiteral("ms"), QStringLiteral("flat"), 2);
    if (s.requestsSent) {
        table.addValue(QStringLiteral("server requests per reopen"), s.label, c.reopenRequests, QString(),
                       QString(), 1);
        table.addValue(QStringLiteral("server requests per FindOrders, big customer"), s.label,
                       c.searchBigRequests, QString(), QString(), 1);
    }
    if (c.searchSmall.empty())
        table.addMissing(QStringLiteral("FindOrders, ordinary customer"), s.label, QString(),
                         QStringLiteral("no other customer has calculations"));
    else
        table.add(QStringLiteral("FindOrders, ordinary customer, %1 rows").arg(c.smallCustomerRows), s.label,
                  summarize(c.searchSmall), QStringLiteral("us"), QString(), 1);
    table.add(QStringLiteral("ReadCustomers, 5000 rows"), s.label, inUnit(c.customerList, 1e-3),
              QStringLiteral("ms"), QString(), 2);
}

// The server requests of each user action: one sample per window a GUI
// program printed for it.
void addRequests(const Setting& s, const QMap<QString, std::vector<double>>& requests, BenchTable& table)
{
    for (auto it = requests.constBegin(); it != requests.constEnd(); ++it) {
        const QString figure = QStringLiteral("server requests, %1").arg(it.key());
        table.add(figure, s.label, summarize(it.value()), QString(),
                  s.targets.value(figure, QStringLiteral("<= 10")), 1);
    }
}

// The GUI figures come from separate programs that link the screens; each
// line they print is "figure<TAB>median<TAB>min<TAB>max<TAB>unit<TAB>target",
// "figure<TAB>not measured<TAB>why<TAB>target", or the time a step took as
// "figure<TAB>window<TAB>start ns<TAB>end ns".
void gui(const Options& o, const Setting& s, BenchTable& table)
{
    QMap<QString, std::vector<double>> requests;
    const std::pair<QString, QString> programs[] = {{QStringLiteral("frostpick-bench-gui"), s.folder},
                                                    {QStringLiteral("rimehold-bench-gui"), s.adminFolder}};
    for (const auto& [name, folder] : programs) {
        const QString program = o.benchPrograms.filePath(name);
        if (!QFileInfo(program).isExecutable()) {
            table.addMissing(name, s.label, QString(), QStringLiteral("not built"));
            continue;
        }
        const ChildRun r = runChild(
            program, {QStringLiteral("--dir"), folder, QStringLiteral("--runs"), QString::number(o.runs)},
            true, {QStringLiteral("QT_QPA_PLATFORM=offscreen")});
        int figures = 0;
        for (const QByteArray& raw : r.output.split('\n')) {
            const QStringList f = QString::fromUtf8(raw).split(QLatin1Char('\t'));
            if (f.size() == 4 && f.at(1) == QLatin1String("window")) {
                if (s.requestsBetween)
                    requests[f.at(0)].push_back(
                        double(s.requestsBetween(f.at(2).toLongLong(), f.at(3).toLongLong())));
            } else if (f.size() == 4 && f.at(1) == QLatin1String("not measured")) {
                table.addMissing(f.at(0), s.label, s.targets.value(f.at(0), f.at(3)), f.at(2));
                ++figures;
            } else if (f.size() == 6) {
                table.add(f.at(0), s.label,
                          {0, f.at(1).toDouble(), f.at(2).toDouble(), f.at(3).toDouble(), 0}, f.at(4),
                          s.targets.value(f.at(0), f.at(5)), 1);
                ++figures;
            }
        }
        if (figures == 0)
            table.addMissing(name, s.label, QString(), QStringLiteral("exit %1, no figures").arg(r.exitCode));
    }
    addRequests(s, requests, table);
}

// Process start to the first screen painted, and the process's peak memory.
void start(const Options& o, const Setting& s, BenchTable& table)
{
    const QString probe = o.benchPrograms.filePath(QStringLiteral("frostpick-bench-start"));
    const QString figure = QString::fromUtf8(FigureName::Start);
    const QString target = s.targets.value(figure, QStringLiteral("<= 250"));
    if (!QFileInfo(probe).isExecutable()) {
        table.addMissing(figure, s.label, target, QStringLiteral("frostpick-bench-start not built"));
        return;
    }
    std::vector<double> ms, rss;
    QMap<QString, std::vector<double>> requests;
    for (int run = 0; run < o.runs; ++run) {
        const qint64 started = monotonicNanoseconds();
        const QString t0 = QString::number(started);
        const ChildRun r = runChild(
            probe, {QStringLiteral("--dir"), s.folder}, true,
            {QStringLiteral("QT_QPA_PLATFORM=offscreen"), QStringLiteral("FROSTPICK_BENCH_T0=") + t0});
        bool ok = false;
        const double shown = r.output.trimmed().toDouble(&ok);
        if (r.exitCode != 0 || !ok) {
            table.addMissing(figure, s.label, target, QStringLiteral("probe exit %1").arg(r.exitCode));
            return;
        }
        ms.push_back(shown);
        rss.push_back(double(r.peakRssKb) / 1024.0);
        if (s.requestsBetween)
            requests[figure].push_back(double(s.requestsBetween(started, started + qint64(shown * 1e6))));
    }
    table.add(figure, s.label, summarize(ms), QStringLiteral("ms"), target, 1);
    table.add(QStringLiteral("frostpick start, peak resident memory"), s.label, summarize(rss),
              QStringLiteral("MB"), QStringLiteral("<= 80"), 1);
    addRequests(s, requests, table);
}

void measure(const Options& o, const Setting& s, BenchTable& table)
{
    note(QStringLiteral("measuring %1").arg(s.label));
    allOrders(o, s, table);
    core(o, s, table);
    gui(o, s, table);
    start(o, s, table);
}

Setting filesSetting(const QString& folder, int n)
{
    Setting s;
    s.folder = s.adminFolder = folder;
    s.calculations = n;
    s.label = QString::number(n);
    s.rateTarget = QStringLiteral(">= 60000");
    s.reopenTarget = QStringLiteral("<= 50");
    s.reopenP99Target = QStringLiteral("<= 200");
    return s;
}

// At 30 ms of round trip every request waited for costs 30 ms: the screens'
// targets there are the branch office's, with the requests they may take;
// a request count without one of its own keeps the general 10.
QMap<QString, QString> branchOfficeTargets()
{
    const auto name = [](const char* figure) { return QString::fromUtf8(figure); };
    const auto requests = [](const char* figure) {
        return QStringLiteral("server requests, ") + QString::fromUtf8(figure);
    };
    return {{name(FigureName::Start), QStringLiteral("<= 500")},
            {requests(FigureName::Start), QStringLiteral("<= 4")},
            {name(FigureName::Stage0), QStringLiteral("<= 300")},
            {name(FigureName::Search), QStringLiteral("<= 100")},
            {name(FigureName::Reopen), QStringLiteral("<= 500")},
            {name(FigureName::Back), QStringLiteral("<= 100")},
            {requests(FigureName::Back), QStringLiteral("<= 2")},
            {name(FigureName::Calculate), QStringLiteral("<= 300")},
            {name(FigureName::ProductList), QStringLiteral("<= 100")}};
}

// The same figures on the server: reached directly over loopback TCP, then
// through a relay that adds the round-trip time of an office network, where
// at 30 ms the branch office's targets apply.
bool measureOnServer(const Options& o, BenchServer& server, const QString& files, int n, BenchTable& table)
{
    const QString name = QStringLiteral("frostpick_bench_%1_seed%2").arg(n).arg(o.seed);
    const QString adminName = name + QStringLiteral("_admin");
    QString error;
    note(QStringLiteral("copying %1 calculations onto the server (database %2)").arg(n).arg(name));
    if (!server.prepare(name, files, BenchServer::Stores::Both, o.regenerate, &error) ||
        !server.prepare(adminName, files, BenchServer::Stores::ReferenceOnly, o.regenerate, &error)) {
        note(error);
        return false;
    }
    const auto settingFor = [&](const QString& host, quint16 port, const QString& suffix) {
        Setting s;
        s.folder = o.work.filePath(QStringLiteral("server-%1-%2").arg(n).arg(suffix.trimmed()));
        s.adminFolder = s.folder + QStringLiteral("-admin");
        s.calculations = n;
        s.label = QString::number(n) + suffix;
        s.server = true;
        if (!BenchServer::writeSettings(s.folder, server.connection(name, host, port), &error) ||
            !BenchServer::writeSettings(s.adminFolder, server.connection(adminName, host, port), &error))
            s.folder.clear();
        return s;
    };
    Setting loopback = settingFor(server.host(), server.port(), QStringLiteral(" pg"));
    loopback.rateTarget = QStringLiteral(">= 10000");
    loopback.reopenTarget = QStringLiteral("<= 1000");
    if (loopback.folder.isEmpty()) {
        note(error);
        return false;
    }
    measure(o, loopback, table);
    if (o.addedRoundTripMs <= 0)
        return true;
    NetworkRelay relay(server.host(), server.port(),
                       std::chrono::microseconds(qRound64(o.addedRoundTripMs * 500)));
    if (!relay.start(&error)) {
        note(error);
        return false;
    }
    Setting delayed = settingFor(QStringLiteral("127.0.0.1"), relay.port(),
                                 QStringLiteral(" pg+%1ms").arg(o.addedRoundTripMs));
    if (delayed.folder.isEmpty()) {
        note(error);
        return false;
    }
    // A branch office's targets hold at 30 ms of round trip.
    if (qRound(o.addedRoundTripMs) == 30) {
        delayed.rateTarget = QStringLiteral(">= 10000");
        delayed.targets = branchOfficeTargets();
    }
    delayed.requestsSent = [&relay] { return relay.requests(); };
    delayed.requestsBetween = [&relay](qint64 from, qint64 to) {
        return relay.requestsBetween(std::chrono::nanoseconds(from), std::chrono::nanoseconds(to));
    };
    measure(o, delayed, table);
    return true;
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
    const QCommandLineOption server(
        QStringLiteral("server"),
        QStringLiteral("also measure on PostgreSQL: a throwaway cluster kept in WORK/pg"));
    const QCommandLineOption serverBase(
        QStringLiteral("server-base"),
        QStringLiteral("measure on this server instead of a throwaway one: \"host=ADDRESS port=N user=U "
                       "password=P\", without quotes inside; databases frostpick_bench_* are made there"),
        QStringLiteral("conninfo"));
    const QCommandLineOption roundTrip(
        QStringLiteral("round-trip-ms"),
        QStringLiteral("round-trip time a relay adds for the server's second series (0: none)"),
        QStringLiteral("ms"), QStringLiteral("1"));
    const QCommandLineOption serverOnly(QStringLiteral("server-only"),
                                        QStringLiteral("skip the figures on the files"));
    parser.addOptions(
        {sizes, runs, reopens, work, bin, seed, regenerate, server, serverBase, roundTrip, serverOnly});
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
    o.server = parser.isSet(server) || parser.isSet(serverBase);
    o.files = !(o.server && parser.isSet(serverOnly));
    o.addedRoundTripMs = parser.value(roundTrip).toDouble();

    BenchServer pg;
    QString error;
    if (o.server &&
        !(parser.isSet(serverBase) ? pg.useGiven(parser.value(serverBase), &error)
                                   : pg.startCluster(o.work.filePath(QStringLiteral("pg")), &error))) {
        note(error);
        return 1;
    }

    BenchTable table;
    bool ok = true;
    for (int n : o.sizes) {
        const QString folder = dataFolder(o, n);
        ok = !folder.isEmpty();
        if (ok && o.files)
            measure(o, filesSetting(folder, n), table);
        if (ok && o.server)
            ok = measureOnServer(o, pg, folder, n, table);
        if (!ok)
            break;
    }
    pg.stopCluster();
    if (!ok)
        return 1;
    const QByteArray text = table.text().toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return 0;
}
