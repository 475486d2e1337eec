// The programs when the server goes away before, during or after an action:
// the network between them and the test server is a relay that refuses, stalls
// or drops the connections at a chosen request. A read that failed never
// becomes output, a list or a save; the action works again once the network
// is back, without restarting anything.
#include "CalcRun.h"
#include "DataLocation.h"
#include "Functions.h"
#include "ProgramDatabases.h"
#include "RelayedAdminTest.h"
#include "StoreCopy.h"
#include "TestDatabases.h"
#include "frmClsEdit.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

using Fault = FaultRelay::Fault;
Q_DECLARE_METATYPE(FaultRelay::Fault)

// The administrator's fixture, its network to the test server through a relay.
class TestOutage : public RelayedAdminTest
{
    Q_OBJECT

private slots:
    // frostpick-calc: the fault begins at a share of the requests an
    // undisturbed run sends (0: before the run). What is printed is what the
    // undisturbed run prints, up to where the run stopped with exit 1.
    void calcTool_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<double>("at");
        const QStringList all{"--all-orders"}, one{"--order", "2"}, input{"--input", "-"},
            offer{"--offer", "1"};
        QTest::newRow("all, refused before") << all << Fault::Refuse << 0.0;
        QTest::newRow("all, dropped at the first request") << all << Fault::Drop << 0.01;
        QTest::newRow("all, dropped early") << all << Fault::Drop << 0.3;
        QTest::newRow("all, dropped midway") << all << Fault::Drop << 0.6;
        QTest::newRow("all, dropped late") << all << Fault::Drop << 0.9;
        QTest::newRow("all, stalled midway") << all << Fault::Stall << 0.5;
        QTest::newRow("one, refused before") << one << Fault::Refuse << 0.0;
        QTest::newRow("one, dropped early") << one << Fault::Drop << 0.3;
        QTest::newRow("one, dropped late") << one << Fault::Drop << 0.8;
        QTest::newRow("input, dropped early") << input << Fault::Drop << 0.3;
        QTest::newRow("input, dropped late") << input << Fault::Drop << 0.8;
        QTest::newRow("offer, refused before") << offer << Fault::Refuse << 0.0;
        QTest::newRow("offer, dropped early") << offer << Fault::Drop << 0.3;
        QTest::newRow("offer, dropped late") << offer << Fault::Drop << 0.8;
    }
    void calcTool()
    {
        QFETCH(QStringList, args);
        QFETCH(Fault, fault);
        QFETCH(double, at);
        const QTemporaryDir dir;
        QVERIFY(TestDatabases::createSampleFolder(dir.path()) && sampleOffer(dir.path()) &&
                m_relay->divert(dir.path()));
        args = QStringList{"--dir", dir.path()} + args;
        const QByteArray json =
            R"({"xk_length":5,"xk_width":4,"xk_height":3,"xk_temperature":-18,"px_product":5,"px_weight":500,"xo_type1":1})";
        qint64 requests = m_relay->requests();
        const CalcRun undisturbed = CalcRun::of(args, json);
        requests = m_relay->requests() - requests;
        QCOMPARE(undisturbed.exitCode, 0);
        QVERIFY(requests > 3 && !undisturbed.out.isEmpty());

        m_relay->fail(fault, nth(at, requests));
        const CalcRun run = CalcRun::of(args, json);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(undisturbed.out.startsWith(run.out), run.out.constData());
        QVERIFY(run.out.isEmpty() || run.out.endsWith('\n'));
        QVERIFY2(run.err.contains("frostpick-calc: "), run.err.constData());

        m_relay->restore();
        const CalcRun again = CalcRun::of(args, json);
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(again.out, undisturbed.out);
    }

    // Rimehold, its connection through the relay: with the server gone before
    // the action (its connection dropped, new ones refused) or stalled during
    // it, one message; nothing unread shown as an empty list, nothing typed
    // lost. Once the network is back the same action works.
    void administrator_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QStringList>("listed"); // once the network is back
        const QStringList insulation{"Пенопласт"}, fish{"Треска"};
        QTest::newRow("list, gone") << "list" << Fault::Drop << insulation;
        QTest::newRow("groups, gone") << "groups" << Fault::Drop << QStringList{"Говядина"};
        QTest::newRow("products, gone") << "products" << Fault::Drop << fish;
        QTest::newRow("products, stalled") << "products" << Fault::Stall << fish;
        QTest::newRow("edit, gone") << "edit" << Fault::Drop << insulation;
        QTest::newRow("save, gone") << "save" << Fault::Drop << QStringList{"Пенопласт", "Запись"};
        QTest::newRow("save, stalled") << "save" << Fault::Stall << QStringList{"Пенопласт", "Запись"};
        QTest::newRow("delete, gone") << "delete" << Fault::Drop << QStringList();
    }
    void administrator()
    {
        QFETCH(QString, action);
        QFETCH(Fault, fault);
        exec("INSERT INTO article (s_name, s_value, cls_n) VALUES ('Пенопласт', 0.04, 1)");
        exec("INSERT INTO PGroup (text_ru) VALUES ('Мясо'), ('Рыба')");
        exec("INSERT INTO Product (text_ru, fkey) SELECT CASE WHEN text_ru = 'Рыба' THEN 'Треска' ELSE "
             "'Говядина' END, pkey FROM PGroup");
        session().close();
        QVERIFY(m_relay->divert(folder()));
        QVERIFY(session().open(DataLocation::folder(folder())));

        QWidget* window =
            action == "list" || action == "groups" ? nullptr : openList(action == "products" ? "mPr" : "mTI");
        QWidget* editor = action == "save" ? filledEditor(window, "mTI") : nullptr;
        const auto act = [&] {
            if (action == "list" || action == "groups")
                window = openList(action == "list" ? "mTI" : "mPr");
            else if (action == "products")
                window->findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
            else if (action == "edit")
                editor = openEditor<frmClsEdit>(window, "Command5");
            else
                click(action == "save" ? editor : window, action == "save" ? "Command1" : "Command2");
        };
        m_relay->fail(fault);
        m_messages.clear();
        // Whether saved calculations use the entry cannot be counted either:
        // the user is asked plainly, says yes, and the delete fails.
        if (action == "delete")
            m_messages.queueAnswer(MsgAnswer::Yes);
        act();
        QCOMPARE(m_messages.shown().size(), action == "delete" ? 2 : 1);
        // As the wizard tells it: the plain line under the heading, the engine's text in the details.
        const MessageRequest told = m_messages.shown().last();
        QVERIFY2(told.text.section('\n', 1).startsWith(QStringLiteral("Нет связи с сервером")),
                 qPrintable(told.text));
        QVERIFY2(told.details.contains("SQLSTATE 08"), qPrintable(told.details));
        if (action == "delete")
            QVERIFY(m_messages.shown().first().text.startsWith(QStringLiteral("Не удалось проверить")));
        if (action == "list" || action == "groups")
            QVERIFY(!window && !shownEditor<QDialog>());
        if (action == "products") {
            QVERIFY(entries(window, "List1").isEmpty());
            for (const char* button : {"cmbGDelete", "cmbAdd", "cmbEdit", "cmbDelete"})
                QVERIFY2(!window->findChild<QPushButton*>(button)->isEnabled(), button);
        }
        if (action == "edit")
            QVERIFY(!editor);
        if (action == "save")
            QVERIFY(editor->isVisible() && text(editor, "Text1") == "Запись" &&
                    text(editor, "Text3") == "0.5");
        if (action == "delete")
            QCOMPARE(entries(window, "List1"), QStringList{"Пенопласт"});

        m_relay->restore();
        m_messages.clear();
        if (action == "products")
            window->findChild<QComboBox*>("Combo1")->setCurrentIndex(0);
        act();
        QVERIFY2(m_messages.shown().isEmpty(), qPrintable(m_messages.texts().join('|')));
        QTEST(entries(window, "List1"), "listed");
        if (action == "edit")
            QCOMPARE(text(editor, "Text1"), QStringLiteral("Пенопласт"));
        if (action == "save")
            QCOMPARE(rows("SELECT s_value FROM article WHERE s_name = 'Запись'").number(0, 0), 0.5);
    }

    // frostpick-db copy from a file to the server and from the server to a
    // new file, the server reached through the relay, which drops at a share
    // of the requests of an undisturbed copy: exit 1 and the target as it was,
    // or exit 0 and the whole copy; never a part of it.
    void storeCopy_data()
    {
        QTest::addColumn<bool>("toServer");
        QTest::addColumn<double>("at");
        for (double at : {0.0, 0.2, 0.5, 0.8, 0.95}) {
            QTest::addRow("to the server, dropped at %.2f", at) << true << at;
            QTest::addRow("from the server, dropped at %.2f", at) << false << at;
        }
    }
    void storeCopy()
    {
        QFETCH(bool, toServer);
        QFETCH(double, at);
        const QString sample = QDir(folder()).filePath("sample.mdb"),
                      copied = QDir(folder()).filePath("copied.mdb");
        QVERIFY(TestDatabases::createSampleReference(sample, TestDatabases::Storage::Files));
        // The fixture's nv.mdb is an empty store on the server.
        const DatabaseAddress server = TestDatabases::address(QDir(folder()).filePath("nv.mdb"));
        const CopyObserver quiet{[](const QString&) {}, {}};
        CopyOptions replace;
        replace.replace = true;
        QVERIFY(toServer || copyStore(sample, server.database, {}, quiet).ok());
        const QString from = toServer ? sample : m_relay->through(server).database;
        const QString to = toServer ? m_relay->through(server).database : copied;
        const auto articles = [&] {
            const auto db =
                Database::open(toServer ? server : DatabaseAddress::file(copied), {}).valueOr(nullptr);
            QueryTable rows;
            return db && db->query("SELECT COUNT(*) FROM article", rows).valueOr(-1) == 1 ? rows.integer(0, 0)
                                                                                          : -1;
        };
        qint64 requests = m_relay->requests();
        QVERIFY(copyStore(from, to, replace, quiet).ok());
        requests = m_relay->requests() - requests;
        const qint64 whole = articles();
        QVERIFY(whole > 0 && requests > 3 && (toServer || QFile::remove(copied)));

        m_relay->fail(Fault::Drop, nth(at, requests));
        const ToolOutcome outcome = copyStore(from, to, replace, quiet);
        // Past the commit only the check can fail.
        const bool committed = outcome.ok() || outcome.status == StatusCheckFailed;
        QVERIFY2(outcome.status == StatusRefused || (at > 0.5 && committed), qPrintable(outcome.message));
        QCOMPARE(articles(), committed || toServer ? whole : -1);
        QVERIFY(!QFile::exists(copied + ".copying"));
        m_relay->restore();
        QVERIFY(copyStore(from, to, replace, quiet).ok());
        QCOMPARE(articles(), whole);
    }

private:
    // The sample's calculations 3, 1 and 2 as offer 1.
    static bool sampleOffer(const QString& folder)
    {
        const auto orders =
            Database::open(DataLocation::folder(folder).orders(), orderTables()).valueOr(nullptr);
        return orders &&
               orders->execute(QStringLiteral("INSERT INTO offer (contact, name, odate) VALUES (1, 'Склад', "
                                              "'2024-03-05')")) &&
               orders->execute(
                   QStringLiteral("INSERT INTO offer_row (offer, data_pkey, position) VALUES (1, 3, 1), "
                                  "(1, 1, 2), (1, 2, 3)"));
    }

    // The nth request of a run of `requests` at the share at; 0 (at once) for 0.
    static qint64 nth(double at, qint64 requests)
    {
        return at > 0 ? qMax(1, qRound64(at * double(requests))) : 0;
    }
};

QTEST_MAIN(TestOutage)
#include "test_outage.moc"
