#pragma once

#include "Messages.h"

#include <QString>
#include <functional>
#include <vector>

class QCoreApplication;
class QWidget;

// Shared by the GUI benchmark programs: timing of one user step until its
// result is on screen, and the line format the runner reads.

// Milliseconds from the start of step() until the pending events are
// handled and shown() (when it gives a widget) has been painted once. With a
// figure named, the step's start and end on the monotonic clock are printed
// for it, so that the runner can count the server requests in between.
double timeShown(const std::function<void()>& step, const std::function<QWidget*()>& shown,
                 const QString& figure = {});

// What a user does, as the program receives it: a click on a button (press
// and release of the left mouse button at its centre), a key pressed on a
// widget.
void clickAsUser(QWidget* button);
void pressKeyAsUser(QWidget* widget, int key);

// "figure<TAB>median<TAB>min<TAB>max<TAB>ms<TAB>target", or the figure as not
// measured with the reason. timeShown's windows are
// "figure<TAB>window<TAB>start ns<TAB>end ns".
void printFigure(const QString& figure, const std::vector<double>& ms, const QString& target);
void printMissing(const QString& figure, const QString& why, const QString& target);

// Answers every box as a user who only presses OK would; nothing blocks.
class SilentMessages : public MessageSeam
{
public:
    MsgAnswer showMessage(const MessageRequest& request) override;
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    int shown() const { return m_shown; }
    QString last() const { return m_last; }

private:
    int m_shown = 0;
    QString m_last;
};

// The command line of both GUI benchmark programs: --dir FOLDER (the
// databases) and --runs N (repetitions, at least 1).
struct GuiBenchOptions
{
    QString folder;
    int runs = 5;
};
GuiBenchOptions parseGuiBenchOptions(const QCoreApplication& app, const QString& folderHelp);
