#pragma once

#include <QString>
#include <optional>

// The one seam through which every message box, input box and file-open
// dialog of both programs goes. The core only reports through it; the GUI
// installs an implementation with real dialogs, tests install a fake that
// records what was shown and returns queued answers.

enum class MsgIcon { None, Information, Exclamation, Question, Critical };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

struct MessageRequest
{
    QString text;
    QString title; // null: the program's title; an empty, non-null text: no title
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    // What a specialist needs and the user need not read (a statement, an
    // engine's own text): shown only on request, under the text.
    QString details;
};

// A tick box under a question; while it is ticked the box shows
// textWhenTicked instead of the question's text. A state whose answer can
// only be "no" (the file cannot be loaded so) shows «OK» alone.
struct TickBox
{
    QString label;
    QString textWhenTicked;
    bool ticked = false;
    MsgButtons buttons = MsgButtons::YesNo;
    MsgButtons buttonsWhenTicked = MsgButtons::YesNo;
};

class MessageSeam
{
public:
    virtual ~MessageSeam() = default;
    virtual MsgAnswer showMessage(const MessageRequest& request) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // A password typed without echo; nullopt when the user cancels. A seam
    // with nobody to ask cancels.
    virtual std::optional<QString> passwordBox(const QString& prompt, const QString& title)
    {
        Q_UNUSED(prompt);
        Q_UNUSED(title);
        return std::nullopt;
    }
    // Empty when the user cancels.
    virtual QString openFileName(const QString& title, const QString& filter, const QString& folder) = 0;
    // The box with a tick box, whose state is left in tick. A seam without
    // one shows the plain box and leaves the box unticked.
    virtual MsgAnswer showMessageWithTick(const MessageRequest& request, TickBox& tick)
    {
        Q_UNUSED(tick);
        return showMessage(request);
    }
    // The file to write, suggested first; empty when the user cancels, and
    // from a seam with nobody to ask.
    virtual QString saveFileName(const QString& title, const QString& filter, const QString& suggested)
    {
        Q_UNUSED(title);
        Q_UNUSED(filter);
        Q_UNUSED(suggested);
        return {};
    }
};

namespace Messages {

// Installs the seam used from now on; nullptr restores the console fallback
// (messages to stderr, questions answered No, inputs cancelled).
void install(MessageSeam* seam);
MessageSeam& current();

MsgAnswer show(const QString& text, MsgIcon icon = MsgIcon::None, const QString& title = {},
               MsgButtons buttons = MsgButtons::Ok);
// A box, by default an exclamation titled "Внимание", whose details hold
// what the text leaves out.
MsgAnswer showWithDetails(const QString& text, const QString& details, MsgIcon icon = MsgIcon::Exclamation,
                          const QString& title = QStringLiteral("Внимание"));
std::optional<QString> input(const QString& prompt, const QString& title = {},
                             const QString& defaultText = {});
std::optional<QString> password(const QString& prompt, const QString& title = {});
QString openFile(const QString& title, const QString& filter, const QString& folder = {});
QString saveFile(const QString& title, const QString& filter, const QString& suggested = {});
MsgAnswer ask(const QString& text, TickBox& tick, MsgIcon icon = MsgIcon::Question,
              const QString& title = {});

} // namespace Messages
