#include "DataFolder.h"

#include "DataLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtDebug>

#ifndef FROSTPICK_SEED_FROM_PROGRAM
#error "FROSTPICK_SEED_FROM_PROGRAM: the sample data folder relative to the programs' folder"
#endif

namespace DataFolder {

namespace {

bool holdsReferenceFile(const QString& folder)
{
    return QFileInfo(QDir(folder).filePath(QLatin1String(ReferenceFileName))).isFile();
}

// The databases and the pictures, never the programs or anything else that
// may lie in a program folder used as the source.
QStringList dataFiles(const QString& folder)
{
    QStringList names = QDir(folder).entryList({QStringLiteral("*.jpg")}, QDir::Files);
    for (const char* name : {ReferenceFileName, OrdersFileName})
        if (QFileInfo(QDir(folder).filePath(QLatin1String(name))).isFile())
            names << QLatin1String(name);
    return names;
}

// Copied under a temporary name and renamed, so that a copy cut short never
// passes for a database. The installed files are read-only; the user's copy
// must not be.
bool copyAbsent(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to))
        return true;
    const QString part = to + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(from, part)) {
        qWarning("frostpick: cannot copy %s to %s", qPrintable(from), qPrintable(part));
        return false;
    }
    QFile::setPermissions(part, QFile::permissions(part) | QFile::ReadOwner | QFile::WriteOwner);
    if (!QFile::rename(part, to)) {
        qWarning("frostpick: cannot rename %s to %s", qPrintable(part), qPrintable(to));
        QFile::remove(part);
        return false;
    }
    return true;
}

} // namespace

QString userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/frostpick");
}

QString seedFolder(const QString& programFolder)
{
    return QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(FROSTPICK_SEED_FROM_PROGRAM)));
}

QString prepare(const QString& programFolder, const QString& userFolder)
{
    const bool programHoldsData = holdsReferenceFile(programFolder);
    if (programHoldsData && QFileInfo(programFolder).isWritable())
        return programFolder;

    // A read-only program folder with the databases in it is its own sample.
    QString seed = seedFolder(programFolder);
    if (!holdsReferenceFile(seed))
        seed = programHoldsData ? programFolder : QString();
    // Nothing installed to copy from: the program looks where it always has
    // and says so when the databases are not there.
    if (seed.isEmpty())
        return programFolder;

    if (!QDir().mkpath(userFolder))
        qWarning("frostpick: cannot create %s", qPrintable(userFolder));
    const QDir from(seed);
    const QDir to(userFolder);
    for (const QString& name : dataFiles(seed))
        copyAbsent(from.filePath(name), to.filePath(name));
    return userFolder;
}

} // namespace DataFolder
