#include "OrderUsage.h"

#include "DataLocation.h"
#include "Database.h"
#include "DatabaseFailure.h"
#include "Functions.h"
#include "Messages.h"
#include "SqlLiteral.h"

#include <QStringList>

namespace OrderUsage {

namespace {

// The columns of a saved calculation that hold a key of the kind's table.
QStringList columnsOf(int kind)
{
    switch (kind) {
    case Functions::KindInsulation:
        return {QStringLiteral("xk_ceiling_stuff"), QStringLiteral("xk_wall_stuff"),
                QStringLiteral("xk_floor_stuff")};
    case Functions::KindCurtain:
        return {QStringLiteral("xk_curtain")};
    case Functions::KindProduct:
        return {QStringLiteral("px_product")};
    case Functions::KindPacking:
        return {QStringLiteral("px_packing")};
    case Functions::KindEquipment:
        return {QStringLiteral("xo_type1")};
    default:
        return {};
    }
}

} // namespace

int count(const DataLocation& location, int kind, qint64 key)
{
    const QStringList columns = columnsOf(kind);
    if (columns.isEmpty())
        return 0;
    const DatabaseAddress orders = location.orders();
    if (orders.isMissing())
        return 0;
    const QString value = QLatin1Char('=') + SqlLiteral::integer(key);
    const Result<qint64> used =
        Database::peekCount(orders, QStringLiteral("SELECT COUNT(*) FROM data WHERE ") +
                                        columns.join(value + QStringLiteral(" OR ")) + value);
    if (used)
        return int(used.value());
    // An orders store not set up on the server holds no saved calculation,
    // like a missing file; any other failure leaves the use unknown.
    const bool notMade = used.failure().kind() == DatabaseFailure::Kind::NotMade;
    return notMade ? 0 : -1;
}

bool confirmDelete(const DataLocation& location, int kind, qint64 key, const QString& name,
                   const QString& plainQuestion)
{
    const int used = count(location, kind, key);
    QString question =
        used > 0
            ? QStringLiteral("«%1» используется в сохраненных расчетах: %2.\r\nУдалить ?").arg(name).arg(used)
            : plainQuestion;
    if (used < 0) {
        const QString unchecked =
            QStringLiteral("Не удалось проверить, используется ли «%1» в сохраненных расчетах.").arg(name);
        question = plainQuestion.isEmpty() ? unchecked + QStringLiteral("\r\nУдалить ?")
                                           : plainQuestion + QStringLiteral("\r\n") + unchecked;
    }
    return question.isEmpty() || Messages::show(question, MsgIcon::Question, QStringLiteral("Удаление"),
                                                MsgButtons::YesNo) == MsgAnswer::Yes;
}

} // namespace OrderUsage
