// frostpick-calc --all-orders reads the reference data once per run; every
// line it prints must still be exactly what --order prints for that key.
#include "DataGenerator.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestAllOrders : public QObject
{
    Q_OBJECT

private:
    QByteArray run(const QStringList& arguments)
    {
        QProcess p;
        p.start(QStringLiteral(FROSTPICK_CALC_EXE), arguments);
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            return {};
        return p.readAllStandardOutput();
    }

private slots:
    // Generated orders cover every equipment type, both refrigerants, cold
    // and freezer chambers, and units too small for the load.
    void batchLinesEqualSingleOrders()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        GeneratorSize size;
        size.calculations = 240;
        size.bigCustomerCalculations = 10;
        size.customers = 50;
        QString error;
        QVERIFY2(GenerateReference(dir.filePath(QStringLiteral("nv.mdb")), size, 7, &error),
                 qPrintable(error));
        QVERIFY2(GenerateOrders(dir.filePath(QStringLiteral("order.mdb")), size, 7, &error),
                 qPrintable(error));

        const QList<QByteArray> lines =
            run({QStringLiteral("--dir"), dir.path(), QStringLiteral("--all-orders")}).split('\n');
        QCOMPARE(lines.size(), size.calculations + 1); // the last line ends with a line feed
        QSet<QString> verdicts, series;
        QSet<int> classes;
        for (int i = 0; i < size.calculations; i += 3) {
            const QJsonObject o = QJsonDocument::fromJson(lines.at(i)).object();
            const int key = o.value(QLatin1String("pkey_data")).toInt();
            QCOMPARE(key, i + 1);
            verdicts << o.value(QLatin1String("verdict")).toString();
            series << o.value(QLatin1String("xo_series")).toString();
            classes << o.value(QLatin1String("t_class")).toInt();
            QCOMPARE(
                run({QStringLiteral("--dir"), dir.path(), QStringLiteral("--order"), QString::number(key)}),
                lines.at(i) + '\n');
        }
        // Both outcomes of the selection, most model codes and every
        // temperature class were compared.
        QCOMPARE(verdicts.size(), 2);
        QVERIFY(series.size() >= 10);
        QCOMPARE(classes.size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestAllOrders)
#include "test_allorders.moc"
