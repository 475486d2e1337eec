// Every write of the programs when the connection breaks at its COMMIT: cut
// before the server got it (not stored, told as a failure), its answer lost
// after the server stored it (told stored), or lost with the server staying
// away (told unknown; the same action tried again never stores twice). Each
// write stores one token of its attempt, so the tokens count the writes.
#include "DataLocation.h"
#include "DatabaseAccess.h"
#include "Functions.h"
#include "OfferStore.h"
#include "RelayedAdminTest.h"
#include "StoreCopy.h"
#include "StoreExport.h"
#include "StoreImport.h"
#include "TestDatabases.h"
#include "WizardFixture.h"
#include "frmClsEdit.h"

#include <QtTest>

using Fault = FaultRelay::Fault;
Q_DECLARE_METATYPE(FaultRelay::Fault)

namespace {

const QString StoredText = QStringLiteral("Сохранено; связь прервалась после записи.");
const QString UnknownText = QStringLiteral("неизвестно, сохранено ли — проверьте после восстановления связи");

qint64 count(Database& db, const QString& sql)
{
    QueryTable rows;
    return db.query(sql, rows).valueOr(-1) == 1 ? rows.integer(0, 0) : -1;
}

} // namespace

class TestLostCommit : public RelayedAdminTest
{
    Q_OBJECT

    static void faults()
    {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("cut before the commit") << Fault::Cut;
        QTest::newRow("answer lost") << Fault::AnswerLost;
        QTest::newRow("answer lost, server away") << Fault::AnswerLostAway;
    }

    // What the user was told of the first try: one message.
    void checkTold(const QList<MessageRequest>& shown, Fault fault, const QString& failure)
    {
        QCOMPARE(shown.size(), 1);
        const QString& text = shown.first().text;
        if (fault == Fault::AnswerLost) {
            QCOMPARE(text, StoredText);
            QCOMPARE(shown.first().icon, MsgIcon::Information);
            return;
        }
        QVERIFY2(text.contains(fault == Fault::Cut ? failure : UnknownText), qPrintable(text));
        QVERIFY2(!text.contains(fault == Fault::Cut ? UnknownText : failure), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Нет связи с сервером")), qPrintable(text));
    }

private slots:
    void init()
    {
        RelayedAdminTest::init();
        Messages::install(&m_messages); // a wizard's fake, gone, took it away
    }

    // "Сохранить" of a new calculation, tried again from the same screen.
    void wizardSave_data() { faults(); }
    void wizardSave()
    {
        QFETCH(Fault, fault);
        WizardFixture f;
        QVERIFY(f.isOpen() && m_relay->divert(f.folder()));
        QVERIFY(OpenDatabases(f.context, DataLocation::folder(f.folder())));
        Database& orders = *f.context.order_db;
        f.record.NewContact = f.record.NewCalculation = true;
        f.record.contact_organization = QStringLiteral("Бета");
        f.wizard->enterFinish();
        const auto save = [&] {
            f.messages.queueInput(QStringLiteral("заметка"));
            f.click(QStringLiteral("Command3"));
        };
        m_relay->failAtCommit(fault);
        save();
        checkTold(f.messages.shown(), fault, QStringLiteral("Ошибка при сохранении результатов расчета!"));
        QCOMPARE(f.screenName(), fault == Fault::AnswerLost ? "frmStage0" : "frmFinish");
        m_relay->restore();
        QCOMPARE(count(orders, "SELECT COUNT(*) FROM frostpick_write"), fault == Fault::Cut ? 0 : 1);
        if (fault != Fault::AnswerLost) {
            f.messages.clear();
            save();
            QCOMPARE(f.messages.texts(), fault == Fault::Cut ? QStringList() : QStringList{StoredText});
            QCOMPARE(f.screenName(), QStringLiteral("frmStage0"));
        }
        QCOMPARE(count(orders, "SELECT COUNT(*) FROM data"), 1);
        QCOMPARE(count(orders, "SELECT COUNT(*) FROM contact"), 1);
        QCOMPARE(count(orders, "SELECT COUNT(*) FROM frostpick_write"), 1);
    }

    // An offer saved, tried again with the same saving when not known stored:
    // one offer, whose key the window then holds.
    void offerSave_data() { faults(); }
    void offerSave()
    {
        QFETCH(Fault, fault);
        WizardFixture f;
        QVERIFY(f.isOpen() && m_relay->divert(f.folder()));
        QVERIFY(OpenDatabases(f.context, DataLocation::folder(f.folder())));
        Database& orders = *f.context.order_db;
        SavedOffer offer{0, 1, QStringLiteral("Два склада"), QStringLiteral("2024-03-05"), {1, 2}};
        OfferStore::Saving saving;
        m_relay->failAtCommit(fault);
        const bool stored = OfferStore::Save(orders, offer, saving).ok();
        QCOMPARE(stored, fault == Fault::AnswerLost);
        m_relay->restore();
        QVERIFY(stored || OfferStore::Save(orders, offer, saving));
        QCOMPARE(count(orders, "SELECT COUNT(*) FROM offer"), 1);
        QCOMPARE(count(orders, "SELECT COUNT(*) FROM offer_row"), 2);
        QCOMPARE(offer.key, count(orders, "SELECT pkey FROM offer"));
    }

    // Rimehold's edit and delete of an insulation entry, the editor or the
    // list window kept for the second try.
    void administrator_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QStringList>("listed");
        for (const char* action : {"edit", "delete"}) {
            const QStringList listed =
                action == QLatin1String("edit") ? QStringList{"Пенопласт"} : QStringList();
            QTest::addRow("%s, cut before the commit", action) << action << Fault::Cut << listed;
            QTest::addRow("%s, answer lost", action) << action << Fault::AnswerLost << listed;
            QTest::addRow("%s, answer lost, server away", action)
                << action << Fault::AnswerLostAway << listed;
        }
    }
    void administrator()
    {
        QFETCH(QString, action);
        QFETCH(Fault, fault);
        exec("INSERT INTO article (s_name, s_value, cls_n) VALUES ('Пенопласт', 0.04, 1)");
        session().close();
        QVERIFY(m_relay->divert(folder()));
        QVERIFY(session().open(DataLocation::folder(folder())));
        QWidget* window = openList("mTI");
        QWidget* editor = action == "edit" ? openEditor<frmClsEdit>(window, "Command5") : nullptr;
        if (editor)
            type(editor, "Text3", "0.05");
        const auto act = [&] { click(editor ? editor : window, editor ? "Command1" : "Command2"); };
        m_relay->failAtCommit(fault);
        m_messages.clear();
        act();
        checkTold(m_messages.shown(), fault,
                  editor ? QStringLiteral("Произошел сбой при вводе данных")
                         : QStringLiteral("сбой при удалении"));
        m_relay->restore();
        if (fault != Fault::AnswerLost) {
            QCOMPARE(entries(window, "List1"), QStringList{"Пенопласт"});
            QVERIFY(!editor || editor->isVisible());
            m_messages.clear();
            act();
            QCOMPARE(m_messages.texts(), fault == Fault::Cut ? QStringList() : QStringList{StoredText});
        }
        QVERIFY(!editor || !editor->isVisible());
        QTEST(entries(window, "List1"), "listed");
        QCOMPARE(rows("SELECT COUNT(*) FROM frostpick_write").integer(0, 0), 1);
        QCOMPARE(rows("SELECT COUNT(*) FROM article WHERE s_value = 0.05").integer(0, 0),
                 action == "edit" ? 1 : 0);
    }

