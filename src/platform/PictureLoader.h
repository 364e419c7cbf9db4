#pragma once
// Loads the picture files of the program: the picture strip, the supplier's logo and the banners.
// BMP, ICO, GIF and PNG go through Qt's image readers; JPEG is decoded by libjpeg. Anything else
// (Windows metafiles among them) is not a picture here.
//
// Failure: a missing, empty, damaged or unsupported file gives a null image, never a partial one, and
// so does a file that declares a size beyond kMaxPictureSide or kMaxPicturePixels: such a header is
// not worth the memory it asks for.
#include <QImage>
#include <QString>

namespace lintaro {

constexpr int kMaxPictureSide = 16384;
constexpr qint64 kMaxPicturePixels = 64LL * 1024 * 1024;

QImage LoadPictureFile(const QString& path);
// The same for bytes already read.
QImage LoadPictureData(const QByteArray& bytes);

} // namespace lintaro
