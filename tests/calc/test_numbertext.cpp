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
    void read_data();
    void read();
    void readWithCommas();
    void readRefusesNumbersBeyondDouble();
    void isNumeric_data();
    void isNumeric();
    void roundingOfStoredValues();
    void int16Range();
    void sqlLiterals();
};

void TestNumberText::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("plain") << "12.5" << 12.5;
    QTest::newRow("blanks anywhere") << " 1 2 . 5 " << 12.5;
    QTest::newRow("trailing letters") << "12abc" << 12.0;
    QTest::newRow("letters only") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("comma cuts without replacement") << "0,035" << 0.0;
    QTest::newRow("negative") << "-2.5" << -2.5;
    QTest::newRow("plus sign") << "+5" << 5.0;
    QTest::newRow("minus zero") << "-0" << 0.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("dangling exponent") << "5e" << 5.0;
    QTest::newRow("second point ends") << "1.2.3" << 1.2;
    QTest::newRow("double sign") << "--5" << 0.0;
    QTest::newRow("trailing sign") << "5-" << 5.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("other digits") << QString::fromUtf8("٣") << 0.0;
    QTest::newRow("nan is text") << "nan" << 0.0;
    QTest::newRow("inf is text") << "inf" << 0.0;
    QTest::newRow("tiny exponent") << "1e-400" << 0.0;
}

void TestNumberText::read()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const auto value = NumberText::read(text);
    QVERIFY(value.has_value());
    QCOMPARE(*value, expected);
}

void TestNumberText::readWithCommas()
{
    QCOMPARE(*NumberText::read(QStringLiteral("0,035"), true), 0.035);
    QCOMPARE(*NumberText::read(QStringLiteral("-2,5"), true), -2.5);
    QCOMPARE(*NumberText::read(QStringLiteral("1,2,3"), true), 1.2);
}

void TestNumberText::readRefusesNumbersBeyondDouble()
{
    QVERIFY(!NumberText::read(QStringLiteral("1e400")).has_value());
    QVERIFY(!NumberText::read(QString(400, QLatin1Char('9'))).has_value());
    QCOMPARE(*NumberText::read(QString(40, QLatin1Char('9'))), 1e40);
}

void TestNumberText::isNumeric_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("expected");
    QTest::newRow("C point") << "2.5"
                             << "C" << true;
    QTest::newRow("C blanks around") << "  7  "
                                     << "C" << true;
    QTest::newRow("C empty") << ""
                             << "C" << false;
    QTest::newRow("C blank") << "   "
                             << "C" << false;
    QTest::newRow("C letters") << "12abc"
                               << "C" << false;
    QTest::newRow("C nan") << "nan"
                           << "C" << false;
    QTest::newRow("C inf") << "inf"
                           << "C" << false;
    QTest::newRow("C huge") << "1e400"
                            << "C" << false;
    QTest::newRow("C two points") << "1.2.3"
                                  << "C" << false;
    QTest::newRow("ru comma") << "2,5"
                              << "ru_RU" << true;
    QTest::newRow("ru negative") << "-2,5"
                                 << "ru_RU" << true;
    QTest::newRow("other script digits") << QString::fromUtf8("٣") << "C" << false;
}

void TestNumberText::isNumeric()
{
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(bool, expected);
    QCOMPARE(NumberText::isNumeric(text, QLocale(locale)), expected);
}

void TestNumberText::roundingOfStoredValues()
{
    QCOMPARE(NumberText::roundHalfEven(2.5), 2.0);
    QCOMPARE(NumberText::roundHalfEven(3.5), 4.0);
    QCOMPARE(NumberText::roundHalfEven(-2.5), -2.0);
    QCOMPARE(NumberText::roundHalfEven(10.6), 11.0);
    QCOMPARE(NumberText::roundHalfEven(697.8), 698.0);
    QCOMPARE(NumberText::roundHalfAway(2.5), 3.0);
    QCOMPARE(NumberText::roundHalfAway(-2.5), -3.0);
}

void TestNumberText::int16Range()
{
    QCOMPARE(*NumberText::toInt16(32767.4), qint16(32767));
    QCOMPARE(*NumberText::toInt16(-32768), qint16(-32768));
    QVERIFY(!NumberText::toInt16(32767.5).has_value()); // rounds to 32768
    QVERIFY(!NumberText::toInt16(-32769).has_value());
    QVERIFY(!NumberText::toInt16(std::nan("")).has_value());
    QCOMPARE(*NumberText::toInt32(2147483647.0), qint32(2147483647));
    QVERIFY(!NumberText::toInt32(2147483648.0).has_value());
}

void TestNumberText::sqlLiterals()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QCOMPARE(SqlLiteral::number(2.5), QStringLiteral("2.5"));
    QCOMPARE(SqlLiteral::number(-2.5), QStringLiteral("-2.5"));
    QCOMPARE(SqlLiteral::number(3.0), QStringLiteral("3"));
    QCOMPARE(SqlLiteral::number(-0.0), QStringLiteral("0"));
    QCOMPARE(SqlLiteral::number(0.1 + 0.2), QStringLiteral("0.3"));
    QCOMPARE(SqlLiteral::text(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    QCOMPARE(SqlLiteral::integer(-32768), QStringLiteral("-32768"));
    QLocale::setDefault(QLocale::c());
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "test_numbertext.moc"
