#include "AdminTestBase.h"

#include "Functions.h"
#include "TestDatabases.h"
#include "frmCLS.h"
#include "frmClsEdit.h"
#include "frmMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

// The flat list window and its editor: insulation, curtains, packing.
class TestFrmCLS : public AdminTestBase
{
    Q_OBJECT
private:
    QListWidget* list(QWidget* window) { return window->findChild<QListWidget*>(QStringLiteral("List1")); }
    frmClsEdit* add(QWidget* window, const QString& name, const QString& value, const QString& second = {})
    {
        frmClsEdit* editor = openEditor<frmClsEdit>(window, "cmbAdd");
        if (editor) {
            type(editor, "Text1", name);
            type(editor, "Text3", value);
            if (!second.isNull())
                type(editor, "Text2", second);
            click(editor, "Command1");
        }
        return editor;
    }

private slots:
    void addChangeDelete_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("check"); // query giving name and value of the new row
        QTest::newRow("insulation") << "mTI" << QStringLiteral("Теплоизоляция") << "Теплопроводность"
                                    << QStringLiteral("SELECT s_name,s_value,cls_n FROM article");
        QTest::newRow("curtain") << "mZn" << QStringLiteral("Занавесь")
                                 << "Коэффициент уменьшения потерь холода через дверь"
                                 << QStringLiteral("SELECT text_ru,c_value,1 FROM curtain");
        QTest::newRow("packing") << "mUp" << QStringLiteral("Упаковка") << "Теплоемкость тары"
                                 << QStringLiteral("SELECT text_ru,mass,1 FROM packing");
    }
    void addChangeDelete()
    {
        QFETCH(QString, menu);
        QFETCH(QString, caption);
        QFETCH(QString, label);
        QFETCH(QString, check);
        QWidget* window = openList(menu.toLatin1().constData());
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(list(window)->count(), 0);
        QCOMPARE(list(window)->currentRow(), -1);

        frmClsEdit* editor = openEditor<frmClsEdit>(window, "cmbAdd");
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), caption);
        QCOMPARE(text(editor, "Label3"), label);
        QCOMPARE(editor->findChild<QLineEdit*>(QStringLiteral("Text3"))->accessibleName(), label);
        type(editor, "Text1", QStringLiteral("  Пенопласт  "));
        type(editor, "Text3", QStringLiteral("0,035"));
        // Only packing has a second value, the mass of its boxes.
        const bool packing = menu == QLatin1String("mUp");
        QCOMPARE(editor->findChild<QLineEdit*>(QStringLiteral("Text2"))->isVisible(), packing);
        if (packing) {
            QCOMPARE(text(editor, "Label2"), QStringLiteral("Масса тары"));
            type(editor, "Text2", QStringLiteral("2"));
        }
        click(editor, "Command1");
        QVERIFY(!shownEditor<frmClsEdit>());
        QVERIFY(m_messages.shown().isEmpty());

        QCOMPARE(entries(window, "List1"), QStringList{QStringLiteral("Пенопласт")});

        // Change in place; what each kind's statements store is in the list store's test.
        list(window)->setCurrentRow(0);
        editor = openEditor<frmClsEdit>(window, "Command5");
        QVERIFY(editor);
        QCOMPARE(text(editor, "Text1"), QStringLiteral("Пенопласт"));
        QCOMPARE(text(editor, "Text3"), QStringLiteral("0.035"));
        if (packing)
            QCOMPARE(text(editor, "Text2"), QStringLiteral("2"));
        type(editor, "Text1", QStringLiteral("Минвата"));
        type(editor, "Text3", QStringLiteral("0.05"));
        click(editor, "Command1");
        QCOMPARE(rows(check).number(0, 1), 0.05);
        QCOMPARE(entries(window, "List1"), QStringList{QStringLiteral("Минвата")});

        click(window, "Command2");
        QCOMPARE(rows(check).rowCount(), 0);
        QCOMPARE(list(window)->count(), 0);
        QCOMPARE(list(window)->currentRow(), -1);

        // Another administrator deletes the record meanwhile: neither a delete
        // nor a save looks like success, and the list is read again.
        const QString deleteAll = QStringLiteral("DELETE FROM ") + check.section(QLatin1Char(' '), -1);
        add(window, QStringLiteral("Пробка"), QStringLiteral("1"), QStringLiteral("1"));
        list(window)->setCurrentRow(0);
        exec(deleteAll);
        click(window, "Command2");
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("произошел сбой при удалении данных!\r\n")));
        QCOMPARE(list(window)->count(), 0);
        add(window, QStringLiteral("Пробка"), QStringLiteral("1"), QStringLiteral("1"));
        list(window)->setCurrentRow(0);
        click(window, "Command5");
        exec(deleteAll);
        click(shownEditor<frmClsEdit>(), "Command1");
        QVERIFY(!shownEditor<frmClsEdit>());
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("Произошел сбой при вводе данных !")));
        QCOMPARE(m_messages.shown().size(), 2);
        QCOMPARE(list(window)->count(), 0);
    }
    void refusedInput_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString required = QStringLiteral("Ошибка ввода данных! Обязательное заполнение.");
        const QString numeric = QStringLiteral("Ошибка ввода данных! Числовое значение.");
        // Every box's number rule is in the hostile-number table; here the
        // message and the focus of this editor.
        QTest::newRow("blank name") << "   " << QString("1") << required << "Text1";
        const QString rule = numeric + QStringLiteral("\r\nТаблица article, столбец «s_value»: ");
        QTest::newRow("zero") << "Пробка" << QString("0") << rule + "должно быть больше 0 и не больше 5 «0»"
                              << "Text3";
        // Text after the number would otherwise reach the statement unchecked.
        QTest::newRow("number and letters") << "Пробка" << QString("12abc") << rule + "не число «12abc»"
                                            << "Text3";
    }
    void refusedInput()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QWidget* window = openList("mTI");
        frmClsEdit* editor = add(window, name, value);
        QVERIFY(editor);
        QCOMPARE(shownEditor<frmClsEdit>(), editor);
        QCOMPARE(m_messages.shown().size(), 1);
        QCOMPARE(m_messages.shown().first().text, message);
        QCOMPARE(m_messages.shown().first().title, QStringLiteral("Внимание"));
        QCOMPARE(m_messages.shown().first().icon, MsgIcon::Exclamation);
        QCOMPARE(editor->focusWidget()->objectName(), focus);
        QCOMPARE(rows(QStringLiteral("SELECT * FROM article")).rowCount(), 0);
        QCOMPARE(list(window)->count(), 0);
    }
    void deletingWhatSavedCalculationsUse_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("orders"); // closed, open (the wizard runs), damaged or none
        QTest::addColumn<int>("uses");       // -1: cannot be counted
        QTest::newRow("insulation") << "mTI" << QString("xk_floor_stuff") << "closed" << 2;
        QTest::newRow("curtain, wizard running") << "mZn" << QString("xk_curtain") << "open" << 3;
        QTest::newRow("packing") << "mUp" << QString("px_packing") << "closed" << 1;
        QTest::newRow("damaged order.mdb") << "mZn" << QString("xk_curtain") << "damaged" << -1;
        QTest::newRow("no orders store") << "mZn" << QString("xk_curtain") << "none" << 0;
    }
    void deletingWhatSavedCalculationsUse()
    {
        QFETCH(QString, menu);
        QFETCH(QString, column);
        QFETCH(QString, orders);
        QFETCH(int, uses);
        const bool onFiles = TestDatabases::storage() == TestDatabases::Storage::Files;
        QWidget* window = openList(menu.toLatin1().constData());
        add(window, QStringLiteral("Пробка"), QStringLiteral("1"), QStringLiteral("1"));
        add(window, QStringLiteral("Войлок"), QStringLiteral("1"), QStringLiteral("1"));
        const qint64 key = list(window)->item(0)->data(Qt::UserRole).toLongLong();
        std::unique_ptr<Database> open = savedCalculations(column, key, uses);
        savedCalculations(column, key + 1, 1);
        // On a server, a store whose table cannot be counted and one never set up.
        if (!onFiles && orders == QLatin1String("damaged"))
            QVERIFY(open->execute(QStringLiteral("ALTER TABLE data RENAME COLUMN %1 TO unread").arg(column)));
        if (!onFiles && orders == QLatin1String("none"))
            QVERIFY(open->execute(QStringLiteral("DROP TABLE data CASCADE")));
        if (orders != QLatin1String("open"))
            open.reset();
        QFile file(QDir(folder()).filePath(QStringLiteral("order.mdb")));
        if (onFiles && orders == QLatin1String("damaged"))
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a database") > 0);
        if (onFiles && orders == QLatin1String("none"))
            QVERIFY(file.remove());
        list(window)->setCurrentRow(0);
        if (uses != 0) {
            m_messages.queueAnswer(MsgAnswer::No);
            click(window, "Command2");
            QCOMPARE(m_messages.lastText(),
                     uses > 0
                         ? QStringLiteral("«Пробка» используется в сохраненных расчетах: %1.\r\nУдалить ?")
                               .arg(uses)
                         : QStringLiteral("Не удалось проверить, используется ли «Пробка» в сохраненных "
                                          "расчетах.\r\nУдалить ?"));
            QCOMPARE(list(window)->count(), 2);
            m_messages.queueAnswer(MsgAnswer::Yes);
        }
        click(window, "Command2");
        QCOMPARE(entries(window, "List1"), QStringList{QStringLiteral("Войлок")});
        QCOMPARE(m_messages.shown().size(), uses != 0 ? 2 : 0);
        // Looking into order.mdb left nothing beside it.
        if (onFiles)
            QCOMPARE(QFile::exists(QDir(folder()).filePath(QStringLiteral("order.mdb-shm"))),
                     orders == "open");
    }
    void deleteSelectsThePreviousEntry()
    {
        for (const char* name : {"Б", "В", "Г"})
            exec(QStringLiteral("INSERT INTO curtain(text_ru,c_value) VALUES ('%1',10)")
                     .arg(QString::fromUtf8(name)));
        QWidget* window = openList("mZn");
        QCOMPARE(list(window)->currentRow(), 0);
        list(window)->setCurrentRow(2);
        click(window, "Command2");
        QCOMPARE(list(window)->currentItem()->text(), QStringLiteral("В"));
        list(window)->setCurrentRow(0);
        click(window, "Command2");
        QCOMPARE(list(window)->currentItem()->text(), QStringLiteral("В"));
        QCOMPARE(rows(QStringLiteral("SELECT text_ru FROM curtain")).rowCount(), 1);
        QVERIFY(m_messages.shown().isEmpty());
    }
    void menuGreyedWhileListOpen()
    {
        const char* const items[] = {"mTI", "mZn", "mPr", "mUp", "mOb"};
        auto action = [this](const char* name) {
            return mainWindow()->findChild<QAction*>(QLatin1String(name));
        };
        QWidget* window = openList("mUp");
        QVERIFY(window);
        for (const char* item : items)
            QVERIFY2(!action(item)->isEnabled(), item);
        QVERIFY(action("mExit")->isEnabled());
        click(window, "Command4");
        for (const char* item : items)
            QTRY_VERIFY2(action(item)->isEnabled(), item);
        QTRY_VERIFY(!mainWindow()->listWindow());
        QVERIFY(openList("mTI"));
    }
    void keysBeyond16BitsAreRefused()
    {
        exec(QStringLiteral("INSERT INTO packing(Pkey,text_ru,mass,thermal) VALUES (32767,'Мешок',1,1)"));
        QWidget* window = openList("mUp");
        // The next key would be 32768: the insert is undone and reported.
        add(window, QStringLiteral("Ящик"), QStringLiteral("1"), QStringLiteral("1"));
        QVERIFY(shownEditor<frmClsEdit>());
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("Произошел сбой при вводе данных !\r")));
        QVERIFY(m_messages.lastText().contains(QStringLiteral("32767")));
        QCOMPARE(rows(QStringLiteral("SELECT * FROM packing")).rowCount(), 1);
        shownEditor<frmClsEdit>()->close();

        // A row with such a key (written by some other tool) is not cut down to
        // another record's key.
        exec(QStringLiteral("INSERT INTO curtain(Pkey,text_ru,c_value) VALUES (98305,'Чужая',1)"));
        exec(QStringLiteral("INSERT INTO curtain(Pkey,text_ru,c_value) VALUES (1,'Своя',1)"));
        click(window, "Command4");
        QTRY_VERIFY(!mainWindow()->listWindow());
        window = openList("mZn");
        list(window)->setCurrentRow(
            static_cast<int>(entries(window, "List1").indexOf(QStringLiteral("Чужая"))));
        m_messages.clear();
        click(window, "Command2");
        QCOMPARE(m_messages.shown().size(), 1);
        QCOMPARE(m_messages.shown().first().icon, MsgIcon::Critical);
        QCOMPARE(rows(QStringLiteral("SELECT * FROM curtain")).rowCount(), 2);
    }
};

QTEST_MAIN(TestFrmCLS)
#include "test_frmCLS.moc"
