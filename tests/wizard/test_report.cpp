#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "EquipmentChoice.h"
#include "FakeMessages.h"
#include "ReportOutput.h"
#include "TestDatabases.h"

#include <QFontMetricsF>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The PDF pages have a margin of 6.35 mm (18 pt); pdftotext reports points
// from the page's top left corner.
constexpr double MarginPt = 18.0;
double toPt(int twips)
{
    return MarginPt + twips / 20.0;
}

struct Word
{
    int page;
    QString text;
    double x, y, xMax;
};

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QVector<Word> wordsOf(const QString& pdf)
{
    const QString html =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression wordPattern(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"[\\d.]+\">([^<]*)</word>"));
    QVector<Word> words;
    int page = 0;
    for (auto it = wordPattern.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        QString text = m.captured(4);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&"))
            .replace(QStringLiteral("&apos;"), QStringLiteral("'"));
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        words.append(
            {page, text, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble()});
    }
    return words;
}

// The first word printed at (x, y) and its width, from the words' boxes.
bool wordAt(const QVector<Word>& words, int page, int x, int y, QString* text, double* width)
{
    for (const Word& w : words) {
        if (w.page == page && std::abs(w.y - toPt(y)) < 1.0 && std::abs(w.x - toPt(x)) < 1.0) {
            *text = w.text;
            *width = w.xMax - w.x;
            return true;
        }
    }
    return false;
}

// The words of a page whose top left corner lies in the area (points), in
// reading order, one blank apart.
QString textIn(const QVector<Word>& words, int page, const QRectF& area)
{
    QStringList texts;
    for (const Word& w : words)
        if (w.page == page && area.contains(w.x, w.y))
            texts << w.text;
    return texts.join(QLatin1Char(' '));
}

// What is printed on the line from (x, y) in twips up to endX, left to right;
// dot leaders of labels further left begin before x and are not part of it.
// Its first word, if any, must have its top left corner at (x, y): every
// position of the report is a whole number of points.
QString lineAt(const QVector<Word>& words, int page, int x, int y, int endX = 11000)
{
    QVector<Word> line;
    for (const Word& w : words)
        if (w.page == page && std::abs(w.y - toPt(y)) < 3.0 && w.x > toPt(x) - 1.0 && w.x < toPt(endX) - 1.0)
            line << w;
    std::sort(line.begin(), line.end(), [](const Word& a, const Word& b) { return a.x < b.x; });
    QStringList texts;
    for (const Word& w : line)
        texts << w.text;
    if (!line.isEmpty() &&
        (std::abs(line.first().x - toPt(x)) >= 1.0 || std::abs(line.first().y - toPt(y)) >= 1.0))
        return QStringLiteral("<not at %1, %2: %3>").arg(x).arg(y).arg(texts.join(QLatin1Char(' ')));
    return texts.join(QLatin1Char(' '));
}

// Width in points of a word at 11 pt in the report's serif, bold or not.
double widthAt11(const QString& word, bool bold)
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(1100); // large and unhinted: width / 100 is points at 11 pt
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setBold(bold);
    return QFontMetricsF(font).horizontalAdvance(word) / 100.0;
}

int imagesOnPage(const QString& listing, int page)
{
    int count = 0;
    for (const QString& line : listing.split(QLatin1Char('\n'))) {
        const QStringList fields = line.simplified().split(QLatin1Char(' '));
        if (fields.size() > 2 && fields.at(0) == QString::number(page) &&
            fields.at(2) == QLatin1String("image"))
            ++count;
    }
    return count;
}

