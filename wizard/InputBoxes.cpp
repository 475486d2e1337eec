#include "InputBoxes.h"

#include "Messages.h"
#include "NumberText.h"
#include "ScreenBehaviour.h"

#include <QLineEdit>
#include <QLocale>
#include <limits>

namespace {

QLocale systemFormat()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

namespace InputBoxes {

double number(const QLineEdit* box, bool replaceCommas)
{
    return NumberText::read(box->text(), replaceCommas).value_or(0.0);
}

bool isNumber(const QLineEdit* box)
{
    return NumberText::isNumeric(box->text(), QLocale());
}

std::optional<qint16> int16(const QLineEdit* box, bool replaceCommas)
{
    const std::optional<double> value = NumberText::read(box->text(), replaceCommas);
    if (!value)
        return std::nullopt;
    return NumberText::toInt16(*value);
}

bool refuse(QLineEdit* box, const QString& text, const QString& title)
{
    Messages::show(text, MsgIcon::Exclamation, title);
    ScreenBehaviour::focusBox(box);
    return false;
}

bool checkInt16(QLineEdit* box, bool replaceCommas)
{
    if (int16(box, replaceCommas))
        return true;
    return refuse(box,
                  QStringLiteral("Поле \"%1\": допускается целое число от %2 до %3")
                      .arg(box->accessibleName())
                      .arg(std::numeric_limits<qint16>::min())
                      .arg(std::numeric_limits<qint16>::max()),
                  QStringLiteral("Ошибка ввода данных"));
}

QString pointText(double value)
{
    return QString::number(value, 'g', 15);
}

QString localeText(double value)
{
    return systemFormat().toString(value, 'g', 15);
}

QString fixedText(double value, int decimals)
{
    return systemFormat().toString(value, 'f', decimals);
}

} // namespace InputBoxes
