#include "frmCLS1.h"

#include "AdminSession.h"
#include "CapacitySetStore.h"
#include "FailurePresenter.h"
#include "Functions.h"
#include "LabelNames.h"
#include "ListFill.h"
#include "Messages.h"
#include "OrderUsage.h"
#include "PictureFit.h"
#include "PowerSet.h"
#include "ProductStore.h"
#include "frmCls1Edit.h"
#include "frmEqEdit.h"
#include "frmPrEdit.h"
#include "ui_frmCLS1.h"

#include <QSignalBlocker>

namespace {

const QString DeleteQuestion = QStringLiteral("Удалить ?");
constexpr int ModelRole = Qt::UserRole;
constexpr int ModificationRole = Qt::UserRole + 1;

} // namespace

frmCLS1::frmCLS1(AdminSession& session, int kind, QWidget* parent)
    : ListWindow(session, kind, parent), m_ui(std::make_unique<Ui::frmCLS1>()), m_store(session, kind)
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
    return kind() == Functions::KindEquipment;
}

int frmCLS1::FillUpperLevel()
{
    QueryTable rows;
    const Result<int> read = isEquipment() ? m_store.entries(rows) : m_store.groupsWithProducts(rows);
    if (!read)
        Functions::ShowReadFailure(read.failure());
    const int count = read.valueOr(-1);
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
    if (!isEquipment())
        return fillGroupsWithProducts(rows, count);
    ListFill::fill(m_ui->Combo1, rows, count, ReferenceListStore::EntryName, ReferenceListStore::EntryKey);
    ListFill::selectQuietly(m_ui->Combo1, 0);
    Combo1_Click();
    return count;
}

// The groups into Combo1, the first one chosen, and its products, all from
// one read: opening the window costs one round trip to a server.
int frmCLS1::fillGroupsWithProducts(const QueryTable& rows, int count)
{
    using Store = ReferenceListStore;
    int firstGroupProducts = 0;
    {
        const QSignalBlocker blocker(m_ui->Combo1);
        m_ui->Combo1->clear();
        for (int r = 0; r < count; ++r) {
            const qint64 group = rows.integer(r, Store::GroupKey);
            if (r == 0 || group != rows.integer(r - 1, Store::GroupKey))
                m_ui->Combo1->addItem(rows.text(r, Store::GroupName), group);
            if (m_ui->Combo1->count() == 1 && !rows.isEmpty(r, Store::GroupedProductKey))
                firstGroupProducts = r + 1;
        }
        m_ui->Combo1->setCurrentIndex(0);
    }
    m_parentKey = m_ui->Combo1->itemData(0).toInt();
    ListFill::fill(m_ui->List1, rows, firstGroupProducts, Store::GroupedProductName,
                   Store::GroupedProductKey);
    lowerListRead(true);
    selectLowerEntry(0);
    return m_ui->Combo1->count();
}

void frmCLS1::Combo1_Click()
{
    const int index = m_ui->Combo1->currentIndex();
    m_parentKey = index >= 0 ? m_ui->Combo1->itemData(index).toInt() : 0;
    if (index < 0)
        m_ui->List1->clear();
    else
        lowerListRead(isEquipment() ? FillEquipment(m_parentKey) : FillProduct(m_parentKey));
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
    lowerListRead(isEquipment() ? FillEquipment(m_parentKey) : FillProduct(m_parentKey));
    selectLowerEntry(row);
}

bool frmCLS1::FillProduct(qint32 groupKey)
{
    QueryTable rows;
    const Result<int> count = lowerEntries(groupKey, rows);
    ListFill::fill(m_ui->List1, rows, count.valueOr(0), ReferenceListStore::EntryName,
                   ReferenceListStore::EntryKey);
    return count.ok();
}

Result<int> frmCLS1::lowerEntries(qint32 parentKey, QueryTable& rows) const
{
    const Result<int> count = m_store.lowerEntries(parentKey, rows);
    if (!count)
        Functions::ShowReadFailure(count.failure());
    return count;
}

void frmCLS1::cmbGAdd_Click()
{
    auto* editor = new frmCls1Edit(session(), EditRequest::add(kind()), m_ui->Combo1, this);
    editor->setNames(QString(), QString(), QString(), QString());
    editor->openModal();
}

void frmCLS1::cmbGEdit_Click()
{
    const std::optional<qint16> key = pickedGroup();
    QueryTable row;
    if (!key || !Functions::RecordRead(m_store.entry(*key, row), QStringLiteral("Ошибка")))
        return;
    auto* editor = new frmCls1Edit(session(), EditRequest::change(kind(), *key), m_ui->Combo1, this);
    connect(editor, &EditorDialog::recordGone, this, &frmCLS1::reloadUpperLevel);
    editor->setNames(row.text(0, ReferenceListStore::UpperName), row.text(0, ReferenceListStore::UpperModel),
                     row.text(0, ReferenceListStore::UpperPicture),
                     row.text(0, ReferenceListStore::UpperScheme));
    editor->openModal();
}

