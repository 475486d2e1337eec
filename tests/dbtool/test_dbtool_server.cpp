#include "Database.h"
#include "DbToolFixture.h"
#include "ProgramDatabases.h"
#include "QueryTable.h"
#include "TestDatabases.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using DbToolFixture::dump;
using DbToolFixture::runTool;

// Each run works in a database of its own on the server named by
// FROSTPICK_TEST_SERVER, dropped at the end.
class TestDbToolServer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_base;
    QString m_name = QStringLiteral("frostpick_dbtool_%1").arg(QCoreApplication::applicationPid());
    QString m_uri;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    // The server's own database, for what the programs never do.
    bool onMaintenance(const QString& sql)
    {
        QSqlQuery query(QSqlDatabase::database(QStringLiteral("maintenance")));
        if (!query.exec(sql))
            qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
        return query.isActive();
    }

private slots:
    void initTestCase()
    {
        m_base = qEnvironmentVariable("FROSTPICK_TEST_SERVER");
        if (m_base.isEmpty())
            QSKIP("FROSTPICK_TEST_SERVER is not set");
        m_uri = m_base + QStringLiteral(" dbname=") + m_name;
        QSqlDatabase maintenance =
            QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("maintenance"));
        maintenance.setDatabaseName(QStringLiteral("postgres"));
        maintenance.setConnectOptions(m_base);
        QVERIFY2(maintenance.open(), qPrintable(maintenance.lastError().text()));
        QVERIFY(onMaintenance(QStringLiteral("CREATE DATABASE ") + m_name));
        QVERIFY(TestDatabases::createSampleReference(path("nv.mdb"), TestDatabases::Storage::Files));
        QVERIFY(DbToolFixture::createHostileOrders(path("order.mdb")));
    }
    void cleanupTestCase()
    {
        if (QSqlDatabase::contains(QStringLiteral("maintenance"))) {
            onMaintenance(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
            onMaintenance(QStringLiteral("DROP ROLE IF EXISTS %1_engineer, %1_admin").arg(m_name));
            QSqlDatabase::database(QStringLiteral("maintenance")).close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("maintenance"));
    }

    void initialisedOnce()
    {
        QCOMPARE(runTool({"copy", path("nv.mdb"), m_uri}).exitCode, 4);
        QCOMPARE(runTool({"init", m_uri}).exitCode, 0);
        QCOMPARE(runTool({"init", m_uri}).exitCode, 3);
    }

    // Through the server and back, every row as it was, bit for bit.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addRow("reference") << "nv.mdb";
        QTest::addRow("orders") << "order.mdb";
    }
    void roundTrip()
    {
        QFETCH(QString, file);
        const QStringList tables = file == QLatin1String("nv.mdb") ? referenceTables() : orderTables();
        QCOMPARE(runTool({"copy", path(file), m_uri}).exitCode, 0);
        QCOMPARE(runTool({"copy", path(file), m_uri}).exitCode, 3);
        QDir().mkdir(path("back"));
        const DbToolFixture::Run back = runTool({"copy", m_uri, path("back/" + file)});
        QVERIFY2(back.exitCode == 0, qPrintable(back.err));
        QCOMPARE(dump(path("back/" + file), tables), dump(path(file), tables));
    }

    void engineersReadTheReferenceOnly()
    {
        const QString engineer = m_name + QStringLiteral("_engineer");
        const QString admin = m_name + QStringLiteral("_admin");
        QVERIFY(onMaintenance(QStringLiteral("CREATE ROLE %1 LOGIN").arg(engineer)));
        QVERIFY(onMaintenance(QStringLiteral("CREATE ROLE %1 LOGIN").arg(admin)));
        QCOMPARE(runTool({"grant", engineer, admin, m_uri}).exitCode, 0);
        struct Write
        {
            QString role;
            QString sql;
            bool allowed;
        };
        const QList<Write> writes{
            {engineer, "INSERT INTO article (s_name) VALUES ('x')", false},
            {engineer, "INSERT INTO contact (name) VALUES ('x')", true},
            {admin, "INSERT INTO article (s_name) VALUES ('x')", true},
        };
        for (const Write& write : writes) {
            auto db =
                Database::open(DatabaseAddress::server(m_uri + QStringLiteral(" user=") + write.role), {});
            QVERIFY(db);
            QueryTable rows;
            QCOMPARE(db->query(QStringLiteral("SELECT COUNT(*) FROM gas"), rows), 1);
            QCOMPARE(db->execute(write.sql), write.allowed);
        }
    }
};

QTEST_GUILESS_MAIN(TestDbToolServer)
#include "test_dbtool_server.moc"
