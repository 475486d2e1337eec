#include "frmCLS1.h"

#include "Functions.h"
#include "LabelNames.h"
#include "ListFill.h"
#include "Messages.h"
#include "OrderUsage.h"
#include "PictureFit.h"
#include "PowerSet.h"
#include "SqlLiteral.h"
#include "frmCls1Edit.h"
#include "frmEqEdit.h"
#include "frmPrEdit.h"
#include "ui_frmCLS1.h"

namespace {

const QString DeleteQuestion = QStringLiteral("Удалить ?");
constexpr int ModelRole = Qt::UserRole;
constexpr int ModificationRole = Qt::UserRole + 1;

// The window's statements, each with the columns read from its rows.

QString upperListQuery(bool equipment)
{
    return equipment ? QStringLiteral("SELECT Pkey,text_ru,model FROM Equipment ORDER BY text_ru")
                     : QStringLiteral("SELECT Pkey,text_ru FROM PGroup ORDER BY text_ru");
}
enum UpperListColumn { UpperKey, UpperName };

QString upperRecordQuery(bool equipment, qint64 key)
{
    return (equipment ? QStringLiteral("SELECT text_ru,pkey,model,picture,scheme FROM equipment WHERE Pkey=")
                      : QStringLiteral("SELECT text_ru,pkey FROM PGroup WHERE Pkey=")) +
           SqlLiteral::integer(key);
}
enum UpperRecordColumn { RecordName, RecordKey, RecordModel, RecordPicture, RecordScheme };

QString productListQuery(qint64 groupKey)
{
    return QStringLiteral(
               "SELECT pkey, text_ru, co, cz, cwr, tko, tnz, td0, td2, td5, td15, fkey FROM Product "
               "WHERE fkey=") +
           SqlLiteral::integer(groupKey) + QStringLiteral(" ORDER BY text_ru");
}
enum ProductListColumn { ProductKey, ProductName };

QString modelListQuery(qint64 typeKey)
{
    return QStringLiteral("SELECT DISTINCT model,modification FROM power WHERE fkey=") +
           SqlLiteral::integer(typeKey) + QStringLiteral(" ORDER BY model,modification");
}
enum ModelListColumn { ListedModel, ListedModification };

QString seriesQuery(qint64 typeKey)
{
    return QStringLiteral("SELECT model FROM Equipment WHERE pkey=") + SqlLiteral::integer(typeKey);
}
enum SeriesColumn { Series };

} // namespace

frmCLS1::frmCLS1(QWidget* parent) : ListWindow(parent), m_ui(std::make_unique<Ui::frmCLS1>())
{
    m_ui->setupUi(this);
    connect(m_ui->Combo1, &QComboBox::currentIndexChanged, this, &frmCLS1::Combo1_Click);
    connect(m_ui->cmbGAdd, &QPushButton::clicked, this, &frmCLS1::cmbGAdd_Click);
    connect(m_ui->cmbGEdit, &QPushButton::clicked, this, &frmCLS1::cmbGEdit_Click);
    connect(m_ui->cmbGDelete, &QPushButton::clicked, this, &frmCLS1::cmbGDelete_Click);
    connect(m_ui->cmbAdd, &QPushButton::clicked, this, &frmCLS1::cmbAdd_Click);
    connect(m_ui->cmbEdit, &QPushButton::clicked, this, &frmCLS1::cmbEdit_Click);
    connect(m_ui->List1, &QListWidget::itemDoubleClicked, this, &frmCLS1::cmbEdit_Click);
    connect(m_ui->cmbDelete, &QPushButton::clicked, this, &frmCLS1::cmbDelete_Click);
    connect(m_ui->Command4, &QPushButton::clicked, this, &frmCLS1::Command4_Click);
}

frmCLS1::~frmCLS1() = default;

bool frmCLS1::isEquipment() const
{
    return Functions::CurrentKind == Functions::KindEquipment;
}

int frmCLS1::FillUpperLevel()
{
    QueryTable rows;
    const int count = Functions::FetchRows(upperListQuery(isEquipment()), rows);
    if (count <= 0)
        return count;
    setWindowTitle(isEquipment() ? QStringLiteral("Оборудование") : QStringLiteral("Продукты"));
    m_ui->Image1->setVisible(!isEquipment());
    m_ui->Image2->setVisible(isEquipment());
    // A picture missing from the resources simply leaves its place empty.
    PictureFit::show(m_ui->Image1, QStringLiteral(":/images/products.jpg"));
    PictureFit::show(m_ui->Image2, QStringLiteral(":/images/equipment.jpg"));
    if (isEquipment())
        m_ui->Label2->setText(QStringLiteral("Модель агрегата"));
    LabelNames::apply(this);
    m_ui->List1->clear();
    ListFill::fill(m_ui->Combo1, rows, count, UpperName, UpperKey);
    ListFill::selectQuietly(m_ui->Combo1, 0);
    Combo1_Click();
    return count;
}

