// The sample databases are what a new installation starts with: every
// equipment choice the wizard can make must find a complete capacity table,
// and every saved calculation must point at rows that exist.
#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "CalculationTrace.h"
#include "Database.h"
#include "OfferedTypes.h"
#include "QueryTable.h"
#include "Selection.h"
#include "TestDatabases.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList kSeries = {QStringLiteral("KM"),  QStringLiteral("KS"),  QStringLiteral("KMC"),
                             QStringLiteral("KSC"), QStringLiteral("KMP"), QStringLiteral("KSP")};
const QList<int> kOutside = {20, 32, 43};
// Temperatures in the range of each letter rule, and on both sides of the
// limits of the wizard's equipment list.
const QList<double> kRuleTemperatures = {10, 0, -15, -26, -30};

// The chamber temperatures the selection reads the capacities of the record's
// model code at, as its trace records them.
QList<int> ratedTemperatures(CalculationContext& context, CalculationRecord r)
{
    r.trace = std::make_shared<CalculationTrace>();
    SelectUnit(context, r);
    const CapacityReading q = r.trace->trials.value(0).readings[0];
    return {int(q.rated[0]), int(q.rated[1]), int(q.rated[2])};
}

QString picturesDir()
{
    return TestDatabases::dataFile(QStringLiteral("pictures"));
}

bool isJpegFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(3) == QByteArray("\xFF\xD8\xFF", 3) && file.size() > 2000 && file.size() < 100000;
}

} // namespace

