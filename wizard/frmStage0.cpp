#include "frmStage0.h"

#include "ui_frmStage0.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DatabaseAccess.h"
#include "FailedReadMessage.h"
#include "ListFill.h"
#include "Messages.h"
#include "MissingReferences.h"
#include "Orders.h"
#include "PictureFit.h"

#include <QLocale>

namespace {
const QString UserChoiceMarker = QStringLiteral("1");
}

frmStage0::frmStage0(CalculationContext& context, CalculationRecord& record, QWidget* parent)
    : WizardScreen(context, record, parent), m_ui(std::make_unique<Ui::frmStage0>())
{
    m_ui->setupUi(this);
    setUpScreen(m_ui->cmbNext, nullptr, m_ui->cmbCancel);
    PictureFit::show(m_ui->Image1, QStringLiteral(":/images/stage0.jpg"));
    // A typed organisation stays as typed: completing it to a saved customer
    // would silently take that customer's details and calculations.
    m_ui->Combo1->setCompleter(nullptr);

    connect(m_ui->Combo1, &QComboBox::activated, this, &frmStage0::Combo1_Click);
    connect(m_ui->Combo1, &QComboBox::editTextChanged, this, &frmStage0::Combo1_Change);
    connect(m_ui->Combo1->lineEdit(), &QLineEdit::textEdited, this, &frmStage0::Combo1_Edited);
    connect(m_ui->Command1, &QPushButton::clicked, this, &frmStage0::Command1_Click);
    connect(m_ui->Combo2, &QComboBox::activated, this, &frmStage0::Combo2_Click);
    connect(m_ui->cmdOffer, &QPushButton::clicked, this, &frmStage0::offerRequested);

    FillContact();
}

frmStage0::~frmStage0() = default;

void frmStage0::FillContact()
{
    context().failedReads.clear();
    m_customers = QueryTable();
    const int rows = ReadCustomers(context(), m_customers);
    ShowFailedRead(context(), QStringLiteral("Список клиентов не показан"));
    m_chosen = -1;
    if (ListFill::fill(m_ui->Combo1, m_customers, rows, CustomerColumn::Organization, CustomerColumn::Key)) {
        ListFill::selectQuietly(m_ui->Combo1, 0);
        Combo1_Click(0);
    }
}

bool frmStage0::refreshCustomers()
{
    CalculationContext& c = context();
    c.failedReads.clear();
    QueryTable customers;
    const int rows = ReadCustomers(c, customers);
    if (c.failedReads.any()) {
        ShowFailedRead(c, QStringLiteral("Список клиентов не обновлен"));
        return false;
    }
    const QVariant chosenKey = m_chosen >= 0 ? m_ui->Combo1->itemData(m_chosen) : QVariant();
    const QString typed = m_ui->Combo1->currentText();
    // Thousands of customers take a while to list: an unchanged list stays.
    if (!(customers == m_customers)) {
        m_customers = customers;
        ListFill::fill(m_ui->Combo1, m_customers, rows, CustomerColumn::Organization, CustomerColumn::Key);
    }
    {
        const QSignalBlocker blocker(m_ui->Combo1);
        m_ui->Combo1->setCurrentIndex(-1);
        m_ui->Combo1->setEditText(typed);
    }
    // The customer chosen stays chosen while it has its row; a typed
    // organisation that now has one is that customer.
    m_chosen = chosenKey.isValid() ? m_ui->Combo1->findData(chosenKey)
                                   : m_ui->Combo1->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return true;
}

void frmStage0::resetForNewCalculation()
{
    m_ui->Combo2->hide();
    m_ui->Label1->hide();
    m_ui->cmdOffer->hide();
    m_ui->cmbNext->setEnabled(true);
    m_ui->Label7->setText(QStringLiteral("2"));
}

void frmStage0::Combo1_Click(int index)
{
    if (index < 0)
        return;
    CalculationRecord& r = record();
    r.contact = static_cast<qint16>(m_ui->Combo1->itemData(index).toInt());
    m_ui->Combo2->hide();
    {
        const QSignalBlocker blocker(m_ui->Combo1);
        m_ui->Combo1->setEditText(m_customers.text(index, CustomerColumn::Organization));
    }
    Combo1_Change();
    m_ui->Text2->setText(m_customers.text(index, CustomerColumn::City));
    m_ui->Text3->setText(m_customers.text(index, CustomerColumn::Phones));
    m_ui->Text4->setText(m_customers.text(index, CustomerColumn::Email));
    m_ui->Text5->setText(m_customers.text(index, CustomerColumn::Name));
    m_chosen = index;
}

void frmStage0::Combo1_Change()
{
    m_ui->Text2->clear();
    m_ui->Text3->clear();
    m_ui->Text4->clear();
    m_ui->Text5->clear();
    m_ui->Combo2->hide();
    m_ui->Label1->hide();
    m_ui->cmdOffer->hide();
    m_ui->cmbNext->setEnabled(true);
    record().NewContact = true;
}

