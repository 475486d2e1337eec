#include "DesktopSession.h"

#include <QCoreApplication>
#include <QLibraryInfo>

DesktopSession::DesktopSession(const QString& title) : m_seam(title)
{
    // Without them Qt's own dialogs would say "Cancel" and "Open" beside a
    // Russian interface.
    if (m_qtTranslation.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTranslation);
    Messages::install(&m_seam);
}

DesktopSession::~DesktopSession()
{
    Messages::install(nullptr);
    QCoreApplication::removeTranslator(&m_qtTranslation);
}
