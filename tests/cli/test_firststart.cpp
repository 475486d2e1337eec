// An installed frostpick-calc's first start on a fresh home: the data folder
// gets each file of the installed sample whole or not at all, and a program
// started while another fills it waits and copies nothing over its files.
#include "DataFolder.h"
#include "Database.h"
#include "ProgramDatabases.h"
#include "TestDatabases.h"

#include <QLockFile>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>

class TestFirstStart : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString user(const QString& name = {}) const { return path("home/frostpick/" + name); }
    QString seed(const QString& name = {}) const
    {
        return DataFolder::seedFolder(path("usr/bin")) + '/' + name;
    }

    // The installed program computing every saved calculation; its files may
    // grow to fileSizeLimit bytes at most, when that is given.
    void start(QProcess& run, rlim_t fileSizeLimit = RLIM_INFINITY)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), path("home"));
        run.setProcessEnvironment(environment);
        run.setChildProcessModifier([fileSizeLimit] {
            signal(SIGXFSZ, SIG_IGN); // a write beyond the limit then fails as on a full disk
            const rlimit limit{fileSizeLimit, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        run.start(path("usr/bin/frostpick-calc"), {QStringLiteral("--all-orders")});
    }
    // The files of the user's folder that are not their sample's byte for byte.
    QStringList unlikeTheSample() const
    {
        QStringList unlike;
        for (const QString& name : QDir(user()).entryList(QDir::Files | QDir::Hidden)) {
            QFile copy(user(name)), sample(seed(name));
            if (!copy.open(QIODevice::ReadOnly) || !sample.open(QIODevice::ReadOnly) ||
                copy.readAll() != sample.readAll())
                unlike << name;
        }
        return unlike;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(path("usr/bin")) &&
                QFile::copy(QStringLiteral(FROSTPICK_CALC_EXE), path("usr/bin/frostpick-calc")));
        QVERIFY(QDir().mkpath(seed()) &&
                TestDatabases::createSampleFolder(seed(), TestDatabases::Storage::Files));
    }
    void cleanup() { m_dir.reset(); }

    // The disk fills while nv.mdb is copied: no part of it stays, the program
    // says why, and the next start with room completes the folder.
    void fullDiskAtTheFirstStart()
    {
        QProcess full;
        start(full, rlim_t(QFileInfo(seed("nv.mdb")).size() / 2));
        QVERIFY(full.waitForFinished(120000));
        const QByteArray said = full.readAllStandardError();
        QCOMPARE(full.exitCode(), 1);
        QVERIFY2(said.contains("cannot copy " + QFile::encodeName(seed("nv.mdb"))) &&
                     said.contains("File too large"),
                 said.constData());
        QVERIFY(!QFile::exists(user("nv.mdb")));
        QCOMPARE(unlikeTheSample(), QStringList());

        QProcess roomy;
        start(roomy);
        QVERIFY(roomy.waitForFinished(120000));
        QCOMPARE(roomy.exitCode(), 0);
        QCOMPARE(roomy.readAllStandardOutput().count('\n'), 5);
        QVERIFY(QDir(user()).entryList(QDir::Files).contains(QStringLiteral("nv.mdb")));
    }

    // The test holds the first-start lock as a program filling the folder
    // would: a program started meanwhile waits for it, then computes from the
    // files the first one left (the sample's orders but one) and copies
    // nothing; neither does a start after that.
    void secondStartWaitsForTheFirst()
    {
        QVERIFY(QDir().mkpath(user()));
        QLockFile lock(user(".seeding.lock"));
        QVERIFY(lock.lock());
        // A waiting program reads who holds the lock.
        const int events = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(events >= 0 && inotify_add_watch(events, QFile::encodeName(lock.fileName()), IN_OPEN) >= 0);
        QSocketNotifier opened(events, QSocketNotifier::Read);
        QSignalSpy read(&opened, &QSocketNotifier::activated);
        QProcess second;
        start(second);
        QTRY_VERIFY_WITH_TIMEOUT(!read.isEmpty() || second.state() == QProcess::NotRunning, 60000);
        close(events);
        QVERIFY2(second.state() == QProcess::Running, "the second program went on while the lock was held");

        for (const char* name : {"nv.mdb", "order.mdb"})
            QVERIFY(QFile::copy(seed(name), user(name)));
        {
            const auto orders =
                Database::open(DatabaseAddress::file(user("order.mdb")), orderTables()).valueOr(nullptr);
            QVERIFY(orders && orders->execute(QStringLiteral(
                                  "DELETE FROM data WHERE pkey=(SELECT MAX(pkey) FROM data)")));
        }
        const QStringList filled = QDir(user()).entryList(QDir::Files);
        lock.unlock();
        QVERIFY(second.waitForFinished(120000));
        QCOMPARE(second.readAllStandardError(), QByteArray());
        QCOMPARE(second.readAllStandardOutput().count('\n'), 4);

        QProcess third;
        start(third);
        QVERIFY(third.waitForFinished(120000));
        QCOMPARE(third.readAllStandardError(), QByteArray());
        QCOMPARE(third.readAllStandardOutput().count('\n'), 4);
        QCOMPARE(QDir(user()).entryList(QDir::Files), filled);
    }
};

QTEST_GUILESS_MAIN(TestFirstStart)
#include "test_firststart.moc"
