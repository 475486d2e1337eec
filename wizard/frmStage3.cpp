#include "frmStage3.h"

#include "ui_frmStage3.h"

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

#include <cmath>

using InputBoxes::number;

namespace {
const QString DefaultMaterial = QStringLiteral("пенополиуретан панели");
const QString InputError = QStringLiteral("Ошибка ввода данных");
} // namespace

frmStage3::frmStage3(CalculationContext& context, CalculationRecord& record, QWidget* parent)
    : WizardScreen(context, record, parent), m_ui(std::make_unique<Ui::frmStage3>())
{
    m_ui->setupUi(this);
    setUpScreen(m_ui->cmbNext, m_ui->cmbPrev, m_ui->cmbCancel);
    selectAllOnFocus({m_ui->tbVolume});

    for (QLineEdit* box : {m_ui->Text2, m_ui->Text3, m_ui->Text4})
        connect(box, &QLineEdit::textChanged, this, &frmStage3::OutVolume);
    checkOnLeave(m_ui->tbVolume, [this] { tbVolume_LostFocus(); });

    Form_Load();
}

frmStage3::~frmStage3() = default;

void frmStage3::Form_Load()
{
    context().failedReads.clear();
    QueryTable materials;
    const int rows = ReadReference(
        context(), QStringLiteral("SELECT s_name,pkey FROM article WHERE cls_n=1 ORDER BY s_name"),
        materials);
    for (QComboBox* list : {m_ui->Combo1, m_ui->Combo2, m_ui->Combo3})
        ListFill::fill(list, materials, rows, 0, 1);
    for (int row = 0; row < rows; ++row) {
        if (materials.text(row, 0) == DefaultMaterial)
            m_defaultMaterial = row;
    }

    QueryTable curtains;
    const int curtainRows =
        ReadReference(context(), QStringLiteral("SELECT text_ru,pkey,c_value FROM curtain"), curtains);
    if (ListFill::fill(m_ui->Combo4, curtains, curtainRows, 0, 1))
        m_ui->Combo4->setCurrentIndex(0);
    ShowFailedRead(context(), QStringLiteral("Списки материалов и завес не заполнены"));
}

void frmStage3::Form_Activate()
{
    const CalculationRecord& r = record();
    ShowChamber();
    showMaterial(m_ui->Combo1, r.xk_ceiling_name);
    showMaterial(m_ui->Combo2, r.xk_wall_name);
    showMaterial(m_ui->Combo3, r.xk_floor_name);
}

void frmStage3::showMaterial(QComboBox* list, const QString& name)
{
    const int named = name.isEmpty() ? -1 : list->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (named >= 0)
        list->setCurrentIndex(named);
    else if (m_defaultMaterial < list->count())
        list->setCurrentIndex(m_defaultMaterial);
}

void frmStage3::ShowChamber()
{
    using InputBoxes::pointText;
    CalculationRecord& r = record();
    m_ui->Text2->setText(pointText(r.xk_length));
    m_ui->Text3->setText(pointText(r.xk_width));
    m_ui->Text4->setText(pointText(r.xk_height));
    m_ui->Text5->setText(QString::number(r.xk_ceiling));
    m_ui->Text6->setText(QString::number(r.xk_wall));
    m_ui->Text7->setText(QString::number(r.xk_floor));
    m_ui->Text8->setText(pointText(r.xk_doors));
    m_ui->Text9->setText(pointText(r.xk_doors_open));
    m_ui->Text1->setText(pointText(r.xk_temperature));
    m_ui->Text10->setText(pointText(r.xk_people));
    m_ui->Text11->setText(QString::number(r.xk_heat));
    ListFill::selectByKey(m_ui->Combo4, r.xk_curtain);
    r.xk_bulk = r.xk_length * r.xk_width * r.xk_height;
}

double frmStage3::typedVolume() const
{
    return number(m_ui->Text2) * number(m_ui->Text3) * number(m_ui->Text4);
}

void frmStage3::OutVolume()
{
    // Three large but finite dimensions can multiply to infinity; such a
    // volume is neither shown nor kept, and "Далее" refuses it.
    const double V = typedVolume();
    if (!std::isfinite(V)) {
        m_ui->tbVolume->clear();
        return;
    }
    record().xk_bulk = V;
    m_ui->tbVolume->setText(InputBoxes::fixedText(V, 1));
}

void frmStage3::DimensionsByVolume(double V)
{
    double h = 4;
    if (V < 25)
        h = 2;
    else if (V < 50)
        h = 2.5;
    else if (V < 100)
        h = 3;
    else if (V < 200)
        h = 3.5;
    const double a = std::sqrt(V * 0.5);
    const double b = V / (a * h);
    m_ui->Text2->setText(InputBoxes::fixedText(a, 1));
    m_ui->Text3->setText(InputBoxes::fixedText(b, 1));
    m_ui->Text4->setText(InputBoxes::fixedText(h, 1));
}

