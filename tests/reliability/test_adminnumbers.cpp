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

// The range of a box's column; tko and tnz also keep apart from the other
// (fillProduct: tko -1,5, tnz -3).
struct Range
{
    double low, high;
    bool lowOpen, highOpen, whole;
};
constexpr Range Conductivity{0, 5, true, false, false}, Percent{0, 100, false, false, false},
    ProductHeat{0, 1.2, true, false, false}, FreezingHeat{0, 80, true, false, false},
    Tko{-3, 0, true, false, false}, Tnz{-60, -1.5, false, true, false},
    Respiration{0, 2, false, false, false}, Modification{1, 999, false, false, true},
    Chamber{-60, 30, false, false, false}, Outside{-50, 60, false, false, false},
    Capacity{0, 1e7, true, false, false};

struct Box
{
    const char* menu;
    const char* name;
    Range range;
    const char* query; // the stored value is column 0 of row `row`
    int row;
};

const Box Boxes[] = {
    {"mTI", "Text3", Conductivity, "SELECT s_value FROM article", 0},
    {"mZn", "Text3", Percent, "SELECT c_value FROM curtain", 0},
    {"mUp", "Text3", Percent, "SELECT mass FROM packing", 0},
    {"mUp", "Text2", Percent, "SELECT thermal FROM packing", 0},
    {"mPr", "Text5", ProductHeat, "SELECT co FROM Product", 0},
    {"mPr", "Text6", ProductHeat, "SELECT cz FROM Product", 0},
    {"mPr", "Text7", FreezingHeat, "SELECT cwr FROM Product", 0},
    {"mPr", "Text8", Tko, "SELECT tko FROM Product", 0},
    {"mPr", "Text9", Tnz, "SELECT tnz FROM Product", 0},
    {"mPr", "Text10", Respiration, "SELECT td0 FROM Product", 0},
    {"mPr", "Text11", Respiration, "SELECT td2 FROM Product", 0},
    {"mPr", "Text12", Respiration, "SELECT td5 FROM Product", 0},
    {"mPr", "Text13", Respiration, "SELECT td15 FROM Product", 0},
    {"mOb", "Text2", Modification, "SELECT modification FROM power ORDER BY pkey", 8},
    {"mOb", "Text3", Chamber, "SELECT in_t FROM power ORDER BY pkey", 0},
    {"mOb", "Text4", Chamber, "SELECT in_t FROM power ORDER BY pkey", 3},
    {"mOb", "Text5", Chamber, "SELECT in_t FROM power ORDER BY pkey", 6},
    {"mOb", "Text6", Outside, "SELECT out_t FROM power ORDER BY pkey", 0},
    {"mOb", "Text7", Outside, "SELECT out_t FROM power ORDER BY pkey", 1},
    {"mOb", "Text8", Outside, "SELECT out_t FROM power ORDER BY pkey", 2},
    {"mOb", "Text9", Capacity, "SELECT power FROM power ORDER BY pkey", 0},
    {"mOb", "Text10", Capacity, "SELECT power FROM power ORDER BY pkey", 1},
    {"mOb", "Text11", Capacity, "SELECT power FROM power ORDER BY pkey", 2},
    {"mOb", "Text12", Capacity, "SELECT power FROM power ORDER BY pkey", 3},
    {"mOb", "Text13", Capacity, "SELECT power FROM power ORDER BY pkey", 4},
    {"mOb", "Text14", Capacity, "SELECT power FROM power ORDER BY pkey", 5},
    {"mOb", "Text15", Capacity, "SELECT power FROM power ORDER BY pkey", 6},
    {"mOb", "Text16", Capacity, "SELECT power FROM power ORDER BY pkey", 7},
    {"mOb", "Text17", Capacity, "SELECT power FROM power ORDER BY pkey", 8},
};

std::optional<double> expectedValue(const Range& r, const HostileNumber& n)
{
    if (!n.localeNumber)
        return std::nullopt;
    const double v = *n.readingWithCommas;
    const bool ok = (r.lowOpen ? v > r.low : v >= r.low) && (r.highOpen ? v < r.high : v <= r.high) &&
                    (!r.whole || v == std::floor(v));
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

            const std::optional<double> expected = expectedValue(b.range, n);
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
            // A tnz at or above tko breaks tko's rule, which takes the focus.
            const bool aboveTko = QLatin1String(b.menu) == QLatin1String("mPr") &&
                                  QLatin1String(b.name) == QLatin1String("Text9") && n.localeNumber &&
                                  *n.readingWithCommas >= -1.5 && *n.readingWithCommas <= 0;
            QVERIFY2(editor->focusWidget()->objectName() ==
                         (aboveTko ? QStringLiteral("Text8") : edit->objectName()),
                     context);
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
