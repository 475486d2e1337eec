#include "AdminTestBase.h"

#include "frmCLS1.h"
#include "frmCls1Edit.h"
#include "frmMain.h"
#include "frmPrEdit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QTest>

// Product groups and products in the two-level list window.
class TestProducts : public AdminTestBase
{
    Q_OBJECT
private:
    qint64 group(const QString& name)
    {
        return insert(QStringLiteral("INSERT INTO PGroup(text_ru) VALUES ('%1')").arg(name));
    }
    void product(const QString& name, qint64 groupKey)
    {
        exec(QStringLiteral("INSERT INTO Product(text_ru,co,cz,cwr,tko,tnz,td0,td2,td5,td15,fkey) "
                            "VALUES ('%1',0.8,0.4,50,-1,-5,0,0,0,0,%2)")
                 .arg(name)
                 .arg(groupKey));
    }
    static QListWidget* groupList(QWidget* editor)
    {
        return editor->findChild<QListWidget*>(QStringLiteral("List1"));
    }

private slots:
    void firstGroupIsCreatedFromTheMenu()
    {
        QVERIFY(!openList("mPr"));
        frmCls1Edit* editor = shownEditor<frmCls1Edit>();
        QVERIFY(editor);
        QCOMPARE(text(editor, "Label1"), QStringLiteral("Группа продуктов"));
        QVERIFY(!editor->findChild<QLineEdit*>(QStringLiteral("Text2"))->isVisible());
        QVERIFY(!editor->findChild<QLineEdit*>(QStringLiteral("Text3"))->isVisible());
        type(editor, "Text1", QStringLiteral("  "));
        click(editor, "cmbSave");
        QCOMPARE(m_messages.lastText(), QStringLiteral("Ошибка ввода данных!"));
        type(editor, "Text1", QStringLiteral("Мясо"));
        click(editor, "cmbSave");
        QVERIFY(!shownEditor<frmCls1Edit>());
        QCOMPARE(rows(QStringLiteral("SELECT text_ru FROM PGroup")).text(0, 0), QStringLiteral("Мясо"));

        QWidget* window = openList("mPr");
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Продукты"));
        QCOMPARE(entries(window, "Combo1"), QStringList{QStringLiteral("Мясо")});
        QCOMPARE(text(window, "Label2"), QStringLiteral("Наименование продукта из группы"));
    }
    void groupWithProductCannotBeDeleted()
    {
        product(QStringLiteral("Говядина"), group(QStringLiteral("Мясо")));
        QWidget* window = openList("mPr");
        QCOMPARE(entries(window, "List1"), QStringList{QStringLiteral("Говядина")});
        click(window, "cmbGDelete");
        QCOMPARE(m_messages.lastText(), QStringLiteral("Для удаления группы необходимо предварительно\r\n"
                                                       " удалить все записи, входящие в группу!"));
        QCOMPARE(rows(QStringLiteral("SELECT * FROM PGroup")).rowCount(), 1);

        m_messages.queueAnswer(MsgAnswer::Yes);
        click(window, "cmbDelete");
        QCOMPARE(m_messages.lastText(), QStringLiteral("Удалить ?"));
        QCOMPARE(m_messages.shown().last().title, QStringLiteral("Удаление"));
        QCOMPARE(rows(QStringLiteral("SELECT * FROM Product")).rowCount(), 0);
        QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("cmbEdit"))->isEnabled());

        m_messages.clear();
        click(window, "cmbGDelete");
        QVERIFY(m_messages.shown().isEmpty());
        QCOMPARE(rows(QStringLiteral("SELECT * FROM PGroup")).rowCount(), 0);
        QCOMPARE(window->findChild<QComboBox*>(QStringLiteral("Combo1"))->currentIndex(), -1);
    }
    // The window opens on the group first by name (the key decides between
    // two of one name) and lists its products, by name, from one read.
    void firstGroupListed_data()
    {
        QTest::addColumn<QStringList>("groups"); // "group:product,product" in key order
        QTest::addColumn<QStringList>("listed"); // Combo1, then List1 after "|"
        QTest::newRow("by name, not by key") << QStringList{"Рыба:Треска", "Мясо:Свинина,Говядина"}
                                             << QStringList{"Мясо", "Рыба", "|", "Говядина", "Свинина"};
        QTest::newRow("first group empty")
            << QStringList{"Рыба:Треска", "Овощи:"} << QStringList{"Овощи", "Рыба", "|"};
        QTest::newRow("one name, first key") << QStringList{"Мясо:Свинина", "Мясо:Говядина", "Рыба:"}
                                             << QStringList{"Мясо", "Мясо", "Рыба", "|", "Свинина"};
    }
    void firstGroupListed()
    {
        QFETCH(QStringList, groups);
        QFETCH(QStringList, listed);
        for (const QString& g : groups) {
            const qint64 key = group(g.section(':', 0, 0));
            for (const QString& name : g.section(':', 1).split(',', Qt::SkipEmptyParts))
                product(name, key);
        }
        QWidget* window = openList("mPr");
        QCOMPARE(entries(window, "Combo1") + QStringList{"|"} + entries(window, "List1"), listed);
        QCOMPARE(window->findChild<QPushButton*>(QStringLiteral("cmbEdit"))->isEnabled(),
                 !listed.endsWith("|"));
    }
    void productChecks_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("refusal"); // empty: accepted
        // Each box's own number rule is in the hostile-number table; here the
        // editor's message, focus and decimal comma, and the rule between
        // boxes (tnz is -3).
        const QString table = QStringLiteral("Ошибка ввода данных!\r\nТаблица Product, ");
        QTest::newRow("cwr letters") << "Text7" << QString("abc") << table + "столбец «cwr»: не число «abc»";
        QTest::newRow("tko with comma") << "Text8" << QString("-1,5") << QString();
        QTest::newRow("tko at tnz") << "Text8" << QString("-3")
                                    << table +
                                           "столбец «tko»: должно быть больше tnz: заморозка начинается при "
                                           "tko и заканчивается при tnz «-3»";
    }
    void productChecks()
    {
        QFETCH(QString, box);
        QFETCH(QString, value);
        QFETCH(QString, refusal);
        const bool accepted = refusal.isEmpty();
        group(QStringLiteral("Рыба"));
        QWidget* window = openList("mPr");
        frmPrEdit* editor = openEditor<frmPrEdit>(window, "cmbAdd");
        QVERIFY(editor);
        type(editor, "Text2", QStringLiteral("Треска"));
        fillProduct(editor);
        type(editor, box.toLatin1().constData(), value);
        click(editor, "Command1");
        QCOMPARE(rows(QStringLiteral("SELECT * FROM Product")).rowCount(), accepted ? 1 : 0);
        if (accepted) {
            QVERIFY(m_messages.shown().isEmpty());
            QCOMPARE(rows(QStringLiteral("SELECT tko FROM Product")).number(0, 0), -1.5);
        } else {
            QCOMPARE(m_messages.lastText(), refusal);
            QCOMPARE(editor->focusWidget()->objectName(), box);
            QCOMPARE(shownEditor<frmPrEdit>(), editor);
        }
    }
    void addStoresInMarkedGroupInNameOrder()
    {
        group(QStringLiteral("Овощи"));
        const qint64 fruit = group(QStringLiteral("Фрукты"));
        product(QStringLiteral("Яблоки"), fruit);
        QWidget* window = openList("mPr");
        window->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(1);
        frmPrEdit* editor = openEditor<frmPrEdit>(window, "cmbAdd");
        QVERIFY(editor);
        QCOMPARE(groupList(editor)->item(1)->checkState(), Qt::Checked);
        QCOMPARE(groupList(editor)->item(0)->checkState(), Qt::Unchecked);
        QCOMPARE(groupList(editor)->accessibleName(), QStringLiteral("Группа"));
        // A comma in a name is part of the name; an apostrophe is kept as typed.
        type(editor, "Text2", QStringLiteral("Груши 'Дюшес', зимние"));
        fillProduct(editor);
        click(editor, "Command1");
        QVERIFY(m_messages.shown().isEmpty());
        QCOMPARE(entries(window, "List1"),
                 (QStringList{QStringLiteral("Груши 'Дюшес', зимние"), QStringLiteral("Яблоки")}));
        const QueryTable stored = rows(QStringLiteral("SELECT * FROM Product WHERE text_ru LIKE 'Груши%'"));
        QCOMPARE(stored.text(0, 3), QStringLiteral("Груши 'Дюшес', зимние"));
        QCOMPARE(stored.number(0, 4), 0.9);
        QCOMPARE(stored.integer(0, 13), fruit);
    }
    void markingAnotherGroupMovesTheProduct_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("entry"); // 0 the product's own group, 1 the other
        QTest::newRow("box of the other") << "box" << 1;
        QTest::newRow("name of the other") << "click" << 1;
        QTest::newRow("name of its own") << "click" << 0;
        QTest::newRow("space on the other") << "space" << 1;
    }
    void markingAnotherGroupMovesTheProduct()
    {
        QFETCH(QString, how);
        QFETCH(int, entry);
        const qint64 groups[] = {group(QStringLiteral("Мясо")), group(QStringLiteral("Рыба"))};
        product(QStringLiteral("Минтай"), groups[0]);
        QWidget* window = openList("mPr");
        frmPrEdit* editor = openEditor<frmPrEdit>(window, "cmbEdit");
        QVERIFY(editor);
        QCOMPARE(text(editor, "Text2"), QStringLiteral("Минтай"));
        QCOMPARE(text(editor, "Text5"), QStringLiteral("0.8"));
        QListWidget* list = groupList(editor);
        if (how == QLatin1String("box")) {
            list->item(entry)->setCheckState(Qt::Checked);
        } else if (how == QLatin1String("click")) {
            const QRect place = list->visualItemRect(list->item(entry));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              QPoint(place.right() - 10, place.center().y()));
        } else {
            list->setCurrentRow(entry);
            QTest::keyClick(list, Qt::Key_Space);
        }
        QCOMPARE(list->item(1 - entry)->checkState(), Qt::Unchecked);
        click(editor, "Command1");
        QVERIFY(m_messages.shown().isEmpty());
        QCOMPARE(rows(QStringLiteral("SELECT fkey FROM Product")).integer(0, 0), groups[entry]);
        QCOMPARE(entries(window, "List1").size(), 1 - entry);
        window->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(entry);
        QCOMPARE(entries(window, "List1"), QStringList{QStringLiteral("Минтай")});
    }
    void noGroupMarkedIsRefused()
    {
        product(QStringLiteral("Сыр"), group(QStringLiteral("Молочные")));
        QWidget* window = openList("mPr");
        frmPrEdit* editor = openEditor<frmPrEdit>(window, "cmbEdit");
        QVERIFY(editor);
        // A click on the box of the marked group unmarks it.
        QStyleOptionViewItem option;
        option.rect = groupList(editor)->visualItemRect(groupList(editor)->item(0));
        option.features = QStyleOptionViewItem::HasCheckIndicator;
        QTest::mouseClick(
            groupList(editor)->viewport(), Qt::LeftButton, {},
            editor->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option).center());
        QCOMPARE(groupList(editor)->item(0)->checkState(), Qt::Unchecked);
        type(editor, "Text2", QStringLiteral("Сыр твердый"));
        click(editor, "Command1");
        QCOMPARE(shownEditor<frmPrEdit>(), editor);
        QCOMPARE(m_messages.shown().size(), 1);
        QVERIFY(m_messages.lastText().contains(QStringLiteral("группа")));
        QCOMPARE(rows(QStringLiteral("SELECT text_ru FROM Product")).text(0, 0), QStringLiteral("Сыр"));
    }
    void answeringNoDeletesNothing()
    {
        const qint64 key = group(QStringLiteral("Птица"));
        product(QStringLiteral("Гусь"), key);
        product(QStringLiteral("Утка"), key);
        QWidget* window = openList("mPr");
        auto* list = window->findChild<QListWidget*>(QStringLiteral("List1"));
        list->setCurrentRow(1);
        savedCalculations(QStringLiteral("px_product"),
                          rows(QStringLiteral("SELECT pkey FROM Product WHERE text_ru='Утка'")).integer(0, 0),
                          2);
        m_messages.queueAnswer(MsgAnswer::No);
        click(window, "cmbDelete");
        QCOMPARE(m_messages.lastText(),
                 QStringLiteral("«Утка» используется в сохраненных расчетах: 2.\r\nУдалить ?"));
        QCOMPARE(rows(QStringLiteral("SELECT * FROM Product")).rowCount(), 2);
        QCOMPARE(list->currentRow(), 0);
    }
    // Another administrator deletes the product meanwhile: a save or a delete
    // says so and the product list is read again.
    void productGoneMeanwhile()
    {
        const qint64 key = group(QStringLiteral("Птица"));
        product(QStringLiteral("Гусь"), key);
        product(QStringLiteral("Утка"), key);
        QWidget* window = openList("mPr");
        click(window, "cmbEdit");
        exec(QStringLiteral("DELETE FROM Product WHERE text_ru='Гусь'"));
        click(shownEditor<frmPrEdit>(), "Command1");
        QVERIFY(!shownEditor<frmPrEdit>());
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("Произошел сбой при вводе данных !")));
        QCOMPARE(entries(window, "List1"), QStringList{QStringLiteral("Утка")});
        exec(QStringLiteral("DELETE FROM Product"));
        m_messages.queueAnswer(MsgAnswer::Yes);
        click(window, "cmbDelete");
        const QStringList told = m_messages.texts();
        QCOMPARE(told.size(), 3); // the edit's failure, the question, the delete's failure
        QVERIFY(told.at(1).startsWith(QStringLiteral("Удалить ?")));
        QVERIFY(told.at(2).startsWith(QStringLiteral("Произошел сбой при удалении записи!\r\n")));
        QVERIFY(entries(window, "List1").isEmpty());
    }
};

QTEST_MAIN(TestProducts)
#include "test_frmCLS1Products.moc"
