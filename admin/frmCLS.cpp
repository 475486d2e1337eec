#include "frmCLS.h"

#include "AdminSession.h"
#include "FailurePresenter.h"
#include "Functions.h"
#include "ListFill.h"
#include "Messages.h"
#include "OrderUsage.h"
#include "SimpleList.h"
#include "frmClsEdit.h"
#include "ui_frmCLS.h"

frmCLS::frmCLS(AdminSession& session, int kind, QWidget* parent)
    : ListWindow(session, kind, parent), m_ui(std::make_unique<Ui::frmCLS>()),
      m_list(SimpleList::forKind(kind)), m_store(session, kind)
{
    m_ui->setupUi(this);
    connect(m_ui->cmbAdd, &QPushButton::clicked, this, &frmCLS::cmbAdd_Click);
    connect(m_ui->Command5, &QPushButton::clicked, this, &frmCLS::Command5_Click);
    connect(m_ui->List1, &QListWidget::itemDoubleClicked, this, &frmCLS::Command5_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &frmCLS::Command2_Click);
    connect(m_ui->Command4, &QPushButton::clicked, this, &frmCLS::Command4_Click);
}

frmCLS::~frmCLS() = default;

bool frmCLS::FillList()
{
    if (!m_list)
        return false;
    setWindowTitle(m_list->caption);
    m_ui->List1->setAccessibleName(m_list->caption);
    QueryTable rows;
    const Result<int> count = m_store.entries(rows);
    if (!count)
        Functions::ShowReadFailure(count.failure());
    for (QPushButton* button : {m_ui->cmbAdd, m_ui->Command5, m_ui->Command2})
        button->setEnabled(count.ok());
    if (ListFill::fill(m_ui->List1, rows, count.valueOr(0), ReferenceListStore::EntryName,
                       ReferenceListStore::EntryKey))
        m_ui->List1->setCurrentRow(0);
    return count.ok();
}

void frmCLS::cmbAdd_Click()
{
    openEditor(EditRequest::add(kind()), {}, {}, {});
}

void frmCLS::Command5_Click()
{
    const QListWidgetItem* item = m_ui->List1->currentItem();
    if (!m_list || !item)
        return;
    const std::optional<qint16> key = Functions::PickKey(item->data(Qt::UserRole).toLongLong());
    QueryTable row;
    if (!key || !Functions::RecordRead(m_store.entry(*key, row), QStringLiteral("Ошибка")))
        return;
    openEditor(EditRequest::change(kind(), *key), row.text(0, ReferenceListStore::FlatName),
               row.text(0, ReferenceListStore::FlatValue),
               m_list->hasSecondValue ? row.text(0, ReferenceListStore::FlatSecondValue) : QString());
}

void frmCLS::openEditor(const EditRequest& request, const QString& name, const QString& value,
                        const QString& second)
{
    auto* editor = new frmClsEdit(session(), request, m_ui->List1, this);
    connect(editor, &EditorDialog::recordGone, this, &frmCLS::FillList);
    editor->setWindowTitle(windowTitle());
    editor->setValues(name, value, second);
    editor->openModal();
}

void frmCLS::Command2_Click()
{
    const int row = m_ui->List1->currentRow();
    if (!m_list || row < 0)
        return;
    const std::optional<qint16> key =
        Functions::PickKey(m_ui->List1->item(row)->data(Qt::UserRole).toLongLong());
    if (!key ||
        !OrderUsage::confirmDelete(session().location(), kind(), *key, m_ui->List1->item(row)->text()))
        return;
    if (const Result<void> removed = m_store.remove(*key); !removed) {
        PresentFailure(removed.failure(), QStringLiteral("произошел сбой при удалении данных!"),
                       MsgIcon::Critical, QStringLiteral("Ошибка"));
        if (Functions::RecordGone(removed.failure()))
            FillList();
        return;
    }
    delete m_ui->List1->takeItem(row);
    if (m_ui->List1->count() == 0)
        m_ui->List1->setCurrentRow(-1);
    else
        m_ui->List1->setCurrentRow(std::max(0, row - 1));
}

void frmCLS::Command4_Click()
{
    closeWindow();
}
