#include "FakeMessages.h"

QStringList FakeMessages::texts() const
{
    QStringList result;
    for (const MessageRequest& r : m_shown)
        result << r.text;
    return result;
}

void FakeMessages::clear()
{
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
        m_unanswered << request.text;
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
        m_unanswered << prompt;
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
        m_unanswered << title;
        return {};
    }
    return m_files.dequeue();
}

MsgAnswer FakeMessages::showMessageWithTick(const MessageRequest& request, TickBox& tick)
{
    tick.ticked = !m_ticks.isEmpty() && m_ticks.dequeue();
    MessageRequest shown = request;
    if (tick.ticked)
        shown.text = tick.textWhenTicked;
    return showMessage(shown);
}

QString FakeMessages::saveFileName(const QString& title, const QString& filter, const QString& suggested)
{
    return openFileName(title, filter, suggested);
}
