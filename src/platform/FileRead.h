#pragma once
// The one way the program reads a file. It takes only regular files of a sane size: a file name
// taken from a damaged or hostile order (a device, a pipe, a huge file) fails with a message instead
// of hanging or eating the memory.
#include <QByteArray>
#include <QString>

namespace lintaro {

// No order, material, settings, text, template or picture file of the program comes near this.
inline constexpr qint64 kMaxReadFileSize = 64 * 1024 * 1024;

// Reads the whole file into bytes. False (bytes untouched, the reason in error) when it is missing,
// not a regular file (a folder, device or pipe), larger than maxSize or cannot be read.
bool ReadFileBytes(const QString& path, QByteArray& bytes, QString* error = nullptr,
                   qint64 maxSize = kMaxReadFileSize);

} // namespace lintaro
