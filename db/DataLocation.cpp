#include "DataLocation.h"

#include "DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

constexpr char SystemSettingsFolder[] = "/etc/frostpick";

// A connection string holding a comma (several hosts) comes back from the
// INI reader as a list.
QString serverSetting(const QSettings& settings, const QString& key)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).trimmed();
    return value.toString().trimmed();
}

DatabaseAddress fileOrServer(const QString& server, const QString& file)
{
    return server.isEmpty() ? DatabaseAddress::file(file) : DatabaseAddress::server(server);
}

} // namespace

DataLocation::DataLocation(QString folder, const QString& settingsFile) : m_folder(std::move(folder))
{
    if (settingsFile.isEmpty() || !QFileInfo(settingsFile).isFile())
        return;
    const QSettings settings(settingsFile, QSettings::IniFormat);
    m_referenceServer = serverSetting(settings, QStringLiteral("database/reference"));
    m_ordersServer = serverSetting(settings, QStringLiteral("database/orders"));
}

DataLocation DataLocation::programFolder()
{
    static const QString folder =
        DataFolder::prepare(QCoreApplication::applicationDirPath(), DataFolder::userFolder());
    QString settings = QDir(folder).filePath(QLatin1String(SettingsFileName));
    if (!QFileInfo(settings).isFile())
        settings = QDir(QLatin1String(SystemSettingsFolder)).filePath(QLatin1String(SettingsFileName));
    return DataLocation(folder, settings);
}

DataLocation DataLocation::folder(const QString& path)
{
    return DataLocation(path,
                        path.isEmpty() ? QString() : QDir(path).filePath(QLatin1String(SettingsFileName)));
}

DatabaseAddress DataLocation::reference() const
{
    return fileOrServer(m_referenceServer, inFolder(QLatin1String(ReferenceFileName)));
}

DatabaseAddress DataLocation::orders() const
{
    return fileOrServer(m_ordersServer, inFolder(QLatin1String(OrdersFileName)));
}

QString DataLocation::describe() const
{
    QString text = QDir::toNativeSeparators(m_folder);
    if (!m_referenceServer.isEmpty())
        text += QStringLiteral("; reference data: ") + reference().shown();
    if (!m_ordersServer.isEmpty())
        text += QStringLiteral("; orders: ") + orders().shown();
    return text;
}

QString DataLocation::picturePath(const QString& bareName) const
{
    return inFolder(bareName);
}

QString DataLocation::inFolder(const QString& fileName) const
{
    return m_folder.isEmpty() ? QString() : QDir(m_folder).filePath(fileName);
}
