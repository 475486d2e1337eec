#pragma once

#include "OfferPrinter.h"
#include "OfferStore.h"
#include "OfferSummary.h"

#include <QDate>
#include <QDialog>
#include <QHash>
#include <memory>

class QTableWidgetItem;
struct CalculationContext;
namespace Ui {
class frmOffer;
}

// "Предложение": the customer's saved calculations, each reopened and
// recomputed, of which the ticked ones in the order shown make an offer with
// its sums; saved, reopened, printed and exported as a spreadsheet file.
class frmOffer : public QDialog
{
    Q_OBJECT
public:
    // today is the date of a save and of the printout.
    frmOffer(CalculationContext& context, const OfferCustomer& customer, const QDate& today,
             QWidget* parent = nullptr);
    ~frmOffer() override;

private:
    struct Row
    {
        qint32 key = 0;
        bool ticked = false;
    };

    void loadCalculations();
    void fillOffers();
    void fillTable();
    void fillSums();
    const OfferChamber& chamberOf(qint32 key);
    // The ticked chambers in their order, and their dates.
    QList<OfferChamber> offerChambers(QStringList* dates) const;
    void move(int by);
    void tblChambers_ItemChanged(QTableWidgetItem* item);
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdOpen_Click();
    void cmdSave_Click();
    void cmdExport_Click();
    void cmdPrint_Click();

    CalculationContext& m_context;
    OfferCustomer m_customer;
    QDate m_today;
    std::unique_ptr<Ui::frmOffer> m_ui;
    QList<Row> m_rows;
    QList<qint32> m_customerCalculations; // the customer's, as the store lists them
    QHash<qint32, QString> m_dates;
    QHash<qint32, OfferChamber> m_chambers;
    QList<SavedOffer> m_offers;
    qint64 m_offerKey = 0; // the offer opened or saved; 0 for a new one
    bool m_kept = false;
    OfferStore::Saving m_save;
};
