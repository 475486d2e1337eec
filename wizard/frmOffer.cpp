#include "frmOffer.h"

#include "ui_frmOffer.h"

#include "CalculationContext.h"
#include "Database.h"
#include "DatabaseFailure.h"
#include "FailedReadMessage.h"
#include "FailurePresenter.h"
#include "Messages.h"
#include "OfferTable.h"
#include "Orders.h"
#include "QueryTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QStandardPaths>

namespace {

constexpr int TickColumn = 0;

const QString NotKept = QStringLiteral(
    "Эта база заказов создана раньше, чем появились предложения, и не хранит их: предложение можно "
    "напечатать и выгрузить в CSV, но не сохранить. Чтобы хранить предложения, базу на сервере "
    "дополняет команда frostpick-db init, а файл переносит в новый команда frostpick-db copy.");

} // namespace

frmOffer::frmOffer(CalculationContext& context, const OfferCustomer& customer, const QDate& today,
                   QWidget* parent)
    : QDialog(parent), m_context(context), m_customer(customer), m_today(today),
      m_ui(std::make_unique<Ui::frmOffer>())
{
    m_ui->setupUi(this);
    m_ui->lblCustomer->setText(QStringLiteral("Заказчик: ") + customer.organization);
    m_ui->tblChambers->setColumnCount(int(OfferTable::header().size()));
    m_ui->tblChambers->setHorizontalHeaderLabels(OfferTable::header());
    m_ui->tblChambers->horizontalHeader()->setStretchLastSection(true);

    connect(m_ui->tblChambers, &QTableWidget::itemChanged, this, &frmOffer::tblChambers_ItemChanged);
    connect(m_ui->cmdUp, &QPushButton::clicked, this, &frmOffer::cmdUp_Click);
    connect(m_ui->cmdDown, &QPushButton::clicked, this, &frmOffer::cmdDown_Click);
    connect(m_ui->cmdOpen, &QPushButton::clicked, this, &frmOffer::cmdOpen_Click);
    connect(m_ui->lstOffers, &QListWidget::itemDoubleClicked, this, &frmOffer::cmdOpen_Click);
    connect(m_ui->cmdSave, &QPushButton::clicked, this, &frmOffer::cmdSave_Click);
    connect(m_ui->cmdExport, &QPushButton::clicked, this, &frmOffer::cmdExport_Click);
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &frmOffer::cmdPrint_Click);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QDialog::close);

    // A store made before offers is not changed behind its owner's back:
    // an engineer's server role may not create tables, and a copy into a new
    // store made by frostpick-db gives it them.
    m_kept = m_context.order_db && OfferStore::IsKept(*m_context.order_db);
    m_ui->lblNotKept->setText(NotKept);
    m_ui->lblNotKept->setVisible(!m_kept);
    for (QWidget* w : {static_cast<QWidget*>(m_ui->lstOffers), static_cast<QWidget*>(m_ui->cmdOpen),
                       static_cast<QWidget*>(m_ui->cmdSave)})
        w->setEnabled(m_kept);

    loadCalculations();
    fillOffers();
    fillTable();
}

frmOffer::~frmOffer() = default;

void frmOffer::loadCalculations()
{
    QueryTable orders;
    const int rows = FindOrders(m_context, m_customer.key, orders);
    if (m_context.failedReads.any()) {
        ShowFailedRead(m_context, QStringLiteral("Расчеты клиента не найдены"));
        return;
    }
    for (int row = 0; row < rows; ++row) {
        const qint32 key = qint32(orders.integer(row, FoundOrderColumn::Key));
        m_customerCalculations << key;
        m_dates.insert(
            key, orders.value(row, FoundOrderColumn::Date).toDate().toString(QStringLiteral("dd.MM.yyyy")));
        m_rows.append({key, false});
    }
}

const OfferChamber& frmOffer::chamberOf(qint32 key)
{
    auto it = m_chambers.find(key);
    if (it == m_chambers.end())
        it = m_chambers.insert(key, OfferSummary::Compute(m_context, key));
    return *it;
}

void frmOffer::fillOffers()
{
    m_ui->lstOffers->clear();
    if (!m_kept)
        return;
    const Result<QList<SavedOffer>> offers = OfferStore::Read(*m_context.order_db, m_customer.key);
    if (!offers) {
        PresentFailure(offers.failure().at(m_context.location.orders()),
                       QStringLiteral("Сохраненные предложения не прочитаны"));
        return;
    }
    m_offers = offers.value();
    for (const SavedOffer& offer : m_offers) {
        m_ui->lstOffers->addItem(QStringLiteral("%1 (%2)").arg(
            offer.name, QDate::fromString(offer.date, Qt::ISODate).toString(QStringLiteral("dd.MM.yyyy"))));
        if (offer.key == m_offerKey)
            m_ui->lstOffers->setCurrentRow(m_ui->lstOffers->count() - 1);
    }
}

