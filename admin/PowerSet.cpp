#include "PowerSet.h"

#include "QueryTable.h"
#include "SqlLiteral.h"

namespace PowerSet {

QString readQuery(const QString& model, double modification)
{
    return QStringLiteral("SELECT pkey,model,modification,in_t,out_t,power FROM power WHERE model=") +
           SqlLiteral::text(model) + QStringLiteral(" AND modification=") + SqlLiteral::number(modification) +
           QStringLiteral(" ORDER BY in_t,out_t");
}

QString entryText(const QString& model, const QString& modification)
{
    return model + (modification.size() == 2 ? QStringLiteral("0") : QString()) + modification;
}

QString gridProblem(const QueryTable& rows)
{
    const QString model = rows.text(0, Model);
    if (rows.rowCount() != RowCount)
        return QStringLiteral("У модели %1 %2 строк производительности вместо девяти "
                              "(три температуры в камере на три температуры снаружи).")
            .arg(model)
            .arg(rows.rowCount());
    if (model.size() != CodeLength)
        return QStringLiteral("Код модели \"%1\" должен состоять из трех символов.").arg(model);
    for (int k = 0; k < RowCount; ++k) {
        if (rows.number(k, InT) != rows.number(k / 3 * 3, InT) ||
            rows.number(k, OutT) != rows.number(k % 3, OutT))
            return QStringLiteral("Строки производительности модели %1 не образуют таблицу "
                                  "из трех температур в камере на три температуры снаружи.")
                .arg(model);
    }
    return {};
}

} // namespace PowerSet
