#pragma once

#include <QString>

// Where the programs keep nv.mdb, order.mdb, the equipment pictures and
// frostpick.ini. A program folder that holds the databases and may be
// written (a build folder, an installation copied to a writable folder) keeps
// them, as it always has. An installed program's folder is not writable: the
// programs then share one folder of the user's, filled from the sample data
// installed beside the programs.
namespace DataFolder {

// ~/.local/share/frostpick (or under $XDG_DATA_HOME): the same folder for
// every program and tool, whatever each calls itself.
QString userFolder();

// The sample data installed with a program in programFolder:
// <prefix>/share/frostpick for a program in <prefix>/bin.
QString seedFolder(const QString& programFolder);

// The folder to use. When that is userFolder, first copies into it every
// database and picture of the installed sample data it lacks; a file already
// there is never replaced. Nothing is ever written to programFolder.
QString prepare(const QString& programFolder, const QString& userFolder);

} // namespace DataFolder
