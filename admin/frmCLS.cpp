#include "frmCLS.h"

#include "Functions.h"
#include "ListFill.h"
#include "Messages.h"
#include "OrderUsage.h"
#include "SimpleList.h"
#include "frmClsEdit.h"
#include "ui_frmCLS.h"

frmCLS::frmCLS(QWidget* parent) : ListWindow(parent), m_ui(std::make_unique<Ui::frmCLS>())
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
    m_list = SimpleList::forKind(Functions::CurrentKind);
    if (!m_list)
        return false;
    setWindowTitle(m_list->caption);
    m_ui->List1->setAccessibleName(m_list->caption);
    QueryTable rows;
    const int count = Functions::FetchRows(m_list->listQuery(), rows);
    for (QPushButton* button : {m_ui->cmbAdd, m_ui->Command5, m_ui->Command2})
        button->setEnabled(count >= 0);
    if (ListFill::fill(m_ui->List1, rows, std::max(count, 0), SimpleList::ListName, SimpleList::ListKey))
        m_ui->List1->setCurrentRow(0);
    return count >= 0;
}

void frmCLS::cmbAdd_Click()
{
    openEditor(true, {}, {}, {});
}

void frmCLS::Command5_Click()
{
    const QListWidgetItem* item = m_ui->List1->currentItem();
    if (!m_list || !item || !Functions::PickKey(item->data(Qt::UserRole).toLongLong()))
        return;
    QueryTable row;
    if (!Functions::FetchRecord(m_list->readQuery(Functions::CurrentKey), row, QStringLiteral("Ошибка")))
        return;
    openEditor(false, row.text(0, SimpleList::ReadName), row.text(0, SimpleList::ReadValue),
               m_list->hasSecondValue ? row.text(0, SimpleList::ReadSecondValue) : QString());
}

void frmCLS::openEditor(bool addMode, const QString& name, const QString& value, const QString& second)
{
    Functions::AddMode = addMode;
    auto* editor = new frmClsEdit(m_ui->List1, this);
    connect(editor, &EditorDialog::recordGone, this, &frmCLS::FillList);
    editor->setWindowTitle(windowTitle());
    editor->setValues(name, value, second);
    editor->openModal();
}

void frmCLS::Command2_Click()
{
    const int row = m_ui->List1->currentRow();
    if (!m_list || row < 0 || !Functions::PickKey(m_ui->List1->item(row)->data(Qt::UserRole).toLongLong()) ||
        !OrderUsage::confirmDelete(Functions::CurrentKind, Functions::CurrentKey,
                                   m_ui->List1->item(row)->text()))
        return;
    const int rc = Functions::ExecSqlChanging(m_list->deleteStatement(Functions::CurrentKey));
    if (rc != 0) {
        Messages::show(Functions::FailureText(QStringLiteral("произошел сбой при удалении данных!"), rc),
                       MsgIcon::Critical, QStringLiteral("Ошибка"));
        if (rc == Functions::RecordGone)
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
