// The batch writes its JSON itself: numbers and texts must come out as the
// tool wrote them before (QByteArray::number with the shortest digits,
// QString::toUtf8), so that outputs compared byte for byte stay equal.
#include "JsonLine.h"

#include <QString>
#include <QTest>
#include <limits>

class TestJsonLine : public QObject
{
    Q_OBJECT

private slots:
    void doubles_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("fraction") << 0.1 << QByteArray("0.1");
        QTest::newRow("sum with its error") << 0.1 + 0.2 << QByteArray("0.30000000000000004");
        QTest::newRow("whole") << 105.0 << QByteArray("105");
        QTest::newRow("negative") << -32.5 << QByteArray("-32.5");
        QTest::newRow("small, a tie: fixed") << 0.001 << QByteArray("0.001");
        QTest::newRow("small, exponent shorter") << 0.0001 << QByteArray("1e-04");
        QTest::newRow("round million") << 1e6 << QByteArray("1e+06");
        QTest::newRow("million and one") << 1000001.0 << QByteArray("1000001");
        QTest::newRow("zero") << 0.0 << QByteArray("0");
        QTest::newRow("negative zero") << -0.0 << QByteArray("0");
        QTest::newRow("last exact whole") << 9007199254740991.0 << QByteArray("9007199254740991");
        // From 2^53 the shortest digits are padded with zeros, not the exact value's.
        QTest::newRow("above 2^53") << 31322315702267408.0 << QByteArray("31322315702267410");
        QTest::newRow("huge") << 1.7976931348623157e308 << QByteArray("1.7976931348623157e+308");
        QTest::newRow("tiny") << 5e-324 << QByteArray("5e-324");
    }
    void doubles()
    {
        QFETCH(double, value);
        QFETCH(QByteArray, text);
        JsonLine line;
        line.add("x", value);
        line.close();
        QCOMPARE(QByteArray::fromStdString(line.text()), "{\"x\":" + text + '}');
        QVERIFY(!line.badField());
    }

    void texts_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("Cyrillic") << QStringLiteral("Ёж") << QByteArray("\"\xD0\x81\xD0\xB6\"");
        QTest::newRow("quote and backslash") << QStringLiteral("a\"b\\c") << QByteArray("\"a\\\"b\\\\c\"");
        QTest::newRow("controls") << QStringLiteral("1\n2\x1f") << QByteArray("\"1\\u000a2\\u001f\"");
        QTest::newRow("three bytes") << QStringLiteral("€") << QByteArray("\"\xE2\x82\xAC\"");
        QTest::newRow("surrogate pair")
            << (QString(QChar(0xD83E)) + QChar(0xDDCA)) << QByteArray("\"\xF0\x9F\xA7\x8A\"");
        QTest::newRow("lone surrogate") << (QChar(0xD800) + QStringLiteral("a")) << QByteArray("\"?a\"");
    }
    void texts()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, text);
        JsonLine line;
        line.add("t", value);
        line.close();
        QCOMPARE(QByteArray::fromStdString(line.text()), "{\"t\":" + text + '}');
    }

    // A line kept for the next one starts afresh; the first field that is
    // not a finite number is the one named.
    void reusedLine()
    {
        JsonLine line;
        line.add("a", qint64(-7));
        line.add("b", std::numeric_limits<double>::infinity());
        line.add("c", std::numeric_limits<double>::quiet_NaN());
        QCOMPARE(QByteArray(line.badField()), QByteArray("b"));
        line.clear();
        line.add("d", true);
        line.add("e", qint64(32767));
        line.close();
        QCOMPARE(QByteArray::fromStdString(line.text()), QByteArray("{\"d\":true,\"e\":32767}"));
        QVERIFY(!line.badField());
    }
};

QTEST_APPLESS_MAIN(TestJsonLine)
#include "test_jsonline.moc"
