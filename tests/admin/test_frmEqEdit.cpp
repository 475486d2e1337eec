#include "AdminTestBase.h"
#include "TestDatabases.h"

#include "frmCLS1.h"
#include "frmEqEdit.h"
#include "frmMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

// Unit models of an equipment type and their three-by-three capacity grid.
class TestCapacityEditor : public AdminTestBase
{
    Q_OBJECT
private:
    qint64 m_type = 0;

    QWidget* openTypes()
    {
        m_type = insert(QStringLiteral("INSERT INTO equipment(text_ru,model,picture,scheme) "
                                       "VALUES ('Моноблок','KMC','kmc.jpg','kmc_scheme.jpg')"));
        return openList("mOb");
    }
    // Adds a model with the defaults, modification and suffix as given.
    void addModel(QWidget* window, const QString& modification, const QString& suffix = QStringLiteral("A"))
    {
        frmEqEdit* editor = openEditor<frmEqEdit>(window, "cmbAdd");
        QVERIFY(editor);
        type(editor, "Text2", modification);
        type(editor, "Text18", suffix);
        click(editor, "Command1");
        QVERIFY(!shownEditor<frmEqEdit>());
    }
    static QString box(int number) { return QStringLiteral("Text%1").arg(number); }

private slots:
    void newModelGivesNineRows()
    {
        QWidget* window = openTypes();
        frmEqEdit* editor = openEditor<frmEqEdit>(window, "cmbAdd");
        QVERIFY(editor);
        QCOMPARE(text(editor, "Text1"), QStringLiteral("Моноблок"));
        QCOMPARE(text(editor, "Label4"), QStringLiteral("KM"));
        QCOMPARE(text(editor, "Text18"), QStringLiteral("A"));
        QCOMPARE(text(editor, "Text2"), QStringLiteral("100"));
        type(editor, "Text2", QStringLiteral("50"));
        click(editor, "Command1");
        QVERIFY(m_messages.shown().isEmpty());

        const QueryTable stored = rows(
            QStringLiteral("SELECT model,modification,in_t,out_t,power,fkey FROM power ORDER BY in_t,out_t"));
        QCOMPARE(stored.rowCount(), 9);
        const int inside[] = {-5, 0, 5};
        const int outside[] = {20, 32, 43};
        for (int k = 0; k < 9; ++k) {
            QCOMPARE(stored.text(k, 0), QStringLiteral("KMA"));
            QCOMPARE(stored.number(k, 1), 50.0);
            QCOMPARE(stored.number(k, 2), double(inside[k / 3]));
            QCOMPARE(stored.number(k, 3), double(outside[k % 3]));
            QCOMPARE(stored.number(k, 4), 1000.0);
            QCOMPARE(stored.integer(k, 5), m_type);
        }
        QCOMPARE(entries(window, "List1"), QStringList{QStringLiteral("KMA050")});
        QVERIFY(window->findChild<QPushButton*>(QStringLiteral("cmbEdit"))->isEnabled());
    }
    void reopeningShowsHeadsAndCellsInPlace()
    {
        QWidget* window = openTypes();
        frmEqEdit* editor = openEditor<frmEqEdit>(window, "cmbAdd");
        const char* const heads[] = {"-7", "0", "4", "25", "32", "40"};
        for (int h = 0; h < 6; ++h)
            type(editor, box(3 + h).toLatin1().constData(), QLatin1String(heads[h]));
        for (int k = 0; k < 9; ++k)
            type(editor, box(9 + k).toLatin1().constData(), QString::number(1000 + 10 * k));
        type(editor, "Text15", QStringLiteral("1250,5"));
        click(editor, "Command1");
        QVERIFY(m_messages.shown().isEmpty());
        QCOMPARE(entries(window, "List1"), QStringList{QStringLiteral("KMA100")});
        // Cell k sits under chamber head k / 3 and beside outside head k % 3.
        QCOMPARE(rows(QStringLiteral("SELECT power FROM power WHERE in_t=-7 AND out_t=40")).number(0, 0),
                 1020.0);
        QCOMPARE(rows(QStringLiteral("SELECT power FROM power WHERE in_t=4 AND out_t=25")).number(0, 0),
                 1250.5);

        editor = openEditor<frmEqEdit>(window, "cmbEdit");
        QVERIFY(editor);
        for (int h = 0; h < 6; ++h)
            QCOMPARE(text(editor, box(3 + h).toLatin1().constData()), QLatin1String(heads[h]));
        for (int k = 0; k < 9; ++k)
            QCOMPARE(text(editor, box(9 + k).toLatin1().constData()),
                     k == 6 ? QStringLiteral("1250.5") : QString::number(1000 + 10 * k));
        QCOMPARE(text(editor, "Text2"), QStringLiteral("100"));
        QCOMPARE(text(editor, "Label4"), QStringLiteral("KM"));
        QCOMPARE(text(editor, "Text18"), QStringLiteral("A"));
    }
    void gridChecks_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        const QString plain = QStringLiteral("Ошибка ввода данных!");
        // Number rules are in the hostile-number table; here each kind of box's message.
        QTest::newRow("modification empty") << 2 << " " << plain;
        QTest::newRow("suffix empty") << 18 << "" << plain;
        const QString table = plain + QStringLiteral("\r\nТаблица power, столбец ");
        QTest::newRow("head letters") << 4 << "abc" << table + "«in_t»: не число «abc»";
        QTest::newRow("row head empty") << 8 << "" << table + "«out_t»: пусто";
        QTest::newRow("capacity zero")
            << 12 << "0" << table + "«power»: должно быть больше 0 и не больше 10000000 «0»";
    }
    void gridChecks()
    {
        QFETCH(int, number);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QWidget* window = openTypes();
        frmEqEdit* editor = openEditor<frmEqEdit>(window, "cmbAdd");
        QVERIFY(editor);
        type(editor, box(number).toLatin1().constData(), value);
        click(editor, "Command1");
        QCOMPARE(m_messages.lastText(), message);
        QCOMPARE(m_messages.shown().last().title, QStringLiteral("Внимание"));
        QCOMPARE(editor->focusWidget()->objectName(), box(number));
        QCOMPARE(shownEditor<frmEqEdit>(), editor);
        QCOMPARE(rows(QStringLiteral("SELECT * FROM power")).rowCount(), 0);
    }
    void suffixChangeRewritesAllRows()
    {
        QWidget* window = openTypes();
        addModel(window, QStringLiteral("50"));
        frmEqEdit* editor = openEditor<frmEqEdit>(window, "cmbEdit");
        QVERIFY(editor);
        type(editor, "Text18", QStringLiteral("B"));
        type(editor, "Text5", QStringLiteral("-2"));
        click(editor, "Command1");
        QVERIFY(m_messages.shown().isEmpty());
        QCOMPARE(rows(QStringLiteral("SELECT * FROM power WHERE model='KMB' AND modification=50")).rowCount(),
                 9);
        QCOMPARE(rows(QStringLiteral("SELECT * FROM power WHERE model='KMA'")).rowCount(), 0);
        QCOMPARE(rows(QStringLiteral("SELECT * FROM power WHERE in_t=-2")).rowCount(), 3);
        QCOMPARE(entries(window, "List1"), QStringList{QStringLiteral("KMB050")});
    }
    void takenModelCodeIsRefused()
    {
        exec(QStringLiteral(
            "INSERT INTO equipment(text_ru,model,picture,scheme) VALUES ('Сплит','KMP','','')"));
        QWidget* window = openTypes();
        addModel(window, QStringLiteral("100"));
        addModel(window, QStringLiteral("50"));
        // The default KMA100 again, on this type and on another type of the series.
        auto* combo = window->findChild<QComboBox*>(QStringLiteral("Combo1"));
        for (int type = 0; type < 2; ++type) {
            combo->setCurrentIndex(type);
            frmEqEdit* editor = openEditor<frmEqEdit>(window, "cmbAdd");
            click(editor, "Command1");
            QCOMPARE(shownEditor<frmEqEdit>(), editor);
            QVERIFY(m_messages.lastText().contains(QStringLiteral("KMA100")));
            editor->close();
        }
        // KMA050 cannot become KMA100, and is saved again as it stands.
        combo->setCurrentIndex(0);
        frmEqEdit* editor = openEditor<frmEqEdit>(window, "cmbEdit");
        type(editor, "Text2", QStringLiteral("100"));
        click(editor, "Command1");
        QCOMPARE(m_messages.shown().size(), 3);
        type(editor, "Text2", QStringLiteral("50"));
        click(editor, "Command1");
        QCOMPARE(m_messages.shown().size(), 3);
        QVERIFY(!shownEditor<frmEqEdit>());
        QCOMPARE(rows(QStringLiteral("SELECT * FROM power")).rowCount(), 18);
    }
    void deletingOneModelKeepsTheOther()
    {
        QWidget* window = openTypes();
        addModel(window, QStringLiteral("50"));
        addModel(window, QStringLiteral("100"));
        QCOMPARE(entries(window, "List1"), (QStringList{QStringLiteral("KMA050"), QStringLiteral("KMA100")}));
        window->findChild<QListWidget*>(QStringLiteral("List1"))->setCurrentRow(0);
        m_messages.queueAnswer(MsgAnswer::Yes);
        click(window, "cmbDelete");
        QCOMPARE(m_messages.lastText(), QStringLiteral("Удалить ?"));
        QCOMPARE(rows(QStringLiteral("SELECT * FROM power WHERE modification=50")).rowCount(), 0);
        QCOMPARE(rows(QStringLiteral("SELECT * FROM power WHERE modification=100")).rowCount(), 9);
        QCOMPARE(entries(window, "List1"), QStringList{QStringLiteral("KMA100")});
    }
    void typeWithModelsCannotBeDeleted()
    {
        QWidget* window = openTypes();
        addModel(window, QStringLiteral("50"));
        click(window, "cmbGDelete");
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("Для удаления группы")));
        QCOMPARE(rows(QStringLiteral("SELECT * FROM equipment")).rowCount(), 1);
        m_messages.queueAnswer(MsgAnswer::Yes);
        click(window, "cmbDelete");
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("Удалить ?")));
        QCOMPARE(rows(QStringLiteral("SELECT * FROM power")).rowCount(), 0);
        savedCalculations(QStringLiteral("xo_type1"), m_type, 1);
        m_messages.queueAnswer(MsgAnswer::Yes);
        click(window, "cmbGDelete");
        QVERIFY(m_messages.lastText().startsWith(
            QStringLiteral("«Моноблок» используется в сохраненных расчетах: 1.")));
        QCOMPARE(rows(QStringLiteral("SELECT * FROM equipment")).rowCount(), 0);
    }
    void failedSaveStoresNothing()
    {
        QWidget* window = openTypes();
        // The database refuses the last of the nine rows.
        for (const QString& statement : TestDatabases::refuseInserts(
                 QStringLiteral("power"), QStringLiteral("NEW.in_t=5 AND NEW.out_t=43")))
            exec(statement);
        frmEqEdit* editor = openEditor<frmEqEdit>(window, "cmbAdd");
        type(editor, "Text9", QStringLiteral("777"));
        click(editor, "Command1");
        QCOMPARE(rows(QStringLiteral("SELECT * FROM power")).rowCount(), 0);
        QCOMPARE(shownEditor<frmEqEdit>(), editor);
        QCOMPARE(text(editor, "Text9"), QStringLiteral("777"));
        QCOMPARE(m_messages.shown().size(), 1);
        QVERIFY(m_messages.shown().last().details.contains(QStringLiteral("refused")));
        QCOMPARE(m_messages.shown().last().icon, MsgIcon::Critical);

        for (const QString& statement : TestDatabases::allowInserts(QStringLiteral("power")))
            exec(statement);
        click(editor, "Command1");
        QCOMPARE(rows(QStringLiteral("SELECT * FROM power")).rowCount(), 9);

        // Rows deleted meanwhile by another administrator: the save changes
        // none of the others and the delete finds nothing; the list is re-read.
        editor = openEditor<frmEqEdit>(window, "cmbEdit");
        exec(QStringLiteral("DELETE FROM power WHERE in_t=5 AND out_t=43"));
        type(editor, "Text9", QStringLiteral("555"));
        click(editor, "Command1");
        QVERIFY(!shownEditor<frmEqEdit>());
        QCOMPARE(m_messages.shown().size(), 2);
        QCOMPARE(rows(QStringLiteral("SELECT * FROM power WHERE power=555")).rowCount(), 0);
        exec(QStringLiteral("DELETE FROM power"));
        m_messages.queueAnswer(MsgAnswer::Yes);
        click(window, "cmbDelete");
        const QStringList told = m_messages.texts();
        QCOMPARE(told.size(), 4); // the two failed saves, the question, the delete's failure
        QVERIFY(told.at(2).startsWith(QStringLiteral("Удалить ?")));
        QVERIFY(told.at(3).startsWith(QStringLiteral("Произошел сбой при удалении записи!\r\n")));
        QVERIFY(entries(window, "List1").isEmpty());
    }
    void setsThatAreNoGridAreNotOpened()
    {
        QWidget* window = openTypes();
        addModel(window, QStringLiteral("50"));
        exec(QStringLiteral("DELETE FROM power WHERE in_t=5 AND out_t=43"));
        click(window, "cmbEdit");
        QVERIFY(!shownEditor<frmEqEdit>());
        QCOMPARE(
            m_messages.lastText(),
            QStringLiteral("У модели KMA 8 строк производительности вместо девяти (три температуры в камере "
                           "на три температуры снаружи).\r\nТакую модель этот редактор открыть не может."));

        // A two-character code is listed and found again exactly, but not opened.
        exec(QStringLiteral("DELETE FROM power"));
        for (int k = 0; k < 9; ++k)
            exec(QStringLiteral("INSERT INTO power(model,modification,in_t,out_t,power,fkey) "
                                "VALUES ('KM',60,%1,%2,900,%3)")
                     .arg(k / 3 * 5)
                     .arg(20 + k % 3)
                     .arg(m_type));
        static_cast<frmCLS1*>(window)->FillEquipment(static_cast<qint32>(m_type));
        window->findChild<QListWidget*>(QStringLiteral("List1"))->setCurrentRow(0);
        QCOMPARE(entries(window, "List1"), QStringList{QStringLiteral("KM060")});
        m_messages.clear();
        click(window, "cmbEdit");
        QVERIFY(!shownEditor<frmEqEdit>());
        QCOMPARE(m_messages.lastText(),
                 QStringLiteral("Код модели \"KM\" должен состоять из трех символов.\r\n"
                                "Такую модель этот редактор открыть не может."));
        m_messages.queueAnswer(MsgAnswer::Yes);
        click(window, "cmbDelete");
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("Удалить")));
        QCOMPARE(rows(QStringLiteral("SELECT * FROM power")).rowCount(), 0);
    }
};

QTEST_MAIN(TestCapacityEditor)
#include "test_frmEqEdit.moc"
