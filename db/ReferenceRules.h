#pragma once

#include <QString>
#include <QVariantHash>
#include <QVector>
#include <optional>

// What a column of the reference data may hold, stated once for every door
// a value comes in by: the editors, the spreadsheet import and frostpick-db
// (import and copy); the calculation warns about stored rows that break it.
struct ColumnRule
{
    enum class Kind {
        Any,    // any text, or a column of no reference table
        Name,   // text that is not blank
        Number, // a number within low..high
        Whole,  // a whole number within low..high
    };
    const char* table;
    const char* column;
    Kind kind;
    double low;
    double high;
    bool aboveLow; // low itself is refused: a capacity of 0 W is none

    bool isNumeric() const { return kind == Kind::Number || kind == Kind::Whole; }
    bool accepts(double value) const;
    // "должно быть от 0 до 100"
    QString reason() const;
};

// Two columns of one row: greater must hold more than smaller.
struct CrossRule
{
    const char* table;
    const char* greater;
    const char* smaller;
    const char* why;
};

// A value that breaks a rule: the column, the text as found, the rule.
struct RuleBreach
{
    QString column;
    QString problem; // "должно быть от 0 до 100 «150»"
};

namespace ReferenceRules {

// Keys a calculation keeps in 16 bits.
inline constexpr double LowestKey = 1;
inline constexpr double HighestKey = 32767;

// The rule of a column (names as in the schema, in any case); Any for a
// column without one and for the orders tables.
const ColumnRule& of(const QString& table, const QString& column);

// The text as found, with what cannot be seen or told apart named: a
// no-break space as <U+00A0>, a byte-order mark as <U+FEFF>, a Unicode
// minus as <U+2212>.
QString shown(const QString& text);
// "<reason> «<text shown>»"
QString problem(const QString& reason, const QString& text);
// "Таблица curtain, столбец «c_value»: <problem>"
QString refusal(const QString& table, const QString& column, const QString& problem);

// A field of a file strictly as a number: an optional sign, digits, at most
// one decimal separator (',' with decimalComma, else '.') and an optional
// exponent; blanks only around it. Nullopt for anything else, also for a
// number a double cannot hold (1e400, 1e-400).
std::optional<double> strictNumber(const QString& field, bool decimalComma);

// A field of a file for a numeric column: its number, or nullopt with the
// problem ("не число «12,3,4»", "должно быть от 0 до 100 «150»").
std::optional<double> fieldNumber(const ColumnRule& rule, const QString& field, bool decimalComma,
                                  QString* problem);

// A value as the store holds it (a number, a text, NULL) against the rule;
// empty when it passes.
QString storedProblem(const ColumnRule& rule, const QVariant& value);

// Every breach of the rules of a table's row, the columns' own first and
// then those between columns. row holds the columns known, by lower-case
// name; a rule whose column is absent is not checked.
QVector<RuleBreach> breaches(const QString& table, const QVariantHash& row);

// The rules between columns of a table.
QVector<CrossRule> crossRules(const QString& table);
// "должно быть больше tnz (…)"
QString crossReason(const CrossRule& rule);

} // namespace ReferenceRules
