#pragma once
// Where a write of a file lands. Symbolic links are followed, so that the file a link names is
// replaced and the link stays; a name that exists and is not a regular file (a folder, a device, a
// pipe, a socket) is never replaced by a file.
#include <QString>

namespace lintaro {

// The file a write to path reaches: links followed, also to a file that does not exist yet.
QString FollowedWriteTarget(const QString& path);
// Why path cannot be written as a file: it exists and is a folder, a device, a pipe or a socket;
// empty when it does not exist or is a regular file. Links are followed.
QString NotARegularFileReason(const QString& path);

} // namespace lintaro
