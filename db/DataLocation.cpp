#include "DataLocation.h"

#include "DataFolder.h"

#include <QCoreApplication>
#include <QDir>

DataLocation DataLocation::programFolder()
{
    static const QString folder =
        DataFolder::prepare(QCoreApplication::applicationDirPath(), DataFolder::userFolder());
    return DataLocation(folder);
}

DataLocation DataLocation::folder(const QString& path)
{
    return DataLocation(path);
}

DatabaseAddress DataLocation::reference() const
{
    return DatabaseAddress::file(inFolder(QLatin1String(ReferenceFileName)));
}

DatabaseAddress DataLocation::orders() const
{
    return DatabaseAddress::file(inFolder(QLatin1String(OrdersFileName)));
}

QString DataLocation::describe() const
{
    return QDir::toNativeSeparators(m_folder);
}

QString DataLocation::picturePath(const QString& bareName) const
{
    return inFolder(bareName);
}

QString DataLocation::inFolder(const QString& fileName) const
{
    return m_folder.isEmpty() ? QString() : QDir(m_folder).filePath(fileName);
}
