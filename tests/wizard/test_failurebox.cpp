#include "DatabaseFailure.h"
#include "FailurePresenter.h"
#include "FakeMessages.h"
#include "ToolExit.h"
#include "WriteAttempt.h"

#include <QtTest>

Q_DECLARE_METATYPE(DatabaseFailure)

// The one box both programs show for a failed store, and the status and line
// both tools end with for it.
class TestFailureBox : public QObject
{
    Q_OBJECT

    static DatabaseFailure refusedInsert()
    {
        DatabaseFailure failure = DatabaseFailure(0x13, QStringLiteral("constraint\nfailed"))
                                      .at(DatabaseAddress::file(QStringLiteral("/data/order.mdb")),
                                          QStringLiteral("INSERT INTO data VALUES(1)"));
        failure.heading = QStringLiteral("Ошибка при сохранении результатов расчета! (13)");
        return failure;
    }

private slots:
    void box_data()
    {
        QTest::addColumn<DatabaseFailure>("failure");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("details");
        const DatabaseFailure refused = refusedInsert();
        const QString advice = refused.advice();
        const QString details = QStringLiteral("INSERT INTO data VALUES(1)\n\nconstraint\nfailed (13)");
        QTest::newRow("the failure's heading")
            << refused << QString() << refused.heading + "\r\n" + advice << details;
        QTest::newRow("the program's heading") << refused << QStringLiteral("Ошибка чтения базы данных")
                                               << "Ошибка чтения базы данных\r\n" + advice << details;
        DatabaseFailure unknown = refused;
        unknown.outcomeUnknown = true;
        QTest::newRow("outcome unknown")
            << unknown << QStringLiteral("Ошибка")
            << WriteAttempt::note(WriteAttempt::Outcome::Unknown) + "\r\n" + advice << details;
        QTest::newRow("the program's own")
            << DatabaseFailure::own(QStringLiteral("Записи больше нет.")) << QStringLiteral("Сбой")
            << QStringLiteral("Сбой\r\nЗаписи больше нет.") << QString();
    }
    void box()
    {
        QFETCH(DatabaseFailure, failure);
        QFETCH(QString, heading);
        QFETCH(QString, text);
        QFETCH(QString, details);
        FakeMessages messages;
        PresentFailure(failure, heading);
        QCOMPARE(messages.shown().size(), 1);
        const MessageRequest& box = messages.shown().first();
        QCOMPARE(box.text, text);
        QCOMPARE(box.details, details);
        QCOMPARE(box.icon, MsgIcon::Exclamation);
        QCOMPARE(box.title, QStringLiteral("Внимание"));
    }
    // A file the program cannot open at start: the engine's number and text,
    // then the box that ends the program; a server's failure is one box.
    void startFailure()
    {
        FakeMessages messages;
        PresentStartFailure(refusedInsert());
        QCOMPARE(messages.texts(),
                 (QStringList{
                     QStringLiteral("13\rconstraint\nfailed"),
                     QStringLiteral("Не найден файл БД\nИзмените настройки и запустите программу вновь")}));
        DatabaseFailure server =
            DatabaseFailure(0x8006, QStringLiteral("no route"))
                .at(DatabaseAddress::server(QStringLiteral("host=dbhost dbname=frostpick")));
        server.notConnected = true;
        server.heading = QStringLiteral("Не удалось открыть базу данных на сервере.");
        PresentStartFailure(server);
        QCOMPARE(messages.lastText(), server.heading + "\r\n" + server.advice());
        QCOMPARE(messages.shown().last().details, QStringLiteral("no route (8006)"));
    }
    void toolExit_data()
    {
        QTest::addColumn<DatabaseFailure>("failure");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("line");
        QTest::newRow("refused") << refusedInsert() << 1 << QStringLiteral("cannot save: constraint failed");
        DatabaseFailure unknown = refusedInsert();
        unknown.outcomeUnknown = true;
        QTest::newRow("unknown") << unknown << 6 << QStringLiteral("cannot save: constraint failed");
        QTest::newRow("own") << DatabaseFailure::own(QStringLiteral("gone")) << 1
                             << QStringLiteral("cannot save: gone");
    }
    void toolExit()
    {
        QFETCH(DatabaseFailure, failure);
        QFETCH(int, status);
        QFETCH(QString, line);
        const ToolExit exit = ToolExitFor(QStringLiteral("cannot save"), failure);
        QCOMPARE(exit.status, status);
        QCOMPARE(exit.line, line);
    }
};

QTEST_MAIN(TestFailureBox)
#include "test_failurebox.moc"
