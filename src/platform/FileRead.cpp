#include "platform/FileRead.h"

#include <QFile>
#include <QFileInfo>

namespace lintaro {

namespace {
bool fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

QString sizeText(qint64 bytes) {
    return QStringLiteral("%1 MiB").arg(static_cast<double>(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}
} // namespace

bool ReadFileBytes(const QString& path, QByteArray& bytes, QString* error, qint64 maxSize) {
    const QFileInfo info(path);
    if (!info.exists())
        return fail(error, QStringLiteral("%1: No such file or directory").arg(path));
    if (info.isDir())
        return fail(error, QStringLiteral("%1 is a folder, not a file").arg(path));
    // Devices and pipes are refused before opening: reading /dev/zero never ends and a pipe blocks.
    if (!info.isFile())
        return fail(error, QStringLiteral("%1 is not a regular file").arg(path));
    const QString tooLarge = QStringLiteral("%1 is too large to be a file of this program (more than %2)")
                                 .arg(path, sizeText(maxSize));
    if (info.size() > maxSize)
        return fail(error, tooLarge);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, file.errorString());
    // Read in chunks (the file may grow after the size check): never more than the limit, and
    // no buffer of the limit's size for a small file.
    QByteArray data;
    data.reserve(info.size());
    char chunk[64 * 1024];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0)
            return fail(error, file.errorString());
        if (n == 0)
            break;
        if (data.size() + n > maxSize)
            return fail(error, tooLarge);
        data.append(chunk, n);
    }
    bytes = std::move(data);
    return true;
}

} // namespace lintaro
