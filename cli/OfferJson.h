#pragma once

#include <QByteArray>

struct OfferSums;
struct SavedOffer;

// The lines frostpick-calc prints for offers, each one JSON object.

// {"offer": KEY, "chambers": N, "q_total": W, "units": [{"model", "modification", "count"}], "capacity": W}
QByteArray offerSumsLine(qint64 offer, const OfferSums& sums);

// {"offer": KEY, "contact": KEY, "name": TEXT, "date": TEXT, "calculations": [KEY, ...]}
QByteArray offerListLine(const SavedOffer& offer);