void frmOffer::fillTable()
{
    QTableWidget* table = m_ui->tblChambers;
    const QSignalBlocker quiet(table);
    table->clearSpans();
    table->setRowCount(int(m_rows.size()));
    for (int row = 0; row < m_rows.size(); ++row) {
        const OfferChamber& chamber = chamberOf(m_rows.at(row).key);
        const QStringList cells = OfferTable::cells(chamber, m_dates.value(chamber.key));
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells.at(column));
            if (!chamber.summed()) {
                item->setForeground(Qt::darkRed);
                item->setToolTip(chamber.reason);
            }
            table->setItem(row, column, item);
        }
        const int rest = int(cells.size()) - OfferTable::ReasonColumn;
        table->setSpan(row, OfferTable::ReasonColumn, 1, chamber.summed() ? 1 : rest);
        QTableWidgetItem* tick = table->item(row, TickColumn);
        // A chamber that is not computed cannot go into the offer.
        tick->setFlags(chamber.summed() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
                                        : Qt::ItemIsSelectable);
        tick->setCheckState(m_rows.at(row).ticked && chamber.summed() ? Qt::Checked : Qt::Unchecked);
    }
    table->resizeColumnsToContents();
    fillSums();
}

void frmOffer::fillSums()
{
    const QList<OfferChamber> chambers = offerChambers(nullptr);
    m_ui->lblSums->setText(OfferTable::sumsText(OfferSummary::Sum(chambers)));
    for (QWidget* w : {static_cast<QWidget*>(m_ui->cmdExport), static_cast<QWidget*>(m_ui->cmdPrint)})
        w->setEnabled(!chambers.isEmpty());
    m_ui->cmdSave->setEnabled(m_kept && !chambers.isEmpty());
}

QList<OfferChamber> frmOffer::offerChambers(QStringList* dates) const
{
    QList<OfferChamber> chambers;
    for (const Row& row : m_rows) {
        const OfferChamber& chamber = m_chambers.value(row.key);
        if (!row.ticked || !chamber.summed())
            continue;
        chambers << chamber;
        if (dates)
            *dates << m_dates.value(row.key);
    }
    return chambers;
}

void frmOffer::tblChambers_ItemChanged(QTableWidgetItem* item)
{
    if (item->column() != TickColumn)
        return;
    m_rows[item->row()].ticked = item->checkState() == Qt::Checked;
    fillSums();
}

void frmOffer::move(int by)
{
    const int row = m_ui->tblChambers->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= m_rows.size())
        return;
    m_rows.swapItemsAt(row, to);
    fillTable();
    m_ui->tblChambers->selectRow(to);
}

void frmOffer::cmdUp_Click()
{
    move(-1);
}

void frmOffer::cmdDown_Click()
{
    move(1);
}

// The offer's chambers first, in its order, then the customer's others.
void frmOffer::cmdOpen_Click()
{
    const int index = m_ui->lstOffers->currentRow();
    if (index < 0 || index >= m_offers.size())
        return;
    const SavedOffer& offer = m_offers.at(index);
    m_rows.clear();
    for (qint32 key : offer.calculations)
        m_rows.append({key, true});
    for (qint32 key : m_customerCalculations)
        if (!offer.calculations.contains(key))
            m_rows.append({key, false});
    m_offerKey = offer.key;
    m_ui->txtName->setText(offer.name);
    fillTable();
}

void frmOffer::cmdSave_Click()
{
    const QString name = m_ui->txtName->text().trimmed();
    if (name.isEmpty()) {
        Messages::show(QStringLiteral("Введите название предложения"), MsgIcon::Exclamation,
                       QStringLiteral("Внимание"));
        return;
    }
    SavedOffer offer{m_offerKey, m_customer.key, name, m_today.toString(Qt::ISODate), {}};
    for (const OfferChamber& chamber : offerChambers(nullptr))
        offer.calculations << chamber.key;
    const Result<void> saved = OfferStore::Save(*m_context.order_db, offer, m_save);
    // An offer gone from the store comes back without its key: the next save makes it anew.
    m_offerKey = offer.key;
    if (!saved) {
        DatabaseFailure failure = saved.failure().at(m_context.location.orders());
        failure.outcomeUnknown = m_save.attempt.outcome() == WriteAttempt::Outcome::Unknown;
        PresentFailure(failure, QStringLiteral("Предложение не сохранено"));
        return;
    }
    if (m_save.attempt.outcome() == WriteAttempt::Outcome::StoredAnswerLost)
        Messages::show(m_save.attempt.note(), MsgIcon::Information, QStringLiteral("Внимание"));
    fillOffers();
}

void frmOffer::cmdExport_Click()
{
    QStringList dates;
    const QList<OfferChamber> chambers = offerChambers(&dates);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString pdfName =
        ReportOutput::FreeFileName(folder, m_customer.organization, m_today, QStringLiteral("предложение"));
    const QString suggested =
        QDir(folder).filePath(QFileInfo(pdfName).completeBaseName() + QStringLiteral(".csv"));
    const QString path =
        Messages::saveFile(QStringLiteral("Экспорт в CSV"), QStringLiteral("Файлы CSV (*.csv)"), suggested);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(OfferTable::csv(chambers, dates)) < 0 || !file.flush()) {
        Messages::show(QStringLiteral("Файл %1 не записан:\r\n%2").arg(path, file.errorString()),
                       MsgIcon::Exclamation, QStringLiteral("Ошибка"));
    }
}

void frmOffer::cmdPrint_Click()
{
    QStringList dates;
    const QList<OfferChamber> chambers = offerChambers(&dates);
    ReportOutput::PrintOrSave(
        OfferPrinter::Document(m_context, m_customer, m_ui->txtName->text(), chambers, dates, m_today),
        m_customer.organization, m_today);
}