void frmCLS1::cmbGDelete_Click()
{
    const int index = m_ui->Combo1->currentIndex();
    const std::optional<qint16> key = pickedGroup();
    if (!key)
        return;
    if (m_ui->List1->count() > 0) {
        Messages::show(QStringLiteral("Для удаления группы необходимо предварительно") +
                           QStringLiteral("\r\n") + QStringLiteral(" удалить все записи, входящие в группу!"),
                       MsgIcon::Exclamation, QStringLiteral("Внимание"));
        return;
    }
    if (isEquipment() && !OrderUsage::confirmDelete(session().location(), Functions::KindEquipment, *key,
                                                    m_ui->Combo1->currentText()))
        return;
    if (const Result<void> removed = m_store.remove(*key); !removed) {
        PresentFailure(removed.failure(), QStringLiteral("При удалении записи произошел сбой!"),
                       MsgIcon::Critical, QStringLiteral("Ошибка"));
        if (Functions::RecordGone(removed.failure()))
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
    auto* editor = new frmPrEdit(session(), EditRequest::add(kind(), m_parentKey), this);
    editor->setGroups(m_ui->Combo1, m_parentKey);
    connect(editor, &QDialog::finished, this, [this] { refillLowerList(0); });
    editor->openModal();
}

void frmCLS1::editProduct()
{
    const int position = m_ui->List1->currentRow();
    const std::optional<qint16> key =
        Functions::PickKey(m_ui->List1->currentItem()->data(Qt::UserRole).toLongLong());
    QueryTable row;
    if (!key || !Functions::RecordRead(ProductStore(session()).record(*key, row), QStringLiteral("Внимание")))
        return;
    auto* editor = new frmPrEdit(session(), EditRequest::change(kind(), *key, m_parentKey), this);
    editor->setProduct(row);
    editor->setGroups(m_ui->Combo1, row.integer(0, ProductStore::Group));
    connect(editor, &QDialog::finished, this, [this, position] { refillLowerList(position); });
    editor->openModal();
}

void frmCLS1::deleteProduct()
{
    const QListWidgetItem* item = m_ui->List1->currentItem();
    const std::optional<qint16> key = Functions::PickKey(item->data(Qt::UserRole).toLongLong());
    if (key && OrderUsage::confirmDelete(session().location(), Functions::KindProduct, *key, item->text(),
                                         DeleteQuestion))
        deleted(m_store.removeProduct(*key));
    selectLowerEntry(0);
}

bool frmCLS1::FillEquipment(qint32 typeKey)
{
    m_ui->List1->clear();
    QueryTable rows;
    const Result<int> count = lowerEntries(typeKey, rows);
    for (int r = 0; r < count.valueOr(0); ++r) {
        // The entry keeps model and modification as they are stored, so a
        // code of another length is still found again exactly.
        const QString model = rows.text(r, ReferenceListStore::ListedModel);
        const QString modification = rows.text(r, ReferenceListStore::ListedModification);
        auto* item = new QListWidgetItem(PowerSet::entryText(model, modification), m_ui->List1);
        item->setData(ModelRole, model);
        item->setData(ModificationRole, rows.number(r, ReferenceListStore::ListedModification));
    }
    return count.ok();
}

void frmCLS1::addModel()
{
    const Result<QString> series = m_store.series(m_parentKey);
    if (!series) {
        Functions::ShowReadFailure(series.failure());
        return;
    }
    auto* editor = new frmEqEdit(session(), EditRequest::add(kind(), m_parentKey), this);
    editor->FillNew(m_ui->Combo1->currentText(), series.value());
    connect(editor, &QDialog::finished, this, [this] { refillLowerList(0); });
    editor->openModal();
}

void frmCLS1::editModel()
{
    const QListWidgetItem* item = m_ui->List1->currentItem();
    const int position = m_ui->List1->currentRow();
    const QString model = item->data(ModelRole).toString();
    const double modification = item->data(ModificationRole).toDouble();
    QueryTable rows;
    if (!Functions::RecordRead(CapacitySetStore(session(), m_parentKey).modelRows(model, modification, rows),
                               QStringLiteral("Внимание")))
        return;
    const QString problem = PowerSet::gridProblem(rows);
    if (!problem.isEmpty()) {
        Messages::show(problem + QStringLiteral("\r\nТакую модель этот редактор открыть не может."),
                       MsgIcon::Exclamation, QStringLiteral("Внимание"));
        return;
    }
    // A model has no key of its own: the request carries its nine rows.
    EditRequest request = EditRequest::change(kind(), 0, m_parentKey);
    request.modelRows = rows;
    auto* editor = new frmEqEdit(session(), request, this);
    editor->FillFromRows(m_ui->Combo1->currentText());
    // Re-read so that a changed code or size shows at once.
    connect(editor, &QDialog::finished, this, [this, position] { refillLowerList(position); });
    editor->openModal();
}

void frmCLS1::deleteModel()
{
    const QListWidgetItem* item = m_ui->List1->currentItem();
    if (confirmDelete()) {
        deleted(m_store.removeModel(m_parentKey, item->data(ModelRole).toString(),
                                    item->data(ModificationRole).toDouble()));
    }
    selectLowerEntry(0);
}

void frmCLS1::deleted(const Result<void>& removed)
{
    if (removed) {
        delete m_ui->List1->currentItem();
        return;
    }
    PresentFailure(removed.failure(), QStringLiteral("Произошел сбой при удалении записи!"),
                   MsgIcon::Exclamation, QStringLiteral("Внимание"));
    if (Functions::RecordGone(removed.failure()))
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

std::optional<qint16> frmCLS1::pickedGroup() const
{
    const int index = m_ui->Combo1->currentIndex();
    if (index < 0)
        return std::nullopt;
    return Functions::PickKey(m_ui->Combo1->itemData(index).toLongLong());
}

void frmCLS1::Command4_Click()
{
    closeWindow();
}
