#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "OrderColumns.h"
#include "Orders.h"
#include "QueryTable.h"
#include "TestDatabases.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDate Today(2024, 3, 7);

// Every saved field with a value of its own; doubles with a fraction and a
// sign, dimensions with two decimals (they are rounded on loading).
CalculationRecord filledRecord()
{
    CalculationRecord r;
    ApplyStartValues(r);
    int n = 1;
    for (const OrderColumn& c : OrderColumns) {
        if (c.real)
            r.*c.real = n % 2 ? -2.5 * n : 0.25 * n + 0.01;
        else
            r.*c.whole = qint16(n % 3 ? n : -n * 7);
        ++n;
    }
    r.contact = 0;
    r.onote = QStringLiteral("первый расчет");
    r.px_pgroup = 12;
    r.contact_organization = QStringLiteral("ООО Холод");
    r.contact_city = QStringLiteral("Тверь");
    r.NewCalculation = true;
    r.NewContact = true;
    return r;
}

} // namespace

class TestOrders : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(TestDatabases::createEmptyReference(m_dir->filePath(QStringLiteral("nv.mdb"))));
        QVERIFY(TestDatabases::createEmptyOrders(m_dir->filePath(QStringLiteral("order.mdb"))));
        m_record = CalculationRecord();
        m_context = std::make_unique<CalculationContext>();
        QVERIFY(OpenDatabases(*m_context, DataLocation::folder(m_dir->path())));
        QVERIFY(m_context->ref_db->execute(QStringLiteral(
            "INSERT INTO article (Pkey, s_name, s_value, cls_n) VALUES (5, 'Пенопласт', 0.02, 1)")));
        QVERIFY(m_context->ref_db->execute(
            QStringLiteral("INSERT INTO curtain (Pkey, text_ru, c_value) VALUES (13, 'Завеса', 50)")));
    }
    void cleanup()
    {
        m_record = CalculationRecord();
        m_context.reset();
        m_dir.reset();
    }

    void savedThenLoadedEqualsTheOriginal()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); // decimal comma
        CalculationRecord saved = filledRecord();
        QVERIFY(SaveCalculation(*m_context, saved, Today));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(saved.contact, qint16(1));

        QVERIFY(LoadOrder(*m_context, m_record, 1));
        for (const OrderColumn& c : OrderColumns) {
            if (c.real)
                QVERIFY2(m_record.*c.real == saved.*c.real, c.name);
            else
                QVERIFY2(m_record.*c.whole == saved.*c.whole, c.name);
        }
        QCOMPARE(m_record.onote, saved.onote);
        QCOMPARE(m_record.px_pgroup, saved.px_pgroup);
        QCOMPARE(value("SELECT odate FROM data WHERE pkey=1"), QVariant(QStringLiteral("2024-03-07")));
        QCOMPARE(value("SELECT organization || '/' || city FROM contact"),
                 QVariant(QStringLiteral("ООО Холод/Тверь")));
    }

    void apostrophesRoundTripInEveryTextColumn()
    {
        const QString tricky = QStringLiteral("O'Brien', name='x");
        CalculationRecord r = filledRecord();
        r.contact_organization = QStringLiteral("A'") + tricky;
        r.contact_city = QStringLiteral("C'") + tricky;
        r.contact_phones = QStringLiteral("P'") + tricky;
        r.contact_email = QStringLiteral("E'") + tricky;
        r.contact_name = QStringLiteral("N'") + tricky;
        r.onote = QStringLiteral("''") + tricky;
        QVERIFY(SaveCalculation(*m_context, r, Today));

        QueryTable customers;
        QCOMPARE(ReadCustomers(*m_context, customers), 1);
        QCOMPARE(customers.text(0, CustomerColumn::Organization), r.contact_organization);
        QCOMPARE(customers.text(0, CustomerColumn::City), r.contact_city);
        QCOMPARE(customers.text(0, CustomerColumn::Phones), r.contact_phones);
        QCOMPARE(customers.text(0, CustomerColumn::Email), r.contact_email);
        QCOMPARE(customers.text(0, CustomerColumn::Name), r.contact_name);
        QueryTable orders;
        QCOMPARE(FindOrders(*m_context, r.contact, orders), 1);
        QCOMPARE(orders.text(0, FoundOrderColumn::Note), r.onote);
        QCOMPARE(orders.integer(0, FoundOrderColumn::Contact), qint64(r.contact));

        // The same texts through an update of both rows.
        r.NewCalculation = false;
        r.NewContact = false;
        r.pkey_data = qint32(orders.integer(0, FoundOrderColumn::Key));
        r.contact_city = QStringLiteral("'");
        r.onote = QStringLiteral("'; DROP TABLE data; --");
        QVERIFY(SaveCalculation(*m_context, r, Today));
        QCOMPARE(value("SELECT city FROM contact"), QVariant(QStringLiteral("'")));
        QCOMPARE(value("SELECT onote FROM data"), QVariant(r.onote));
        QCOMPARE(value("SELECT name FROM contact"), QVariant(r.contact_name));
    }

    void updateRewritesOnlyItsOwnRow()
    {
        CalculationRecord r = filledRecord();
        QVERIFY(SaveCalculation(*m_context, r, QDate(2020, 1, 1)));
        QVERIFY(SaveCalculation(*m_context, r, QDate(2020, 1, 1)));
        r.NewCalculation = false;
        r.pkey_data = 2;
        r.xk_bulk = 77.5;
        QVERIFY(SaveOrder(*m_context, r, Today));
        QCOMPARE(value("SELECT count(*) FROM data"), QVariant(2));
        QCOMPARE(value("SELECT xk_bulk || ' ' || odate FROM data WHERE pkey=2"),
                 QVariant(QStringLiteral("77.5 2024-03-07")));
        QCOMPARE(value("SELECT odate FROM data WHERE pkey=1"), QVariant(QStringLiteral("2020-01-01")));
    }

    void failedSaveStoresNothing_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("message");
        QTest::newRow("data refused") << "data"
                                      << "Ошибка при сохранении результатов расчета! (";
        QTest::newRow("customer refused") << "contact"
                                          << "Ошибка при сохранении контакта! (";
    }
    void failedSaveStoresNothing()
    {
        QFETCH(QString, table);
        QFETCH(QString, message);
        for (const QString& statement : TestDatabases::refuseInserts(table, QStringLiteral("1=1")))
            QVERIFY(m_context->order_db->execute(statement));
        CalculationRecord r = filledRecord();
        r.contact = 9;
        const Result<void> saved = SaveCalculation(*m_context, r, Today);
        QVERIFY(!saved);
        QCOMPARE(r.contact, qint16(9));
        QCOMPARE(value("SELECT count(*) FROM contact"), QVariant(0));
        QCOMPARE(value("SELECT count(*) FROM data"), QVariant(0));
        // The operation's text, one plain line; the statement and the
        // engine's words only in the details.
        const DatabaseFailure& failure = saved.failure();
        QVERIFY2(failure.heading.startsWith(message) && failure.heading.endsWith(QLatin1Char(')')),
                 qPrintable(failure.heading));
        QVERIFY(!failure.advice().isEmpty() && !failure.advice().contains(QLatin1Char('\n')));
        QVERIFY(failure.details().contains(QStringLiteral("INSERT INTO ") + table) &&
                failure.details().contains(QStringLiteral("refused")));
        QVERIFY(!failure.outcomeUnknown);
    }

    void newCustomerKeyIsTheInsertedRow()
    {
        // Another writer adds a row with a higher key right after ours.
        const bool files = TestDatabases::storage() == TestDatabases::Storage::Files;
        const QStringList other =
            files ? QStringList{"CREATE TRIGGER other AFTER INSERT ON contact WHEN NEW.pkey < 500 BEGIN "
                                "INSERT INTO contact (pkey, organization) VALUES (500, 'другой'); END"}
                  : QStringList{
                        "CREATE FUNCTION other() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF "
                        "NEW.pkey < 500 THEN INSERT INTO contact (pkey, organization) VALUES (500, "
                        "'другой'); END IF; RETURN NULL; END $$",
                        "CREATE TRIGGER other AFTER INSERT ON contact FOR EACH ROW EXECUTE FUNCTION other()"};
        for (const QString& statement : other)
            QVERIFY(m_context->order_db->execute(statement));
        QVERIFY(InsertContact(*m_context, m_record, QStringLiteral("мой"), {}, {}, {}, {}));
        QCOMPARE(m_record.contact, qint16(1));
        QCOMPARE(value("SELECT organization FROM contact WHERE pkey=1"), QVariant(QStringLiteral("мой")));
    }

    void customerKeyBeyondSixteenBitsIsRefused()
    {
        QVERIFY(m_context->order_db->execute(
            QStringLiteral("INSERT INTO contact (pkey, organization) VALUES (32767, 'последний')")));
        m_record.contact = 4;
        const Result<void> inserted =
            InsertContact(*m_context, m_record, QStringLiteral("новый"), {}, {}, {}, {});
        QVERIFY(!inserted);
        QCOMPARE(m_record.contact, qint16(4));
        QCOMPARE(value("SELECT count(*) FROM contact"), QVariant(1));
        QVERIFY(inserted.failure().heading.contains(QStringLiteral("32768")));
        QVERIFY(inserted.failure().details().isEmpty());
    }

    void reopenedCustomerIsNotInsertedAgain()
    {
        CalculationRecord r = filledRecord();
        QVERIFY(SaveCalculation(*m_context, r, Today));
        // As after reopening: NewContact still true, contact the existing row.
        r.NewContact = true;
        r.contact_city = QStringLiteral("Клин");
        QVERIFY(SaveCalculation(*m_context, r, Today));
        QCOMPARE(value("SELECT count(*) || ' ' || max(city) FROM contact"),
                 QVariant(QStringLiteral("1 Клин")));
        QCOMPARE(value("SELECT count(*) FROM data WHERE contact=1"), QVariant(2));
        // A different organisation typed over it is a new customer.
        r.contact_organization = QStringLiteral("ЗАО Мороз");
        QVERIFY(SaveCalculation(*m_context, r, Today));
        QCOMPARE(r.contact, qint16(2));
        QCOMPARE(value("SELECT count(*) FROM contact"), QVariant(2));
        // One another computer saved meanwhile is taken as it is.
        QVERIFY(m_context->order_db->execute(
            QStringLiteral("INSERT INTO contact (organization, city) VALUES ('ООО Север', 'Омск')")));
        r.contact_organization = QStringLiteral("ООО Север");
        QVERIFY(SaveCalculation(*m_context, r, Today));
        QCOMPARE(r.contact, qint16(3));
        QCOMPARE(value("SELECT count(*) || ' ' || max(city) FROM contact WHERE organization='ООО Север'"),
                 QVariant(QStringLiteral("1 Омск")));
    }

    void loadRoundsDimensionsAndKeepsVolume()
    {
        QVERIFY(m_context->order_db->execute(
            QStringLiteral("INSERT INTO data (pkey, xk_bulk, xk_length, xk_width, xk_height, "
                           "xk_ceiling_stuff, xk_wall_stuff, "
                           "xk_floor_stuff, xk_curtain, px_time, onote) VALUES (7, 100, 5.556, 4.444, 3.005, "
                           "5, 99, 5, 13, 24, NULL)")));
        m_record.xk_wall_name = QStringLiteral("прежний");
        m_record.onote = QStringLiteral("x");
        QVERIFY(LoadOrder(*m_context, m_record, 7));
        QCOMPARE(m_record.xk_length, 5.56);
        QCOMPARE(m_record.xk_width, 4.44);
        QCOMPARE(m_record.xk_height, 3.0); // 3.005 is stored a little below the half
        QCOMPARE(m_record.xk_bulk, 100.0);
        QCOMPARE(m_record.xk_ceiling_name, QStringLiteral("Пенопласт"));
        QCOMPARE(m_record.xk_floor_k, 0.02);
        QCOMPARE(m_record.xk_wall_name, QStringLiteral("прежний")); // material 99 is gone
        QCOMPARE(m_record.xk_curtain_c, 50.0);
        QCOMPARE(m_record.onote, QString());

        const double before = m_record.xk_length;
        QVERIFY(!LoadOrder(*m_context, m_record, 8));
        QCOMPARE(m_record.xk_length, before);
    }

    void storedValueOutOfRangeIsRefused()
    {
        QVERIFY(m_context->order_db->execute(
            QStringLiteral("INSERT INTO data (pkey, xk_length, px_time) VALUES (3, 9, 40000)")));
        QString error;
        QVERIFY(!LoadOrder(*m_context, m_record, 3, &error));
        QVERIFY2(error.startsWith(QStringLiteral("px_time ")), qPrintable(error));
        QCOMPARE(m_record.xk_length, 0.0);
    }

    void findOrdersOfACustomerWithoutCalculations()
    {
        QueryTable table;
        QCOMPARE(FindOrders(*m_context, 1, table), 0);
        QCOMPARE(ReadCustomers(*m_context, table), 0);
    }

    void reopenRecomputes()
    {
        CalculationRecord r;
        ApplyStartValues(r);
        r.NewCalculation = true;
        r.xk_length = 5;
        r.xk_width = 4;
        r.xk_height = 3;
        r.xk_ceiling_stuff = r.xk_wall_stuff = r.xk_floor_stuff = 5;
        QVERIFY(SaveOrder(*m_context, r, Today));

        m_record.NewCalculation = true;
        bool found = false;
        QVERIFY(ReopenCalculation(*m_context, m_record, 1, &found));
        QVERIFY(found);
        QCOMPARE(m_record.pkey_data, 1);
        QVERIFY(!m_record.NewCalculation);
        QCOMPARE(m_record.q_floor, 80);
        QCOMPARE(m_record.q_ceiling, 128);
        QCOMPARE(m_record.q_walls, 346);

        m_record.q_floor = 1;
        QVERIFY(ReopenCalculation(*m_context, m_record, 42, &found));
        QVERIFY(!found);
        QCOMPARE(m_record.q_floor, 80); // the inputs kept, the load recomputed
    }

    // A record computed in one context and then in another reads only the
    // context it is given: its rows and its failures, which the other context
    // never sees. A failure leaves the record as it was.
    void recordComputedInAnotherContext()
    {
        CalculationRecord r;
        ApplyStartValues(r);
        r.xk_length = 5;
        r.xk_width = 4;
        r.xk_height = 3;
        r.xk_ceiling_stuff = r.xk_wall_stuff = r.xk_floor_stuff = 5;
        QString error;
        QVERIFY(ComputeCalculation(*m_context, r, &error));
        QCOMPARE(r.q_ceiling, 128);

        QTemporaryDir dir;
        QVERIFY(TestDatabases::createEmptyReference(dir.filePath(QStringLiteral("nv.mdb"))));
        QVERIFY(TestDatabases::createEmptyOrders(dir.filePath(QStringLiteral("order.mdb"))));
        CalculationContext other;
        QVERIFY(OpenDatabases(other, DataLocation::folder(dir.path())));
        QVERIFY(other.ref_db->execute(QStringLiteral(
            "INSERT INTO article (Pkey, s_name, s_value, cls_n) VALUES (5, 'Пенопласт', 0.04, 1)")));
        // Read after the materials: the copy computed apart has taken 0.04 by then.
        QVERIFY(other.ref_db->execute(QStringLiteral("ALTER TABLE curtain RENAME TO gone")));
        QVERIFY(!ComputeCalculation(other, r, &error));
        QVERIFY(other.failedReads.any() && !m_context->failedReads.any());
        QCOMPARE(other.failedReads.first()->address.database, other.location.reference().database);
        QCOMPARE(r.xk_ceiling_k, 0.02);
        QCOMPARE(r.q_ceiling, 128);

        QVERIFY(other.ref_db->execute(QStringLiteral("ALTER TABLE gone RENAME TO curtain")));
        QVERIFY(ComputeCalculation(other, r, &error));
        QCOMPARE(r.xk_ceiling_k, 0.04);
        QVERIFY(r.q_ceiling > 128);
        QVERIFY(ComputeCalculation(*m_context, r, &error));
        QCOMPARE(r.q_ceiling, 128);
    }

private:
    QVariant value(const char* sql)
    {
        QueryTable table;
        m_context->order_db->query(QString::fromUtf8(sql), table).valueOr(-1);
        return table.value(0, 0);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CalculationContext> m_context;
    CalculationRecord m_record;
};

QTEST_GUILESS_MAIN(TestOrders)
#include "test_orders.moc"
