#include "frmStage4.h"
#include "ui_frmStage4.h"

#include "CalculationContext.h"
#include "CalculationRecord.h"
#include "DatabaseAccess.h"
#include "EquipmentChoice.h"
#include "FailedReadMessage.h"
#include "InputBoxes.h"
#include "InputChecks.h"
#include "Messages.h"
#include "OfferedTypes.h"
#include "Orders.h"
#include "PictureFit.h"
#include "Selection.h"

#include <QPixmap>
#include <QSignalBlocker>
#include <algorithm>

namespace {

constexpr char Placeholder[] = "netyti.jpg";

// A count or run time of 0, or a text that reads as 0.
bool readsAsZero(const QLineEdit* box)
{
    return InputBoxes::number(box) == 0;
}

} // namespace

frmStage4::frmStage4(CalculationContext& context, CalculationRecord& record, QWidget* parent)
    : WizardScreen(context, record, parent), m_ui(std::make_unique<Ui::frmStage4>())
{
    m_ui->setupUi(this);
    setUpScreen(m_ui->cmbNext, m_ui->cmbPrev, m_ui->cmbCancel);
    selectAllOnFocus();
    PictureFit::show(m_ui->Picture1, QStringLiteral(":/images/logo.jpg"));
    PictureFit::show(m_ui->Image2, QStringLiteral(":/images/stage4.jpg"));

    connect(m_ui->Combo7, qOverload<int>(&QComboBox::currentIndexChanged), this, &frmStage4::Combo7_Click);
    connect(m_ui->Combo1, qOverload<int>(&QComboBox::currentIndexChanged), this, &frmStage4::Combo1_Click);

    context.failedReads.clear();
    // The offered types with the record's type in one request, and when
    // another type is shown for it, that one's reads in a second.
    ReadAhead(context, [&] { return EquipmentChoice::ScreenReads(record); });
    const QVector<OfferedType> types = FillTypes();
    ReadAhead(context, [&] {
        const int type = std::max(0, m_ui->Combo7->findData(int(record.xo_type1)));
        return type < types.size() ? EquipmentChoice::TypeReads(record, types[type].key, types[type].series)
                                   : QStringList();
    });
    {
        const QSignalBlocker blocker(m_ui->Combo1);
        for (const EquipmentChoice::Refrigerant& refrigerant : EquipmentChoice::Refrigerants)
            m_ui->Combo1->addItem(QString::fromLatin1(refrigerant.name), int(refrigerant.code));
        m_ui->Combo1->setCurrentIndex(-1);
    }
    ShowEquipment();
    setModel(GetSeries(context, record));
    ShowFailedRead(context, QStringLiteral("Список типов оборудования не заполнен"));
}

frmStage4::~frmStage4() = default;

// Only the types whose series suits the chamber temperature are offered.
QVector<OfferedType> frmStage4::FillTypes()
{
    // Filling the list would choose its first item; the record's type is chosen afterwards.
    const QSignalBlocker blocker(m_ui->Combo7);
    m_ui->Combo7->clear();
    const QVector<OfferedType> types = OfferedEquipmentTypes(context(), record());
    for (const OfferedType& type : types)
        m_ui->Combo7->addItem(type.name, type.key);
    m_ui->Combo7->setCurrentIndex(-1);
    return types;
}

void frmStage4::ShowEquipment()
{
    const CalculationRecord& r = record();
    m_ui->Text13->setText(InputBoxes::pointText(r.by_temperature));
    m_ui->Text14->setText(QString::number(r.by_moisture));
    m_ui->Text15->setText(InputBoxes::pointText(r.by_ground));
    m_ui->Text21->setText(QString::number(r.xo_count));
    m_ui->Text22->setText(QString::number(r.xo_power));
    m_ui->Text23->setText(QString::number(r.xo_work));

    // Each selection runs its list's handler.
    const int type = m_ui->Combo7->findData(int(r.xo_type1));
    if (type >= 0)
        m_ui->Combo7->setCurrentIndex(type);
    const int gas = m_ui->Combo1->findData(int(r.xo_type2));
    if (gas >= 0)
        m_ui->Combo1->setCurrentIndex(gas);
    if (m_ui->Combo1->currentIndex() < 0)
        m_ui->Combo1->setCurrentIndex(0);
    if (m_ui->Combo7->currentIndex() < 0 && m_ui->Combo7->count() > 0)
        m_ui->Combo7->setCurrentIndex(0);
}

// Numbers that a 16-bit field cannot hold (fractional or out of range) never
// reach the record: "Расчет" refuses them, "Назад" and "Отмена" keep the record's earlier value.
void frmStage4::ReadEquipment()
{
    CalculationRecord& r = record();
    const auto store = [](qint16& field, const QLineEdit* box) {
        if (const std::optional<qint16> value = InputBoxes::int16(box))
            field = *value;
    };
    r.by_temperature = InputBoxes::number(m_ui->Text13);
    store(r.by_moisture, m_ui->Text14);
    r.by_ground = InputBoxes::number(m_ui->Text15);
    if (m_ui->Combo7->currentIndex() >= 0) {
        r.xo_type1 = qint16(m_ui->Combo7->currentData().toInt());
        r.xo_type_name = m_ui->Combo7->currentText();
    }
    if (m_ui->Combo1->currentIndex() >= 0)
        r.xo_type2 = qint16(m_ui->Combo1->currentData().toInt());
    store(r.xo_count, m_ui->Text21);
    store(r.xo_power, m_ui->Text22);
    store(r.xo_work, m_ui->Text23);
    if (m_ui->Combo1->currentIndex() >= 0)
        r.xo_gas = m_ui->Combo1->currentText();
}

