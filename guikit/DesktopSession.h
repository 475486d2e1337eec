#pragma once

#include "WidgetMessageSeam.h"

#include <QTranslator>

// What both programs set up right after their QApplication: the standard
// dialogs and buttons in Russian, and the message seam with real dialogs
// under the program's title. Undone when it goes out of scope.
class DesktopSession
{
public:
    // title: that of the program, shown by every box without one of its own.
    explicit DesktopSession(const QString& title);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

private:
    QTranslator m_qtTranslation;
    WidgetMessageSeam m_seam;
};
