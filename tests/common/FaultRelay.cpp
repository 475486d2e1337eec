#include "FaultRelay.h"

#include "DataLocation.h"

#include <QDir>
#include <QSettings>

std::unique_ptr<FaultRelay> FaultRelay::toTestServer()
{
    // The test server is a service; its socket folder and port are in the file.
    const QSettings service(qEnvironmentVariable("PGSERVICEFILE"), QSettings::IniFormat);
    const QString host = service.value(QStringLiteral("frostpick_test/host")).toString();
    const quint16 port = quint16(service.value(QStringLiteral("frostpick_test/port")).toUInt());
    QString error = QStringLiteral("no test server");
    auto relay = std::make_unique<FaultRelay>(host, port);
    if (!host.isEmpty() && port != 0 && relay->start(&error))
        return relay;
    qWarning("%s", qPrintable(error));
    return nullptr;
}

DatabaseAddress FaultRelay::through(const DatabaseAddress& address) const
{
    // Later keys win over the service file's.
    DatabaseAddress relayed = address;
    relayed.database += QStringLiteral(" host=127.0.0.1 port=%1").arg(port());
    return relayed;
}

bool FaultRelay::divert(const QString& folder) const
{
    QSettings settings(QDir(folder).filePath(QLatin1String(SettingsFileName)), QSettings::IniFormat);
    for (const char* key : {"database/reference", "database/orders"}) {
        const QString store = settings.value(QLatin1String(key)).toString();
        if (!store.isEmpty())
            settings.setValue(QLatin1String(key), through(DatabaseAddress::server(store)).database);
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}
