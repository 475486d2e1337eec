#pragma once

#include <QMap>
#include <QString>

// The benchmark's databases on a PostgreSQL server: a throwaway cluster in
// the work folder or a server given, one database per generated folder that
// holds both stores copied from its files, and folders whose frostpick.ini
// names such a database, so that every program measured runs against the
// server unchanged.
class BenchServer
{
public:
    // Starts the cluster kept in `folder` with the cluster script, making it
    // the first time, and lets the benchmark's role in over TCP.
    bool startCluster(const QString& folder, QString* error);
    // Stops the cluster startCluster started; its databases stay for later runs.
    void stopCluster();
    // A server given as plain key=value pairs without quotes: host (an IPv4
    // address, so that a relay can stand in front of it), port, user, password.
    bool useGiven(const QString& base, QString* error);

    // Makes the database `name` from the files of `dataFolder` unless it
    // exists (or, with fresh, always): the reference store alone, or both.
    enum class Stores { ReferenceOnly, Both };
    bool prepare(const QString& name, const QString& dataFolder, Stores stores, bool fresh, QString* error);

    QString host() const { return m_base.value(QStringLiteral("host")); }
    quint16 port() const { return quint16(m_base.value(QStringLiteral("port")).toUInt()); }
    // The connection string of a database, over TCP to host:port (the
    // server's own address or a relay's).
    QString connection(const QString& database, const QString& host, quint16 port) const;

    // Writes folder/frostpick.ini naming the database for both stores.
    static bool writeSettings(const QString& folder, const QString& connection, QString* error);

private:
    bool run(const QString& database, const QStringList& statements, QString* error,
             bool* gaveRows = nullptr);

    QMap<QString, QString> m_base;
    QString m_clusterFolder; // set while this runner's cluster runs
};
