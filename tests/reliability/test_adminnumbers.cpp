// Hostile numbers in every numeric box of the administrator's editors: each
// is stored as its number or refused with the focus in the box and nothing
// stored; never a wrapped value, a NaN or an infinity in the database.
#include "AdminTestBase.h"
#include "HostileNumbers.h"

#include "Functions.h"

#include <QLineEdit>
#include <QtTest>
#include <cmath>

namespace {

enum class Rule { AboveZero, Number, NotNegative, Percent, WholeAboveZero };

struct Box
{
    const char* menu;
    const char* name;
    Rule rule;
    const char* query; // the stored value is column 0 of row `row`
    int row;
};

const Box Boxes[] = {
    {"mTI", "Text3", Rule::AboveZero, "SELECT s_value FROM article", 0},
    {"mZn", "Text3", Rule::Percent, "SELECT c_value FROM curtain", 0},
    {"mUp", "Text3", Rule::NotNegative, "SELECT mass FROM packing", 0},
    {"mUp", "Text2", Rule::NotNegative, "SELECT thermal FROM packing", 0},
    {"mPr", "Text5", Rule::AboveZero, "SELECT co FROM Product", 0},
    {"mPr", "Text6", Rule::AboveZero, "SELECT cz FROM Product", 0},
    {"mPr", "Text7", Rule::AboveZero, "SELECT cwr FROM Product", 0},
    {"mPr", "Text8", Rule::Number, "SELECT tko FROM Product", 0},
    {"mPr", "Text9", Rule::Number, "SELECT tnz FROM Product", 0},
    {"mPr", "Text10", Rule::NotNegative, "SELECT td0 FROM Product", 0},
    {"mPr", "Text11", Rule::NotNegative, "SELECT td2 FROM Product", 0},
    {"mPr", "Text12", Rule::NotNegative, "SELECT td5 FROM Product", 0},
    {"mPr", "Text13", Rule::NotNegative, "SELECT td15 FROM Product", 0},
    {"mOb", "Text2", Rule::WholeAboveZero, "SELECT modification FROM power ORDER BY pkey", 8},
    {"mOb", "Text3", Rule::Number, "SELECT in_t FROM power ORDER BY pkey", 0},
    {"mOb", "Text4", Rule::Number, "SELECT in_t FROM power ORDER BY pkey", 3},
    {"mOb", "Text5", Rule::Number, "SELECT in_t FROM power ORDER BY pkey", 6},
    {"mOb", "Text6", Rule::Number, "SELECT out_t FROM power ORDER BY pkey", 0},
    {"mOb", "Text7", Rule::Number, "SELECT out_t FROM power ORDER BY pkey", 1},
    {"mOb", "Text8", Rule::Number, "SELECT out_t FROM power ORDER BY pkey", 2},
    {"mOb", "Text9", Rule::AboveZero, "SELECT power FROM power ORDER BY pkey", 0},
    {"mOb", "Text10", Rule::AboveZero, "SELECT power FROM power ORDER BY pkey", 1},
    {"mOb", "Text11", Rule::AboveZero, "SELECT power FROM power ORDER BY pkey", 2},
    {"mOb", "Text12", Rule::AboveZero, "SELECT power FROM power ORDER BY pkey", 3},
    {"mOb", "Text13", Rule::AboveZero, "SELECT power FROM power ORDER BY pkey", 4},
    {"mOb", "Text14", Rule::AboveZero, "SELECT power FROM power ORDER BY pkey", 5},
    {"mOb", "Text15", Rule::AboveZero, "SELECT power FROM power ORDER BY pkey", 6},
    {"mOb", "Text16", Rule::AboveZero, "SELECT power FROM power ORDER BY pkey", 7},
    {"mOb", "Text17", Rule::AboveZero, "SELECT power FROM power ORDER BY pkey", 8},
};

std::optional<double> expectedValue(Rule rule, const HostileNumber& n)
{
    if (!n.localeNumber)
        return std::nullopt;
    const double v = *n.readingWithCommas;
    const bool ok = rule == Rule::Number || (rule == Rule::NotNegative && v >= 0) ||
                    (rule == Rule::Percent && v >= 0 && v <= 100) || (rule == Rule::AboveZero && v > 0) ||
                    (rule == Rule::WholeAboveZero && v > 0 && v == std::floor(v));
    return ok ? std::optional<double>(v) : std::nullopt;
}

} // namespace

