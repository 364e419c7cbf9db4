#include "foundation/TextFile.h"

#include "foundation/WriteTarget.h"

#include <QSaveFile>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace lintaro {

namespace {
bool fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

QString DecodeTextBytes(QByteArrayView bytes) {
    static constexpr char bom[] = "\xEF\xBB\xBF";
    if (bytes.startsWith(QByteArrayView(bom, 3)))
        bytes = bytes.sliced(3);
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1250("windows-1250", QStringConverter::Flag::Stateless);
    return cp1250.decode(bytes);
}

bool ReadTextFile(const QString& path, QString& text, QString* error) {
    QByteArray bytes;
    if (!ReadFileBytes(path, bytes, error))
        return false;
    text = DecodeTextBytes(bytes);
    return true;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    // The file a link names is replaced, not the link; a device or a pipe is never replaced by a
    // file.
    const QString target = FollowedWriteTarget(path);
    if (const QString reason = NotARegularFileReason(target); !reason.isEmpty())
        return fail(error, reason);
    QSaveFile f(target);
    if (!f.open(QIODevice::WriteOnly))
        return fail(error, f.errorString());
    // Written and synced straight on the descriptor: a failure of the last buffered bytes (a full
    // disk) would otherwise surface only inside commit, which renames the cut-short file anyway.
    // Any error cancels the save and keeps the system's reason.
    QString reason;
    const int fd = f.handle();
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0 && reason.isEmpty()) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            reason = n < 0 ? systemError() : QStringLiteral("No space left on device");
            break;
        }
        data += n;
        left -= n;
    }
    if (reason.isEmpty() && ::fsync(fd) != 0)
        reason = systemError();
    if (!reason.isEmpty()) {
        f.cancelWriting();
        f.commit(); // removes the temporary file, leaves the target alone
        return fail(error, reason);
    }
    if (!f.commit())
        return fail(error, f.errorString());
    return true;
}

} // namespace lintaro