    // frostpick-db copy and import into the server through the relay: exit
    // 0, refused or unknown as it went; run again, the whole store.
    void storeTool_data()
    {
        QTest::addColumn<bool>("copy");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("status");
        for (bool copy : {true, false}) {
            const char* name = copy ? "copy" : "import";
            QTest::addRow("%s, cut before the commit", name) << copy << Fault::Cut << int(StatusRefused);
            QTest::addRow("%s, answer lost", name) << copy << Fault::AnswerLost << int(StatusOk);
            QTest::addRow("%s, answer lost, server away", name)
                << copy << Fault::AnswerLostAway << int(StatusUnknown);
        }
    }
    void storeTool()
    {
        QFETCH(bool, copy);
        QFETCH(Fault, fault);
        QFETCH(int, status);
        const QString sample = QDir(folder()).filePath("sample.mdb"), csv = QDir(folder()).filePath("csv");
        QVERIFY(TestDatabases::createSampleReference(sample, TestDatabases::Storage::Files));
        QVERIFY(exportStore(sample, csv, [](const QString&) {}).ok());
        const DatabaseAddress server = TestDatabases::address(QDir(folder()).filePath("nv.mdb"));
        const QString through = m_relay->through(server).database;
        QStringList lines;
        const auto run = [&] {
            const auto report = [&](const QString& line) { lines << line; };
            CopyOptions replace;
            replace.replace = true;
            return copy ? copyStore(sample, through, replace, {report, {}})
                        : importStore(csv, through, {true, false}, report);
        };
        const auto db = Database::open(server, {}).valueOr(nullptr);
        QVERIFY(db);
        const auto stored = [&] { return count(*db, "SELECT COUNT(*) FROM article"); };
        const qint64 whole = count(*Database::open(DatabaseAddress::file(sample), {}).valueOr(nullptr),
                                   "SELECT COUNT(*) FROM article");

        m_relay->failAtCommit(fault);
        const ToolOutcome outcome = run();
        QCOMPARE(int(outcome.status), status);
        QCOMPARE(stored(), fault == Fault::Cut ? 0 : whole);
        QCOMPARE(lines.filter("the connection broke after the commit").size(),
                 fault == Fault::AnswerLost ? 1 : 0);
        QCOMPARE(outcome.message.contains("could not be asked again"), fault == Fault::AnswerLostAway);
        m_relay->restore();
        QVERIFY(run().ok());
        QCOMPARE(stored(), whole);
    }

    // A statement the server did not answer in time is cancelled there, not
    // left to complete later.
    void timedOutStatementIsCancelled()
    {
        const DatabaseAddress server = TestDatabases::address(QDir(folder()).filePath("nv.mdb"));
        const auto db = Database::open(server, {}).valueOr(nullptr);
        const auto watcher = Database::open(server, {}).valueOr(nullptr);
        QVERIFY(db && watcher);
        const Result<void> slept = db->execute("SELECT pg_sleep(600)");
        QVERIFY(!slept);
        QVERIFY2(slept.failure().engineText.contains("не ответил"), qPrintable(slept.failure().engineText));
        QTRY_COMPARE_WITH_TIMEOUT(count(*watcher,
                                        "SELECT COUNT(*) FROM pg_stat_activity WHERE state = 'active' "
                                        "AND query LIKE 'SELECT pg_sleep(%'"),
                                  0, 30000);
    }
};

QTEST_MAIN(TestLostCommit)
#include "test_lostcommit.moc"
