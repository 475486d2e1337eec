#include "EditorDialog.h"

#include "Functions.h"
#include "WindowPlacement.h"

EditorDialog::EditorDialog(const EditRequest& request, QWidget* parent) : QDialog(parent), m_request(request)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void EditorDialog::openModal()
{
    setWindowModality(Qt::ApplicationModal);
    show();
}

void EditorDialog::closeIfRecordGone(int rc)
{
    if (rc != Functions::RecordGone)
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
