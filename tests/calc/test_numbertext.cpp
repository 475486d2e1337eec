// Reading typed numbers, the number test of the forward buttons, and the
// rounding of stored values.
#include "NumberText.h"
#include "SqlLiteral.h"

#include <QLocale>
#include <QtTest>
#include <cmath>

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    // Hostile texts (empty, nan, inf, signs doubled, other scripts, 1e400 ...)
    // are read through every box by the reliability suite; these are the rules.
    void read_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("commas"); // "," read as "."
        QTest::addColumn<bool>("refused");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << "12.5" << false << false << 12.5;
        QTest::newRow("blanks anywhere") << " 1 2 . 5 " << false << false << 12.5;
        QTest::newRow("trailing letters") << "12abc" << false << false << 12.0;
        QTest::newRow("letters only") << "abc" << false << false << 0.0;
        QTest::newRow("comma cuts without replacement") << "0,035" << false << false << 0.0;
        QTest::newRow("comma as point") << "0,035" << true << false << 0.035;
        QTest::newRow("negative with comma") << "-2,5" << true << false << -2.5;
        QTest::newRow("plus sign") << "+5" << false << false << 5.0;
        QTest::newRow("exponent") << "1e3" << false << false << 1000.0;
        QTest::newRow("dangling exponent") << "5e" << false << false << 5.0;
        QTest::newRow("leading point") << ".5" << false << false << 0.5;
        QTest::newRow("tiny exponent") << "1e-400" << false << false << 0.0;
        QTest::newRow("400 digits") << QString(400, QLatin1Char('9')) << false << true << 0.0;
    }
    void read()
    {
        QFETCH(QString, text);
        QFETCH(bool, commas);
        QFETCH(bool, refused);
        const auto value = NumberText::read(text, commas);
        QCOMPARE(!value.has_value(), refused);
        if (value)
            QTEST(*value, "expected");
    }
    void isNumeric_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("expected");
        QTest::newRow("C point") << "2.5" << QStringLiteral("C") << true;
        QTest::newRow("C blanks around") << "  7  " << QStringLiteral("C") << true;
        QTest::newRow("C letters") << "12abc" << QStringLiteral("C") << false;
        QTest::newRow("ru comma") << "2,5" << QStringLiteral("ru_RU") << true;
        QTest::newRow("ru negative") << "-2,5" << QStringLiteral("ru_RU") << true;
    }
    void isNumeric()
    {
        QFETCH(QString, text);
        QFETCH(QString, locale);
        QFETCH(bool, expected);
        QCOMPARE(NumberText::isNumeric(text, QLocale(locale)), expected);
    }
    void roundingOfStoredValues()
    {
        QCOMPARE(NumberText::roundHalfEven(2.5), 2.0);
        QCOMPARE(NumberText::roundHalfEven(3.5), 4.0);
        QCOMPARE(NumberText::roundHalfEven(-2.5), -2.0);
        QCOMPARE(NumberText::roundHalfEven(10.6), 11.0);
        QCOMPARE(NumberText::roundHalfEven(697.8), 698.0);
        QCOMPARE(NumberText::roundHalfAway(2.5), 3.0);
        QCOMPARE(NumberText::roundHalfAway(-2.5), -3.0);
    }
    void int16Range()
    {
        QCOMPARE(*NumberText::toInt16(32767.4), qint16(32767));
        QCOMPARE(*NumberText::toInt16(-32768), qint16(-32768));
        QCOMPARE(*NumberText::toInt16(-2.5), qint16(-2));   // halves to even, as stored values
        QVERIFY(!NumberText::toInt16(32767.5).has_value()); // rounds to 32768
        QVERIFY(!NumberText::toInt16(-32769).has_value());
        QVERIFY(!NumberText::toInt16(std::nan("")).has_value());
        QCOMPARE(*NumberText::toInt32(2147483647.0), qint32(2147483647));
        QVERIFY(!NumberText::toInt32(2147483648.0).has_value());
    }
    void sqlLiterals()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        QCOMPARE(SqlLiteral::number(2.5), QStringLiteral("2.5"));
        QCOMPARE(SqlLiteral::number(-2.5), QStringLiteral("-2.5"));
        QCOMPARE(SqlLiteral::number(3.0), QStringLiteral("3"));
        QCOMPARE(SqlLiteral::number(-0.0), QStringLiteral("0"));
        QCOMPARE(SqlLiteral::number(0.1 + 0.2), QStringLiteral("0.3"));
        QCOMPARE(SqlLiteral::number(-123456789012345.0), QStringLiteral("-123456789012345"));
        QCOMPARE(SqlLiteral::number(1e15), QStringLiteral("1e+15"));
        QCOMPARE(SqlLiteral::number(-4e17), QStringLiteral("-4e+17"));
        QCOMPARE(SqlLiteral::text(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
        QCOMPARE(SqlLiteral::integer(-32768), QStringLiteral("-32768"));
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "test_numbertext.moc"
