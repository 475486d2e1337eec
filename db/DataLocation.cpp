#include "DataLocation.h"

#include <QCoreApplication>
#include <QDir>

namespace {

const char ReferenceFileName[] = "nv.mdb";
const char OrdersFileName[] = "order.mdb";

} // namespace

DataLocation DataLocation::programFolder()
{
    return DataLocation(QCoreApplication::applicationDirPath());
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

QString DataLocation::picturePath(const QString& bareName) const
{
    return inFolder(bareName);
}

QString DataLocation::inFolder(const QString& fileName) const
{
    return m_folder.isEmpty() ? QString() : QDir(m_folder).filePath(fileName);
}
