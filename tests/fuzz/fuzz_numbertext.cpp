// libFuzzer target for reading and testing typed numbers: any text, in any
// encoding damage, must give a finite number or a clear refusal, and the
// number written into SQL must read back as the same value.
#include "NumberText.h"
#include "SqlLiteral.h"

#include <QLocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkValue(double value)
{
    check(std::isfinite(value));
    const QString literal = SqlLiteral::number(value);
    // Whole numbers take a shorter way to the same text.
    check(value == 0 || literal == QString::number(value, 'g', 15));
    bool ok = false;
    const double back = literal.toDouble(&ok);
    check(ok);
    check(back == value || std::fabs(back - value) <= 1e-14 * std::fabs(value));
    if (const auto small = NumberText::toInt16(value))
        check(std::fabs(double(*small) - value) <= 0.5);
    if (const auto wide = NumberText::toInt32(value))
        check(std::fabs(double(*wide) - value) <= 0.5);
    const double rounded = NumberText::roundHalfEven(value);
    check(std::fabs(rounded - value) <= 0.5);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (bool commas : {false, true}) {
        if (const auto value = NumberText::read(text, commas))
            checkValue(*value);
    }
    static const QLocale russian(QLocale::Russian, QLocale::Russia);
    for (const QLocale& locale : {QLocale::c(), russian}) {
        if (NumberText::isNumeric(text, locale)) {
            bool ok = false;
            check(std::isfinite(locale.toDouble(text.trimmed(), &ok)) && ok);
        }
    }
    return 0;
}
