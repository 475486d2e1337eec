#include "ResultText.h"

#include "NumberText.h"

#include <QLocale>

namespace ResultText {

namespace {

QLocale systemLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

// Rounding can leave a negative zero, which would print as "-0".
double withoutNegativeZero(double value)
{
    return value == 0.0 ? 0.0 : value;
}

} // namespace

QString whole(double value)
{
    return systemLocale().toString(withoutNegativeZero(NumberText::roundHalfAway(value)), 'f', 0);
}

QString oneDecimal(double value)
{
    return systemLocale().toString(withoutNegativeZero(NumberText::roundHalfAway(value * 10.0) / 10.0), 'f',
                                   1);
}

QString plain(double value)
{
    return systemLocale().toString(withoutNegativeZero(value), 'g', 15);
}

} // namespace ResultText
