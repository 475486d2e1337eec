#include "frmDetail.h"
#include "ui_frmDetail.h"

#include "CalculationRecord.h"
#include "DetailPrinter.h"
#include "FailedReadMessage.h"
#include "NumberText.h"
#include "ReportOutput.h"
#include "ResultText.h"

#include <QDoubleSpinBox>
#include <QHeaderView>

namespace {

QTableWidgetItem* cell(const QString& text, bool bold = false, bool italic = false)
{
    auto* item = new QTableWidgetItem(text);
    QFont font = item->font();
    font.setBold(bold);
    font.setItalic(italic);
    item->setFont(font);
    item->setToolTip(text);
    return item;
}

} // namespace

frmDetail::frmDetail(CalculationContext& context, CalculationRecord& record, const QDate& today,
                     QWidget* parent)
    : QDialog(parent), m_context(context), m_record(record), m_today(today),
      m_explanation(Explain(context, record)), m_ui(std::make_unique<Ui::frmDetail>())
{
    m_ui->setupUi(this);
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &frmDetail::cmdPrint_Click);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &frmDetail::cmdClose_Click);
    const QVector<QDoubleSpinBox*> boxes = assumptionBoxes();
    for (int i = 0; i < boxes.size(); ++i) {
        const AssumptionField& field = AssumptionFields[i];
        boxes[i]->setRange(field.low, field.high);
        boxes[i]->setValue(m_record.secondOpinion.*field.value);
        connect(boxes[i], &QDoubleSpinBox::valueChanged, this, &frmDetail::assumption_Changed);
    }
    FillForm();
    ShowNotices(m_context);
}

frmDetail::~frmDetail() = default;

void frmDetail::FillForm()
{
    QStringList warnings;
    for (const CalculationWarning& w : m_explanation.warnings)
        warnings << QStringLiteral("– ") + w.text;
    m_ui->lblWarnings->setText(QStringLiteral("Предупреждения:\n") + warnings.join(QLatin1Char('\n')));
    m_ui->lblWarnings->setVisible(!warnings.isEmpty());
    fillLines(m_ui->tblLoad, m_explanation.load);
    fillLines(m_ui->tblSelection, m_explanation.selection);
    fillAlternatives();
    fillSecondOpinion();
    m_ui->chart->setBars(LoadChart::barsOf(m_explanation.load));
}

void frmDetail::fillLines(QTableWidget* table, const QVector<TraceLine>& lines)
{
    table->setRowCount(int(lines.size()));
    for (int row = 0; row < lines.size(); ++row) {
        const TraceLine& line = lines.at(row);
        const bool strong = line.kind == TraceLine::Kind::Component || line.kind == TraceLine::Kind::Sum;
        const bool note = line.kind == TraceLine::Kind::Note;
        table->setItem(row, 0, cell(line.name, line.kind == TraceLine::Kind::Sum, note));
        table->setItem(row, 1, cell(line.formula, false, note));
        table->setItem(row, 2, cell(line.values, false, note));
        table->setItem(row, 3, cell(line.resultText(), strong, note));
    }
    table->setColumnWidth(0, 250);
    table->setColumnWidth(1, 330);
    table->setColumnWidth(2, 430);
    table->resizeRowsToContents();
}

