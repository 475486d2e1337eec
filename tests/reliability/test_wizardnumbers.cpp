// Hostile numbers in every numeric box of the chamber, product and equipment
// screens: each ends as the box's documented reading in the record, or as a
// refusal with the focus in the box; never a wrapped value, a NaN or an
// infinity in the record.
#include "HostileNumbers.h"
#include "WizardFixture.h"

#include <QtTest>
#include <cmath>

namespace {

// What a box does with its text when "Далее" is clicked. Every box reads
// "," as ".".
enum class Rule {
    Free,        // any reading is taken (no number reads 0)
    Positive,    // a reading of 0 or less is refused
    NotNegative, // a negative reading is refused
    Whole,       // a reading that is not a whole number from min to max is refused
    PositiveWhole,
    Number,      // the text must be a number from min to max
    NumberWhole, // the text must be a number, and whole from min to max
};

struct Box
{
    const char* screen; // the screen it is on
    const char* name;
    Rule rule;
    double CalculationRecord::*real;
    qint16 CalculationRecord::*whole;
    int min = -32768, max = 32767;
};

const Box Boxes[] = {
    {"frmStage3", "Text2", Rule::Positive, &CalculationRecord::xk_length, nullptr},
    {"frmStage3", "Text3", Rule::Positive, &CalculationRecord::xk_width, nullptr},
    {"frmStage3", "Text4", Rule::Positive, &CalculationRecord::xk_height, nullptr},
    {"frmStage3", "Text5", Rule::Whole, nullptr, &CalculationRecord::xk_ceiling, 0},
    {"frmStage3", "Text6", Rule::Whole, nullptr, &CalculationRecord::xk_wall, 0},
    {"frmStage3", "Text7", Rule::Whole, nullptr, &CalculationRecord::xk_floor, 0},
    {"frmStage3", "Text8", Rule::NotNegative, &CalculationRecord::xk_doors, nullptr},
    {"frmStage3", "Text9", Rule::NotNegative, &CalculationRecord::xk_doors_open, nullptr},
    {"frmStage3", "Text1", Rule::Number, &CalculationRecord::xk_temperature, nullptr, -88, 65},
    {"frmStage3", "Text10", Rule::NotNegative, &CalculationRecord::xk_people, nullptr},
    {"frmStage3", "Text11", Rule::Whole, nullptr, &CalculationRecord::xk_heat, 0},
    {"frmStage1", "Text16", Rule::NumberWhole, nullptr, &CalculationRecord::px_start_t},
    {"frmStage1", "Text17", Rule::NumberWhole, nullptr, &CalculationRecord::px_end_t, -32768,
     20}, // the entry
    {"frmStage1", "Text18", Rule::PositiveWhole, nullptr, &CalculationRecord::px_time},
    {"frmStage1", "Text19", Rule::NotNegative, &CalculationRecord::px_weight, nullptr},
    {"frmStage1", "Text20", Rule::NumberWhole, nullptr, &CalculationRecord::px_turnover, 0},
    {"frmStage4", "Text13", Rule::Free, &CalculationRecord::by_temperature, nullptr},
    {"frmStage4", "Text14", Rule::Whole, nullptr, &CalculationRecord::by_moisture, 0, 100},
    {"frmStage4", "Text15", Rule::Free, &CalculationRecord::by_ground, nullptr},
    {"frmStage4", "Text21", Rule::Whole, nullptr, &CalculationRecord::xo_count, 1},
    {"frmStage4", "Text22", Rule::Whole, nullptr, &CalculationRecord::xo_power, -99},
    {"frmStage4", "Text23", Rule::Whole, nullptr, &CalculationRecord::xo_work, 1, 100},
};

// Whether the box takes the text, and the value it then stores.
std::optional<double> expectedValue(const Box& box, const HostileNumber& n)
{
    const std::optional<double> reading = n.readingWithCommas;
    if ((box.rule == Rule::Number || box.rule == Rule::NumberWhole) && !n.localeNumber)
        return std::nullopt;
    const double value = reading.value_or(0.0);
    switch (box.rule) {
    case Rule::Number:
        return value >= box.min && value <= box.max ? std::optional<double>(value) : std::nullopt;
    case Rule::Positive:
        return value > 0 ? std::optional<double>(value) : std::nullopt;
    case Rule::NotNegative:
        return value >= 0 ? std::optional<double>(value) : std::nullopt;
    case Rule::PositiveWhole:
        if (value <= 0)
            return std::nullopt;
        [[fallthrough]];
    case Rule::Whole:
    case Rule::NumberWhole:
        if (!reading || value != std::trunc(value) || value < box.min || value > box.max)
            return std::nullopt;
        return double(qint16(value));
    default:
        return value;
    }
}

// Every double of the record, for the check that none is NaN or infinite.
bool allFinite(const CalculationRecord& r)
{
    for (double v : {r.xk_bulk, r.xk_length, r.xk_width, r.xk_height, r.xk_ceiling_k, r.xk_wall_k,
                     r.xk_floor_k, r.xk_doors, r.xk_doors_open, r.xk_curtain_c, r.xk_temperature, r.xk_people,
                     r.by_temperature, r.by_ground, r.px_weight, r.q_unit_required, r.unit_capacity})
        if (!std::isfinite(v))
            return false;
    return true;
}

} // namespace

