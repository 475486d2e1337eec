#include "frmCls1Edit.h"

#include "AdminSession.h"
#include "DataLocation.h"
#include "FailurePresenter.h"
#include "Functions.h"
#include "LabelNames.h"
#include "Messages.h"
#include "StagedCopy.h"
#include "ui_frmCls1Edit.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <optional>

namespace {

QString bareName(const QString& path)
{
    return path.mid(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1);
}

QString copyErrorText(const StagedCopy& copy, const StagedCopy::Error& error, bool withDestination)
{
    QString text = QStringLiteral("Ошибка при копировании файла ") + copy.source();
    if (withDestination)
        return text + QStringLiteral("->") + copy.destination() + QStringLiteral("!\r\n") +
               error.description + QLatin1Char('(') + QString::number(error.number, 16).toUpper() +
               QLatin1Char(')');
    return text + QStringLiteral("!\r\n") + error.description;
}

} // namespace

frmCls1Edit::frmCls1Edit(AdminSession& session, const EditRequest& request, QComboBox* combo, QWidget* parent)
    : EditorDialog(session, request, parent), m_ui(std::make_unique<Ui::frmCls1Edit>()), m_combo(combo),
      m_equipment(request.kind == Functions::KindEquipment), m_store(session, request.kind)
{
    m_ui->setupUi(this);
    m_ui->Label1->setText(m_equipment ? QStringLiteral("Тип оборудования")
                                      : QStringLiteral("Группа продуктов"));
    for (QWidget* w : {static_cast<QWidget*>(m_ui->Label2), static_cast<QWidget*>(m_ui->Text2),
                       static_cast<QWidget*>(m_ui->Label3), static_cast<QWidget*>(m_ui->Text3),
                       static_cast<QWidget*>(m_ui->Image1), static_cast<QWidget*>(m_ui->Label4),
                       static_cast<QWidget*>(m_ui->Text4), static_cast<QWidget*>(m_ui->Image2)})
        w->setVisible(m_equipment);
    const QIcon icon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    m_ui->Image1->setIcon(icon);
    m_ui->Image2->setIcon(icon);
    LabelNames::apply(this);
    connect(m_ui->Image1, &QToolButton::clicked, this, &frmCls1Edit::Image1_Click);
    connect(m_ui->Image2, &QToolButton::clicked, this, &frmCls1Edit::Image2_Click);
    connect(m_ui->cmbSave, &QPushButton::clicked, this, &frmCls1Edit::cmbSave_Click);
    connect(m_ui->cmbExit, &QPushButton::clicked, this, &frmCls1Edit::cmbExit_Click);
}

frmCls1Edit::~frmCls1Edit() = default;

void frmCls1Edit::setNames(const QString& name, const QString& model, const QString& picture,
                           const QString& scheme)
{
    m_ui->Text1->setText(name);
    m_ui->Text2->setText(model);
    m_ui->Text3->setText(picture);
    m_ui->Text4->setText(scheme);
}

QWidget* frmCls1Edit::firstBox() const
{
    return m_ui->Text1;
}

void frmCls1Edit::Image1_Click()
{
    choosePicture(m_ui->Text3);
}

void frmCls1Edit::Image2_Click()
{
    choosePicture(m_ui->Text4);
}

void frmCls1Edit::choosePicture(QLineEdit* box)
{
    const QString source =
        Messages::openFile(QString(), QStringLiteral("Картинки (*.jpg)"), QDir::currentPath());
    if (source.isEmpty())
        return;
    box->setText(bareName(source));
    // A picture chosen from the program folder itself needs no copy.
    const QString destination = session().location().picturePath(bareName(source));
    if (QFileInfo::exists(source) &&
        QFileInfo(source).canonicalFilePath() == QFileInfo(destination).canonicalFilePath())
        m_chosen.remove(box);
    else
        m_chosen.insert(box, source);
}

std::optional<std::vector<std::unique_ptr<StagedCopy>>> frmCls1Edit::stageChosenPictures()
{
    std::vector<std::unique_ptr<StagedCopy>> staged;
    for (QLineEdit* box : {m_ui->Text3, m_ui->Text4}) {
        const QString source = m_chosen.value(box);
        // A name typed over the chosen one is stored as typed, without a copy.
        if (source.isEmpty() || box->text() != bareName(source))
            continue;
        auto copy = std::make_unique<StagedCopy>(source, session().location().picturePath(box->text()));
        if (const std::optional<StagedCopy::Error> error = copy->write()) {
            box->setFocus();
            Messages::show(copyErrorText(*copy, *error, box == m_ui->Text4), MsgIcon::Exclamation,
                           QStringLiteral(""));
            return std::nullopt;
        }
        staged.push_back(std::move(copy));
    }
    return staged;
}

void frmCls1Edit::cmbSave_Click()
{
    const QString name = m_ui->Text1->text().trimmed();
    const QString model = m_ui->Text2->text().trimmed();
    QLineEdit* missing =
        name.isEmpty() ? m_ui->Text1 : (m_equipment && model.isEmpty() ? m_ui->Text2 : nullptr);
    if (missing) {
        missing->setFocus();
        Messages::show(QStringLiteral("Ошибка ввода данных!"), MsgIcon::Exclamation,
                       QStringLiteral("Внимание"));
        return;
    }
    // The chosen pictures are copied only now, and put in place once the
    // entry is saved: a closed editor or a refused save leaves the folder as
    // it was.
    const std::optional<std::vector<std::unique_ptr<StagedCopy>>> staged = stageChosenPictures();
    if (!staged)
        return;
    qint64 newKey = 0;
    const Result<void> saved =
        m_store.save(request(), {name, 0, 0, model, m_ui->Text3->text(), m_ui->Text4->text()}, &newKey);
    if (!saved) {
        PresentFailure(saved.failure(), QStringLiteral("Ошибка ввода данных"), MsgIcon::Critical,
                       QStringLiteral("Ошибка"));
        closeIfRecordGone(saved.failure());
        return;
    }
    if (m_combo) {
        if (request().adding)
            m_combo->addItem(name, newKey);
        else if (m_combo->currentIndex() >= 0)
            m_combo->setItemText(m_combo->currentIndex(), name);
    }
    for (const std::unique_ptr<StagedCopy>& copy : *staged)
        if (const std::optional<StagedCopy::Error> error = copy->commit())
            Messages::show(copyErrorText(*copy, *error, copy->source() == m_chosen.value(m_ui->Text4)),
                           MsgIcon::Exclamation, QStringLiteral(""));
    close();
}

void frmCls1Edit::cmbExit_Click()
{
    close();
}
