#pragma once

#include <QFile>
#include <QString>

// Opens `path` for reading only when it is a regular file, without a window
// between the check and the read: the open itself never waits (a named pipe
// would otherwise block it until a writer comes, which may be never), and the
// check is made on the descriptor that was opened, so a file swapped for a
// pipe or a device after any earlier look cannot slip through. `file` then
// reads that same descriptor and closes it when it is closed or destroyed.
// On failure `file` stays closed and the result is the reason, in words a
// user can act on; on success the result is empty.
QString OpenRegularFile(QFile& file, const QString& path);
