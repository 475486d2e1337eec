#pragma once

#include "Messages.h"

#include <QList>
#include <QQueue>
#include <QStringList>

// The message seam for tests: records every box and answers questions, input
// boxes and file dialogs from answers the test queued. It fails closed: a
// question with no queued answer fails the running test at once (and is
// answered No / cancelled, so the test never blocks), and so does a message
// the test never looked at by the time the fake goes, clear() or checkSeen()
// is called: shown() and texts() look at every message, lastText() at the
// last one only.
class FakeMessages final : public MessageSeam
{
public:
    // Installs the fake; when it goes, the fake made before it that is still
    // there takes over again, or, with none, UnexpectedMessages().
    FakeMessages();
    ~FakeMessages() override;

    // Fails the running test with the messages it did not look at; for a
    // fake that outlives one test function, called from cleanup().
    void checkSeen();

    void queueAnswer(MsgAnswer answer) { m_answers.enqueue(answer); }
    void queueInput(const std::optional<QString>& text) { m_inputs.enqueue(text); }
    // Answers open and save dialogs alike.
    void queueFileName(const QString& fileName) { m_files.enqueue(fileName); }
    // Whether the next tick box is ticked; unticked when none was queued.
    void queueTick(bool ticked) { m_ticks.enqueue(ticked); }

    const QList<MessageRequest>& shown() const;
    QStringList texts() const;
    QString lastText() const;
    const QStringList& inputPrompts() const { return m_prompts; }
    const QStringList& unanswered() const { return m_unanswered; }
    void clear();

    MsgAnswer showMessage(const MessageRequest& request) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    // Answered from the queued inputs, like an input box.
    std::optional<QString> passwordBox(const QString& prompt, const QString& title) override;
    QString openFileName(const QString& title, const QString& filter, const QString& folder) override;
    // Recorded with the text the box shows in the state the test chose.
    MsgAnswer showMessageWithTick(const MessageRequest& request, TickBox& tick) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& suggested) override;

    QString lastInputDefault;
    QString lastFileFilter;

private:
    void noteUnanswered(const QString& what);

    QList<MessageRequest> m_shown;
    mutable QList<bool> m_seen; // whether the test looked at each of m_shown
    QStringList m_prompts;
    QStringList m_unanswered;
    QQueue<MsgAnswer> m_answers;
    QQueue<std::optional<QString>> m_inputs;
    QQueue<QString> m_files;
    QQueue<bool> m_ticks;
};

// The seam of a test program while no FakeMessages is there: whatever would be
// shown or asked then fails the running test, instead of going to the
// console where nobody reads it. Every test program starts with it installed.
MessageSeam& UnexpectedMessages();
