#include "EditorDialog.h"

#include "Functions.h"
#include "Messages.h"
#include "ReferenceRules.h"
#include "WindowPlacement.h"

#include <QLineEdit>

EditorDialog::EditorDialog(AdminSession& session, const EditRequest& request, QWidget* parent)
    : QDialog(parent), m_session(session), m_request(request)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void EditorDialog::openModal()
{
    setWindowModality(Qt::ApplicationModal);
    show();
}

void EditorDialog::closeIfRecordGone(const DatabaseFailure& failure)
{
    if (!Functions::RecordGone(failure))
        return;
    emit recordGone();
    close();
}

void EditorDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        WindowPlacement::place(this, 2);
        if (QWidget* box = firstBox())
            box->setFocus();
    }
}

std::optional<double> EditorDialog::ruledNumber(QLineEdit* box, const QString& table, const QString& column,
                                                const QString& message)
{
    const ColumnRule& rule = ReferenceRules::of(table, column);
    const std::optional<double> value = Functions::TypedNumber(box->text());
    if (value && rule.accepts(*value))
        return value;
    const QString problem =
        box->text().trimmed().isEmpty()
            ? QStringLiteral("пусто")
            : ReferenceRules::problem(value ? rule.reason() : QStringLiteral("не число"), box->text());
    refuseBox(box, message + QStringLiteral("\r\n") + ReferenceRules::refusal(table, column, problem));
    return std::nullopt;
}

void EditorDialog::refuseBox(QWidget* box, const QString& text)
{
    box->setFocus();
    Messages::show(text, MsgIcon::Exclamation, QStringLiteral("Внимание"));
}
