#include "FailedReadMessage.h"

#include "CalculationContext.h"
#include "FailurePresenter.h"

#include <utility>

namespace {

bool same(const DatabaseAddress& a, const DatabaseAddress& b)
{
    return a.engine == b.engine && a.database == b.database;
}

QString whatWasRead(const CalculationContext& context, const DatabaseAddress& failed)
{
    const DatabaseAddress reference = context.location.reference();
    const DatabaseAddress orders = context.location.orders();
    if (same(reference, orders))
        return QStringLiteral("данные");
    if (same(failed, reference))
        return QStringLiteral("справочные данные");
    return QStringLiteral("клиентов и сохраненные расчеты");
}

} // namespace

void ShowFailedRead(const CalculationContext& context, const QString& notDone)
{
    const std::optional<DatabaseFailure>& failure = context.failedReads.first();
    if (!failure)
        return;
    PresentFailure(*failure, QStringLiteral("Ошибка чтения базы данных\r\n") + notDone +
                                 QStringLiteral(": не удалось прочитать ") +
                                 whatWasRead(context, failure->address) + QLatin1Char('.'));
}

void ShowNotices(CalculationContext& context)
{
    for (const QString& notice : std::exchange(context.notices, {}))
        Messages::show(notice, MsgIcon::None, QString(), MsgButtons::Ok);
}
