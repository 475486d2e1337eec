#include "OfferJson.h"

#include "OfferStore.h"
#include "OfferSummary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QStringList>

namespace {

QByteArray text(const QString& value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray number(double value)
{
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace

QByteArray offerSumsLine(qint64 offer, const OfferSums& sums)
{
    QByteArrayList units;
    for (const OfferUnits& u : sums.units)
        units << "{\"model\": " + text(u.model) + ", \"modification\": " + text(u.modification) +
                     ", \"count\": " + QByteArray::number(u.count) + '}';
    return "{\"offer\": " + QByteArray::number(offer) +
           ", \"chambers\": " + QByteArray::number(sums.chambers) +
           ", \"q_total\": " + QByteArray::number(sums.qTotal) + ", \"units\": [" + units.join(", ") +
           "], \"capacity\": " + number(sums.capacity) + '}';
}

QByteArray offerListLine(const SavedOffer& offer)
{
    QByteArrayList keys;
    for (qint32 key : offer.calculations)
        keys << QByteArray::number(key);
    return "{\"offer\": " + QByteArray::number(offer.key) +
           ", \"contact\": " + QByteArray::number(offer.contact) + ", \"name\": " + text(offer.name) +
           ", \"date\": " + text(offer.date) + ", \"calculations\": [" + keys.join(", ") + "]}";
}
