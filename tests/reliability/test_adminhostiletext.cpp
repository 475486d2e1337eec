// Hostile texts in every name and file-name field of the administrator:
// each is stored exactly (names trimmed, file names as typed) and shows again
// in its editor, or a name left blank is refused with a message; no other
// row or column changes.
#include "AdminTestBase.h"
#include "HostileTexts.h"

#include "frmCLS1.h"
#include "frmCls1Edit.h"
#include "frmClsEdit.h"
#include "frmPrEdit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

namespace {

struct Field
{
    const char* name;
    const char* menu;
    const char* add;    // the button that opens its add editor
    const char* box;    // the box typed into
    const char* column; // table.column that stores it
    bool trimmed;       // names are stored trimmed; file names as typed
};

const Field Fields[] = {
    {"material", "mTI", "cmbAdd", "Text1", "article.s_name", true},
    {"curtain", "mZn", "cmbAdd", "Text1", "curtain.text_ru", true},
    {"packing", "mUp", "cmbAdd", "Text1", "packing.text_ru", true},
    {"group", "mPr", "cmbGAdd", "Text1", "PGroup.text_ru", true},
    {"product", "mPr", "cmbAdd", "Text2", "Product.text_ru", true},
    {"type name", "mOb", "cmbGAdd", "Text1", "equipment.text_ru", true},
    {"type model", "mOb", "cmbGAdd", "Text2", "equipment.model", true},
    {"type picture", "mOb", "cmbGAdd", "Text3", "equipment.picture", false},
    {"type scheme", "mOb", "cmbGAdd", "Text4", "equipment.scheme", false},
};

} // namespace

class TestAdminHostileText : public AdminTestBase
{
    Q_OBJECT

private slots:
    void hostileText_data()
    {
        QTest::addColumn<int>("field");
        for (const Field& field : Fields)
            QTest::newRow(field.name) << int(&field - Fields);
    }
    // Every hostile text in turn through the one field, into one database with
    // neighbours in every table.
    void hostileText()
    {
        QFETCH(int, field);
        const Field& f = Fields[field];
        exec(QStringLiteral("INSERT INTO article(s_name,s_value,cls_n) VALUES ('Сосед',0.04,1)"));
        exec(QStringLiteral("INSERT INTO curtain(text_ru,c_value) VALUES ('Сосед',50)"));
        exec(QStringLiteral("INSERT INTO packing(text_ru,mass,thermal) VALUES ('Сосед',10,0.4)"));
        exec(QStringLiteral("INSERT INTO PGroup(text_ru) VALUES ('Сосед')"));
        exec(QStringLiteral("INSERT INTO Product(text_ru,co,cz,cwr,tko,tnz,td0,td2,td5,td15,fkey) "
                            "VALUES ('Сосед',0.7,0.4,50,-1,-2,0,0,0,0,1)"));
        exec(QStringLiteral(
            "INSERT INTO equipment(text_ru,model,picture,scheme) VALUES ('Сосед','KS','s.jpg','t.jpg')"));
        QWidget* window = openList(f.menu);
        QVERIFY(window);
        const QString table = QString::fromLatin1(f.column).section(QLatin1Char('.'), 0, 0);
        const QString column = QString::fromLatin1(f.column).section(QLatin1Char('.'), 1);

        const QStringList texts = HostileTexts::all();
        for (int t = 0; t < texts.size(); ++t) {
            const QString& text = texts.at(t);
            const QByteArray context = QByteArray(f.name) + " text " + QByteArray::number(t);
            m_messages.clear();
            const QStringList before = snapshot();
            QWidget* editor = filledEditor(window, f.menu, f.add);
            QVERIFY2(editor, context);
            type(editor, f.box, text);
            click(editor, editor->findChild<QWidget*>(QStringLiteral("cmbSave")) ? "cmbSave" : "Command1");

            const QString expected = f.trimmed ? text.trimmed() : text;
            const QStringList after = snapshot();
            for (const QString& row : before)
                QVERIFY2(after.contains(row), qPrintable(context + " changed: " + row.left(200)));
            if (f.trimmed && expected.isEmpty()) {
                // A blank name (or model) is refused, naming the rule, in its box.
                QVERIFY2(after.size() == before.size(), context);
                QVERIFY2(m_messages.shown().size() == 1, context);
                QVERIFY2(m_messages.shown().first().icon == MsgIcon::Exclamation, context);
                QVERIFY2(m_messages.lastText().startsWith(QStringLiteral("Ошибка ввода данных!")), context);
                QVERIFY2(editor->isVisible(), context);
                QVERIFY2(editor->focusWidget()->objectName() == QLatin1String(f.box), context);
                editor->close();
                continue;
            }
            QVERIFY2(m_messages.shown().isEmpty(), qPrintable(context + ' ' + m_messages.lastText()));
            QVERIFY2(after.size() == before.size() + 1, context);
            // Keys are numbered upwards, so the new row has the largest.
            const QueryTable newest = rows(
                QStringLiteral("SELECT %1 FROM %2 WHERE pkey=(SELECT MAX(pkey) FROM %2)").arg(column, table));
            QVERIFY2(newest.text(0, 0) == expected, context);
            QVERIFY2(shownAgain(f, expected, window) == expected, context);
        }
    }

private:
    QStringList snapshot()
    {
        return HostileTexts::rowsOf(*session().connection(), {"article", "curtain", "packing", "PGroup",
                                                              "Product", "equipment", "power"});
    }
    // Opens the change editor of the new entry and gives the field's box text.
    QString shownAgain(const Field& field, const QString& stored, QWidget* window)
    {
        const QString menu = QLatin1String(field.menu);
        QWidget* editor = nullptr;
        if (QLatin1String(field.name) == QLatin1String("product")) {
            auto* list = window->findChild<QListWidget*>(QStringLiteral("List1"));
            const auto found = list->findItems(stored, Qt::MatchExactly);
            if (found.size() != 1)
                return QStringLiteral("<not listed once>");
            list->setCurrentItem(found.first());
            editor = openEditor<frmPrEdit>(window, "cmbEdit");
        } else if (menu == QLatin1String("mPr") || menu == QLatin1String("mOb")) {
            // The new entry is appended at the end of the upper list.
            auto* combo = window->findChild<QComboBox*>(QStringLiteral("Combo1"));
            combo->setCurrentIndex(combo->count() - 1);
            editor = openEditor<frmCls1Edit>(window, "cmbGEdit");
        } else {
            auto* list = window->findChild<QListWidget*>(QStringLiteral("List1"));
            list->setCurrentRow(list->count() - 1);
            editor = openEditor<frmClsEdit>(window, "Command5");
        }
        if (!editor)
            return QStringLiteral("<no editor>");
        const QString shown = text(editor, field.box);
        editor->close();
        return shown;
    }
};

QTEST_MAIN(TestAdminHostileText)
#include "test_adminhostiletext.moc"
