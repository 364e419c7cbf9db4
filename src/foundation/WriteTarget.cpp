#include "foundation/WriteTarget.h"

#include <QFileInfo>

namespace lintaro {

QString FollowedWriteTarget(const QString& path) {
    QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    if (info.exists())
        return info.canonicalFilePath();
    // A link to a file yet to be made: the file it names. A cycle ends after a bounded walk.
    for (int hops = 0; info.isSymLink() && hops < 40; ++hops)
        info = QFileInfo(info.symLinkTarget());
    return info.filePath();
}

QString NotARegularFileReason(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return {};
    return info.isDir() ? QStringLiteral("%1 is a folder").arg(path)
                        : QStringLiteral("%1 is not a regular file (a device, a pipe or a socket); it is "
                                         "left alone")
                              .arg(path);
}

} // namespace lintaro
