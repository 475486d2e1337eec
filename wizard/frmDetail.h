#pragma once

#include "Explanation.h"

#include <QDate>
#include <QDialog>
#include <memory>

class QDoubleSpinBox;
class QTableWidget;
struct CalculationContext;
struct CalculationRecord;
namespace Ui {
class frmDetail;
}

// "Подробный расчет": the steps of the record's last calculation and
// selection with their formulas and numbers, the warnings, the alternatives,
// the second opinion with its assumptions (changed here, in the record) and
// a chart of the load components; printed like the report.
class frmDetail : public QDialog
{
    Q_OBJECT
public:
    // today is the date the printout carries.
    frmDetail(CalculationContext& context, CalculationRecord& record, const QDate& today,
              QWidget* parent = nullptr);
    ~frmDetail() override;

signals:
    // The second opinion's assumptions in the record changed.
    void assumptionsChanged();

private:
    void FillForm();
    void fillAlternatives();
    void fillSecondOpinion();
    void assumption_Changed();
    QVector<QDoubleSpinBox*> assumptionBoxes() const;
    static void fillLines(QTableWidget* table, const QVector<TraceLine>& lines);
    void cmdPrint_Click();
    void cmdClose_Click();

    CalculationContext& m_context;
    CalculationRecord& m_record;
    QDate m_today;
    Explanation m_explanation;
    std::unique_ptr<Ui::frmDetail> m_ui;
};
