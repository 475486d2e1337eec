#include "FailedReadMessage.h"

#include "CalculationRecord.h"

namespace {

bool same(const DatabaseAddress& a, const DatabaseAddress& b)
{
    return a.engine == b.engine && a.database == b.database;
}

QString whatWasRead(const CalculationRecord& record, const DatabaseAddress& failed)
{
    const DatabaseAddress reference = record.location.reference();
    const DatabaseAddress orders = record.location.orders();
    if (same(reference, orders))
        return QStringLiteral("данные");
    if (same(failed, reference))
        return QStringLiteral("справочные данные");
    return QStringLiteral("клиентов и сохраненные расчеты");
}

} // namespace

void ShowFailedRead(const CalculationRecord& record, const QString& notDone)
{
    const std::optional<DatabaseFailure>& failure = record.failedReads->first();
    if (!failure)
        return;
    ShowDatabaseFailure(QStringLiteral("Ошибка чтения базы данных\r\n") + notDone +
                            QStringLiteral(": не удалось прочитать ") +
                            whatWasRead(record, failure->address) + QLatin1Char('.'),
                        *failure);
}
