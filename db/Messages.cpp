#include "Messages.h"

#include <cstdio>

namespace {

// Used by the command-line tool and whenever no GUI is up: nothing may block
// waiting for a person who is not there.
class ConsoleSeam final : public MessageSeam
{
public:
    MsgAnswer showMessage(const MessageRequest& request) override
    {
        QString line = request.text;
        line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
        line.replace(QLatin1Char('\r'), QLatin1Char(' '));
        std::fprintf(stderr, "%s\n", line.toUtf8().constData());
        if (!request.details.isEmpty())
            std::fprintf(stderr, "%s\n", request.details.toUtf8().constData());
        return request.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
};

ConsoleSeam g_console;
MessageSeam* g_seam = &g_console;

} // namespace

namespace Messages {

void install(MessageSeam* seam)
{
    g_seam = seam ? seam : &g_console;
}

MessageSeam& current()
{
    return *g_seam;
}

MsgAnswer show(const QString& text, MsgIcon icon, const QString& title, MsgButtons buttons)
{
    return g_seam->showMessage({text, title, icon, buttons, {}});
}

MsgAnswer showWithDetails(const QString& text, const QString& details, MsgIcon icon, const QString& title)
{
    return g_seam->showMessage({text, title, icon, MsgButtons::Ok, details});
}

std::optional<QString> input(const QString& prompt, const QString& title, const QString& defaultText)
{
    return g_seam->inputBox(prompt, title, defaultText);
}

std::optional<QString> password(const QString& prompt, const QString& title)
{
    return g_seam->passwordBox(prompt, title);
}

QString openFile(const QString& title, const QString& filter, const QString& folder)
{
    return g_seam->openFileName(title, filter, folder);
}

QString saveFile(const QString& title, const QString& filter, const QString& suggested)
{
    return g_seam->saveFileName(title, filter, suggested);
}

MsgAnswer ask(const QString& text, TickBox& tick, MsgIcon icon, const QString& title)
{
    return g_seam->showMessageWithTick({text, title, icon, tick.buttons, {}}, tick);
}

} // namespace Messages