void frmStage4::Combo7_Click()
{
    if (m_ui->Combo7->currentIndex() < 0)
        return;
    CalculationRecord& r = record();
    if (EquipmentChoice::ChooseType(context(), r, m_ui->Combo7->currentData().toInt()))
        showPicture(r.xo_picture);
    setModel(GetSeries(context(), r));
}

void frmStage4::Combo1_Click()
{
    if (m_ui->Combo1->currentIndex() < 0)
        return;
    CalculationRecord& r = record();
    r.xo_gas = m_ui->Combo1->currentText();
    GetSeries(context(), r);
    setModel(r.xo_series);
}

// A model code of fewer than three characters means the type and
// refrigerant lead to no model of the capacity table.
void frmStage4::setModel(const QString& model)
{
    m_ui->Label1->setText(model);
    m_ui->Label4->setText(model.size() < 3 ? QStringLiteral("Ошибка при выборе оборудования") : QString());
}

// The type's picture, else the placeholder; a file that cannot be read
// counts as missing. When even the placeholder fails, Image1 keeps what it had.
void frmStage4::showPicture(const QString& bareName)
{
    QString name = bareName;
    const DataLocation& location = context().location;
    QImage image = EquipmentChoice::LoadPicture(location, name);
    if (image.isNull()) {
        name = QString::fromLatin1(Placeholder);
        image = EquipmentChoice::LoadPicture(location, name);
    }
    if (image.isNull())
        return;
    m_shownPicture = name;
    PictureFit::show(m_ui->Image1, QPixmap::fromImage(image));
}

bool frmStage4::checkInputs()
{
    const QString error = QStringLiteral("Ошибка ввода данных");
    if (m_ui->Combo7->count() == 0) {
        Messages::show(QStringLiteral("Для температуры в камере ") +
                           InputBoxes::pointText(record().xk_temperature) +
                           QStringLiteral(" °C нет подходящего типа оборудования"),
                       MsgIcon::Exclamation, QStringLiteral("Внимание"));
        return false;
    }
    if (m_ui->Label1->text().size() < 3) {
        Messages::show(QStringLiteral("Некорректно выбран тип оборудования"), MsgIcon::Exclamation,
                       QStringLiteral("Внимание"));
        return false;
    }
    if (readsAsZero(m_ui->Text21))
        return InputBoxes::refuse(m_ui->Text21, InputCheckText::unitCount(), error);
    if (readsAsZero(m_ui->Text23))
        return InputBoxes::refuse(m_ui->Text23, InputCheckText::runTime(), error);
    // The results divide by the count and the run time: neither may be below
    // one, nor the run time above the whole time. A humidity outside 0-100 %
    // can turn the door load negative, a reserve of -100 % or less the
    // required capacity.
    return InputBoxes::checkWhole(m_ui->Text14, 0, 100) && InputBoxes::checkWhole(m_ui->Text21, 1) &&
           InputBoxes::checkWhole(m_ui->Text22, -99) && InputBoxes::checkWhole(m_ui->Text23, 1, 100);
}

// The type list and the model code that a failed read left empty are read
// again before "Расчет": the store may be back.
bool frmStage4::readAgainWhatFailed()
{
    if (m_ui->Combo7->count() > 0 && m_ui->Label1->text().size() >= 3)
        return true;
    CalculationContext& c = context();
    c.failedReads.clear();
    if (m_ui->Combo7->count() == 0) {
        FillTypes();
        // Choosing the type reads its pictures and the model code.
        if (m_ui->Combo7->count() > 0)
            m_ui->Combo7->setCurrentIndex(std::max(0, m_ui->Combo7->findData(int(record().xo_type1))));
    } else {
        setModel(GetSeries(c, record()));
    }
    if (!c.failedReads.any())
        return true;
    ShowFailedRead(c, QStringLiteral("Расчет не выполнен"));
    return false;
}

void frmStage4::nextButton_Click()
{
    if (!readAgainWhatFailed() || !checkInputs())
        return;
    ReadEquipment();
    CalculationRecord& r = record();
    QString rangeError;
    // The lookups of the earlier screens are read again with the calculation:
    // one that failed there must not become a number here.
    const bool computed = ComputeCalculation(context(), r, &rangeError);
    ShowNotices(context());
    if (!computed) {
        if (context().failedReads.any())
            ShowFailedRead(context(), QStringLiteral("Расчет не выполнен"));
        else
            Messages::show(QStringLiteral("Тепловая нагрузка слишком велика для расчета: ") + rangeError,
                           MsgIcon::Exclamation, QStringLiteral("Ошибка"));
        return;
    }
    emit next();
}

void frmStage4::backButton_Click()
{
    ReadEquipment();
    emit back();
}

void frmStage4::cancelButton_Click()
{
    ReadEquipment();
    emit cancel();
}
