#pragma once

#include "ReportOutput.h"

#include <QList>
#include <QString>
#include <QStringList>

class QDate;
struct CalculationContext;
struct OfferChamber;

// The customer an offer is made for, as the customer screen holds it.
struct OfferCustomer
{
    qint16 key = 0;
    QString organization, city, phones, email, name;
};

// "Печать" of an offer: its summary under the report's header (the
// customer, the table, the sums, each chamber's warnings), then both report
// pages of each chamber, as one document.
namespace OfferPrinter {

// chambers are those of the offer in its order, dates their calculations'.
ReportOutput::Document Document(CalculationContext& context, const OfferCustomer& customer,
                                const QString& name, const QList<OfferChamber>& chambers,
                                const QStringList& dates, const QDate& today);

} // namespace OfferPrinter