class TestWizardNumbers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        f = std::make_unique<WizardFixture>();
        QVERIFY(f->isOpen());
        f->addChamberLists();
        f->addProductLists();
        f->addUnits();
        // A calculation that passes every screen as it stands.
        CalculationRecord& r = f->record;
        r.xk_length = 5;
        r.xk_width = 4;
        r.xk_height = 3;
        r.xk_temperature = -18;
        r.xk_curtain = WizardFixture::NoCurtain;
        r.px_pgroup = WizardFixture::Meat;
        r.px_product = WizardFixture::Beef;
        r.px_packing = WizardFixture::Cardboard;
        r.px_start_t = 20;
        r.px_end_t = -18;
        r.px_time = 24;
        r.px_weight = 2.5;
        r.px_turnover = 10;
        r.xo_type1 = 1;
        r.xo_type2 = 1;
        m_baseline = r;
    }
    void cleanupTestCase() { f.reset(); }
    void hostileNumber_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("number");
        const QList<HostileNumber> numbers = hostileNumbers();
        for (int b = 0; b < int(std::size(Boxes)); ++b)
            for (int n = 0; n < numbers.size(); ++n)
                QTest::addRow("%s %s %s", Boxes[b].screen, Boxes[b].name, numbers.at(n).name) << b << n;
    }
    void hostileNumber()
    {
        QFETCH(int, box);
        QFETCH(int, number);
        const Box& b = Boxes[box];
        const HostileNumber n = hostileNumbers().at(number);

        f->messages.clear();
        f->record = m_baseline;
        const QString screen = QLatin1String(b.screen);
        if (screen == QLatin1String("frmStage3"))
            f->wizard->enterStage3();
        else if (screen == QLatin1String("frmStage1"))
            f->wizard->enterStage1();
        else
            f->wizard->enterStage4();
        QCOMPARE(f->screenName(), screen);
        f->type(QLatin1String(b.name), n.text);
        QLineEdit* edit = f->box(QLatin1String(b.name));
        QCOMPARE(edit->text(), n.text.isNull() ? QString() : n.text);
        f->click(QStringLiteral("cmbNext"));

        const CalculationRecord& r = f->record;
        QVERIFY2(allFinite(r), "a NaN or an infinity reached the record");
        QVERIFY(f->messages.unanswered().isEmpty());
        const std::optional<double> expected = expectedValue(b, n);
        const bool moved = f->screenName() != screen;
        if (expected && moved) {
            const double stored = b.real ? r.*b.real : double(r.*b.whole);
            if (std::fabs(*expected) > 1e15)
                QVERIFY(qFuzzyCompare(stored, *expected));
            else
                QCOMPARE(stored, *expected);
            QVERIFY(f->messages.shown().isEmpty());
            return;
        }
        // The equipment screen computes the load before it moves on; a reading
        // too large for that is refused by the calculation, naming the result.
        if (expected && screen == QLatin1String("frmStage4")) {
            QCOMPARE(f->messages.shown().size(), 1);
            QVERIFY(f->messages.lastText().startsWith(QStringLiteral("Тепловая нагрузка слишком велика")));
            return;
        }
        QVERIFY2(!expected,
                 qPrintable(QStringLiteral("refused although it reads %1").arg(expected.value_or(0))));
        QVERIFY2(!moved, "taken although the box cannot hold it");
        QCOMPARE(f->messages.shown().size(), 1);
        QCOMPARE(f->messages.shown().first().icon, MsgIcon::Exclamation);
        // The refusal puts the focus into the box it is about; an end
        // temperature above the start temperature is reported at the start.
        QWidget* focus = f->focused();
        QVERIFY(focus);
        const bool aboutStart = QLatin1String(b.name) == QLatin1String("Text17") &&
                                focus->objectName() == QLatin1String("Text16") &&
                                f->messages.lastText().startsWith(QStringLiteral("Температура поступления"));
        QVERIFY2(focus == edit || aboutStart,
                 qPrintable(focus->objectName() + QLatin1Char(' ') + f->messages.lastText()));
        // Nothing of a refused box reaches the record.
        if (b.real)
            QCOMPARE(r.*b.real, m_baseline.*b.real);
        else
            QCOMPARE(r.*b.whole, m_baseline.*b.whole);
    }
    // Each dimension is a finite number, but their product is not: the volume
    // box and the record never show an infinite volume, and "Далее" refuses.
    void dimensionsBeyondAnyVolume()
    {
        f->messages.clear();
        f->record = m_baseline;
        f->wizard->enterStage3();
        for (const char* box : {"Text2", "Text3", "Text4"})
            f->type(QLatin1String(box), QStringLiteral("1e200"));
        QVERIFY(std::isfinite(f->record.xk_bulk));
        QVERIFY(
            !f->box(QStringLiteral("tbVolume"))->text().contains(QLatin1String("inf"), Qt::CaseInsensitive));
        f->click(QStringLiteral("cmbNext"));
        QCOMPARE(f->screenName(), QStringLiteral("frmStage3"));
        QVERIFY(allFinite(f->record));
        QCOMPARE(f->messages.shown().size(), 1);
        QCOMPARE(f->messages.shown().first().icon, MsgIcon::Exclamation);
        QCOMPARE(f->focused(), f->box(QStringLiteral("Text2")));
    }

private:
    std::unique_ptr<WizardFixture> f;
    CalculationRecord m_baseline;
};

QTEST_MAIN(TestWizardNumbers)
#include "test_wizardnumbers.moc"