void frmDetail::fillAlternatives()
{
    const CalculationRecord& r = m_record;
    m_ui->lblRequired->setText(
        QStringLiteral(
            "Требуемая производительность агрегата: %1 Вт; агрегатов: %2; время работы компрессора "
            "не более %3%. Модели всех предлагаемых типов для %4 °C и %5, по возрастанию "
            "производительности.")
            .arg(ResultText::whole(r.q_unit_required))
            .arg(r.xo_count)
            .arg(r.xo_work)
            .arg(ResultText::plain(r.xk_temperature), r.xo_gas));
    QTableWidget* table = m_ui->tblAlternatives;
    table->setRowCount(int(m_explanation.alternatives.size()));
    for (int row = 0; row < m_explanation.alternatives.size(); ++row) {
        const Alternative& a = m_explanation.alternatives.at(row);
        const auto percent = [&](const std::optional<double>& value) {
            return a.capacity && value ? ResultText::oneDecimal(*value) + QLatin1Char('%')
                                       : QStringLiteral("—");
        };
        const QStringList texts = {
            a.typeName,
            a.model + a.modification,
            a.capacity ? ResultText::whole(*a.capacity) + QStringLiteral(" Вт") : QStringLiteral("—"),
            percent(a.figures.reserve),
            percent(a.figures.runTime),
            !a.capacity    ? QStringLiteral("нет данных")
            : a.sufficient ? (a.chosen ? QStringLiteral("да, выбрана") : QStringLiteral("да"))
                           : QStringLiteral("нет"),
        };
        for (int column = 0; column < texts.size(); ++column) {
            QTableWidgetItem* item = cell(texts.at(column), a.chosen);
            if (a.chosen)
                item->setBackground(QColor(0xd8, 0xf0, 0xd0));
            if (column >= 2 && column <= 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
}

// In the order of AssumptionFields.
QVector<QDoubleSpinBox*> frmDetail::assumptionBoxes() const
{
    return {m_ui->spnDoorHeight, m_ui->spnChamberHumidity, m_ui->spnFans, m_ui->spnDefrost};
}

void frmDetail::fillSecondOpinion()
{
    const SecondOpinion& o = m_explanation.secondOpinion;
    const auto watts = [](double value) {
        return ResultText::whole(NumberText::roundHalfEven(value)) + QStringLiteral(" Вт");
    };
    QString verdict =
        QStringLiteral("По формуле открывания дверей нагрузка %1, требуемая производительность агрегата %2: ")
            .arg(watts(o.total), watts(o.unitRequired));
    if (o.covered)
        verdict += QStringLiteral("выбранный агрегат её покрывает.");
    else
        verdict += QStringLiteral("выбранный агрегат её не покрывает (%1).")
                       .arg(o.model.isEmpty() ? QStringLiteral("в этом типе подходящего нет")
                                              : QStringLiteral("подходит ") + o.model + o.modification);
    m_ui->lblSecondOpinion->setText(verdict);

    QTableWidget* table = m_ui->tblComparison;
    table->setRowCount(int(o.comparison.size()));
    for (int row = 0; row < o.comparison.size(); ++row) {
        const ComparedComponent& c = o.comparison.at(row);
        const bool assumed = !c.calculated;
        const QStringList texts = {
            c.name,
            c.calculated ? watts(*c.calculated) : QStringLiteral("—"),
            assumed && c.doorFormula == 0 ? QStringLiteral("не учтено") : watts(c.doorFormula),
        };
        for (int column = 0; column < texts.size(); ++column) {
            QTableWidgetItem* item = cell(texts.at(column), row >= o.comparison.size() - 2);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnsToContents();
    fillLines(m_ui->tblSecondOpinion, o.lines);
}

// The opinion and the warnings follow every change at once.
void frmDetail::assumption_Changed()
{
    const QVector<QDoubleSpinBox*> boxes = assumptionBoxes();
    for (int i = 0; i < boxes.size(); ++i)
        m_record.secondOpinion.*AssumptionFields[i].value = boxes[i]->value();
    m_explanation.secondOpinion = SecondOpinionOf(m_context, m_record);
    m_explanation.warnings = RecordWarnings(m_context, m_record);
    FillForm();
    emit assumptionsChanged();
}

void frmDetail::cmdPrint_Click()
{
    const ReportOutput::Document document{
        QStringLiteral("Подробный расчет"), QStringLiteral("Подробный расчет"),
        QStringLiteral("подробный расчет"), [this](QPagedPaintDevice& device) {
            return DetailPrinter::Print(device, m_context, m_record, m_today, m_explanation);
        }};
    ReportOutput::PrintOrSave(document, m_record.contact_organization, m_today);
}

void frmDetail::cmdClose_Click()
{
    close();
}
