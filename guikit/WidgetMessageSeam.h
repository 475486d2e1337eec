#pragma once

#include "Messages.h"

// The message seam with real dialogs: QMessageBox, QInputDialog, QFileDialog.
// The only place in either program that opens these dialogs.
// Boxes shown without a title of their own carry the program's title;
// boxes asked to show an empty title show none.
class WidgetMessageSeam final : public MessageSeam
{
public:
    explicit WidgetMessageSeam(QString applicationTitle) : m_title(std::move(applicationTitle)) {}

    MsgAnswer showMessage(const MessageRequest& request) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    std::optional<QString> passwordBox(const QString& prompt, const QString& title) override;
    QString openFileName(const QString& title, const QString& filter, const QString& folder) override;
    MsgAnswer showMessageWithTick(const MessageRequest& request, TickBox& tick) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& suggested) override;

private:
    MsgAnswer exec(const MessageRequest& request, TickBox* tick);

    // A null title is the program's; an empty one must stay empty. The
    // window system puts the executable's name into a window without a
    // title, so "no title" is given as a blank, which shows nothing.
    QString titleOrDefault(const QString& title) const
    {
        if (title.isNull())
            return m_title;
        return title.isEmpty() ? QStringLiteral(" ") : title;
    }

    QString m_title;
};