void frmStage0::Combo1_Edited()
{
    m_chosen = -1;
}

void frmStage0::readCustomer()
{
    CalculationRecord& r = record();
    // The organisation never carries an apostrophe into the orders database.
    r.contact_organization = m_ui->Combo1->currentText().replace(QLatin1Char('\''), QLatin1Char('~'));
    r.contact_city = m_ui->Text2->text();
    r.contact_phones = m_ui->Text3->text();
    r.contact_email = m_ui->Text4->text();
    r.contact_name = m_ui->Text5->text();
}

QString frmStage0::dateSeparator() const
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    for (const QChar c : format) {
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\''))
            return QString(c);
    }
    return QStringLiteral("/");
}

void frmStage0::Command1_Click()
{
    readCustomer();
    m_ui->Combo2->clear();
    m_ui->cmdOffer->hide();
    // The chosen customer's calculations go with the list, in one request.
    ReadOrdersAhead(context(), [&] {
        return SearchReads(m_chosen >= 0
                               ? std::optional<qint16>(qint16(m_ui->Combo1->itemData(m_chosen).toInt()))
                               : std::nullopt);
    });
    if (!refreshCustomers() || m_chosen < 0)
        return;
    QueryTable orders;
    const int rows = FindOrders(
        context(), static_cast<qint16>(m_customers.integer(m_chosen, CustomerColumn::Key)), orders);
    if (context().failedReads.any()) {
        ShowFailedRead(context(), QStringLiteral("Расчеты клиента не найдены"));
        return;
    }
    if (rows == 0) {
        Messages::show(QStringLiteral("Записей не найдено!"), MsgIcon::Information,
                       QStringLiteral("Внимание"));
        m_ui->cmbNext->setEnabled(true);
        return;
    }
    const QString sep = dateSeparator();
    const QString pattern = QStringLiteral("dd") + sep + QStringLiteral("MM") + sep + QStringLiteral("yyyy");
    for (int row = 0; row < rows; ++row) {
        const QString date = orders.value(row, FoundOrderColumn::Date).toDate().toString(pattern);
        m_ui->Combo2->addItem(date + QLatin1Char(' ') + orders.text(row, FoundOrderColumn::Note),
                              orders.integer(row, FoundOrderColumn::Key));
    }
    // The first item is selected by the program; only the next choice is the user's.
    m_ui->Label7->setText(QStringLiteral("2"));
    ListFill::selectQuietly(m_ui->Combo2, 0);
    Combo2_Click(0);
    m_ui->Combo2->show();
    m_ui->Label1->show();
    m_ui->cmdOffer->show();
    m_ui->cmbNext->setEnabled(false);
}

OfferCustomer frmStage0::chosenCustomer() const
{
    const CalculationRecord& r = record();
    return {m_chosen < 0 ? qint16(0) : qint16(m_customers.integer(m_chosen, CustomerColumn::Key)),
            r.contact_organization,
            r.contact_city,
            r.contact_phones,
            r.contact_email,
            r.contact_name};
}

void frmStage0::Combo2_Click(int index)
{
    if (m_ui->Label7->text() != UserChoiceMarker) {
        m_ui->Label7->setText(UserChoiceMarker);
        return;
    }
    if (index < 0)
        return;
    CalculationRecord& r = record();
    QString rangeError;
    const bool computed = ReopenCalculation(
        context(), r, static_cast<qint32>(m_ui->Combo2->itemData(index).toLongLong()), nullptr, &rangeError);
    ShowNotices(context());
    if (!computed) {
        // A reopen that could not read stays here, the record untouched.
        if (context().failedReads.any())
            ShowFailedRead(context(), QStringLiteral("Расчет «") + m_ui->Combo2->itemText(index) +
                                          QStringLiteral("» не открыт"));
        else
            Messages::show(rangeError, MsgIcon::Exclamation, QStringLiteral("Внимание"));
        return;
    }
    // The customer was chosen from the list (a search needs that), so it has
    // its row already: a later save must update it, not add it a second time.
    r.NewContact = false;
    const QVector<MissingReference> missing = MissingReferences(context(), r);
    if (!missing.isEmpty())
        Messages::show(QStringLiteral("В справочнике больше нет данных, использованных в этом расчете:\n") +
                           MissingReferenceLines(missing).join(QLatin1Char('\n')) +
                           QStringLiteral("\n\nРезультаты пересчитаны по текущему справочнику и могут "
                                          "отличаться от сохраненных."),
                       MsgIcon::Exclamation, QStringLiteral("Внимание"));
    emit reopened();
}

void frmStage0::nextButton_Click()
{
    readCustomer();
    const int chosen = m_chosen;
    ResetRecordFields(record());
    resetForNewCalculation();
    CalculationRecord& r = record();
    r.NewContact = chosen < 0;
    if (chosen >= 0)
        r.contact = static_cast<qint16>(m_ui->Combo1->itemData(chosen).toInt());
    r.NewCalculation = true;
    emit next();
}
