// The administrator edits a capacity set while the calculation tool keeps
// selecting a unit of that set and two engineers keep saving calculations: no
// failure reaches any user, every calculation sees one whole version of the
// set, never a half-written one, and every confirmed save is stored whole,
// once, under a key of its own.
#include "DataLocation.h"
#include "Database.h"
#include "ProgramDatabases.h"
#include "SaveScenario.h"
#include "TestDatabases.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {

constexpr int Seconds = 15;

// No load at all, so the first modification of KMN is chosen; at the middle
// chamber temperature of its class and an ambient between two table points
// the capacity mixes all three outside temperatures.
const char Calculation[] = R"({"xk_temperature": 0, "by_temperature": 26, "xo_type1": 1, "xo_type2": 2})";

} // namespace

class TestTwoPrograms : public QObject
{
    Q_OBJECT

private slots:
    void administratorWritesWhileTheToolCalculates()
    {
        QTemporaryDir dir;
        QVERIFY(TestDatabases::createSampleFolder(dir.path()));
        const QString input = dir.filePath(QStringLiteral("calculation.json"));
        QFile file(input);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Calculation);
        file.close();

        double before = 0;
        QString failure;
        QVERIFY2(calculate(dir.path(), input, &before, &failure), qPrintable(failure));

        QProcess writer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        writer.setProcessEnvironment(environment);
        writer.start(QStringLiteral(WRITER_EXE),
                     {dir.path(), QStringLiteral("Моноблок среднетемпературный KM"), QStringLiteral("KMN020"),
                      QString::number(Seconds)});
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
        while (writer.state() == QProcess::Running && clock.elapsed() < (Seconds + 20) * 1000) {
            double capacity = 0;
            if (!calculate(dir.path(), input, &capacity, &failure)) {
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
        QVERIFY(writer.waitForFinished(60000));
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
    bool calculate(const QString& folder, const QString& input, double* capacity, QString* failure)
    {
        QProcess tool;
        tool.start(QStringLiteral(CALC_EXE),
                   {QStringLiteral("--dir"), folder, QStringLiteral("--input"), input});
        if (!tool.waitForFinished(30000) || tool.exitCode() != 0 || !tool.readAllStandardError().isEmpty()) {
            *failure = QStringLiteral("tool failed with status %1").arg(tool.exitCode());
            return false;
        }
        const QJsonObject result = QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
        if (result.value(QStringLiteral("sel_model")).toString() != QLatin1String("KMN")) {
            *failure =
                QStringLiteral("unexpected model ") + result.value(QStringLiteral("sel_model")).toString();
            return false;
        }
        *capacity = result.value(QStringLiteral("unit_capacity")).toDouble();
        return true;
    }
};

QTEST_GUILESS_MAIN(TestTwoPrograms)
#include "test_twoprograms.moc"
