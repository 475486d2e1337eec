#include "frmStage0.h"

#include "ui_frmStage0.h"

#include "CalculationRecord.h"
#include "Messages.h"
#include "Orders.h"
#include "PictureFit.h"
#include "ScreenBehaviour.h"
#include "Wizard.h"

#include <QLocale>

namespace {
const QString UserChoiceMarker = QStringLiteral("1");
}

frmStage0::frmStage0(Wizard& wizard, QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::frmStage0>()), m_wizard(wizard)
{
    m_ui->setupUi(this);
    PictureFit::show(m_ui->Image1, QStringLiteral(":/images/stage0.jpg"));
    ScreenBehaviour::nameFromLabels(this);

    connect(m_ui->Combo1, &QComboBox::activated, this, &frmStage0::Combo1_Click);
    connect(m_ui->Combo1, &QComboBox::editTextChanged, this, &frmStage0::Combo1_Change);
    connect(m_ui->Combo1->lineEdit(), &QLineEdit::textEdited, this, &frmStage0::Combo1_Edited);
    connect(m_ui->Command1, &QPushButton::clicked, this, &frmStage0::Command1_Click);
    connect(m_ui->Combo2, &QComboBox::activated, this, &frmStage0::Combo2_Click);
    connect(m_ui->cmbNext, &QPushButton::clicked, this, &frmStage0::cmbNext_Click);
    connect(m_ui->cmbCancel, &QPushButton::clicked, this, &frmStage0::cmbCancel_Click);

    ScreenBehaviour::centre(this);
    FillContact();
}

frmStage0::~frmStage0() = default;

void frmStage0::FillContact()
{
    m_customers = QueryTable();
    const int rows = ReadCustomers(m_wizard.record(), m_customers);
    m_ui->Combo1->clear();
    m_chosen = -1;
    for (int row = 0; row < rows; ++row)
        m_ui->Combo1->addItem(m_customers.text(row, CustomerColumn::Organization),
                              m_customers.integer(row, CustomerColumn::Key));
    if (rows > 0) {
        ScreenBehaviour::selectQuietly(m_ui->Combo1, 0);
        Combo1_Click(0);
    }
}

void frmStage0::resetForNewCalculation()
{
    m_ui->Combo2->hide();
    m_ui->Label1->hide();
    m_ui->cmbNext->setEnabled(true);
    m_ui->Label7->setText(QStringLiteral("2"));
}

void frmStage0::Combo1_Click(int index)
{
    if (index < 0)
        return;
    CalculationRecord& record = m_wizard.record();
    record.contact = static_cast<qint16>(m_ui->Combo1->itemData(index).toInt());
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
    m_ui->cmbNext->setEnabled(true);
    m_wizard.record().NewContact = true;
}

void frmStage0::Combo1_Edited()
{
    m_chosen = -1;
}

void frmStage0::readCustomer()
{
    CalculationRecord& record = m_wizard.record();
    // The organisation never carries an apostrophe into the orders database.
    record.contact_organization = m_ui->Combo1->currentText().replace(QLatin1Char('\''), QLatin1Char('~'));
    record.contact_city = m_ui->Text2->text();
    record.contact_phones = m_ui->Text3->text();
    record.contact_email = m_ui->Text4->text();
    record.contact_name = m_ui->Text5->text();
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
    if (m_chosen < 0)
        return;
    QueryTable orders;
    const int rows = FindOrders(
        m_wizard.record(), static_cast<qint16>(m_customers.integer(m_chosen, CustomerColumn::Key)), orders);
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
    ScreenBehaviour::selectQuietly(m_ui->Combo2, 0);
    Combo2_Click(0);
    m_ui->Combo2->show();
    m_ui->Label1->show();
    m_ui->cmbNext->setEnabled(false);
}

void frmStage0::Combo2_Click(int index)
{
    if (m_ui->Label7->text() != UserChoiceMarker) {
        m_ui->Label7->setText(UserChoiceMarker);
        return;
    }
    if (index < 0)
        return;
    CalculationRecord& record = m_wizard.record();
    QString rangeError;
    if (!ReopenCalculation(record, static_cast<qint32>(m_ui->Combo2->itemData(index).toLongLong()), nullptr,
                           &rangeError)) {
        Messages::show(rangeError, MsgIcon::Exclamation, QStringLiteral("Внимание"));
        return;
    }
    // The customer was chosen from the list (a search needs that), so it has
    // its row already: a later save must update it, not add it a second time.
    record.NewContact = false;
    m_wizard.enterFinish();
}

void frmStage0::cmbNext_Click()
{
    readCustomer();
    const int chosen = m_chosen;
    m_wizard.ResetRecord();
    CalculationRecord& record = m_wizard.record();
    record.NewContact = chosen < 0;
    if (chosen >= 0)
        record.contact = static_cast<qint16>(m_ui->Combo1->itemData(chosen).toInt());
    record.NewCalculation = true;
    m_wizard.enterStage3();
}

void frmStage0::cmbCancel_Click()
{
    m_wizard.quit();
}
