#include "frmEqEdit.h"

#include "CapacitySetStore.h"
#include "FailurePresenter.h"
#include "Functions.h"
#include "LabelNames.h"
#include "Messages.h"
#include "PowerSet.h"
#include "SqlLiteral.h"
#include "ui_frmEqEdit.h"

#include <QSet>

frmEqEdit::frmEqEdit(AdminSession& session, const EditRequest& request, QWidget* parent)
    : EditorDialog(session, request, parent), m_ui(std::make_unique<Ui::frmEqEdit>())
{
    m_ui->setupUi(this);
    m_boxes = {nullptr,      nullptr,      nullptr,      m_ui->Text3,  m_ui->Text4,  m_ui->Text5,
               m_ui->Text6,  m_ui->Text7,  m_ui->Text8,  m_ui->Text9,  m_ui->Text10, m_ui->Text11,
               m_ui->Text12, m_ui->Text13, m_ui->Text14, m_ui->Text15, m_ui->Text16, m_ui->Text17};
    LabelNames::apply(this);
    for (int i = 0; i < 3; ++i) {
        columnHead(i)->setAccessibleName(QStringLiteral("Температура внутри камеры %1").arg(i + 1));
        rowHead(i)->setAccessibleName(QStringLiteral("Температура снаружи %1").arg(i + 1));
    }
    for (int k = 0; k < PowerSet::RowCount; ++k)
        cell(k)->setAccessibleName(
            QStringLiteral("Производительность: камера %1, снаружи %2").arg(k / 3 + 1).arg(k % 3 + 1));
    connect(m_ui->Command1, &QPushButton::clicked, this, &frmEqEdit::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &frmEqEdit::Command2_Click);
}

frmEqEdit::~frmEqEdit() = default;

QWidget* frmEqEdit::firstBox() const
{
    return m_ui->Text18;
}

void frmEqEdit::FillNew(const QString& typeName, const QString& series)
{
    m_ui->Text1->setText(typeName);
    m_ui->Label4->setText(series);
    m_ui->Text18->setText(QStringLiteral("A"));
    m_ui->Text2->setText(QStringLiteral("100"));
    const char* const heads[] = {"-5", "0", "5", "20", "32", "43"};
    for (int i = 0; i < 3; ++i) {
        columnHead(i)->setText(QLatin1String(heads[i]));
        rowHead(i)->setText(QLatin1String(heads[3 + i]));
    }
    for (int k = 0; k < PowerSet::RowCount; ++k)
        cell(k)->setText(QStringLiteral("1000"));
}

void frmEqEdit::FillFromRows(const QString& typeName)
{
    const QueryTable& rows = request().modelRows;
    m_ui->Text1->setText(typeName);
    m_ui->Text2->setText(rows.text(0, PowerSet::Modification));
    m_ui->Label4->setText(rows.text(0, PowerSet::Model).left(2));
    m_ui->Text18->setText(rows.text(0, PowerSet::Model).mid(2, 1));
    for (int i = 0; i < 3; ++i) {
        columnHead(i)->setText(rows.text(i * 3, PowerSet::InT));
        rowHead(i)->setText(rows.text(i, PowerSet::OutT));
    }
    for (int k = 0; k < PowerSet::RowCount; ++k)
        cell(k)->setText(rows.text(k, PowerSet::Power));
}

// Whether rows other than the ones being changed, of any type, already hold
// the code and modification: a second set of them would mix with the first
// in the selection and keep either from being opened again.
std::optional<bool> frmEqEdit::codeTaken(const QString& model, double modification) const
{
    QueryTable rows;
    const Result<int> count =
        CapacitySetStore(session(), request().parentKey).modelRows(model, modification, rows);
    if (!count) {
        Functions::ShowReadFailure(count.failure());
        return std::nullopt;
    }
    QSet<qint64> own;
    if (!request().adding)
        for (int k = 0; k < request().modelRows.rowCount(); ++k)
            own.insert(request().modelRows.integer(k, PowerSet::Key));
    for (int r = 0; r < count.value(); ++r)
        if (!own.contains(rows.integer(r, PowerSet::Key)))
            return true;
    return false;
}

void frmEqEdit::Command1_Click()
{
    const QString plain = QStringLiteral("Ошибка ввода данных!");
    const QString table = QStringLiteral("power");
    if (m_ui->Text2->text().trimmed().isEmpty()) {
        refuseBox(m_ui->Text2, plain);
        return;
    }
    // The modification goes into the statements as a number, so it must be
    // a whole number, not just any text.
    const std::optional<double> modification =
        ruledNumber(m_ui->Text2, table, QStringLiteral("modification"), plain);
    if (!modification)
        return;
    const QString suffix = m_ui->Text18->text().trimmed();
    if (suffix.isEmpty()) {
        refuseBox(m_ui->Text18, plain);
        return;
    }
    double heads[6];
    for (int h = 0; h < 6; ++h) {
        const std::optional<double> value = ruledNumber(
            m_boxes.at(3 + h), table, h < 3 ? QStringLiteral("in_t") : QStringLiteral("out_t"), plain);
        if (!value)
            return;
        heads[h] = *value;
    }
    double capacities[PowerSet::RowCount];
    for (int k = 0; k < PowerSet::RowCount; ++k) {
        const std::optional<double> value = ruledNumber(cell(k), table, QStringLiteral("power"), plain);
        if (!value)
            return;
        capacities[k] = *value;
    }
    const QString model = m_ui->Label4->text() + suffix;
    if (model.size() != PowerSet::CodeLength) {
        refuseBox(m_ui->Text18,
                  QStringLiteral("Код модели \"%1\" должен состоять из трех символов: двух символов "
                                 "серии типа оборудования и буквы.")
                      .arg(model));
        return;
    }
    const std::optional<bool> taken = codeTaken(model, *modification);
    if (!taken) // the failed read was shown; the editor keeps what was typed
        return;
    if (*taken) {
        refuseBox(m_ui->Text18,
                  QStringLiteral("Модель %1 уже есть в базе данных. Задайте другую букву модели или "
                                 "другую модификацию.")
                      .arg(PowerSet::entryText(model, SqlLiteral::number(*modification))));
        return;
    }

    const QString code = SqlLiteral::number(*modification);
    QVector<QStringList> rows;
    QVector<CapacitySetStore::Change> changes;
    for (int k = 0; k < PowerSet::RowCount; ++k) {
        const QStringList row = CapacitySetStore::literals(model, code, SqlLiteral::number(heads[k / 3]),
                                                           SqlLiteral::number(heads[3 + k % 3]),
                                                           SqlLiteral::number(capacities[k]));
        if (request().adding)
            rows << row;
        else
            changes.append({row, request().modelRows.integer(k, PowerSet::Key)});
    }
    const Result<void> saved = CapacitySetStore(session(), request().parentKey).save(rows, changes);
    if (!saved) {
        PresentFailure(saved.failure(), QStringLiteral("Произошел сбой при вводе данных !"),
                       MsgIcon::Critical, QStringLiteral("Ошибка"));
        closeIfRecordGone(saved.failure());
        return;
    }
    close();
}

void frmEqEdit::Command2_Click()
{
    close();
}
