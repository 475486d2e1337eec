// Saves calculations in a loop until it is killed: new calculations with new
// customers, new calculations of existing customers, and reopened ones saved
// in place. After each committed save it prints "saved N KEY".
#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "Database.h"
#include "DatabaseAccess.h"
#include "Orders.h"
#include "QueryTable.h"
#include "SaveScenario.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    CalculationContext context;
    CalculationRecord record;
    if (!OpenDatabases(context, DataLocation::folder(args.at(1))))
        return 1;
    const int first = args.at(2).toInt();
    QRandomGenerator random{quint32(first)};
    for (int n = first;; ++n) {
        ApplyStartValues(record);
        QueryTable rows;
        if (!SaveScenario::isNewCalculation(n) &&
            context.order_db->query(QStringLiteral("SELECT pkey FROM data ORDER BY pkey"), rows).valueOr(-1) >
                0) {
            const qint32 key = qint32(rows.integer(int(random.bounded(rows.rowCount())), 0));
            if (!LoadOrder(context, record, key))
                return 3;
            record.pkey_data = key;
            record.NewCalculation = false;
            record.NewContact = false;
        } else if (n % 3 == 1 &&
                   context.order_db->query(QStringLiteral("SELECT pkey FROM contact"), rows).valueOr(-1) >
                       0) {
            record.contact = qint16(rows.integer(int(random.bounded(rows.rowCount())), 0));
            record.NewContact = false;
            record.NewCalculation = true;
        } else {
            record.NewContact = true;
            record.contact = 0;
            record.NewCalculation = true;
        }
        SaveScenario::fill(record, n);
        if (!SaveCalculation(context, record, QDate(2026, 12, 6)))
            return 4;
        const qint64 key = record.NewCalculation ? context.order_db->lastInsertKey() : record.pkey_data;
        std::printf("saved %d %lld\n", n, static_cast<long long>(key));
        std::fflush(stdout);
    }
}
