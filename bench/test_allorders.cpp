// frostpick-calc --all-orders reads the reference data once per run (from a
// server, a copy of it made at the start); every line it prints must still be
// exactly what --order prints for that key.
#include "CalcRun.h"
#include "DataGenerator.h"
#include "FaultRelay.h"
#include "ProgramDatabases.h"
#include "StoreCopy.h"
#include "TestDatabases.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Generated stores in folder: files, or stores on the test server filled
// from such files.
bool generate(const QString& folder, const GeneratorSize& size, QString* error)
{
    const bool onServer = TestDatabases::storage() == TestDatabases::Storage::Server;
    QTemporaryDir files;
    const QDir from(onServer ? files.path() : folder);
    if (!GenerateReference(from.filePath("nv.mdb"), size, 7, error) ||
        !GenerateOrders(from.filePath("order.mdb"), size, 7, error))
        return false;
    ToolOutcome copied;
    for (const char* name : {"nv.mdb", "order.mdb"}) {
        const QString store = QDir(folder).filePath(name);
        if (!onServer || !copied.ok())
            break;
        if (name[0] == 'n' ? TestDatabases::createEmptyReference(store)
                           : TestDatabases::createEmptyOrders(store))
            copied = copyStore(from.filePath(name), TestDatabases::address(store).database, {true, {}},
                               {[](const QString&) {}, {}});
        else
            copied = {StatusRefused, store + " not made on the server"};
    }
    *error = copied.message;
    return copied.ok();
}

} // namespace

class TestAllOrders : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_size.calculations = 100;
        m_size.bigCustomerCalculations = 10;
        m_size.customers = 50;
        m_size.products = 300;
        QString error;
        QVERIFY2(generate(m_dir.path(), m_size, &error), qPrintable(error));
    }

    // Generated orders cover every equipment type, both refrigerants, cold
    // and freezer chambers, and units too small for the load. The wizard
    // reads a product by position, whatever the columns are called.
    void batchLinesEqualSingleOrders_data()
    {
        QTest::addColumn<QStringList>("change");
        QTest::addColumn<int>("every"); // key compared
        QTest::newRow("as the schema makes it") << QStringList() << 1;
        QTest::newRow("product names swapped") << QStringList{"ALTER TABLE Product RENAME text_en TO swap",
                                                              "ALTER TABLE Product RENAME text_ru TO text_en",
                                                              "ALTER TABLE Product RENAME swap TO text_ru"}
                                               << 3;
    }
    void batchLinesEqualSingleOrders()
    {
        QFETCH(QStringList, change);
        QFETCH(int, every);
        auto ref = Database::open(TestDatabases::address(m_dir.filePath("nv.mdb")), referenceTables())
                       .valueOr(nullptr);
        for (const QString& statement : change)
            QVERIFY(ref && ref->execute(statement));
        ref.reset();
        const CalcRun all = CalcRun::of({"--dir", m_dir.path(), "--all-orders"});
        QCOMPARE(all.exitCode, 0);
        const QList<QByteArray> lines = all.out.split('\n');
        QCOMPARE(lines.size(), m_size.calculations + 1); // the last line ends with a line feed
        QSet<QString> verdicts, series;
        QSet<int> classes;
        for (int i = 0; i < m_size.calculations; i += every) {
            const QJsonObject o = jsonObject(lines.at(i));
            const int key = o.value(QLatin1String("pkey_data")).toInt();
            QCOMPARE(key, i + 1);
            verdicts << o.value(QLatin1String("verdict")).toString();
            series << o.value(QLatin1String("xo_series")).toString();
            classes << o.value(QLatin1String("t_class")).toInt();
            QCOMPARE(CalcRun::of({"--dir", m_dir.path(), "--order", QString::number(key)}).out,
                     lines.at(i) + '\n');
        }
        // Both outcomes of the selection, most model codes and every
        // temperature class were compared.
        QCOMPARE(verdicts.size(), 2);
        QVERIFY(series.size() >= 10);
        QCOMPARE(classes.size(), 4);
    }

    // A reference table the server refuses to read: no calculation is
    // printed, the read failure is.
    void stopsWhenTheReferenceCannotBeRead()
    {
        if (TestDatabases::storage() != TestDatabases::Storage::Server)
            QSKIP("a file is read where it lies");
        const DatabaseAddress address = TestDatabases::address(m_dir.filePath("nv.mdb"));
        auto ref = Database::open(address, referenceTables()).valueOr(nullptr);
        QVERIFY(ref && ref->execute("ALTER TABLE gas RENAME TO gas_rows") &&
                ref->execute("CREATE VIEW gas AS SELECT pkey, model, 1 / 0 AS broken FROM gas_rows"));
        const CalcRun all = CalcRun::of({"--dir", m_dir.path(), "--all-orders"});
        QVERIFY(ref->execute("DROP VIEW gas") && ref->execute("ALTER TABLE gas_rows RENAME TO gas"));
        QCOMPARE(all.exitCode, 1);
        QCOMPARE(all.out, QByteArray());
        QVERIFY2(all.err.startsWith("frostpick-calc: cannot read " + address.shown().toUtf8() + ": ") &&
                     all.err.contains("division by zero") && all.err.count('\n') == 1,
                 all.err.constData());
    }

    // From a server the run reads the reference tables at its start, their
    // rows in one request, instead of a request per distinct lookup: 24 in
    // all with the openings of its three connections and each table's
    // columns (a request per table's rows would make it 31, a request per
    // lookup hundreds).
    void fewRequestsFromAServer()
    {
        if (TestDatabases::storage() != TestDatabases::Storage::Server)
            QSKIP("requests are counted on the way to the server");
        const auto relay = FaultRelay::toTestServer();
        QVERIFY(relay && relay->divert(m_dir.path()));
        QCOMPARE(CalcRun::of({"--dir", m_dir.path(), "--all-orders"}).exitCode, 0);
        QVERIFY(relay->settle());
        QVERIFY2(relay->requests() <= 24, qPrintable(QString::number(relay->requests())));
    }

private:
    QTemporaryDir m_dir;
    GeneratorSize m_size;
};

QTEST_GUILESS_MAIN(TestAllOrders)
#include "test_allorders.moc"