class TestSampleData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        const QString nv = m_dir->filePath(QStringLiteral("nv.mdb"));
        const QString order = m_dir->filePath(QStringLiteral("order.mdb"));
        QVERIFY(TestDatabases::createSampleReference(nv));
        QVERIFY(TestDatabases::createSampleOrders(order));
        m_ref = Database::open(TestDatabases::address(nv), {QStringLiteral("power")}).valueOr(nullptr);
        m_orders = Database::open(TestDatabases::address(order), {QStringLiteral("data")}).valueOr(nullptr);
        QVERIFY(m_ref && m_orders);
        m_context.ref_db = m_ref;
        const QueryTable types = rows(*m_ref, QStringLiteral("SELECT model, pkey FROM equipment"));
        for (int r = 0; r < types.rowCount(); ++r)
            m_typeKey.insert(types.text(r, 0), qint16(types.integer(r, 1)));
    }

    void everyModelTheSelectionFormsHasItsRows()
    {
        // Rows hold the temperatures of the coldest class a code is formed for
        // where its type is offered (packaged units serve several classes).
        QMap<QString, CalculationRecord> home;
        QMap<QString, QSet<QString>> seriesOf;
        for (const QString& series : kSeries)
            for (bool r22 : {true, false})
                for (double t : kRuleTemperatures)
                    if (IsOffered(series, t)) {
                        const CalculationRecord m = selected(series, r22, t);
                        if (!home.contains(m.xo_series) || m.t_class > home[m.xo_series].t_class)
                            home[m.xo_series] = m;
                        seriesOf[m.xo_series].insert(series);
                    }
        QCOMPARE(home.size(), 20); // KM and KS: H A M N B K C X P Q each

        const QueryTable stored =
            rows(*m_ref, QStringLiteral("SELECT DISTINCT p.model, e.model FROM power p LEFT JOIN "
                                        "equipment e ON e.pkey = p.fkey"));
        QSet<QString> storedCodes;
        for (int r = 0; r < stored.rowCount(); ++r) {
            storedCodes.insert(stored.text(r, 0));
            QVERIFY2(seriesOf.value(stored.text(r, 0)).contains(stored.text(r, 1)),
                     qPrintable(stored.text(r, 0) + " belongs to " + stored.text(r, 1)));
        }
        QCOMPARE(storedCodes, QSet<QString>(home.keyBegin(), home.keyEnd()));

        for (auto it = home.cbegin(); it != home.cend(); ++it) {
            const QueryTable t = powerRows(it.key());
            const QList<int> rated = ratedTemperatures(m_context, it.value());
            QCOMPARE(t.rowCount() % 9, 0);
            const int modifications = t.rowCount() / 9;
            QVERIFY2(modifications >= 4 && modifications <= 8, qPrintable(it.key()));
            bool twoDigit = false;
            for (int row = 0; row < t.rowCount(); ++row) {
                twoDigit |= t.integer(row, 0) >= 10 && t.integer(row, 0) < 100;
                // each modification's nine rows, by out_t then rising in_t
                QCOMPARE(t.integer(row, 0), t.integer(row - row % 9, 0));
                QCOMPARE(int(t.integer(row, 2)), kOutside.at(row % 9 / 3));
                QCOMPARE(int(t.integer(row, 1)), rated.at(row % 3));
            }
            QVERIFY(twoDigit);
        }
    }
    void capacitiesBehaveLikeRealUnits()
    {
        const QueryTable codes = rows(*m_ref, QStringLiteral("SELECT DISTINCT model FROM power"));
        QVERIFY(codes.rowCount() > 0);
        for (int c = 0; c < codes.rowCount(); ++c) {
            const QString code = codes.text(c, 0);
            const QueryTable t = powerRows(code);
            // cells: modification m, outside o, chamber i at row m*9 + o*3 + i
            for (int row = 0; row < t.rowCount(); ++row) {
                const double power = t.number(row, 3);
                QVERIFY2(power > 0, qPrintable(code));
                if (row % 3 > 0)
                    QVERIFY2(power > t.number(row - 1, 3),
                             qPrintable(code + ": does not rise with the chamber temperature"));
                if (row % 9 >= 3)
                    QVERIFY2(power < t.number(row - 3, 3),
                             qPrintable(code + ": does not fall with the outside temperature"));
                if (row >= 9)
                    QVERIFY2(power > t.number(row - 9, 3),
                             qPrintable(code + ": larger unit is not stronger"));
            }
        }
    }
    void packagedUnitsAreNeverCreditedWithMore()
    {
        // At -20 °C the selection reads a packaged model's one capacity set at the
        // low-temperature class: the unit must not come out stronger than the
        // low-temperature model of the same size.
        int compared = 0;
        for (const QString& prefix : {QStringLiteral("KM"), QStringLiteral("KS")})
            for (bool r22 : {true, false}) {
                CalculationRecord packaged = selected(prefix + QLatin1Char('P'), r22, -20);
                CalculationRecord low = selected(prefix, r22, -20);
                QCOMPARE(packaged.t_class, low.t_class);
                const QueryTable sizes =
                    rows(*m_ref, QStringLiteral("SELECT DISTINCT modification FROM power WHERE "
                                                "model='%1' AND modification IN (SELECT "
                                                "modification FROM power WHERE model='%2')")
                                     .arg(packaged.xo_series, low.xo_series));
                for (int r = 0; r < sizes.rowCount(); ++r)
                    for (int ambient : kOutside) {
                        packaged.sel_modification = low.sel_modification = sizes.text(r, 0);
                        packaged.by_temperature = low.by_temperature = ambient;
                        QVERIFY2(GetPower(m_context, packaged) <= GetPower(m_context, low),
                                 qPrintable(packaged.xo_series + sizes.text(r, 0) + " at " +
                                            QString::number(ambient)));
                        ++compared;
                    }
            }
        QCOMPARE(compared, 4 * 4 * 3);
    }

    void productsAndGroups()
    {
        QCOMPARE(rows(*m_ref,
                      QStringLiteral("SELECT pkey FROM Product WHERE fkey NOT IN (SELECT Pkey FROM PGroup)"))
                     .rowCount(),
                 0);
        QVERIFY(
            rows(*m_ref, QStringLiteral("SELECT Pkey FROM PGroup WHERE Pkey IN (SELECT Fkey FROM Product)"))
                .rowCount() >= 6);
        QVERIFY(rows(*m_ref,
                     QStringLiteral("SELECT Pkey FROM PGroup WHERE Pkey NOT IN (SELECT Fkey FROM Product)"))
                    .rowCount() >= 1);

        // by stored position, as the wizard reads a product
        const QueryTable t = rows(*m_ref, QStringLiteral("SELECT * FROM Product"));
        QVERIFY(t.rowCount() >= 40);
        const QRegularExpression cyrillic(QStringLiteral("^[А-ЯЁа-яё ,.()-]+$"));
        for (int r = 0; r < t.rowCount(); ++r) {
            const QString name = t.text(r, 3);
            QVERIFY2(cyrillic.match(name).hasMatch(), qPrintable(name));
            QVERIFY2(!t.text(r, 1).isEmpty() && t.text(r, 1).at(0).unicode() < 128, qPrintable(name));
            const double co = t.number(r, 4), cz = t.number(r, 5), cwr = t.number(r, 6);
            const double tko = t.number(r, 7), tnz = t.number(r, 8);
            QVERIFY2(co > cz && cz > 0.25 && co < 1.0, qPrintable(name)); // kcal/(kg*degC), below water
            QVERIFY2(cwr > 5 && cwr < 80, qPrintable(name));              // kcal/kg, below ice
            QVERIFY2(tko < 0 && tko > -15 && tnz <= tko - 5 && tnz >= -25, qPrintable(name));
            for (int c = 9; c < 12; ++c) // respiration does not fall with warmth
                QVERIFY2(t.number(r, c) <= t.number(r, c + 1) && t.number(r, c + 1) < 0.5, qPrintable(name));
        }
        // fruit and vegetables respire, meat does not
        QVERIFY(rows(*m_ref, QStringLiteral("SELECT td5 FROM Product WHERE text_en='Apples' AND td5>0"))
                    .rowCount() == 1);
        QVERIFY(rows(*m_ref, QStringLiteral("SELECT td5 FROM Product WHERE text_en='Beef' AND td15=0"))
                    .rowCount() == 1);
    }
    void equipmentTypesHaveTheirPictures()
    {
        const QueryTable t =
            rows(*m_ref, QStringLiteral("SELECT model, picture, scheme, text_ru FROM equipment"));
        QStringList series;
        for (int r = 0; r < t.rowCount(); ++r) {
            series << t.text(r, 0);
            QVERIFY(!t.text(r, 3).isEmpty());
            for (int c : {1, 2}) {
                const QString file = QDir(picturesDir()).filePath(t.text(r, c));
                QVERIFY2(isJpegFile(file), qPrintable(file));
            }
        }
        series.sort();
        QStringList expected = kSeries;
        expected.sort();
        QCOMPARE(series, expected);
        QVERIFY(isJpegFile(QDir(picturesDir()).filePath(QStringLiteral("netyti.jpg"))));
    }

    void savedCalculationsReferToExistingRows()
    {
        const QueryTable d = rows(
            *m_orders,
            QStringLiteral("SELECT pkey, xk_ceiling_stuff, xk_wall_stuff, xk_floor_stuff, xk_curtain, "
                           "px_product, px_pgroup, px_packing, xo_type1, xo_type2, contact, odate, onote, "
                           "xk_bulk, xk_length * xk_width * xk_height, xk_temperature FROM data"));
        QVERIFY(d.rowCount() >= 3);
        const auto exists = [this](Database& db, const char* table, qint64 key, const char* also = "") {
            const QString sql =
                QStringLiteral("SELECT pkey FROM %1 WHERE pkey=%2%3").arg(table).arg(key).arg(also);
            return rows(db, sql).rowCount() == 1;
        };
        for (int r = 0; r < d.rowCount(); ++r) {
            const QByteArray row = QByteArray::number(d.integer(r, 0));
            for (int c : {1, 2, 3})
                QVERIFY2(exists(*m_ref, "article", d.integer(r, c), " AND cls_n=1"), row);
            QVERIFY2(exists(*m_ref, "curtain", d.integer(r, 4)), row);
            QCOMPARE(
                rows(*m_ref, QStringLiteral("SELECT fkey FROM Product WHERE pkey=%1").arg(d.integer(r, 5)))
                    .integer(0, 0),
                d.integer(r, 6));
            QVERIFY2(exists(*m_ref, "packing", d.integer(r, 7)), row);
            QVERIFY2(d.integer(r, 9) == 1 || d.integer(r, 9) == 2, row);
            QVERIFY2(exists(*m_orders, "contact", d.integer(r, 10)), row);
            QVERIFY2(
                QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$")).match(d.text(r, 11)).hasMatch(),
                row);
            QVERIFY2(!d.text(r, 12).isEmpty(), row);
            QCOMPARE(d.number(r, 13), d.number(r, 14));

            // the type is one the wizard offers at that temperature, and its
            // model has a capacity table
            const QueryTable type = rows(
                *m_ref, QStringLiteral("SELECT model FROM equipment WHERE pkey=%1").arg(d.integer(r, 8)));
            QCOMPARE(type.rowCount(), 1);
            const double t = d.number(r, 15);
            QVERIFY2(IsOffered(type.text(0, 0), t), row);
            const QString code = selected(type.text(0, 0), d.integer(r, 9) == 1, t).xo_series;
            QVERIFY2(powerRows(code).rowCount() >= 36, qPrintable(code));
        }
    }

private:
    QueryTable rows(Database& db, const QString& sql)
    {
        QueryTable table;
        if (const Result<int> read = db.query(sql, table); !read)
            qWarning("%s: %s", qPrintable(sql), qPrintable(read.failure().engineText));
        return table;
    }
    QueryTable powerRows(const QString& code)
    {
        return rows(*m_ref,
                    QStringLiteral("SELECT modification, in_t, out_t, power FROM power WHERE model='%1' "
                                   "ORDER BY modification, out_t, in_t")
                        .arg(code));
    }
    // The model code and class the selection forms for a type of the series.
    CalculationRecord selected(const QString& series, bool r22, double t)
    {
        CalculationRecord r;
        ApplyStartValues(r);
        r.xo_type1 = m_typeKey.value(series);
        r.xo_gas = r22 ? QStringLiteral("R22") : QStringLiteral("R404a");
        r.xk_temperature = t;
        GetSeries(m_context, r);
        r.sel_model = r.xo_series;
        return r;
    }

    QMap<QString, qint16> m_typeKey;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<Database> m_ref;
    CalculationContext m_context; // reads m_ref
    std::unique_ptr<Database> m_orders;
};

QTEST_GUILESS_MAIN(TestSampleData)
#include "test_sampledata.moc"