bool writeJpeg(const QString& path, const QColor& colour)
{
    QImage image(192, 96, QImage::Format_RGB32); // 2 x 1 inch at 96 dpi
    image.fill(colour);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image.save(path, "JPEG", 95);
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    CalculationContext m_context;
    CalculationRecord m_record;
    FakeMessages m_messages;

    // A finished calculation in a 6 x 4 x 3 m chamber at 2 °C with two units
    // of type 1; its pictures lie in the test's picture folder.
    void fillRecord()
    {
        CalculationRecord& r = m_record;
        ApplyStartValues(r);
        r.by_temperature = 32.5;
        r.by_moisture = 75;
        r.by_ground = 20;
        r.px_product_name = QStringLiteral("Яблоки");
        r.px_start_t = 15;
        r.px_end_t = -2;
        r.px_time = 24;
        r.px_weight = 2.5;
        r.px_turnover = 10;
        r.px_packing_name = QStringLiteral("Ящики деревянные");
        r.xk_length = 6;
        r.xk_width = 4;
        r.xk_height = 3;
        r.xk_bulk = 72;
        r.xk_ceiling_name = r.xk_wall_name = r.xk_floor_name = QStringLiteral("Пенополиуретан");
        r.xk_ceiling_k = r.xk_wall_k = r.xk_floor_k = 0.025;
        r.xk_doors = 2;
        r.xk_doors_open = 1.5;
        r.xk_temperature = 2;
        r.xk_curtain_name = QStringLiteral("ПВХ-завеса");
        r.xk_people = 4;
        r.xk_heat = 300;
        r.xo_type1 = 1;
        r.xo_type_name = QStringLiteral("Агрегат моноблочный");
        r.xo_type2 = 2;
        r.xo_gas = QStringLiteral("R404a");
        r.xo_count = 2;
        r.xo_power = 10;
        r.xo_work = 70;
        r.q_ceiling = 30000;
        r.q_walls = 32000;
        r.q_floor = 31000;
        r.q_cooling = 1200;
        r.q_respiration = 35;
        r.q_product = 1235;
        r.q_doors = 700;
        r.q_staff = 400;
        r.q_packing = 50;
        r.q_sources = 300;
        r.q_extra = 1450;
        r.q_total = 6000;
        r.sel_model = QStringLiteral("KMN");
        r.sel_modification = QStringLiteral("060");
        r.unit_capacity = 5000;
        r.verdict.clear();
    }
    QString writeReport(const QString& name)
    {
        const QString folder = m_dir.filePath(name);
        return ReportOutput::WritePdf(m_context, m_record, QDate(2024, 3, 5), folder);
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QVERIFY(m_dir.isValid());
        const QString nv = m_dir.filePath(QStringLiteral("nv.mdb"));
        QVERIFY(TestDatabases::createEmptyReference(nv));
        m_context.ref_db = Database::open(TestDatabases::address(nv), referenceTables()).valueOr(nullptr);
        QVERIFY(m_context.ref_db);
        QVERIFY(m_context.ref_db->execute(
            QStringLiteral("INSERT INTO equipment (Pkey, text_ru, model, picture, scheme) VALUES "
                           "(1, 'Агрегат моноблочный', 'KM', 'mono.jpg', 'mono_s.jpg')")));
        m_context.location = DataLocation::folder(m_dir.path());
        QVERIFY(writeJpeg(m_dir.filePath(QStringLiteral("mono.jpg")), Qt::red));
        QVERIFY(writeJpeg(m_dir.filePath(QStringLiteral("mono_s.jpg")), Qt::blue));
    }
    void init() { fillRecord(); }
    void cleanup() { m_messages.checkSeen(); }

    void firstPageItemsAtTheirPositions()
    {
        struct Item
        {
            int page, x, y, endX;
            const char* text;
        };
        const Item items[] = {
            {1, 2400, 600, 11000, "Московское представительство фирмы 'Norvane S.p.A.'"},
            {1, 2400, 1300, 11000, "Расчет тепловой нагрузки и выбор оборудования"},
            {1, 400, 2000, 11000, "ИСХОДНЫЕ ДАНЫЕ ДЛЯ РАСЧЕТА"},
            {1, 4000, 3100, 5000, "32.5 °C"},
            {1, 4000, 3700, 5000, "75 %"},
            {1, 4000, 4000, 5000, "20 °C"},
            {1, 9000, 2800, 11000, "Яблоки"},
            {1, 9000, 3100, 11000, "15 °C"},
            {1, 9000, 3400, 11000, "-2 °C"},
            {1, 9000, 3700, 11000, "24 час"},
            {1, 9000, 4000, 11000, "2.5 тонн"},
            {1, 9000, 4300, 11000, "10 %"},
            {1, 9000, 4600, 11000, "Ящики деревянные"},
            {1, 4000, 5600, 5500, "72.0 кв.м"},
            {1, 5500, 5600, 11000, "(длина: 6.0 м; ширина: 4.0 м; высота: 3.0м )"},
            {1, 4000, 6200, 11000, "Пенополиуретан, 100 мм, K=0.025 Вт/м/°C"},
            {1, 4000, 6500, 11000, "Пенополиуретан, 100 мм, K=0.025 Вт/м/°C"},
            {1, 4000, 6800, 11000, "Пенополиуретан, 100 мм, K=0.025 Вт/м/°C"},
            {1, 4000, 7100, 5000, "2кв.м"},
            {1, 9000, 7100, 11000, "1.5 час"},
            {1, 4000, 7400, 5000, "2 °C"},
            {1, 7000, 7400, 11000, "ПВХ-завеса"},
            {1, 4000, 7700, 5000, "4 чел/час"},
            {1, 9000, 7700, 11000, "300 Вт"},
            {1, 4000, 8600, 5000, "R404a"},
            {1, 7000, 8600, 11000, "Агрегат моноблочный"},
            {1, 4000, 8900, 5000, "2"},
            {1, 4000, 9200, 5000, "10%"},
            {1, 9000, 9200, 11000, "70%"},
            {1, 400, 9800, 11000, "РЕЗУЛЬТАТ РАСЧЕТА ТЕПЛОВОЙ НАГРУЗКИ: 6000 Вт"},
            {1, 4000, 10100, 11000, "93000 Вт"}, // three diffusion values beyond 16 bits, not wrapped
            {1, 800, 10400, 11000, "( Потолок: 30000 Вт; Стены: 32000 Вт; Пол: 31000 Вт )"},
            {1, 4000, 10700, 11000, "1235 Вт"},
            {1, 800, 11000, 11000,
             "( Охлаждение: 1200 Вт; Заморозка: 0 Вт; Охлаждение замороженного: 0 Вт; Дыхание: 35 Вт )"},
            {1, 4000, 11300, 11000, "1450 Вт"},
            {1, 800, 11600, 11000,
             "( Двери: 700 Вт; Персонал: 400 Вт; Упаковка: 50 Вт; Источники тепла: 300 Вт )"},
            {1, 400, 12600, 11000, "Агрегат моноблочный модель KMN060 в количестве 2 шт."},
            {1, 5000, 13300, 11000, "5000 Вт"},
            {1, 5000, 13600, 11000, "3500 Вт"},
            {1, 5000, 13900, 11000, "7000 Вт"},
            {1, 5000, 14200, 11000, "16.7%"},
            {1, 5000, 14500, 11000, "60.0%"},
            {1, 7000, 15500, 11000, "Дата расчета: 05.03.2024"},
            {2, 2400, 600, 11000, "Московское представительство фирмы 'Norvane S.p.A.'"},
            {2, 2400, 1300, 11000, "Внешний вид и монтажная схема выбранного оборудования"},
        };
        const QVector<Word> words = wordsOf(writeReport(QStringLiteral("items")));
        for (const Item& i : items)
            QCOMPARE(lineAt(words, i.page, i.x, i.y, i.endX), QString::fromUtf8(i.text));
        QCOMPARE(words.last().page, 2);
    }
    // No dot leader runs under the value printed after it on its line.
    void leadersEndBeforeTheirValues()
    {
        const QVector<Word> words = wordsOf(writeReport(QStringLiteral("leaders")));
        static const QRegularExpression leader(QStringLiteral("\\.\\.(.*[^.])?$"));
        int leaders = 0;
        for (const Word& w : words) {
            const QRegularExpressionMatch m = leader.match(w.text);
            if (w.page != 1 || !m.hasMatch())
                continue;
            ++leaders;
            QVERIFY2(m.captured(1).isEmpty(), qPrintable(w.text)); // no value run into the dots
            for (const Word& v : words) {
                if (v.page == 1 && std::abs(v.y - w.y) < 1.0 && v.x > w.x)
                    QVERIFY2(w.xMax <= v.x, qPrintable(w.text + QLatin1String(" over ") + v.text));
            }
        }
        QCOMPARE(leaders, 32);
    }
    // Bold and regular are told apart by the width of the printed words.
    void boldSwitching_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("bold");
        QTest::newRow("item 1") << 1 << 2400 << 1300 << QStringLiteral("Расчет") << true;
        QTest::newRow("item 3") << 1 << 400 << 2500 << QStringLiteral("УСЛОВИЯ") << false;
        QTest::newRow("item 61") << 1 << 400 << 9800 << QStringLiteral("РЕЗУЛЬТАТ") << true;
        QTest::newRow("item 62") << 1 << 400 << 10100 << QStringLiteral("Диффузия") << false;
        QTest::newRow("item 71") << 1 << 400 << 12200 << QStringLiteral("РЕЗУЛЬТАТ") << true;
        QTest::newRow("item 73") << 1 << 400 << 13000 << QStringLiteral("Хладопроизводительность") << false;
        QTest::newRow("page 2 heading") << 2 << 2400 << 1300 << QStringLiteral("Внешний") << true;
    }
    void boldSwitching()
    {
        QFETCH(int, page);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QString, word);
        QFETCH(bool, bold);
        const QString pdf = writeReport(QStringLiteral("bold"));
        QString printed;
        double width = 0;
        QVERIFY(wordAt(wordsOf(pdf), page, x, y, &printed, &width));
        QCOMPARE(printed, word);
        const double expected = widthAt11(word, bold);
        QVERIFY(std::abs(widthAt11(word, !bold) - expected) > 0.03 * expected);
        QVERIFY2(std::abs(width - expected) < 0.015 * expected,
                 qPrintable(QStringLiteral("width %1, expected %2").arg(width).arg(expected)));
    }
    // The picture's top left corner at (800, 2000), the scheme's at
    // (800, 7000), each 2 x 1 inch.
    void picturePositions()
    {
        const QString pdf = writeReport(QStringLiteral("positions"));
        const QString prefix = m_dir.filePath(QStringLiteral("page"));
        run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("72"),
                                         QStringLiteral("-f"), QStringLiteral("2"), QStringLiteral("-l"),
                                         QStringLiteral("2"), QStringLiteral("-singlefile"), pdf, prefix});
        const QImage page(prefix + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        const auto colourAt = [&](double xPt, double yPt) { return QColor(page.pixel(int(xPt), int(yPt))); };
        QVERIFY(colourAt(toPt(800) + 3, toPt(2000) + 3).red() > 200);
        QVERIFY(colourAt(toPt(800) + 141, toPt(2000) + 69).red() > 200);
        QCOMPARE(colourAt(toPt(800) - 3, toPt(2000) - 3), QColor(Qt::white));
        QVERIFY(colourAt(toPt(800) + 3, toPt(7000) + 3).blue() > 200);
        QCOMPARE(colourAt(toPt(800) + 3, toPt(7000) - 3), QColor(Qt::white));
    }
    // With no load the reserve is not printed; with no capacity neither is
    // the run time. Their labels stay. A verdict takes the selection's line.
    void figuresLeftOutAndVerdict()
    {
        m_record.q_total = 0;
        m_record.unit_capacity = 0;
        m_record.verdict =
            QStringLiteral("Выбранные тип оборудования и количество агрегатов не обеспечивают результат "
                           "расчета тепловой нагрузки");
        const QVector<Word> words = wordsOf(writeReport(QStringLiteral("zero")));
        QVERIFY(lineAt(words, 1, 400, 14200).startsWith(QStringLiteral("Запас")));
        QVERIFY(lineAt(words, 1, 400, 14500).startsWith(QStringLiteral("Время")));
        QVERIFY(!lineAt(words, 1, 5000, 14200).contains(QRegularExpression(QStringLiteral("\\d"))));
        QVERIFY(!lineAt(words, 1, 5000, 14500).contains(QRegularExpression(QStringLiteral("\\d"))));
        QCOMPARE(lineAt(words, 1, 5000, 13300), QStringLiteral("0 Вт"));
        QCOMPARE(lineAt(words, 1, 400, 12600), m_record.verdict);
    }
    // Only a stretched calculation prints its warnings, under the figures and
    // left of the date, which keeps its place.
    void warningsAtTheFootOfPageOne()
    {
        const QRectF footArea(toPt(400) - 1, toPt(14800) - 1, 320, 60);
        // Without the diffusion the door-opening formula asks about 3800 W of each of the two units.
        m_record.q_ceiling = m_record.q_walls = m_record.q_floor = 0;
        const QVector<Word> calm = wordsOf(writeReport(QStringLiteral("calm")));
        QCOMPARE(textIn(calm, 1, footArea), QString());
        m_record.xo_count = 1; // 3500 W against 6000 W: run time 120 %, reserve -41.7 %
        const QVector<Word> words = wordsOf(writeReport(QStringLiteral("stretched")));
        const QString foot = textIn(words, 1, footArea);
        QVERIFY2(foot.startsWith(QStringLiteral("Предупреждения: – Компрессор работал бы 120.0% времени")),
                 qPrintable(foot));
        QVERIFY2(foot.contains(QStringLiteral("– Запас производительности -41.7%")), qPrintable(foot));
        QVERIFY2(foot.contains(QStringLiteral("– По формуле открывания дверей нагрузка")), qPrintable(foot));
        QCOMPARE(lineAt(words, 1, 7000, 15500), lineAt(calm, 1, 7000, 15500));
        QCOMPARE(lineAt(words, 1, 5000, 14500), QStringLiteral("120.0%"));
    }
    // A reopened calculation whose type the chamber temperature no longer
    // offers prints that type, as the results screen shows it, with its
    // pictures.
    void typeNoLongerOfferedPrintsAsShown()
    {
        m_record.xk_temperature = -30;
        const QString pdf = writeReport(QStringLiteral("shown"));
        const QVector<Word> words = wordsOf(pdf);
        QCOMPARE(lineAt(words, 1, 7000, 8600), QStringLiteral("Агрегат моноблочный"));
        QCOMPARE(lineAt(words, 1, 400, 12600),
                 QStringLiteral("Агрегат моноблочный модель KMN060 в количестве 2 шт."));
        const QString listing = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        QCOMPARE(imagesOnPage(listing, 2) - imagesOnPage(listing, 1), 2);
    }
    void fileNamesNeverReplaceEarlierReports()
    {
        m_record.contact_organization = QStringLiteral("ООО \"Холод\"/Север");
        const QString folder = m_dir.filePath(QStringLiteral("names"));
        const QString first = ReportOutput::WritePdf(m_context, m_record, QDate(2024, 3, 5), folder);
        const QString second = ReportOutput::WritePdf(m_context, m_record, QDate(2024, 3, 5), folder);
        QCOMPARE(QFileInfo(first).fileName(), QStringLiteral("ООО \"Холод\"_Север 2024-03-05.pdf"));
        QCOMPARE(QFileInfo(second).fileName(), QStringLiteral("ООО \"Холод\"_Север 2024-03-05 (2).pdf"));
        QVERIFY(QFileInfo(first).size() > 1000 && QFileInfo(second).size() > 1000);
    }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
