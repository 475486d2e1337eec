#include "EditorDialog.h"

#include "Functions.h"
#include "WindowPlacement.h"

EditorDialog::EditorDialog(QWidget* parent) : QDialog(parent)
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
