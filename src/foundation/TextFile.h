#pragma once
// Reading and writing the program's files. Files are written as UTF-8; a file whose bytes are not
// valid UTF-8 is an older one in the Central European Windows code page. A NUL byte ends the text.
//
// Every read goes through ReadFileBytes (platform/FileRead.h); every save through
// WriteFileAtomically.
#include "platform/FileRead.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace lintaro {

QString DecodeTextBytes(QByteArrayView bytes);
// Reads and decodes the whole file; false (and text untouched) as ReadFileBytes.
bool ReadTextFile(const QString& path, QString& text, QString* error = nullptr);
// Writes beside the target, makes sure every byte reached the disk and only then renames over the
// target. Any failure (a full disk included) leaves the previous file byte for byte as it was and no
// temporary file behind; error gets the system's reason ("No space left on device").
// A symbolic link is followed: the file it names is written and the link stays. A target that
// exists and is not a regular file (a folder, a device, a pipe) is refused and left alone.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace lintaro