void frmCLS1::Combo1_Click()
{
    const int index = m_ui->Combo1->currentIndex();
    Functions::ParentKey = index >= 0 ? m_ui->Combo1->itemData(index).toInt() : 0;
    if (index < 0)
        m_ui->List1->clear();
    else
        lowerListRead(isEquipment() ? FillEquipment(Functions::ParentKey)
                                    : FillProduct(Functions::ParentKey));
    selectLowerEntry(0);
}

void frmCLS1::lowerListRead(bool read)
{
    m_ui->cmbAdd->setEnabled(read);
    m_ui->cmbGDelete->setEnabled(read);
}

void frmCLS1::selectLowerEntry(int row)
{
    const int count = m_ui->List1->count();
    m_ui->List1->setCurrentRow(count == 0 ? -1 : (row < count ? row : 0));
    m_ui->cmbEdit->setEnabled(count > 0);
    m_ui->cmbDelete->setEnabled(count > 0);
}

void frmCLS1::refillLowerList(int row)
{
    lowerListRead(isEquipment() ? FillEquipment(Functions::ParentKey) : FillProduct(Functions::ParentKey));
    selectLowerEntry(row);
}

bool frmCLS1::FillProduct(qint32 groupKey)
{
    QueryTable rows;
    const int count = Functions::FetchRows(productListQuery(groupKey), rows);
    ListFill::fill(m_ui->List1, rows, std::max(count, 0), ProductName, ProductKey);
    return count >= 0;
}

void frmCLS1::cmbGAdd_Click()
{
    Functions::AddMode = true;
    auto* editor = new frmCls1Edit(m_ui->Combo1, this);
    editor->setNames(QString(), QString(), QString(), QString());
    editor->openModal();
}

void frmCLS1::cmbGEdit_Click()
{
    const int index = m_ui->Combo1->currentIndex();
    if (index < 0 || !Functions::PickKey(m_ui->Combo1->itemData(index).toLongLong()))
        return;
    Functions::AddMode = false;
    QueryTable row;
    if (!Functions::FetchRecord(upperRecordQuery(isEquipment(), Functions::CurrentKey), row,
                                QStringLiteral("Ошибка")))
        return;
    auto* editor = new frmCls1Edit(m_ui->Combo1, this);
    connect(editor, &EditorDialog::recordGone, this, &frmCLS1::reloadUpperLevel);
    editor->setNames(row.text(0, RecordName), row.text(0, RecordModel), row.text(0, RecordPicture),
                     row.text(0, RecordScheme));
    editor->openModal();
}

void frmCLS1::cmbGDelete_Click()
{
    const int index = m_ui->Combo1->currentIndex();
    if (index < 0 || !Functions::PickKey(m_ui->Combo1->itemData(index).toLongLong()))
        return;
    if (m_ui->List1->count() > 0) {
        Messages::show(QStringLiteral("Для удаления группы необходимо предварительно") +
                           QStringLiteral("\r\n") + QStringLiteral(" удалить все записи, входящие в группу!"),
                       MsgIcon::Exclamation, QStringLiteral("Внимание"));
        return;
    }
    if (isEquipment() && !OrderUsage::confirmDelete(Functions::KindEquipment, Functions::CurrentKey,
                                                    m_ui->Combo1->currentText()))
        return;
    const QString table = isEquipment() ? QStringLiteral("equipment") : QStringLiteral("PGroup");
    const int rc = Functions::ExecSqlChanging(QStringLiteral("DELETE FROM %1 WHERE Pkey=").arg(table) +
                                              SqlLiteral::integer(Functions::CurrentKey));
    if (rc != 0) {
        Messages::show(Functions::FailureText(QStringLiteral("При удалении записи произошел сбой!"), rc),
                       MsgIcon::Critical, QStringLiteral("Ошибка"));
        if (rc == Functions::RecordGone)
            reloadUpperLevel();
        return;
    }
    {
        const QSignalBlocker blocker(m_ui->Combo1);
        m_ui->Combo1->removeItem(index);
        m_ui->Combo1->setCurrentIndex(m_ui->Combo1->count() == 0 ? -1 : std::max(0, index - 1));
    }
    Combo1_Click();
}

void frmCLS1::cmbAdd_Click()
{
    if (m_ui->Combo1->currentIndex() < 0)
        return;
    if (isEquipment())
        addModel();
    else
        addProduct();
}

void frmCLS1::cmbEdit_Click()
{
    if (!m_ui->List1->currentItem())
        return;
    if (isEquipment())
        editModel();
    else
        editProduct();
}

void frmCLS1::cmbDelete_Click()
{
    if (!m_ui->List1->currentItem())
        return;
    if (isEquipment())
        deleteModel();
    else
        deleteProduct();
}

bool frmCLS1::confirmDelete() const
{
    return Messages::show(DeleteQuestion, MsgIcon::Question, QStringLiteral("Удаление"), MsgButtons::YesNo) ==
           MsgAnswer::Yes;
}

