#pragma once

class QFileDevice;

namespace FileCopy {

// Writes everything from `from` to `to`, both open. False when a read or a
// write fails; the failing device then holds the reason. A full disk or a
// file-size limit first takes part of a block without a word: the rest is
// written again, which gives the reason.
bool writeAll(QFileDevice& from, QFileDevice& to);

} // namespace FileCopy
