// The programs against a PostgreSQL server: a server that cannot serve ends
// the start with its own message, a password is asked once for both stores,
// and an engineer's role saves calculations but cannot edit reference data.
#include "AdminSession.h"
#include "CalcRun.h"
#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DataLocation.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "FailurePresenter.h"
#include "FakeMessages.h"
#include "FaultRelay.h"
#include "Functions.h"
#include "Orders.h"
#include "ProgramDatabases.h"
#include "QueryTable.h"
#include "ServerSetup.h"
#include "ServerStores.h"
#include "TestDatabases.h"
#include "frmCLS1.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char Password[] = "Пароль 1'";

} // namespace

class TestServerRoles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_name = QStringLiteral("frostpick_roles_%1").arg(QCoreApplication::applicationPid());
    QString m_socket; // "host=... port=..." over the trusted socket
    QString m_tcp;    // the same server over 127.0.0.1, where every role needs its password
    QString m_shownSocket, m_shownTcp;

    QString role(const char* which) const { return m_name + QLatin1Char('_') + QLatin1String(which); }
    QString on(const QString& server, const QString& database, const QString& user) const
    {
        return QStringLiteral("%1 dbname=%2 user=%3").arg(server, database, user);
    }
    // A folder whose frostpick.ini names the same database for both stores.
    QString folderNaming(const QString& conninfo)
    {
        const QString folder = m_dir.filePath(QString::number(qHash(conninfo)));
        QDir().mkpath(folder);
        QFile ini(QDir(folder).filePath(QLatin1String(SettingsFileName)));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[database]\nreference=" + conninfo.toUtf8() + "\norders=" + conninfo.toUtf8() + "\n");
        return folder;
    }

