#include "frmFinish.h"
#include "ui_frmFinish.h"

#include "CalculationRecord.h"
#include "CalculationWarnings.h"
#include "FailurePresenter.h"
#include "FreeSpaceLabel.h"
#include "Messages.h"
#include "Orders.h"
#include "PictureFit.h"
#include "ReportOutput.h"
#include "ResultText.h"
#include "Selection.h"
#include "frmDetail.h"

#include <cmath>

namespace {

QString watts(double value)
{
    return ResultText::whole(value) + QStringLiteral(" Вт");
}

QString percent(const std::optional<double>& value)
{
    return value && std::isfinite(*value) ? ResultText::oneDecimal(*value) + QStringLiteral("%")
                                          : QStringLiteral("0");
}

} // namespace

frmFinish::frmFinish(CalculationContext& context, CalculationRecord& record, const QDate& today,
                     QWidget* parent)
    : WizardScreen(context, record, parent), m_ui(std::make_unique<Ui::frmFinish>()), m_today(today)
{
    m_ui->setupUi(this);
    // "Сохранить" ends the calculation: the wizard goes on to a new one.
    setUpScreen(m_ui->Command3, m_ui->Command2, m_ui->Command1);
    // The warnings take the free space under the selection, out of the layout.
    m_warnings = new FreeSpaceLabel(this, {m_ui->Label30, m_ui->Frame4}, m_ui->Command4);
    m_warnings->label()->setObjectName(QStringLiteral("lblWarnings"));
    m_warnings->setStyleSheet(QStringLiteral("color: #a00000;"));
    PictureFit::show(m_ui->Image1, QStringLiteral(":/images/logo.jpg"));
    PictureFit::show(m_ui->Image3, QStringLiteral(":/images/stage4.jpg"));

    connect(m_ui->Command4, &QPushButton::clicked, this, &frmFinish::Command4_Click);
    connect(m_ui->cmdDetail, &QPushButton::clicked, this, &frmFinish::cmdDetail_Click);

    FillForm();
}

frmFinish::~frmFinish() = default;

void frmFinish::FillForm()
{
    const CalculationRecord& r = record();
    const qint64 diffusion = qint64(r.q_ceiling) + r.q_floor + r.q_walls;
    m_ui->Frame1->setTitle(QStringLiteral("Диффузия: ") + QString::number(diffusion) + QStringLiteral(" Вт"));
    m_ui->Frame2->setTitle(QStringLiteral("Продукт: ") + QString::number(r.q_product) +
                           QStringLiteral(" Вт"));
    m_ui->Frame3->setTitle(QStringLiteral("Дополнительно: ") + QString::number(r.q_extra) +
                           QStringLiteral(" Вт"));

    m_ui->Label14->setText(watts(r.q_walls));
    m_ui->Label15->setText(watts(r.q_ceiling));
    m_ui->Label16->setText(watts(r.q_floor));
    m_ui->Label17->setText(watts(r.q_cooling));
    m_ui->Label18->setText(watts(r.q_freezing));
    m_ui->Label19->setText(watts(r.q_frozen_cooling));
    m_ui->Label20->setText(watts(r.q_respiration));
    m_ui->Label21->setText(watts(r.q_doors));
    m_ui->Label22->setText(watts(r.q_staff));
    m_ui->Label23->setText(watts(r.q_sources));
    m_ui->Label24->setText(watts(r.q_packing));
    m_ui->Label25->setText(watts(r.q_total));
    m_ui->Label26->setText(watts(r.q_unit_required));

    const SelectionFigures figures = ComputeSelectionFigures(r);
    m_ui->Label29->setText(watts(figures.running));
    m_ui->Label27->setText(watts(figures.average));
    m_ui->Label28->setText(watts(figures.fullAverage));
    m_ui->Label36->setText(percent(figures.reserve));
    m_ui->Label37->setText(percent(figures.runTime));

    // Without a sufficient unit the figures would describe a unit that was
    // not chosen, so only the verdict is shown.
    m_ui->Frame4->setVisible(r.verdict.isEmpty());
    m_ui->Label30->setText(SelectionLine(r));

    // Where the numbers are stretched: one short line each.
    QStringList warnings;
    for (const CalculationWarning& warning : RecordWarnings(context(), r))
        warnings << QStringLiteral("⚠ ") + warning.text;
    m_warnings->setText(warnings.join(QLatin1Char('\n')));
    m_warnings->setVisible(!warnings.isEmpty());
}

void frmFinish::Command4_Click()
{
    ReportOutput::PrintOrSave(context(), record(), m_today);
}

// "Сохранить": a cancelled or emptied note saves nothing and leaves the
// calculation; a save that failed keeps it on the screen, to be saved again
// or printed.
void frmFinish::nextButton_Click()
{
    CalculationRecord& r = record();
    if (r.onote.isEmpty())
        r.onote = QStringLiteral("*");
    r.onote = Messages::input(QStringLiteral("Для сохранения данных\r\nзаполните текстовое поле"), QString(),
                              r.onote)
                  .value_or(QString());
    if (!r.onote.isEmpty()) {
        const Result<void> saved = SaveCalculation(context(), r, m_today, m_save);
        if (m_save.outcome() == WriteAttempt::Outcome::StoredAnswerLost)
            Messages::show(m_save.note(), MsgIcon::Information, QStringLiteral("Внимание"));
        if (!saved) {
            PresentFailure(saved.failure());
            return;
        }
    }
    emit next();
}

// The detailed calculation opens over the results and keeps them until closed.
void frmFinish::cmdDetail_Click()
{
    auto* detail = new frmDetail(context(), record(), m_today, this);
    connect(detail, &frmDetail::assumptionsChanged, this, &frmFinish::FillForm);
    detail->setAttribute(Qt::WA_DeleteOnClose);
    detail->setWindowModality(Qt::ApplicationModal);
    detail->show();
}
