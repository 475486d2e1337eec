#include "frmCls1Edit.h"

#include "DataLocation.h"
#include "Functions.h"
#include "LabelNames.h"
#include "Messages.h"
#include "ui_frmCls1Edit.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStyle>
#include <optional>

namespace {

struct CopyError
{
    QString description;
    int number = 0;
};

CopyError errorOf(const QFileDevice& file)
{
    return {file.errorString(), int(file.error())};
}

// Copies under a temporary name beside the destination and puts the copy in
// its place only once it is complete, so a failed copy leaves the former
// picture of that name as it was.
std::optional<CopyError> copyReplacing(const QString& source, const QString& destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return errorOf(in);
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly))
        return errorOf(out);
    QByteArray block;
    while (!(block = in.read(1 << 16)).isEmpty()) {
        // A full disk or a file-size limit first takes part of a block
        // without a word; writing the rest then gives the reason.
        for (qint64 done = 0; done < block.size();) {
            const qint64 written = out.write(block.constData() + done, block.size() - done);
            if (written <= 0) {
                const CopyError error = errorOf(out); // before cancelling names it otherwise
                out.cancelWriting();
                return error;
            }
            done += written;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return errorOf(in);
    }
    if (!out.commit())
        return errorOf(out);
    return std::nullopt;
}

} // namespace

frmCls1Edit::frmCls1Edit(const EditRequest& request, QComboBox* combo, QWidget* parent)
    : EditorDialog(request, parent), m_ui(std::make_unique<Ui::frmCls1Edit>()), m_combo(combo),
      m_equipment(request.kind == Functions::KindEquipment), m_store(request.kind)
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
    choosePicture(m_ui->Text3, false);
}

void frmCls1Edit::Image2_Click()
{
    choosePicture(m_ui->Text4, true);
}

void frmCls1Edit::choosePicture(QLineEdit* box, bool withDestination)
{
    const QString source =
        Messages::openFile(QString(), QStringLiteral("Картинки (*.jpg)"), QDir::currentPath());
    if (source.isEmpty())
        return;
    const qsizetype slash =
        std::max(source.lastIndexOf(QLatin1Char('/')), source.lastIndexOf(QLatin1Char('\\')));
    const QString fileName = source.mid(slash + 1);
    const QString destination = Functions::Location().picturePath(fileName);

    // A picture chosen from the program folder itself needs no copy.
    const bool samePlace = QFileInfo::exists(source) && QFileInfo(source).canonicalFilePath() ==
                                                            QFileInfo(destination).canonicalFilePath();
    if (!samePlace) {
        if (const std::optional<CopyError> error = copyReplacing(source, destination)) {
            QString text = QStringLiteral("Ошибка при копировании файла ") + source;
            if (withDestination)
                text += QStringLiteral("->") + destination + QStringLiteral("!\r\n") + error->description +
                        QLatin1Char('(') + QString::number(error->number, 16).toUpper() + QLatin1Char(')');
            else
                text += QStringLiteral("!\r\n") + error->description;
            Messages::show(text, MsgIcon::Exclamation, QStringLiteral(""));
            // The type keeps the picture it had: the copy is not there.
            return;
        }
    }
    box->setText(fileName);
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
    qint64 newKey = 0;
    const int rc =
        m_store.save(request(), {name, 0, 0, model, m_ui->Text3->text(), m_ui->Text4->text()}, &newKey);
    if (rc != 0) {
        Functions::ShowFailure(QStringLiteral("Ошибка ввода данных"), MsgIcon::Critical,
                               QStringLiteral("Ошибка"));
        closeIfRecordGone(rc);
        return;
    }
    if (m_combo) {
        if (request().adding)
            m_combo->addItem(name, newKey);
        else if (m_combo->currentIndex() >= 0)
            m_combo->setItemText(m_combo->currentIndex(), name);
    }
    close();
}

void frmCls1Edit::cmbExit_Click()
{
    close();
}
