#pragma once

#include "Messages.h"

// The message seam with real dialogs: QMessageBox, QInputDialog, QFileDialog.
// The only place in either program that opens these dialogs.
// Boxes shown without a title of their own carry the program's title.
class WidgetMessageSeam final : public MessageSeam
{
public:
    explicit WidgetMessageSeam(QString applicationTitle) : m_title(std::move(applicationTitle)) {}

    MsgAnswer showMessage(const MessageRequest& request) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    QString openFileName(const QString& title, const QString& filter, const QString& folder) override;

private:
    QString titleOrDefault(const QString& title) const { return title.isNull() ? m_title : title; }

    QString m_title;
};
