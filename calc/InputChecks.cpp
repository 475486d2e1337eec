#include "InputChecks.h"

#include "CalculationRecord.h"

#include <cmath>

namespace InputCheckText {

QString length()
{
    return QStringLiteral("Введите длину камеры");
}

QString width()
{
    return QStringLiteral("Введите ширину камеры");
}

QString height()
{
    return QStringLiteral("Введите высоту камеры");
}

QString chamberTooLarge()
{
    return QStringLiteral("Размеры камеры слишком велики");
}

QString processTime()
{
    return QStringLiteral("Должно быть положительное значение");
}

QString mass()
{
    return QStringLiteral("Введите полную массу продукта в камере");
}

QString entryBelowFinal()
{
    return QStringLiteral("Температура поступления должна быть больше конечной температуры");
}

QString finalBelowChamber(double chamberTemperature)
{
    return QStringLiteral("Конечная температура должна быть больше, чем температура в камере (") +
           QString::number(chamberTemperature, 'g', 15) + QStringLiteral(")!");
}

QString unitCount()
{
    return QStringLiteral("Введите количество агрегатов");
}

QString runTime()
{
    return QStringLiteral("Введите время работы компрессора");
}

} // namespace InputCheckText

QVector<FailedInputCheck> FailedInputChecks(const CalculationRecord& r)
{
    QVector<FailedInputCheck> failed;
    const auto check = [&](bool fails, const char* field, const char* name, double value,
                           const QString& text) {
        if (fails)
            failed.append({QLatin1String(field),
                           QString::fromUtf8(name) + QLatin1Char(' ') + QString::number(value, 'g', 15),
                           text});
    };
    using namespace InputCheckText;
    check(r.xk_length <= 0, "xk_length", "длина камеры", r.xk_length, length());
    check(r.xk_width <= 0, "xk_width", "ширина камеры", r.xk_width, width());
    check(r.xk_height <= 0, "xk_height", "высота камеры", r.xk_height, height());
    const double volume = r.xk_length * r.xk_width * r.xk_height;
    check(!std::isfinite(volume), "xk_length", "объем камеры", volume, chamberTooLarge());
    check(r.px_time <= 0, "px_time", "время процесса", r.px_time, processTime());
    check(r.px_weight < 0, "px_weight", "масса продукта", r.px_weight, mass());
    check(r.px_start_t < r.px_end_t, "px_start_t", "температура поступления", r.px_start_t,
          entryBelowFinal());
    check(r.px_end_t < r.xk_temperature, "px_end_t", "конечная температура", r.px_end_t,
          finalBelowChamber(r.xk_temperature));
    // The screens take neither a count nor a run time below one; the results
    // divide by both.
    check(r.xo_count <= 0, "xo_count", "количество агрегатов", r.xo_count, unitCount());
    check(r.xo_work <= 0, "xo_work", "время работы компрессора", r.xo_work, runTime());
    return failed;
}
