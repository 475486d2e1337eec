#include "CalculationTrace.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

QString TraceLine::resultText() const
{
    if (!outcome.isEmpty())
        return outcome;
    return value ? TraceText::withUnit(*value, unit) : QString();
}

namespace {

QString localized(const QString& text)
{
    static const QRegularExpression pointBetweenDigits(QStringLiteral("(\\d)\\.(\\d)"));
    const QString point = QLocale().decimalPoint();
    if (point == QLatin1String("."))
        return text;
    return QString(text).replace(pointBetweenDigits, QStringLiteral("\\1") + point + QStringLiteral("\\2"));
}

} // namespace

TraceLine TraceLine::make(Kind kind, const char* key, const QString& name, const QString& formula,
                          const QString& values, std::optional<double> value, const QString& unit,
                          const QString& outcome)
{
    return {kind, QLatin1String(key), name, localized(formula), localized(values), value, unit, outcome};
}

namespace TraceText {

QString number(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == 0)
        return QStringLiteral("0");
    // Four significant digits, or all the integer digits of a larger number.
    const int magnitude = int(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(3 - magnitude, 0, 8);
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(value, 'f', decimals);
    if (decimals > 0) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(locale.decimalPoint()))
            text.chop(locale.decimalPoint().size());
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString withUnit(double value, const QString& unit)
{
    return unit.isEmpty() ? number(value) : number(value) + QLatin1Char(' ') + unit;
}

QString temperature(double value)
{
    const QString text = withUnit(value, QStringLiteral("°C"));
    return value < 0 ? QLatin1Char('(') + text + QLatin1Char(')') : text;
}

} // namespace TraceText
