#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct OfferChamber;
struct OfferSums;

// The offer's summary as the window, the printed page and the spreadsheet
// file show it: one row per chamber, the date being the calculation's.
namespace OfferTable {

QStringList header();
// A row that is not summed says why from the load column on, which the
// window and the printout join to the end of the row.
inline constexpr int ReasonColumn = 5;
QStringList cells(const OfferChamber& chamber, const QString& date);
// The sums line: "Итого: нагрузка N Вт; агрегаты: ...; производительность N Вт".
QString sumsText(const OfferSums& sums);

// The chambers with their dates and a sum row, as the administrator's
// spreadsheet files are written (';', decimal comma, UTF-8 with a BOM).
QByteArray csv(const QList<OfferChamber>& chambers, const QStringList& dates);

} // namespace OfferTable
