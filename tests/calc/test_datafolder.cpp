// Which folder the programs keep their data in, and how the user's folder is
// filled from the installed sample data without losing what the user has.
#include "DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestDataFolder : public QObject
{
    Q_OBJECT

private slots:
    void choice_data();
    void choice();
};

namespace {

bool write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(content) == content.size();
}

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

void TestDataFolder::choice_data()
{
    QTest::addColumn<QStringList>("inProgram"); // files beside the program
    QTest::addColumn<bool>("programWritable");
    QTest::addColumn<QStringList>("inSeed"); // the installed sample data
    QTest::addColumn<QStringList>("inUser"); // already in the user's folder
    QTest::addColumn<bool>("userChosen");
    QTest::addColumn<QStringList>("expectedUser"); // file: where its content came from

    const QStringList sample{"nv.mdb", "order.mdb", "km.jpg"};
    QTest::newRow("build folder") << sample << true << sample << QStringList() << false << QStringList();
    QTest::newRow("installed, first start") << QStringList() << true << sample << QStringList() << true
                                            << QStringList{"nv.mdb:seed", "order.mdb:seed", "km.jpg:seed"};
    QTest::newRow("installed, the user's files stay")
        << QStringList() << true << sample << QStringList{"order.mdb", "km.jpg"} << true
        << QStringList{"nv.mdb:seed", "order.mdb:user", "km.jpg:user"};
    QTest::newRow("read-only folder with the data is the sample; the program is not data")
        << QStringList{"nv.mdb", "order.mdb", "frostpick", "notes.txt", "km.jpg"} << false << QStringList()
        << QStringList() << true << QStringList{"nv.mdb:program", "order.mdb:program", "km.jpg:program"};
    QTest::newRow("nothing installed")
        << QStringList() << true << QStringList() << QStringList() << false << QStringList();
    QTest::newRow("sample without the reference file is no sample")
        << QStringList() << true << QStringList{"order.mdb"} << QStringList() << false << QStringList();
}

void TestDataFolder::choice()
{
    QFETCH(QStringList, inProgram);
    QFETCH(bool, programWritable);
    QFETCH(QStringList, inSeed);
    QFETCH(QStringList, inUser);
    QFETCH(bool, userChosen);
    QFETCH(QStringList, expectedUser);

    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("prefix/bin"));
    const QString seed = DataFolder::seedFolder(program);
    const QString user = root.filePath(QStringLiteral("home/.local/share/frostpick"));
    QVERIFY(QDir().mkpath(program));
    for (const QString& name : inProgram)
        QVERIFY(write(program + '/' + name, "program"));
    for (const QString& name : inSeed) {
        QVERIFY(write(seed + '/' + name, "seed"));
        QVERIFY(QFile::setPermissions(seed + '/' + name, QFile::ReadOwner | QFile::ReadOther));
    }
    for (const QString& name : inUser)
        QVERIFY(write(user + '/' + name, "user"));
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    if (!programWritable) {
        QVERIFY(QFile::setPermissions(program, readOnly));
        if (QFileInfo(program).isWritable())
            QSKIP("the superuser may write to any folder");
    }
    const auto programBefore = QDir(program).entryList(QDir::Files);

    QCOMPARE(DataFolder::prepare(program, user), userChosen ? user : program);

    QCOMPARE(QDir(program).entryList(QDir::Files), programBefore);
    QStringList found = QDir(user).entryList(QDir::Files);
    for (const QString& expected : expectedUser) {
        const QString name = expected.section(':', 0, 0);
        QCOMPARE(read(user + '/' + name), expected.section(':', 1).toUtf8());
        QVERIFY2(QFileInfo(user + '/' + name).permissions() & QFile::WriteOwner, qPrintable(name));
        found.removeOne(name);
    }
    QCOMPARE(found, QStringList());
    QFile::setPermissions(program, readOnly | QFile::WriteOwner);
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "test_datafolder.moc"