void frmCLS1::addProduct()
{
    Functions::AddMode = true;
    auto* editor = new frmPrEdit(this);
    editor->setGroups(m_ui->Combo1, Functions::ParentKey);
    connect(editor, &QDialog::finished, this, [this] { refillLowerList(0); });
    editor->openModal();
}

void frmCLS1::editProduct()
{
    const int position = m_ui->List1->currentRow();
    if (!Functions::PickKey(m_ui->List1->currentItem()->data(Qt::UserRole).toLongLong()))
        return;
    Functions::AddMode = false;
    QueryTable row;
    if (!Functions::FetchRecord(frmPrEdit::readQuery(Functions::CurrentKey), row, QStringLiteral("Внимание")))
        return;
    auto* editor = new frmPrEdit(this);
    editor->setProduct(row);
    editor->setGroups(m_ui->Combo1, row.integer(0, frmPrEdit::Group));
    connect(editor, &QDialog::finished, this, [this, position] { refillLowerList(position); });
    editor->openModal();
}

void frmCLS1::deleteProduct()
{
    const QListWidgetItem* item = m_ui->List1->currentItem();
    if (Functions::PickKey(item->data(Qt::UserRole).toLongLong()) &&
        OrderUsage::confirmDelete(Functions::KindProduct, Functions::CurrentKey, item->text(),
                                  DeleteQuestion)) {
        deleted(Functions::ExecSqlChanging(QStringLiteral("DELETE FROM Product WHERE Pkey=") +
                                           SqlLiteral::integer(Functions::CurrentKey)));
    }
    selectLowerEntry(0);
}

bool frmCLS1::FillEquipment(qint32 typeKey)
{
    m_ui->List1->clear();
    QueryTable rows;
    const int count = Functions::FetchRows(modelListQuery(typeKey), rows);
    for (int r = 0; r < count; ++r) {
        // The entry keeps model and modification as they are stored, so a
        // code of another length is still found again exactly.
        const QString model = rows.text(r, ListedModel);
        auto* item =
            new QListWidgetItem(PowerSet::entryText(model, rows.text(r, ListedModification)), m_ui->List1);
        item->setData(ModelRole, model);
        item->setData(ModificationRole, rows.number(r, ListedModification));
    }
    return count >= 0;
}

void frmCLS1::addModel()
{
    Functions::AddMode = true;
    QueryTable row;
    const int found = Functions::FetchRows(seriesQuery(Functions::ParentKey), row);
    if (found < 0)
        return;
    const QString series = found > 0 ? row.text(0, Series).left(2) : QString();
    auto* editor = new frmEqEdit(this);
    editor->FillNew(m_ui->Combo1->currentText(), series);
    connect(editor, &QDialog::finished, this, [this] { refillLowerList(0); });
    editor->openModal();
}

void frmCLS1::editModel()
{
    Functions::AddMode = false;
    const QListWidgetItem* item = m_ui->List1->currentItem();
    const int position = m_ui->List1->currentRow();
    const QString model = item->data(ModelRole).toString();
    const double modification = item->data(ModificationRole).toDouble();
    QueryTable rows;
    if (!Functions::FetchRecord(PowerSet::readQuery(model, modification), rows, QStringLiteral("Внимание")))
        return;
    const QString problem = PowerSet::gridProblem(rows);
    if (!problem.isEmpty()) {
        Messages::show(problem + QStringLiteral("\r\nТакую модель этот редактор открыть не может."),
                       MsgIcon::Exclamation, QStringLiteral("Внимание"));
        return;
    }
    Functions::PowerRows = rows;
    auto* editor = new frmEqEdit(this);
    editor->FillFromRows(m_ui->Combo1->currentText());
    // Re-read so that a changed code or size shows at once.
    connect(editor, &QDialog::finished, this, [this, position] { refillLowerList(position); });
    editor->openModal();
}

void frmCLS1::deleteModel()
{
    const QListWidgetItem* item = m_ui->List1->currentItem();
    if (confirmDelete()) {
        deleted(Functions::ExecSqlChanging(
            QStringLiteral("DELETE FROM Power WHERE Fkey=") + SqlLiteral::integer(Functions::ParentKey) +
            QStringLiteral(" AND model=") + SqlLiteral::text(item->data(ModelRole).toString()) +
            QStringLiteral(" AND modification=") +
            SqlLiteral::number(item->data(ModificationRole).toDouble())));
    }
    selectLowerEntry(0);
}

void frmCLS1::deleted(int rc)
{
    if (rc == 0) {
        delete m_ui->List1->currentItem();
        return;
    }
    Messages::show(Functions::FailureText(QStringLiteral("Произошел сбой при удалении записи!"), rc),
                   MsgIcon::Exclamation, QStringLiteral("Внимание"));
    if (rc == Functions::RecordGone)
        refillLowerList(0);
}

void frmCLS1::reloadUpperLevel()
{
    if (FillUpperLevel() > 0)
        return;
    {
        const QSignalBlocker blocker(m_ui->Combo1);
        m_ui->Combo1->clear();
    }
    Combo1_Click();
}

void frmCLS1::Command4_Click()
{
    closeWindow();
}
