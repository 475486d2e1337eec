// The programs against a PostgreSQL server: a server that cannot serve ends
// the start with its own message, a password is asked once for both stores,
// and an engineer's role saves calculations but cannot edit reference data.
#include "CalculationRecord.h"
#include "DataLocation.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "FakeMessages.h"
#include "Functions.h"
#include "Orders.h"
#include "ProgramDatabases.h"
#include "QueryTable.h"
#include "ServerSetup.h"
#include "TestDatabases.h"
#include "frmEqEdit.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char Password[] = "Пароль 1'";

QString localPart(const QString& conninfo, const QString& key)
{
    for (const QString& part : conninfo.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (part.startsWith(key + QLatin1Char('=')))
            return part.mid(key.size() + 1);
    return {};
}

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
    // As the server's superuser, outside any store.
    bool onMaintenance(const QString& sql)
    {
        QSqlQuery query(QSqlDatabase::database(QStringLiteral("maintenance")));
        if (!query.exec(sql))
            qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
        return query.isActive();
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
    // The reference editor's save of the first capacity cell of KMN020.
    void editCapacity(double value)
    {
        frmMain main;
        main.show();
        main.findChild<QAction*>(QStringLiteral("mOb"))->trigger();
        QWidget* window = main.listWindow();
        QVERIFY(window);
        auto* types = window->findChild<QComboBox*>(QStringLiteral("Combo1"));
        types->setCurrentIndex(types->findText(QStringLiteral("Моноблок среднетемпературный KM")));
        auto* list = window->findChild<QListWidget*>(QStringLiteral("List1"));
        const QList<QListWidgetItem*> found = list->findItems(QStringLiteral("KMN020"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        list->setCurrentItem(found.first());
        window->findChild<QPushButton*>(QStringLiteral("cmbEdit"))->click();
        frmEqEdit* editor = main.findChild<frmEqEdit*>();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* shown = qobject_cast<frmEqEdit*>(w); shown && shown->isVisible())
                editor = shown;
        QVERIFY(editor);
        editor->findChild<QLineEdit*>(QStringLiteral("Text9"))->setText(QString::number(value));
        editor->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        delete editor;
    }
    QueryTable capacities()
    {
        QueryTable rows;
        auto db = Database::open(DatabaseAddress::server(on(m_socket, m_name, "postgres")), {});
        if (db)
            db->query(QStringLiteral("SELECT pkey, power FROM power ORDER BY pkey"), rows);
        return rows;
    }

private slots:
    void initTestCase()
    {
        // The test server is a service; its host and port are what messages name.
        if (qEnvironmentVariable("FROSTPICK_TEST_SERVER").isEmpty())
            QSKIP("FROSTPICK_TEST_SERVER names no server");
        QFile service(qEnvironmentVariable("PGSERVICEFILE"));
        QVERIFY(service.open(QIODevice::ReadOnly));
        const QString base =
            QString::fromUtf8(service.readAll()).replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QString host = localPart(base, "host"), port = localPart(base, "port");
        m_socket = QStringLiteral("host=%1 port=%2").arg(host, port);
        m_tcp = QStringLiteral("host=127.0.0.1 port=%1").arg(port);
        m_shownSocket = host + QLatin1Char(':') + port;
        m_shownTcp = QStringLiteral("127.0.0.1:") + port;
        QSqlDatabase maintenance =
            QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("maintenance"));
        maintenance.setHostName(host);
        maintenance.setPort(port.toInt());
        maintenance.setUserName(QStringLiteral("postgres"));
        maintenance.setDatabaseName(QStringLiteral("postgres"));
        QVERIFY2(maintenance.open(), qPrintable(maintenance.lastError().text()));

        QVERIFY(onMaintenance(QStringLiteral("CREATE DATABASE ") + m_name));
        QVERIFY(onMaintenance(QStringLiteral("CREATE DATABASE %1_empty").arg(m_name)));
        for (const char* which : {"engineer", "admin"})
            QVERIFY(onMaintenance(QStringLiteral("CREATE ROLE %1 LOGIN").arg(role(which))));
        QVERIFY(onMaintenance(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'")
                                  .arg(role("typist"), QString(Password).replace("'", "''"))));
        const QString store = on(m_socket, m_name, "postgres");
        // Made the way pgtests' switch makes every server store: schema and
        // sample rows in one script.
        QStringList scripts;
        for (const char* file :
             {"server_schema_nv.sql", "sample_nv.sql", "server_schema_order.sql", "sample_order.sql"})
            scripts << TestDatabases::dataFile(QLatin1String(file));
        DbError error;
        QVERIFY2(Database::create(DatabaseAddress::server(store), scripts, &error),
                 qPrintable(error.description));
        for (const char* engineer : {"engineer", "typist"})
            QVERIFY(
                ServerSetup::apply(store, ServerSetup::grantStatements(role(engineer), role("admin"))).ok());
    }
    void cleanupTestCase()
    {
        if (m_socket.isEmpty())
            return;
        for (const QString& database : {m_name, m_name + QStringLiteral("_empty")})
            onMaintenance(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database));
        onMaintenance(
            QStringLiteral("DROP ROLE %1, %2, %3").arg(role("engineer"), role("admin"), role("typist")));
    }

    // Before the password test: a password typed once is tried for every
    // later store of the run.
    void startupFailures_data()
    {
        QTest::addColumn<QString>("conninfo");
        QTest::addColumn<QString>("server");
        QTest::addColumn<int>("passwordPrompts"); // each cancelled
        const QString typist = role("typist");
        QTest::newRow("nobody listens") << on("host=127.0.0.1 port=1", m_name, typist) << "127.0.0.1:1" << 0;
        QTest::newRow("no such database")
            << on(m_socket, m_name + "_absent", "postgres") << m_shownSocket << 0;
        QTest::newRow("password refused")
            << on(m_tcp, m_name, typist) + QStringLiteral(" password=wrong") << m_shownTcp << 0;
        QTest::newRow("no tables") << on(m_socket, m_name + "_empty", "postgres") << m_shownSocket << 0;
        QTest::newRow("password prompt cancelled") << on(m_tcp, m_name, typist) << m_shownTcp << 1;
    }
    void startupFailures()
    {
        QFETCH(QString, conninfo);
        QFETCH(QString, server);
        QFETCH(int, passwordPrompts);
        const QString folder = folderNaming(conninfo);
        const DataLocation at = DataLocation::folder(folder);
        FakeMessages messages;
        for (int i = 0; i < 2 * passwordPrompts; ++i)
            messages.queueInput(std::nullopt);
        auto checkEngineMessage = [&](int status) {
            QCOMPARE(messages.inputPrompts().size(), passwordPrompts);
            QVERIFY(!messages.shown().isEmpty());
            const QString text = messages.shown().first().text;
            QCOMPARE(text.section(QLatin1Char('\r'), 0, 0), QString::number(uint(status), 16).toUpper());
            QVERIFY2(text.contains(server), qPrintable(text));
        };

        CalculationRecord record;
        const int status = OpenDatabases(record, at);
        QVERIFY(status != 0);
        checkEngineMessage(status);
        QCOMPARE(messages.shown().size(), 1);

        // The administrator's start shows what the wizard's does and ends.
        messages.clear();
        QVERIFY(!Functions::Main(at));
        checkEngineMessage(status);
        QCOMPARE(messages.texts().value(1),
                 QStringLiteral("Не найден файл БД\nИзмените настройки и запустите программу вновь"));
        QCOMPARE(messages.shown().size(), 2);

        // The command-line tool asks nobody and ends at once.
        QFile input(m_dir.filePath(QStringLiteral("input.json")));
        QVERIFY(input.open(QIODevice::WriteOnly) && input.write(R"({"xk_temperature": 0})") > 0);
        input.close();
        QProcess tool;
        tool.start(QStringLiteral(CALC_EXE), {"--dir", folder, "--input", input.fileName()});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 1);
        const QString error = QString::fromUtf8(tool.readAllStandardError());
        QVERIFY2(error.contains(server), qPrintable(error));
    }
    void passwordAskedOnceForBothStores()
    {
        FakeMessages messages;
        messages.queueInput(QString::fromUtf8(Password));
        CalculationRecord record;
        QCOMPARE(OpenDatabases(record, DataLocation::folder(folderNaming(on(m_tcp, m_name, role("typist"))))),
                 0);
        QCOMPARE(messages.inputPrompts().size(), 1);
        QVERIFY(messages.inputPrompts().first().contains(m_tcp));
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join('|')));
    }

    void engineerSavesCalculationsOnly()
    {
        const DataLocation at = DataLocation::folder(folderNaming(on(m_socket, m_name, role("engineer"))));
        const QueryTable before = capacities();
        QVERIFY(before.rowCount() > 9);
        {
            FakeMessages messages;
            QCOMPARE(Functions::OpenDatabase(at), 0);
            editCapacity(before.number(0, 1) + 1);
            Functions::CloseDatabase();
            QCOMPARE(messages.shown().size(), 1);
            QVERIFY2(messages.lastText().contains(QStringLiteral("SQLSTATE 42501")),
                     qPrintable(messages.lastText()));
        }
        const QueryTable after = capacities();
        QCOMPARE(after.rowCount(), before.rowCount());
        for (int r = 0; r < before.rowCount(); ++r)
            QCOMPARE(after.number(r, 1), before.number(r, 1));

        FakeMessages messages;
        CalculationRecord record;
        QCOMPARE(OpenDatabases(record, at), 0);
        ApplyStartValues(record);
        record.NewCalculation = record.NewContact = true;
        record.contact_organization = record.onote = QStringLiteral("сохранено инженером");
        QVERIFY2(SaveCalculation(record, QDate(2026, 12, 6)), qPrintable(messages.texts().join('|')));
        QueryTable saved;
        QCOMPARE(record.order_db->query(
                     QStringLiteral("SELECT pkey FROM data WHERE onote = 'сохранено инженером'"), saved),
                 1);
    }
};

QTEST_MAIN(TestServerRoles)
#include "test_serverroles.moc"
