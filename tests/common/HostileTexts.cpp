#include "HostileTexts.h"

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

} // namespace HostileTexts
