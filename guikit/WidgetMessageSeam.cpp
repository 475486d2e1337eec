#include "WidgetMessageSeam.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {

QMessageBox::Icon toIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString plainBreaks(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

void setButtons(QMessageBox& box, MsgButtons buttons)
{
    if (buttons == MsgButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        return;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
}

} // namespace

MsgAnswer WidgetMessageSeam::showMessage(const MessageRequest& request)
{
    return exec(request, nullptr);
}

MsgAnswer WidgetMessageSeam::showMessageWithTick(const MessageRequest& request, TickBox& tick)
{
    return exec(request, &tick);
}

MsgAnswer WidgetMessageSeam::exec(const MessageRequest& request, TickBox* tick)
{
    const QString text = plainBreaks(request.text);
    QMessageBox box(toIcon(request.icon), titleOrDefault(request.title), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    if (!request.details.isEmpty())
        box.setDetailedText(request.details);
    if (tick) {
        auto* check = new QCheckBox(tick->label, &box);
        check->setChecked(tick->ticked);
        const QString ticked = plainBreaks(tick->textWhenTicked);
        const MsgButtons buttons = request.buttons;
        const MsgButtons buttonsTicked = tick->buttonsWhenTicked;
        QObject::connect(check, &QCheckBox::toggled, &box,
                         [&box, text, ticked, buttons, buttonsTicked](bool on) {
                             box.setText(on ? ticked : text);
                             setButtons(box, on ? buttonsTicked : buttons);
                         });
        box.setCheckBox(check);
        box.setText(tick->ticked ? ticked : text);
    }
    const MsgButtons shown = tick && tick->ticked ? tick->buttonsWhenTicked : request.buttons;
    setButtons(box, shown);
    const int answer = box.exec();
    const bool ticked = tick && box.checkBox()->isChecked();
    if (tick)
        tick->ticked = ticked;
    if ((tick && ticked ? tick->buttonsWhenTicked : request.buttons) == MsgButtons::Ok)
        return MsgAnswer::Ok;
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

std::optional<QString> WidgetMessageSeam::inputBox(const QString& prompt, const QString& title,
                                                   const QString& defaultText)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(titleOrDefault(title));
    dialog.setLabelText(QString(prompt).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    dialog.setTextValue(defaultText);
    // Wide enough to show a typical note whole.
    if (auto* edit = dialog.findChild<QLineEdit*>())
        edit->setMinimumWidth(380);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> WidgetMessageSeam::passwordBox(const QString& prompt, const QString& title)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(titleOrDefault(title));
    dialog.setLabelText(prompt);
    dialog.setTextEchoMode(QLineEdit::Password);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString WidgetMessageSeam::openFileName(const QString& title, const QString& filter, const QString& folder)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), titleOrDefault(title), folder, filter);
}

QString WidgetMessageSeam::saveFileName(const QString& title, const QString& filter, const QString& suggested)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), titleOrDefault(title), suggested,
                                        filter);
}
