#include "frmPrEdit.h"

#include "FailurePresenter.h"
#include "LabelNames.h"
#include "Messages.h"
#include "ProductStore.h"
#include "QueryTable.h"
#include "ReferenceRules.h"
#include "ui_frmPrEdit.h"

#include <QComboBox>

frmPrEdit::frmPrEdit(AdminSession& session, const EditRequest& request, QWidget* parent)
    : EditorDialog(session, request, parent), m_ui(std::make_unique<Ui::frmPrEdit>())
{
    m_ui->setupUi(this);
    LabelNames::apply(this);
    connect(m_ui->Command1, &QPushButton::clicked, this, &frmPrEdit::Command1_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &frmPrEdit::Command2_Click);
    connect(m_ui->List1, &QListWidget::itemChanged, this, &frmPrEdit::List1_ItemChanged);
    connect(m_ui->List1, &QListWidget::itemPressed, this, &frmPrEdit::List1_MouseDown);
    connect(m_ui->List1, &QListWidget::itemClicked, this, &frmPrEdit::List1_Click);
}

frmPrEdit::~frmPrEdit() = default;

QWidget* frmPrEdit::firstBox() const
{
    return m_ui->Text2;
}

void frmPrEdit::setProduct(const QueryTable& row)
{
    m_ui->Text1->setText(row.text(0, ProductStore::Key));
    m_ui->Text2->setText(row.text(0, ProductStore::Name));
    const QList<QLineEdit*> values = {m_ui->Text5,  m_ui->Text6,  m_ui->Text7,  m_ui->Text8, m_ui->Text9,
                                      m_ui->Text10, m_ui->Text11, m_ui->Text12, m_ui->Text13};
    for (int i = 0; i < values.size(); ++i)
        values.at(i)->setText(row.text(0, ProductStore::FirstValue + i));
    m_ui->Text14->setText(row.text(0, ProductStore::Group));
}

void frmPrEdit::setGroups(const QComboBox* groups, qint64 markedKey)
{
    const QSignalBlocker blocker(m_ui->List1);
    m_ui->List1->clear();
    for (int i = 0; i < groups->count(); ++i) {
        auto* item = new QListWidgetItem(groups->itemText(i), m_ui->List1);
        const qint64 key = groups->itemData(i).toLongLong();
        item->setData(Qt::UserRole, key);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(key == markedKey ? Qt::Checked : Qt::Unchecked);
        if (key == markedKey)
            m_ui->List1->setCurrentItem(item);
    }
}

// Marking a group unmarks every other: a product belongs to one group.
void frmPrEdit::List1_ItemChanged(QListWidgetItem* item)
{
    if (item->checkState() != Qt::Checked)
        return;
    const QSignalBlocker blocker(m_ui->List1);
    for (int i = 0; i < m_ui->List1->count(); ++i)
        if (m_ui->List1->item(i) != item)
            m_ui->List1->item(i)->setCheckState(Qt::Unchecked);
}

void frmPrEdit::List1_MouseDown(QListWidgetItem* item)
{
    m_pressed = item;
    m_stateAtPress = item->checkState();
}

// A click on a group's name marks it as one on its box does. A click on the
// box has toggled the mark already (the box takes the press itself, so no
// press of the entry was seen) and stays as it is.
void frmPrEdit::List1_Click(QListWidgetItem* item)
{
    if (item == m_pressed && item->checkState() == m_stateAtPress)
        item->setCheckState(Qt::Checked);
    m_pressed = nullptr;
}

void frmPrEdit::Command1_Click()
{
    const QString name = m_ui->Text2->text().trimmed();
    if (name.isEmpty()) {
        m_ui->Text2->setFocus();
        Messages::show(QStringLiteral("Ошибка ввода данных!"), MsgIcon::Exclamation,
                       QStringLiteral("Внимание"));
        return;
    }
    const QList<std::pair<QLineEdit*, const char*>> boxes = {
        {m_ui->Text5, "co"},   {m_ui->Text6, "cz"},   {m_ui->Text7, "cwr"},
        {m_ui->Text8, "tko"},  {m_ui->Text9, "tnz"},  {m_ui->Text10, "td0"},
        {m_ui->Text11, "td2"}, {m_ui->Text12, "td5"}, {m_ui->Text13, "td15"}};
    const QString table = QStringLiteral("Product");
    const QString message = QStringLiteral("Ошибка ввода данных!");
    QVariantHash typed;
    QVector<double> values;
    for (const auto& [box, column] : boxes) {
        const std::optional<double> value = ruledNumber(box, table, QLatin1String(column), message);
        if (!value)
            return;
        typed.insert(QLatin1String(column), *value);
        values << *value;
    }
    // Each box passed its own rule: what is left is between them (tko > tnz).
    const QVector<RuleBreach> breaches = ReferenceRules::breaches(table, typed);
    if (!breaches.isEmpty()) {
        refuseBox(m_ui->Text8,
                  message + QStringLiteral("\r\n") +
                      ReferenceRules::refusal(table, breaches.first().column, breaches.first().problem));
        return;
    }
    qint64 group = 0;
    for (int i = 0; i < m_ui->List1->count(); ++i)
        if (m_ui->List1->item(i)->checkState() == Qt::Checked)
            group = m_ui->List1->item(i)->data(Qt::UserRole).toLongLong();
    if (group == 0) {
        // Without a group the product could not be stored; say so instead of
        // closing as if it had been.
        m_ui->List1->setFocus();
        Messages::show(QStringLiteral("Не отмечена группа продукта! Отметьте в списке \"Группа\" группу, "
                                      "в которую входит продукт."),
                       MsgIcon::Exclamation, QStringLiteral("Внимание"));
        return;
    }

    const Result<void> saved = ProductStore(session()).save(
        request().adding, m_ui->Text1->text().toLongLong(), ProductStore::literals(group, name, values));
    if (!saved) {
        PresentFailure(saved.failure(), QStringLiteral("Произошел сбой при вводе данных !"),
                       MsgIcon::Critical, QStringLiteral("Ошибка"));
        closeIfRecordGone(saved.failure());
        return;
    }
    close();
}

void frmPrEdit::Command2_Click()
{
    close();
}
