// Damaged database files at the administrator's start: each ends with the
// engine's error and "Не найден файл БД" before the main window, and the file
// and its folder stay exactly as they were. Read-only files and folders: a
// change is refused with a message and nothing on disk changes.
#include "AdminSession.h"
#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "FakeMessages.h"
#include "Functions.h"
#include "Orders.h"
#include "TestDatabases.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

namespace {

// Names, sizes and contents of everything in the folder (one level down too).
QStringList folderState(const QString& path)
{
    QStringList state;
    const QDir dir(path);
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        QString line = info.fileName() + QLatin1Char(' ');
        if (info.isDir()) {
            line += QStringLiteral("dir:") +
                    QDir(info.filePath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(',');
        } else {
            QFile file(info.filePath());
            if (file.open(QIODevice::ReadOnly))
                line += QString::fromLatin1(
                    QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex());
        }
        state << line;
    }
    return state;
}

} // namespace

class TestDamagedFiles : public QObject
{
    Q_OBJECT

private slots:
    void administratorStart_data()
    {
        QTest::addColumn<QString>("damage");
        for (const char* damage : {"absent", "empty", "truncated", "random", "foreign", "folder"})
            QTest::newRow(damage) << QString::fromLatin1(damage);
    }
    void administratorStart()
    {
        QFETCH(QString, damage);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString nv = dir.filePath(QStringLiteral("nv.mdb"));
        QVERIFY(TestDatabases::createDamaged(nv, damage));
        const QStringList before = folderState(dir.path());

        FakeMessages messages;
        AdminSession admin;
        const bool started = Functions::Main(admin, DataLocation::folder(dir.path()));
        admin.close();

        QVERIFY(!started);
        QCOMPARE(messages.shown().size(), 2);
        const MessageRequest engine = messages.shown().at(0);
        QCOMPARE(engine.icon, MsgIcon::None);
        QVERIFY(engine.title.isNull());
        bool hex = false;
        engine.text.section(QLatin1Char('\r'), 0, 0).toUInt(&hex, 16);
        QVERIFY2(hex, qPrintable(engine.text));
        QVERIFY(!engine.text.section(QLatin1Char('\r'), 1).trimmed().isEmpty());
        const MessageRequest notFound = messages.shown().at(1);
        QCOMPARE(notFound.text,
                 QStringLiteral("Не найден файл БД\nИзмените настройки и запустите программу вновь"));
        QCOMPARE(notFound.icon, MsgIcon::Exclamation);
        QCOMPARE(notFound.title, QStringLiteral("Внимание"));
        QCOMPARE(folderState(dir.path()), before);
    }
    void readOnlyReference_data()
    {
        QTest::addColumn<bool>("folderReadOnly");
        QTest::newRow("read-only nv.mdb") << false;
        QTest::newRow("read-only folder") << true;
    }
    // The administrator on a file it may read but not write: it starts, and a
    // change is refused with the database's reason.
    void readOnlyReference()
    {
        if (::geteuid() == 0)
            QSKIP("runs as root, whom file permissions do not stop from writing");
        QFETCH(bool, folderReadOnly);
        QTemporaryDir dir;
        const QString nv = dir.filePath(QStringLiteral("nv.mdb"));
        QVERIFY(TestDatabases::createSampleReference(nv));
        const QFileDevice::Permissions readable = QFileDevice::ReadOwner | QFileDevice::ReadUser;
        QVERIFY(QFile::setPermissions(nv, readable));
        if (folderReadOnly)
            QVERIFY(
                QFile::setPermissions(dir.path(), readable | QFileDevice::ExeOwner | QFileDevice::ExeUser));
        const QStringList before = folderState(dir.path());

        FakeMessages messages;
        AdminSession admin;
        QVERIFY(Functions::Main(admin, DataLocation::folder(dir.path())));
        const Result<void> refused =
            admin.execSql(QStringLiteral("INSERT INTO PGroup(text_ru) VALUES ('Новая')"));
        QVERIFY(!refused);
        QVERIFY(!Functions::FailureDescription(refused.failure()).isEmpty());
        admin.close();
        QCOMPARE(folderState(dir.path()), before);
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner));
    }
    void readOnlyOrders_data()
    {
        QTest::addColumn<bool>("folderReadOnly");
        QTest::addColumn<int>("openStatus");
        QTest::newRow("read-only order.mdb") << false << 0;
        // The write-ahead log needs its shared-memory file beside the database:
        // SQLite's SQLITE_READONLY_DIRECTORY.
        QTest::newRow("read-only folder") << true << 0x608;
    }
    // The wizard on an orders file it may not write: the save is refused with
    // the file named, the record keeps its customer key; in a folder it may
    // not write, the orders are not opened at all. Nothing on disk changes.
    void readOnlyOrders()
    {
        if (::geteuid() == 0)
            QSKIP("runs as root, whom file permissions do not stop from writing");
        QFETCH(bool, folderReadOnly);
        QFETCH(int, openStatus);
        QTemporaryDir dir;
        QVERIFY(TestDatabases::createSampleFolder(dir.path()));
        {
            // A folder the wizard has used before: opening converts a new file's
            // journal once, which is not what this test is about.
            CalculationContext used;
            QVERIFY(OpenDatabases(used, DataLocation::folder(dir.path())));
        }
        const QString orders = dir.filePath(QStringLiteral("order.mdb"));
        const QFileDevice::Permissions readable = QFileDevice::ReadOwner | QFileDevice::ReadUser;
        QVERIFY(QFile::setPermissions(orders, readable));
        if (folderReadOnly)
            QVERIFY(
                QFile::setPermissions(dir.path(), readable | QFileDevice::ExeOwner | QFileDevice::ExeUser));
        const QStringList before = folderState(dir.path());

        FakeMessages messages;
        {
            CalculationContext context;
            const Result<void> opened = OpenDatabases(context, DataLocation::folder(dir.path()));
            QCOMPARE(opened ? 0 : opened.failure().engineCode, openStatus);
            if (openStatus != 0)
                QVERIFY2(opened.failure().details().contains(
                             QStringLiteral("attempt to write a readonly database")),
                         qPrintable(opened.failure().details()));
        }
        if (openStatus == 0) {
            CalculationContext context;
            CalculationRecord r;
            QVERIFY(OpenDatabases(context, DataLocation::folder(dir.path())));
            ApplyStartValues(r);
            r.contact_organization = QStringLiteral("Новый заказчик");
            r.onote = QStringLiteral("заметка");
            r.NewContact = true;
            r.NewCalculation = true;
            r.contact = 0;
            const Result<void> saved = SaveCalculation(context, r, QDate(2024, 3, 5));
            QVERIFY(!saved);
            QCOMPARE(r.contact, qint16(0));
            const DatabaseFailure& failure = saved.failure();
            QVERIFY2(
                failure.heading.startsWith(QStringLiteral("Ошибка при сохранении результатов расчета!")) &&
                    failure.advice().contains(
                        QStringLiteral("Файл %1 не удается прочитать или записать.").arg(orders)),
                qPrintable(failure.heading + '\n' + failure.advice()));
        }
        // The engine may leave its empty shared-memory files beside a read-only
        // file it could not checkpoint; the database files stay as they were.
        const QRegularExpression sideFile(QStringLiteral("-(wal|shm) "));
        QCOMPARE(folderState(dir.path()).filter(QRegularExpression(QStringLiteral("^[a-z]+\\.mdb "))),
                 before);
        QVERIFY(before.filter(sideFile).isEmpty());
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner));
    }
};

QTEST_MAIN(TestDamagedFiles)
#include "test_damagedfiles.moc"
