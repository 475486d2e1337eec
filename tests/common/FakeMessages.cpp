#include "FakeMessages.h"

#include <QTest>

namespace {

void failRunningTest(const QString& why)
{
    if (QTest::currentTestFunction())
        QTest::qFail(qPrintable(why), __FILE__, __LINE__);
    else
        qFatal("%s", qPrintable(why));
}

class NoFakeSeam final : public MessageSeam
{
public:
    MsgAnswer showMessage(const MessageRequest& request) override
    {
        unexpected(request.text);
        return request.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
    }
    std::optional<QString> inputBox(const QString& prompt, const QString&, const QString&) override
    {
        unexpected(prompt);
        return std::nullopt;
    }
    std::optional<QString> passwordBox(const QString& prompt, const QString&) override
    {
        unexpected(prompt);
        return std::nullopt;
    }
    QString openFileName(const QString& title, const QString&, const QString&) override
    {
        unexpected(title);
        return {};
    }
    QString saveFileName(const QString& title, const QString&, const QString&) override
    {
        unexpected(title);
        return {};
    }

private:
    static void unexpected(const QString& what)
    {
        failRunningTest(QStringLiteral("a message while no FakeMessages is installed: ") + what);
    }
};

// The fakes alive, latest last: fixtures and tests make and drop them in any
// order.
QList<FakeMessages*>& alive()
{
    static QList<FakeMessages*> fakes;
    return fakes;
}

} // namespace

MessageSeam& UnexpectedMessages()
{
    static NoFakeSeam seam;
    return seam;
}

FakeMessages::FakeMessages()
{
    alive().append(this);
    Messages::install(this);
}

FakeMessages::~FakeMessages()
{
    alive().removeOne(this);
    Messages::install(alive().isEmpty() ? &UnexpectedMessages() : alive().last());
    checkSeen();
}

void FakeMessages::checkSeen()
{
    QStringList unseen;
    for (qsizetype i = 0; i < m_shown.size(); ++i)
        if (!m_seen.at(i))
            unseen << m_shown.at(i).text;
    m_seen.fill(true);
    if (!unseen.isEmpty() && QTest::currentTestFunction())
        QTest::qFail(qPrintable(QStringLiteral("messages the test did not expect: ") + unseen.join(" | ")),
                     __FILE__, __LINE__);
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
    m_seen.fill(true);
    return m_shown;
}

QString FakeMessages::lastText() const
{
    if (m_shown.isEmpty())
        return {};
    m_seen.last() = true;
    return m_shown.last().text;
}

QStringList FakeMessages::texts() const
{
    m_seen.fill(true);
    QStringList result;
    for (const MessageRequest& r : m_shown)
        result << r.text;
    return result;
}

void FakeMessages::clear()
{
    checkSeen();
    m_seen.clear();
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
    m_seen << false;
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
