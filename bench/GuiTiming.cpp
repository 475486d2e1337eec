#include "GuiTiming.h"

#include "ChildProcess.h"
#include "Samples.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <cstdio>

double timeShown(const std::function<void()>& step, const std::function<QWidget*()>& shown,
                 const QString& figure)
{
    const qint64 start = monotonicNanoseconds();
    step();
    QCoreApplication::processEvents();
    if (QWidget* w = shown ? shown() : nullptr)
        w->window()->repaint();
    const qint64 end = monotonicNanoseconds();
    if (!figure.isEmpty()) {
        std::printf("%s\twindow\t%lld\t%lld\n", figure.toUtf8().constData(), static_cast<long long>(start),
                    static_cast<long long>(end));
        std::fflush(stdout);
    }
    return double(end - start) / 1e6;
}

void clickAsUser(QWidget* button)
{
    const QPointF centre = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(button, &release);
}

void pressKeyAsUser(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

void printFigure(const QString& figure, const std::vector<double>& ms, const QString& target)
{
    const Summary s = summarize(ms);
    std::printf("%s\t%.3f\t%.3f\t%.3f\tms\t%s\n", figure.toUtf8().constData(), s.median, s.min, s.max,
                target.toUtf8().constData());
    std::fflush(stdout);
}

void printMissing(const QString& figure, const QString& why, const QString& target)
{
    std::printf("%s\tnot measured\t%s\t%s\n", figure.toUtf8().constData(), why.toUtf8().constData(),
                target.toUtf8().constData());
    std::fflush(stdout);
}

MsgAnswer SilentMessages::showMessage(const MessageRequest& request)
{
    ++m_shown;
    m_last = request.text;
    return request.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

GuiBenchOptions parseGuiBenchOptions(const QCoreApplication& app, const QString& folderHelp)
{
    QCommandLineParser parser;
    const QCommandLineOption dir(QStringLiteral("dir"), folderHelp, QStringLiteral("folder"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("repetitions"),
                                  QStringLiteral("count"), QStringLiteral("5"));
    parser.addOptions({dir, runs});
    parser.process(app);
    return {parser.value(dir), qMax(1, parser.value(runs).toInt())};
}
