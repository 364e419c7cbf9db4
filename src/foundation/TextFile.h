#pragma once
// Reading and writing the program's text files. Files are written as UTF-8; a file whose bytes are
// not valid UTF-8 is an older one in the Central European Windows code page. A NUL byte ends the text.
#include <QByteArrayView>
#include <QString>

namespace lintaro {

QString DecodeTextBytes(QByteArrayView bytes);
// Reads the whole file; false (and text untouched) when it cannot be opened or read.
bool ReadTextFile(const QString& path, QString& text, QString* error = nullptr);
// Writes beside the target and renames, so a failed save leaves the previous file intact.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace lintaro
