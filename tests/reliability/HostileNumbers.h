#pragma once

#include <QList>
#include <QString>
#include <optional>

// Texts that break naive number reading, with what the documented rules make
// of each:
// - reading: the wizard's boxes take the leading number, blanks ignored, no
//   number as 0, a number beyond the double range as nothing (nullopt);
//   readingWithCommas the same after every "," became ".";
// - localeNumber: the whole text is a finite number in the C locale (the
//   forward checks of the wizard and every box of the administrator, whose
//   boxes first turn "," into "." and trim blanks).
struct HostileNumber
{
    const char* name;
    QString text;
    std::optional<double> reading;
    std::optional<double> readingWithCommas;
    bool localeNumber;
};

inline QList<HostileNumber> hostileNumbers()
{
    const double forty = 1234567890123456789012345678901234567890.0;
    return {
        {"empty", QString(), 0.0, 0.0, false},
        {"blanks", QStringLiteral("   "), 0.0, 0.0, false},
        {"1e400", QStringLiteral("1e400"), std::nullopt, std::nullopt, false},
        {"-0", QStringLiteral("-0"), -0.0, -0.0, true},
        {"nan", QStringLiteral("nan"), 0.0, 0.0, false},
        {"inf", QStringLiteral("inf"), 0.0, 0.0, false},
        {"--5", QStringLiteral("--5"), 0.0, 0.0, false},
        {"5-", QStringLiteral("5-"), 5.0, 5.0, false},
        {"1,2,3", QStringLiteral("1,2,3"), 1.0, 1.2, false},
        {"1.2.3", QStringLiteral("1.2.3"), 1.2, 1.2, false},
        {"arabic-indic 3", QStringLiteral("\u0663"), 0.0, 0.0, false},
        {"40 digits", QStringLiteral("1234567890123456789012345678901234567890"), forty, forty, true},
        {"150", QStringLiteral("150"), 150.0, 150.0, true},
        {"32768", QStringLiteral("32768"), 32768.0, 32768.0, true},
        {"-32769", QStringLiteral("-32769"), -32769.0, -32769.0, true},
    };
}
