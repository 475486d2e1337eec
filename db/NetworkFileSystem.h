#pragma once

#include <QString>
#include <optional>

// Whether a file lies on a file system shared over the network (CIFS/SMB,
// NFS and the like). Several computers may then run the programs from one
// shared folder, and whatever one computer keeps in shared memory the others
// never see.
namespace NetworkFileSystem {

// By the file-system type number that statfs() reports.
bool isNetworkType(qint64 statfsType);

// Whether the file or folder at path lies on such a file system; a type that
// cannot be told counts as local.
bool holds(const QString& path);

// Gives the statfs() type of the file system holding a path. Tests install
// their own to pose as a network share; nullptr restores the real one.
using TypeProbe = std::optional<qint64> (*)(const QString& path);
void setTypeProbe(TypeProbe probe);

} // namespace NetworkFileSystem
