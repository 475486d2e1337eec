#include "FakeMessages.h"

#include <QTest>

FakeMessages::~FakeMessages()
{
    Messages::install(nullptr);
    checkSeen();
}

void FakeMessages::checkSeen()
{
    if (m_seen < m_shown.size() && QTest::currentTestFunction()) {
        QStringList unseen;
        for (qsizetype i = m_seen; i < m_shown.size(); ++i)
            unseen << m_shown.at(i).text;
        m_seen = m_shown.size();
        QTest::qFail(qPrintable(QStringLiteral("messages the test did not expect: ") + unseen.join(" | ")),
                     __FILE__, __LINE__);
    }
}

void FakeMessages::noteUnanswered(const QString& what)
{
    m_unanswered << what;
    if (QTest::currentTestFunction())
        QTest::qFail(qPrintable(QStringLiteral("a question the test did not answer: ") + what), __FILE__,
                     __LINE__);
}

const QList<MessageRequest>& FakeMessages::shown() const
{
    m_seen = m_shown.size();
    return m_shown;
}

QString FakeMessages::lastText() const
{
    m_seen = m_shown.size();
    return m_shown.isEmpty() ? QString() : m_shown.last().text;
}

QStringList FakeMessages::texts() const
{
    m_seen = m_shown.size();
    QStringList result;
    for (const MessageRequest& r : m_shown)
        result << r.text;
    return result;
}

void FakeMessages::clear()
{
    m_seen = 0;
    m_shown.clear();
    m_prompts.clear();
    m_unanswered.clear();
    m_answers.clear();
    m_inputs.clear();
    m_files.clear();
    m_ticks.clear();
}

MsgAnswer FakeMessages::showMessage(const MessageRequest& request)
{
    m_shown << request;
    if (request.buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    if (m_answers.isEmpty()) {
        noteUnanswered(request.text);
        return MsgAnswer::No;
    }
    return m_answers.dequeue();
}

std::optional<QString> FakeMessages::inputBox(const QString& prompt, const QString&,
                                              const QString& defaultText)
{
    m_prompts << prompt;
    lastInputDefault = defaultText;
    if (m_inputs.isEmpty()) {
        noteUnanswered(prompt);
        return std::nullopt;
    }
    return m_inputs.dequeue();
}

std::optional<QString> FakeMessages::passwordBox(const QString& prompt, const QString& title)
{
    return inputBox(prompt, title, {});
}

QString FakeMessages::openFileName(const QString& title, const QString& filter, const QString&)
{
    lastFileFilter = filter;
    if (m_files.isEmpty()) {
        noteUnanswered(title);
        return {};
    }
    return m_files.dequeue();
}

MsgAnswer FakeMessages::showMessageWithTick(const MessageRequest& request, TickBox& tick)
{
    tick.ticked = !m_ticks.isEmpty() && m_ticks.dequeue();
    MessageRequest shown = request;
    if (tick.ticked) {
        shown.text = tick.textWhenTicked;
        shown.buttons = tick.buttonsWhenTicked;
    }
    return showMessage(shown);
}

QString FakeMessages::saveFileName(const QString& title, const QString& filter, const QString& suggested)
{
    return openFileName(title, filter, suggested);
}
