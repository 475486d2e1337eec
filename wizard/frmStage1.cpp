#include "frmStage1.h"

#include "ui_frmStage1.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DatabaseAccess.h"
#include "FailedReadMessage.h"
#include "InputBoxes.h"
#include "InputChecks.h"
#include "ListFill.h"
#include "Lookups.h"
#include "Messages.h"
#include "QueryTable.h"
#include "SqlLiteral.h"

using InputBoxes::number;

namespace {

const QString InputError = QStringLiteral("Ошибка ввода данных");
const QString NotNumeric = QStringLiteral("Должно быть цифровое значение");

// A 16-bit field takes the box's number only when it can hold it (whole and
// in range); the forward check names the box when it cannot.
void storeInt16(const QLineEdit* box, qint16& field)
{
    if (const auto value = InputBoxes::int16(box))
        field = *value;
}

void storeKey(const QComboBox* list, qint16& field)
{
    if (list->currentIndex() >= 0)
        field = static_cast<qint16>(list->currentData().toInt());
}

} // namespace

frmStage1::frmStage1(CalculationContext& context, CalculationRecord& record, QWidget* parent)
    : WizardScreen(context, record, parent), m_ui(std::make_unique<Ui::frmStage1>())
{
    m_ui->setupUi(this);
    setUpScreen(m_ui->cmbNext, m_ui->cmbPrev, m_ui->cmbCancel);
    selectAllOnFocus();

    connect(m_ui->cbPGroup, &QComboBox::currentIndexChanged, this, &frmStage1::cbPGroup_Click);
    connect(m_ui->Combo5, &QComboBox::currentIndexChanged, this, &frmStage1::Combo5_Click);
    connect(m_ui->Combo6, &QComboBox::currentIndexChanged, this, &frmStage1::Combo6_Click);
    const auto update = [this] { processBox_LostFocus(); };
    checkOnLeave(m_ui->Text16, update, [this] { return InputBoxes::checkWhole(m_ui->Text16); });
    checkOnLeave(m_ui->Text17, update, [this] { return Text17_Validate(); });
    checkOnLeave(m_ui->Text20, update, [this] { return InputBoxes::checkWhole(m_ui->Text20, 0); });

    Form_Load();
}

frmStage1::~frmStage1() = default;

void frmStage1::Form_Load()
{
    m_ui->Combo5->clear();
    m_ui->Combo6->clear();
    context().failedReads.clear();
    const QString notFilled = QStringLiteral("Списки продуктов и упаковки не заполнены");

    QueryTable groups;
    const int groupRows = ReadReference(
        context(),
        QStringLiteral(
            "SELECT Pkey,text_ru FROM PGroup WHERE Pkey IN (SELECT Fkey FROM Product) ORDER BY text_ru"),
        groups);
    if (context().failedReads.any()) {
        ShowFailedRead(context(), notFilled);
        return;
    }
    if (groupRows == 0) {
        Messages::show(QStringLiteral("Не найден список групп продуктов!"));
        return;
    }
    ListFill::fill(m_ui->cbPGroup, groups, groupRows, 1, 0);
    ListFill::selectQuietly(m_ui->cbPGroup, 0);
    cbPGroup_Click();

    QueryTable packings;
    const int packingRows = ReadReference(
        context(), QStringLiteral("SELECT text_ru,pkey  FROM packing ORDER BY text_ru"), packings);
    if (ListFill::fill(m_ui->Combo6, packings, packingRows, 0, 1)) {
        ListFill::selectQuietly(m_ui->Combo6, 0);
        Combo6_Click();
    }
    ShowFailedRead(context(), notFilled);
}

void frmStage1::cbPGroup_Click()
{
    if (m_ui->cbPGroup->currentIndex() >= 0)
        FillProduct(m_ui->cbPGroup->currentData().toInt());
}

void frmStage1::FillProduct(qint32 l)
{
    QueryTable products;
    const int rows =
        ReadReference(context(),
                      QStringLiteral("SELECT pkey, text_ru, co, cz, cwr, tko, tnz, td0, td2, td5, td15, "
                                     "fkey FROM Product WHERE fkey=") +
                          SqlLiteral::integer(l) + QStringLiteral(" ORDER BY text_ru"),
                      products);
    if (ListFill::fill(m_ui->Combo5, products, rows, 1, 0)) {
        ListFill::selectQuietly(m_ui->Combo5, 0);
        Combo5_Click();
    }
}