class TestAdminNumbers : public AdminTestBase
{
    Q_OBJECT

private slots:
    void hostileNumber_data()
    {
        QTest::addColumn<int>("box");
        for (int b = 0; b < int(std::size(Boxes)); ++b)
            QTest::addRow("%s %s", Boxes[b].menu, Boxes[b].name) << b;
    }
    // Each hostile text in turn into the one box, on one database; what a text
    // stored is deleted before the next.
    void hostileNumber()
    {
        QFETCH(int, box);
        const Box& b = Boxes[box];
        QWidget* window = openWindow(QLatin1String(b.menu));
        QVERIFY(window);
        const QString table = QString::fromLatin1(b.query).section(QLatin1Char(' '), 3, 3);
        for (const HostileNumber& n : hostileNumbers()) {
            const QByteArray context = QByteArray(n.name) + " in " + b.name;
            m_messages.clear();
            QWidget* editor = filledEditor(window, b.menu);
            QVERIFY2(editor, context);
            type(editor, b.name, n.text);
            auto* edit = editor->findChild<QLineEdit*>(QLatin1String(b.name));
            QVERIFY2(edit, context);
            click(editor, "Command1");
            QVERIFY2(allStoredFinite(), context + ": a NaN or an infinity reached the database");

            const std::optional<double> expected = expectedValue(b.rule, n);
            const QueryTable stored = rows(QLatin1String(b.query));
            if (expected) {
                QVERIFY2(m_messages.shown().isEmpty(), qPrintable(context + ' ' + m_messages.lastText()));
                QVERIFY2(!editor->isVisible(), context);
                QVERIFY2(stored.rowCount() > b.row, context);
                const double value = stored.number(b.row, 0);
                if (std::fabs(*expected) > 1e15)
                    QVERIFY2(qFuzzyCompare(value, *expected), context);
                else
                    QVERIFY2(value == *expected, qPrintable(context + ' ' + stored.text(b.row, 0)));
                exec(QStringLiteral("DELETE FROM ") + table);
                continue;
            }
            QVERIFY2(stored.rowCount() == 0, context);
            QVERIFY2(m_messages.shown().size() == 1, context);
            QVERIFY2(m_messages.shown().first().icon == MsgIcon::Exclamation, context);
            QVERIFY2(m_messages.lastText().startsWith(QStringLiteral("Ошибка ввода данных!")), context);
            QVERIFY2(editor->isVisible(), context);
            QVERIFY2(editor->focusWidget() == edit, context);
            editor->close();
        }
    }

private:
    // The list window of the box's kind, with a group or a type to add to.
    QWidget* openWindow(const QString& menu)
    {
        if (menu == QLatin1String("mPr"))
            exec(QStringLiteral("INSERT INTO PGroup(text_ru) VALUES ('Мясо')"));
        if (menu == QLatin1String("mOb"))
            exec(QStringLiteral(
                "INSERT INTO equipment(text_ru,model,picture,scheme) VALUES ('Моноблок','KM','','')"));
        return openList(menu.toLatin1().constData());
    }
    // Every number of every table is finite (SQLite would keep an infinity).
    bool allStoredFinite()
    {
        for (const char* table : {"article", "curtain", "packing", "Product", "power"}) {
            const QueryTable t = rows(QStringLiteral("SELECT * FROM ") + QLatin1String(table));
            for (int r = 0; r < t.rowCount(); ++r)
                for (int c = 0; c < t.columnCount(); ++c)
                    if (t.value(r, c).typeId() == QMetaType::Double &&
                        !std::isfinite(t.value(r, c).toDouble()))
                        return false;
        }
        return true;
    }
};

QTEST_MAIN(TestAdminNumbers)
#include "test_adminnumbers.moc"
