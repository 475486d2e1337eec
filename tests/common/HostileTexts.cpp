#include "HostileTexts.h"

#include "Database.h"
#include "QueryTable.h"

namespace HostileTexts {

QStringList all()
{
    return {
        QStringLiteral("О'Кей"),
        QStringLiteral("''"),
        QStringLiteral("'); DELETE FROM contact; --"),
        QStringLiteral("\"двойные\" кавычки"),
        QStringLiteral("C:\\путь\\к\\файлу\\"),
        QStringLiteral("100% _скидка_"),
        QStringLiteral("a;b;c"),
        QStringLiteral("-- комментарий"),
        QStringLiteral("/* не комментарий */"),
        QStringLiteral("Ёлкин Пётр Семёнович"),
        QStringLiteral("Холод ❄️🧊 доставка"),
        QStringLiteral("שלום עולם مرحبا"),
        QString(4000, QChar(u'Ж')),
        QStringLiteral("   пробелы по краям   "),
        QStringLiteral("\tтабуляция"),
        QString(),
    };
}

QStringList rowsOf(Database& db, const QStringList& tables)
{
    QStringList rows;
    for (const QString& table : tables) {
        QueryTable t;
        const int n = db.query(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table), t).valueOr(-1);
        for (int r = 0; r < n; ++r) {
            QStringList cells;
            for (int c = 0; c < t.columnCount(); ++c)
                cells << t.text(r, c);
            rows << table + QLatin1Char(':') + cells.join(QChar(0x1f));
        }
    }
    return rows;
}

} // namespace HostileTexts
