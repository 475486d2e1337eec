#include "DataFolder.h"

#include "DataLocation.h"
#include "FileCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
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

// Copied under a temporary name of its own and moved into place only while
// the target is still missing, so that a copy cut short never passes for a
// database and a program starting at the same moment never takes another's
// half-written file. The installed files are read-only; the user's copy must
// not be.
bool copyAbsent(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to))
        return true;
    const QString part = to + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    QFile::remove(part); // left by a program of the same number that stopped half-way
    QFile copy(part);
    QFile source(from);
    bool copied = copy.open(QIODevice::WriteOnly | QIODevice::NewOnly) && source.open(QIODevice::ReadOnly) &&
                  FileCopy::writeAll(source, copy) && copy.flush();
    // Named before closing, which forgets why a write failed.
    QString reason = copy.error() != QFileDevice::NoError ? copy.errorString() : source.errorString();
    copy.close();
    if (copied && copy.error() != QFileDevice::NoError) {
        copied = false;
        reason = copy.errorString();
    }
    if (!copied) {
        qWarning("frostpick: cannot copy %s to %s: %s", qPrintable(from), qPrintable(part),
                 qPrintable(reason));
        copy.remove();
        return false;
    }
    copy.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    // A program of an earlier version seeds without the lock.
    if (QFileInfo::exists(to)) {
        copy.remove();
        return true;
    }
    if (!copy.rename(to)) {
        qWarning("frostpick: cannot rename %s to %s", qPrintable(part), qPrintable(to));
        copy.remove();
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
    // Programs started together seed one at a time; each copies only what is
    // still missing once it holds the lock.
    QLockFile lock(to.filePath(QStringLiteral(".seeding.lock")));
    if (!lock.lock())
        qWarning("frostpick: cannot lock %s", qPrintable(lock.fileName()));
    for (const QString& name : dataFiles(seed))
        copyAbsent(from.filePath(name), to.filePath(name));
    return userFolder;
}

} // namespace DataFolder
