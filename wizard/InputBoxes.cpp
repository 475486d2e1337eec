#include "InputBoxes.h"

#include "Messages.h"
#include "NumberText.h"

#include <QLineEdit>
#include <QLocale>
#include <cmath>

namespace {

QString withPoints(const QLineEdit* box)
{
    return box->text().replace(QLatin1Char(','), QLatin1Char('.'));
}

} // namespace

namespace InputBoxes {

double number(const QLineEdit* box)
{
    return NumberText::read(box->text(), true).value_or(0.0);
}

bool isNumber(const QLineEdit* box)
{
    return NumberText::isNumeric(withPoints(box), QLocale::c());
}

std::optional<qint16> int16(const QLineEdit* box)
{
    const std::optional<double> value = NumberText::read(box->text(), true);
    if (!value || *value != std::trunc(*value))
        return std::nullopt;
    return NumberText::toInt16(*value);
}

bool refuse(QLineEdit* box, const QString& text, const QString& title)
{
    Messages::show(text, MsgIcon::Exclamation, title);
    box->setFocus(Qt::OtherFocusReason);
    return false;
}

bool checkWhole(QLineEdit* box, int min, int max)
{
    const std::optional<qint16> value = int16(box);
    if (value && *value >= min && *value <= max)
        return true;
    return refuse(box,
                  QStringLiteral("Поле \"%1\": допускается целое число от %2 до %3")
                      .arg(box->accessibleName())
                      .arg(min)
                      .arg(max),
                  QStringLiteral("Ошибка ввода данных"));
}

bool checkRange(QLineEdit* box, double min, double max)
{
    const double value = number(box);
    if (value >= min && value <= max)
        return true;
    const QString name = QStringLiteral("Поле \"%1\": допускается число ").arg(box->accessibleName());
    return refuse(box,
                  name + (std::isinf(max)
                              ? QStringLiteral("не меньше %1").arg(pointText(min))
                              : QStringLiteral("от %1 до %2").arg(pointText(min), pointText(max))),
                  QStringLiteral("Ошибка ввода данных"));
}

QString pointText(double value)
{
    return QString::number(value, 'g', 15);
}

QString fixedText(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

} // namespace InputBoxes