private slots:
    void initTestCase()
    {
        // The test server is a service; its host and port are what messages name.
        if (qEnvironmentVariable("FROSTPICK_TEST_SERVER").isEmpty())
            QSKIP("FROSTPICK_TEST_SERVER names no server");
        const QSettings service(qEnvironmentVariable("PGSERVICEFILE"), QSettings::IniFormat);
        const QString host = service.value("frostpick_test/host").toString();
        const QString port = service.value("frostpick_test/port").toString();
        QVERIFY(!host.isEmpty() && !port.isEmpty());
        m_socket = QStringLiteral("host=%1 port=%2").arg(host, port);
        m_tcp = QStringLiteral("host=127.0.0.1 port=%1").arg(port);
        m_shownSocket = host + QLatin1Char(':') + port;
        m_shownTcp = QStringLiteral("127.0.0.1:") + port;

        // Schema and sample rows of both stores in one database, where names
        // the server would give the orders' key counters were taken first.
        QFile taken(m_dir.filePath("taken.sql"));
        QVERIFY(taken.open(QIODevice::WriteOnly) &&
                taken.write("CREATE SEQUENCE contact_pkey_seq; CREATE SEQUENCE data_pkey_seq;") > 0);
        taken.close();
        QStringList scripts{taken.fileName()};
        for (const char* file :
             {"server_schema_nv.sql", "sample_nv.sql", "server_schema_order.sql", "sample_order.sql"})
            scripts << TestDatabases::dataFile(QLatin1String(file));
        QVERIFY(ServerStores::create(m_name, scripts));
        QVERIFY(ServerStores::execute(QStringLiteral("CREATE DATABASE %1_empty").arg(m_name)));
        QVERIFY(ServerStores::create(m_name + QStringLiteral("_nv"),
                                     {TestDatabases::dataFile(QStringLiteral("server_schema_nv.sql"))}));
        QVERIFY(ServerStores::execute(QStringLiteral("CREATE ROLE %1 LOGIN").arg(role("admin"))));
        QVERIFY(ServerStores::execute(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'")
                                          .arg(role("typist"), QString(Password).replace("'", "''"))));
        QVERIFY(ServerSetup::grant(on(m_socket, m_name, "postgres"), role("typist"), role("admin")).ok());
    }
    void cleanupTestCase()
    {
        if (m_socket.isEmpty())
            return;
        ServerStores::drop(m_name);
        ServerStores::drop(m_name + QStringLiteral("_nv"));
        ServerStores::execute(QStringLiteral("DROP DATABASE %1_empty WITH (FORCE)").arg(m_name));
        ServerStores::execute(QStringLiteral("DROP ROLE %1, %2").arg(role("admin"), role("typist")));
    }

    // Before the password test: a password typed once is tried for every
    // later store of the run.
    void startupFailures_data()
    {
        QTest::addColumn<QString>("conninfo");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("advice"); // %1 the server
        QTest::addColumn<QString>("server");
        QTest::addColumn<int>("passwordPrompts"); // each cancelled
        const QString typist = role("typist");
        const QString notOpened = QStringLiteral("Не удалось открыть базу данных на сервере.");
        const QString noLink = QStringLiteral("Нет связи с сервером базы данных %1. Проверьте сеть");
        const QString refusedLogin =
            QStringLiteral("Сервер базы данных %1 не принял имя пользователя или пароль.");
        const QString refusedRequest = QStringLiteral("Сервер базы данных %1 не выполнил запрос.");
        QTest::newRow("nobody listens")
            << on("host=127.0.0.1 port=1", m_name, typist) << notOpened << noLink << "127.0.0.1:1" << 0;
        QTest::newRow("no such database") << on(m_socket, m_name + "_absent", "postgres") << notOpened
                                          << refusedRequest << m_shownSocket << 0;
        QTest::newRow("password refused")
            << on(m_tcp, m_name, typist) + QStringLiteral(" password=wrong")
            << QStringLiteral("Сервер базы данных не принял пароль.") << refusedLogin << m_shownTcp << 1;
        QTest::newRow("no tables") << on(m_socket, m_name + "_empty", "postgres") << notOpened
                                   << refusedRequest << m_shownSocket << 0;
        QTest::newRow("password prompt cancelled")
            << on(m_tcp, m_name, typist) << notOpened << refusedLogin << m_shownTcp << 1;
    }
    void startupFailures()
    {
        QFETCH(QString, conninfo);
        QFETCH(QString, heading);
        QFETCH(QString, advice);
        QFETCH(QString, server);
        QFETCH(int, passwordPrompts);
        const QString folder = folderNaming(conninfo);
        const DataLocation at = DataLocation::folder(folder);
        FakeMessages messages;
        const auto cancelPrompts = [&] {
            for (int i = 0; i < passwordPrompts; ++i)
                messages.queueInput(std::nullopt);
        };
        cancelPrompts();
        // One box as every database failure shows: what failed, the plain
        // line naming the server and what to do, the engine's text under the
        // details; nothing of files.
        auto checkServerMessage = [&] {
            QCOMPARE(messages.inputPrompts().size(), passwordPrompts);
            QCOMPARE(messages.shown().size(), 1);
            const MessageRequest& shown = messages.shown().first();
            QCOMPARE(shown.text.section(QLatin1Char('\r'), 0, 0), heading);
            QVERIFY2(shown.text.section(QLatin1Char('\n'), 1).startsWith(advice.arg(server)),
                     qPrintable(shown.text));
            QVERIFY2(shown.details.contains(QStringLiteral("SQLSTATE")), qPrintable(shown.details));
        };

        CalculationContext context;
        const Result<void> opened = OpenDatabases(context, at, AskPassword);
        QVERIFY(!opened);
        PresentStartFailure(opened.failure());
        checkServerMessage();

        // The administrator's start shows what the wizard's does and ends.
        messages.clear();
        cancelPrompts();
        AdminSession admin;
        QVERIFY(!Functions::Main(admin, at));
        checkServerMessage();

        // The command-line tool asks nobody and ends at once.
        const CalcRun tool =
            CalcRun::of({"--dir", folder, "--input", "-"}, R"({"xk_length":5,"xk_width":4,"xk_height":3})");
        QCOMPARE(tool.exitCode, 1);
        QVERIFY2(tool.err.contains(server.toUtf8()), tool.err.constData());
    }
    // With both stores named in one database, the orders' connection takes
    // the tables the reference connection found there: one without them is
    // still refused at the start.
    void secondStoreCheckedByTheFirstConnection()
    {
        const QString nvOnly = on(m_socket, m_name + QStringLiteral("_nv"), "postgres");
        CalculationContext context;
        const Result<void> opened = OpenDatabases(context, DataLocation::folder(folderNaming(nvOnly)));
        QVERIFY(!opened);
        QVERIFY2(opened.failure().details().contains(QStringLiteral("нет таблицы data (")),
                 qPrintable(opened.failure().details()));
    }
    // A mistyped password is asked again, three tries in all, by the
    // administrator's start as by the wizard's; one typed right is tried for
    // every later store of the run.
    void passwordAskedAgainThenOnceForBothStores()
    {
        const DataLocation at = DataLocation::folder(folderNaming(on(m_tcp, m_name, role("typist"))));
        FakeMessages messages;
        for (const char* typed : {"пароль 1'", "Пароль 1", "Пароль 1''", "wrong", Password})
            messages.queueInput(QString::fromUtf8(typed));
        AdminSession admin;
        QVERIFY(!Functions::Main(admin, at));
        QCOMPARE(messages.inputPrompts().size(), 3);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown().first().text.section(QLatin1Char('\r'), 0, 0),
                 QStringLiteral("Сервер базы данных не принял пароль."));
        CalculationContext context;
        QVERIFY(OpenDatabases(context, at, AskPassword));
        QCOMPARE(messages.inputPrompts().size(), 5);
        QVERIFY(messages.inputPrompts().last().contains(m_tcp));
        // Every prompt after a refused password says so; the first of a store does not.
        QStringList refused;
        for (const QString& prompt : messages.inputPrompts())
            refused << (prompt.startsWith(QStringLiteral("Сервер не принял пароль.\n")) ? "refused"
                                                                                        : "first");
        QCOMPARE(refused, (QStringList{"first", "refused", "refused", "first", "refused"}));
        QCOMPARE(messages.shown().size(), 1);
    }

    // Each request is a round trip on a network. On one database holding
    // both stores, frostpick-calc --all-orders makes a connection for both
    // stores and one for the pages of calculations (the TLS request the
    // server declines, the start-up, the tables each), reads the reference
    // store's columns in one request and its rows in one more, and ends that
    // snapshot without waiting; 600 calculations more than the sample's are
    // still one page. Rimehold reads the product groups with the first
    // group's products at once.
    void fewRequestsOnOneDatabase()
    {
        auto store = Database::open(ServerStores::address(m_name), {}).valueOr(nullptr);
        QVERIFY(store);
        QVERIFY(store->execute(QStringLiteral(
            "INSERT INTO data SELECT (jsonb_populate_record(d, jsonb_build_object('pkey', 30000 + g))).* "
            "FROM data d, generate_series(1, 600) g WHERE d.pkey = (SELECT min(pkey) FROM data)")));
        const auto relay = FaultRelay::toTestServer();
        QVERIFY(relay);
        const QString folder =
            folderNaming(on(QStringLiteral("host=127.0.0.1 port=%1").arg(relay->port()), m_name, "postgres"));
        const auto requestsOf = [&](const std::function<void()>& action) -> qint64 {
            const qint64 before = relay->requests();
            action();
            return relay->settle() ? relay->requests() - before : -1;
        };
        QCOMPARE(requestsOf([&] {
                     QCOMPARE(CalcRun::of({"--dir", folder, "--all-orders"}).exitCode, 0);
                 }),
                 10);
        FakeMessages messages;
        AdminSession admin;
        QCOMPARE(requestsOf([&] { QVERIFY(admin.open(DataLocation::folder(folder))); }), 3);
        frmCLS1 products(admin, Functions::KindProduct);
        QCOMPARE(requestsOf([&] { QVERIFY(products.FillUpperLevel() > 0); }), 1);
    }

    void engineerSavesCalculationsOnly()
    {
        // The typist is an engineer; over the socket no password is asked.
        const QString engineer = on(m_socket, m_name, role("typist"));
        auto reference = Database::open(DatabaseAddress::server(engineer), {}).valueOr(nullptr);
        QVERIFY(reference);
        QueryTable rows;
        QVERIFY(reference->query(QStringLiteral("SELECT pkey FROM power"), rows).valueOr(-1) > 0);
        for (const char* sql : {"UPDATE power SET power = power + 1", "DELETE FROM equipment",
                                "INSERT INTO article (pkey, s_name) VALUES (9999, 'x')"}) {
            const Result<void> refused = reference->execute(QLatin1String(sql));
            const QString why = TestDatabases::whyNot(refused);
            QVERIFY2(!refused && why.contains(QStringLiteral("SQLSTATE 42501")),
                     qPrintable(QLatin1String(sql) + QStringLiteral(": ") + why));
        }

        const DataLocation at = DataLocation::folder(folderNaming(engineer));
        FakeMessages messages;
        CalculationContext context;
        CalculationRecord record;
        QVERIFY(OpenDatabases(context, at));
        ApplyStartValues(record);
        record.NewCalculation = record.NewContact = true;
        record.contact_organization = record.onote = QStringLiteral("сохранено инженером");
        QVERIFY2(SaveCalculation(context, record, QDate(2026, 12, 6)),
                 qPrintable(messages.texts().join('|')));
        QueryTable saved;
        QCOMPARE(
            context.order_db
                ->query(QStringLiteral("SELECT pkey FROM data WHERE onote = 'сохранено инженером'"), saved)
                .valueOr(-1),
            1);
    }
};

QTEST_MAIN(TestServerRoles)
#include "test_serverroles.moc"
