#include "frmClsEdit.h"

#include "FailurePresenter.h"
#include "Functions.h"
#include "LabelNames.h"
#include "Messages.h"
#include "SimpleList.h"
#include "ui_frmClsEdit.h"

#include <QListWidget>

frmClsEdit::frmClsEdit(AdminSession& session, const EditRequest& request, QListWidget* list, QWidget* parent)
    : EditorDialog(session, request, parent), m_ui(std::make_unique<Ui::frmClsEdit>()), m_list(list),
      m_kind(SimpleList::forKind(request.kind)), m_store(session, request.kind)
{
    m_ui->setupUi(this);
    if (m_kind) {
        m_ui->Label1->setText(m_kind->nameLabel);
        m_ui->Label3->setText(m_kind->valueLabel);
        m_ui->Label2->setVisible(m_kind->hasSecondValue);
        m_ui->Text2->setVisible(m_kind->hasSecondValue);
    }
    LabelNames::apply(this);
    connect(m_ui->Command1, &QPushButton::clicked, this, &frmClsEdit::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &frmClsEdit::Command2_Click);
}

frmClsEdit::~frmClsEdit() = default;

void frmClsEdit::setValues(const QString& name, const QString& value, const QString& second)
{
    m_ui->Text1->setText(name);
    m_ui->Text3->setText(value);
    m_ui->Text2->setText(second);
}

QWidget* frmClsEdit::firstBox() const
{
    return m_ui->Text1;
}

bool frmClsEdit::checkValue(QLineEdit* box, const QString& column, double* value)
{
    const std::optional<double> number =
        ruledNumber(box, m_kind->table, column, QStringLiteral("Ошибка ввода данных! Числовое значение."));
    if (number)
        *value = *number;
    return number.has_value();
}

void frmClsEdit::Command1_Click()
{
    if (!m_kind)
        return;
    const QString name = m_ui->Text1->text().trimmed();
    if (name.isEmpty()) {
        m_ui->Text1->setFocus();
        Messages::show(QStringLiteral("Ошибка ввода данных! Обязательное заполнение."), MsgIcon::Exclamation,
                       QStringLiteral("Внимание"));
        return;
    }
    double value = 0;
    double second = 0;
    if (!checkValue(m_ui->Text3, m_kind->valueColumn, &value))
        return;
    if (m_kind->hasSecondValue && !checkValue(m_ui->Text2, m_kind->secondColumn, &second))
        return;

    qint64 newKey = 0;
    const Result<void> saved = m_store.save(request(), {name, value, second, {}, {}, {}}, &newKey);
    if (!saved) {
        PresentFailure(saved.failure(), QStringLiteral("Произошел сбой при вводе данных !"),
                       MsgIcon::Critical, QStringLiteral("Ошибка"));
        closeIfRecordGone(saved.failure());
        return;
    }
    if (request().adding) {
        auto* item = new QListWidgetItem(name, m_list);
        item->setData(Qt::UserRole, newKey);
    } else if (QListWidgetItem* item = m_list->currentItem()) {
        item->setText(name);
    }
    close();
}

void frmClsEdit::Command2_Click()
{
    close();
}
