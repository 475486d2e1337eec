// The administrator edits a capacity set while the calculation tool keeps
// selecting a unit of that set and two engineers keep saving calculations: no
// failure reaches any user, every calculation sees one whole version of the
// set, never a half-written one, and every confirmed save is stored whole,
// once, under a key of its own.
#include "CalcRun.h"
#include "DataLocation.h"
#include "Database.h"
#include "ProgramDatabases.h"
#include "SaveScenario.h"
#include "TestDatabases.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {

constexpr int Seconds = 8;

// No load at all (a chamber without volume or insulation), so the first
// modification of KMN is chosen; at the middle chamber temperature of its
// class and an ambient between two table points the capacity mixes all
// three outside temperatures.
const char Calculation[] = R"({"xk_length": 1, "xk_width": 1, "xk_height": 1, "xk_bulk": 0,
    "xk_temperature": 0, "by_temperature": 26, "xo_type1": 1, "xo_type2": 2})";

} // namespace

class TestTwoPrograms : public QObject
{
    Q_OBJECT

private slots:
    // The editor's save and the import of a spreadsheet file follow one rule.
    void administratorWritesWhileTheToolCalculates_data()
    {
        QTest::addColumn<QString>("through");
        QTest::newRow("editor") << QString();
        QTest::newRow("spreadsheet file") << QStringLiteral("csv");
    }
    void administratorWritesWhileTheToolCalculates()
    {
        QFETCH(QString, through);
        QTemporaryDir dir;
        QVERIFY(TestDatabases::createSampleFolder(dir.path()));
        double before = 0;
        const QString first = calculate(dir.path(), &before);
        QVERIFY2(first.isEmpty(), qPrintable(first));

        QProcess writer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        writer.setProcessEnvironment(environment);
        writer.start(QStringLiteral(WRITER_EXE),
                     {dir.path(), QStringLiteral("Моноблок среднетемпературный KM"), QStringLiteral("KMN020"),
                      QString::number(Seconds), through});
        QVERIFY(writer.waitForStarted());

        // Each engineer numbers the saves from a range of their own.
        const int firstSave[] = {1, 10000001};
        QProcess engineers[2];
        for (int e = 0; e < 2; ++e) {
            engineers[e].start(QStringLiteral(SAVE_LOOP_EXE), {dir.path(), QString::number(firstSave[e])});
            QVERIFY(engineers[e].waitForStarted());
        }

        int calculations = 0, failures = 0, halfWritten = 0;
        double highest = 0;
        QElapsedTimer clock;
        clock.start();
        // Without an event loop the writer's end is seen only when asked for.
        while (writer.state() == QProcess::Running && !writer.waitForFinished(0) &&
               clock.elapsed() < (Seconds + 20) * 1000) {
            double capacity = 0;
            if (const QString failure = calculate(dir.path(), &capacity); !failure.isEmpty()) {
                ++failures;
                qWarning("%s", qPrintable(failure));
                continue;
            }
            ++calculations;
            // Each save adds the same whole number to all nine cells, which adds
            // exactly that number to the interpolated capacity; a mix of two
            // versions adds a fraction.
            const double offset = capacity - before;
            if (std::fabs(offset - std::round(offset)) > 1e-6)
                ++halfWritten;
            highest = qMax(highest, offset);
        }
        QVERIFY(writer.state() == QProcess::NotRunning || writer.waitForFinished(60000));
        SaveScenario::SaveLog log;
        int saved = 0;
        for (int e = 0; e < 2; ++e) {
            // Killed, maybe in the middle of a save, which must then leave nothing.
            QVERIFY2(engineers[e].state() == QProcess::Running,
                     engineers[e].readAllStandardError().constData());
            engineers[e].kill();
            QVERIFY(engineers[e].waitForFinished());
            saved += log.addRun(e, firstSave[e], engineers[e].readAllStandardOutput());
        }
        const auto orders = Database::open(DataLocation::folder(dir.path()).orders(), orderTables());
        QVERIFY(orders);
        const QString lostOrBroken = log.check(*orders);
        QVERIFY2(lostOrBroken.isEmpty(), qPrintable(lostOrBroken));
        // The writer prints every message box as "message: ..."; the platform's
        // own warnings are not the user's business.
        QByteArray writerErrors;
        for (const QByteArray& line : writer.readAllStandardError().split('\n'))
            if (line.startsWith("message:"))
                writerErrors += line + '\n';
        const int saves = writer.readAllStandardOutput().trimmed().split(' ').value(1).toInt();
        qInfo("saves by the administrator: %d, by the engineers: %d, calculations: %d, failures: %d, "
              "half-written sets seen: %d",
              saves, saved, calculations, failures, halfWritten);
        QVERIFY2(writer.exitCode() == 0 && writerErrors.isEmpty(), writerErrors.constData());
        QCOMPARE(failures, 0);
        QCOMPARE(halfWritten, 0);
        QVERIFY(saves > 10);
        QVERIFY(calculations > 10);
        QVERIFY(saved > 10);
        QVERIFY(highest >= 1); // the tool did see the administrator's edits
    }

private:
    // The capacity of the unit the tool selects, which must be a KMN; an
    // empty text, or what went wrong.
    static QString calculate(const QString& folder, double* capacity)
    {
        const CalcRun run = CalcRun::of({"--dir", folder, "--input", "-"}, Calculation);
        const QJsonObject result = run.object();
        const QString model = result.value(QStringLiteral("sel_model")).toString();
        if (run.exitCode != 0 || !run.err.isEmpty() || model != QLatin1String("KMN"))
            return QStringLiteral("tool ended with status %1, model \"%2\": %3")
                .arg(run.exitCode)
                .arg(model, QString::fromUtf8(run.err));
        *capacity = result.value(QStringLiteral("unit_capacity")).toDouble();
        return {};
    }
};

QTEST_GUILESS_MAIN(TestTwoPrograms)
#include "test_twoprograms.moc"