void frmStage1::Combo5_Click()
{
    if (m_ui->Combo5->currentIndex() < 0)
        return;
    GetProduct(context(), record(), static_cast<qint16>(m_ui->Combo5->currentData().toInt()));
    WriteProcess();
}

void frmStage1::Combo6_Click()
{
    if (m_ui->Combo6->currentIndex() >= 0)
        GetPacking(context(), record(), static_cast<qint16>(m_ui->Combo6->currentData().toInt()));
}

void frmStage1::WriteProcess()
{
    const CalculationRecord& r = record();
    const double start = r.px_start_t;
    const double end = r.px_end_t;
    QRadioButton* process = m_ui->Option2;
    if ((end < r.tko && r.tko <= start) || (end < r.tnz && r.tnz < start))
        process = m_ui->Option3;
    else if (!(start - end > 5 || r.px_turnover > 20))
        process = m_ui->Option1;
    process->setChecked(true);
}

void frmStage1::ShowProduct()
{
    const CalculationRecord& r = record();
    if (ListFill::selectByKey(m_ui->cbPGroup, r.px_pgroup))
        cbPGroup_Click();
    if (ListFill::selectByKey(m_ui->Combo6, r.px_packing))
        Combo6_Click();
    if (ListFill::selectByKey(m_ui->Combo5, r.px_product))
        Combo5_Click();
    m_ui->Text18->setText(QString::number(r.px_time));
    m_ui->Text16->setText(QString::number(r.px_start_t));
    m_ui->Text17->setText(QString::number(r.px_end_t));
    m_ui->Text19->setText(InputBoxes::pointText(r.px_weight));
    m_ui->Text20->setText(QString::number(r.px_turnover));
}

void frmStage1::ReadProduct()
{
    CalculationRecord& r = record();
    storeKey(m_ui->Combo5, r.px_product);
    storeInt16(m_ui->Text18, r.px_time);
    storeInt16(m_ui->Text16, r.px_start_t);
    storeInt16(m_ui->Text17, r.px_end_t);
    r.px_weight = number(m_ui->Text19);
    storeInt16(m_ui->Text20, r.px_turnover);
    storeKey(m_ui->Combo6, r.px_packing);
    r.px_packing_name = m_ui->Combo6->currentText();
    storeKey(m_ui->cbPGroup, r.px_pgroup);
}

// The entry and final temperatures and the turnover decide the process type.
void frmStage1::processBox_LostFocus()
{
    ReadProduct();
    WriteProcess();
}

bool frmStage1::Text17_Validate()
{
    if (!InputBoxes::checkWhole(m_ui->Text17))
        return false;
    const CalculationRecord& r = record();
    if (r.px_end_t < r.xk_temperature)
        return InputBoxes::refuse(m_ui->Text17, InputCheckText::finalBelowChamber(r.xk_temperature),
                                  QStringLiteral("Внимание"));
    return true;
}

bool frmStage1::checksPass()
{
    using InputBoxes::isNumber;
    using InputBoxes::refuse;
    if (!isNumber(m_ui->Text16))
        return refuse(m_ui->Text16, NotNumeric, InputError);
    if (!isNumber(m_ui->Text17))
        return refuse(m_ui->Text17, NotNumeric, InputError);
    if (number(m_ui->Text18) <= 0)
        return refuse(m_ui->Text18, InputCheckText::processTime(), InputError);
    if (!isNumber(m_ui->Text20))
        return refuse(m_ui->Text20, NotNumeric, InputError);
    if (number(m_ui->Text19) < 0)
        return refuse(m_ui->Text19, InputCheckText::mass(), InputError);
    if (number(m_ui->Text16) < number(m_ui->Text17))
        return refuse(m_ui->Text16, InputCheckText::entryBelowFinal(), QStringLiteral(""));
    return InputBoxes::checkWhole(m_ui->Text16) && InputBoxes::checkWhole(m_ui->Text17) &&
           InputBoxes::checkWhole(m_ui->Text18) && InputBoxes::checkWhole(m_ui->Text20, 0);
}

void frmStage1::nextButton_Click()
{
    // A click out of a box whose check has just refused it does not count.
    if (!leaveChecksPass() || !checksPass())
        return;
    ReadProduct();
    emit next();
}

void frmStage1::backButton_Click()
{
    ReadProduct();
    emit back();
}