void frmStage3::tbVolume_LostFocus()
{
    // Only a volume the user typed gives new dimensions: the shown volume is
    // that of the rounded dimensions, and passing through the box must not
    // round them again.
    if (!m_ui->tbVolume->isModified())
        return;
    m_ui->tbVolume->setModified(false);
    const double V = number(m_ui->tbVolume);
    if (V > 0)
        DimensionsByVolume(V);
}

qint16 frmStage3::readMaterial(QComboBox* list, qint16 key, QString& name, double& k)
{
    name = list->currentText();
    // Of equal names the last one is taken, as the list is searched from the top.
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i) == name)
            list->setCurrentIndex(i);
    }
    // The lists cannot be typed into, so an empty list is the only case
    // without a selection; the record then keeps its key.
    if (list->currentIndex() >= 0)
        key = static_cast<qint16>(list->currentData().toInt());
    GetArticle(context(), key, name, k);
    return key;
}

void frmStage3::ReadChamber()
{
    CalculationRecord& r = record();
    r.xk_length = number(m_ui->Text2);
    r.xk_width = number(m_ui->Text3);
    r.xk_height = number(m_ui->Text4);
    // The 16-bit boxes have passed checkWhole before.
    r.xk_ceiling = *InputBoxes::int16(m_ui->Text5);
    r.xk_ceiling_stuff = readMaterial(m_ui->Combo1, r.xk_ceiling_stuff, r.xk_ceiling_name, r.xk_ceiling_k);
    r.xk_wall = *InputBoxes::int16(m_ui->Text6);
    r.xk_wall_stuff = readMaterial(m_ui->Combo2, r.xk_wall_stuff, r.xk_wall_name, r.xk_wall_k);
    r.xk_floor = *InputBoxes::int16(m_ui->Text7);
    r.xk_floor_stuff = readMaterial(m_ui->Combo3, r.xk_floor_stuff, r.xk_floor_name, r.xk_floor_k);
    r.xk_doors = number(m_ui->Text8);
    r.xk_doors_open = number(m_ui->Text9);
    if (m_ui->Combo4->currentIndex() >= 0)
        r.xk_curtain = static_cast<qint16>(m_ui->Combo4->currentData().toInt());
    GetCurtain(context(), r, r.xk_curtain);
    r.xk_temperature = number(m_ui->Text1);
    r.xk_people = number(m_ui->Text10);
    r.xk_heat = *InputBoxes::int16(m_ui->Text11);
    r.xk_bulk = r.xk_width * r.xk_length * r.xk_height;
}

bool frmStage3::checksPass()
{
    using InputBoxes::refuse;
    if (!InputBoxes::isNumber(m_ui->Text1))
        return refuse(m_ui->Text1, QStringLiteral("Должно быть цифровое значение"), InputError);
    // Below this the door air flow, above it the staff heat turn negative.
    if (!InputBoxes::checkRange(m_ui->Text1, -88, 65))
        return false;
    // Read as they are stored, so a length typed as 0,5 is not taken for 0.
    if (number(m_ui->Text2) <= 0)
        return refuse(m_ui->Text2, InputCheckText::length(), InputError);
    if (number(m_ui->Text3) <= 0)
        return refuse(m_ui->Text3, InputCheckText::width(), InputError);
    if (number(m_ui->Text4) <= 0)
        return refuse(m_ui->Text4, InputCheckText::height(), InputError);
    if (!std::isfinite(typedVolume()))
        return refuse(m_ui->Text2, InputCheckText::chamberTooLarge(), InputError);
    // A negative thickness, door area, door time, staff work or heat source
    // would take heat out of the chamber; a thickness of 0 leaves the surface
    // out of the load.
    using InputBoxes::checkRange;
    using InputBoxes::checkWhole;
    return checkWhole(m_ui->Text5, 0) && checkWhole(m_ui->Text6, 0) && checkWhole(m_ui->Text7, 0) &&
           checkRange(m_ui->Text8, 0) && checkRange(m_ui->Text9, 0) && checkRange(m_ui->Text10, 0) &&
           checkWhole(m_ui->Text11, 0);
}

void frmStage3::nextButton_Click()
{
    if (!checksPass())
        return;
    ReadChamber();
    emit next();
}

// Going back to the first screen resets every input, so it is asked first.
void frmStage3::backButton_Click()
{
    const MsgAnswer answer = Messages::show(QStringLiteral("При переходе на первый экран произойдет\n"
                                                           "обнуление всех выбранных значений.\n"
                                                           "Обнулить все значения?"),
                                            MsgIcon::Question, QStringLiteral(""), MsgButtons::YesNo);
    if (answer != MsgAnswer::Yes)
        return;
    emit back();
}
