#pragma once
// Loads picture files of the program: BMP and GIF through Qt's readers.
#include <QImage>
#include <QString>

namespace lintaro {

// A null image when the file is missing or not a readable picture.
QImage LoadPictureFile(const QString& path);

} // namespace lintaro
