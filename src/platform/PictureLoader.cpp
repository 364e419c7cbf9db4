#include "platform/PictureLoader.h"

#include "platform/FileRead.h"
#include "platform/JpegDecoder.h"

#include <QBuffer>
#include <QImageReader>

namespace lintaro {

namespace {

bool sizeAllowed(const QSize& size) {
    return size.isValid() && size.width() > 0 && size.height() > 0 && size.width() <= kMaxPictureSide &&
           size.height() <= kMaxPictureSide &&
           static_cast<qint64>(size.width()) * size.height() <= kMaxPicturePixels;
}

} // namespace

QImage LoadPictureData(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {};
    if (LooksLikeJpeg(bytes))
        return DecodeJpeg(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format().toLower();
    if (format != "bmp" && format != "ico" && format != "gif" && format != "png")
        return {};
    // The declared size is checked before any pixel memory is taken.
    if (!sizeAllowed(reader.size()))
        return {};
    QImage image = reader.read();
    if (image.isNull() || !sizeAllowed(image.size()))
        return {};
    return image;
}

QImage LoadPictureFile(const QString& path) {
    QByteArray bytes;
    if (!ReadFileBytes(path, bytes))
        return {};
    return LoadPictureData(bytes);
}

} // namespace lintaro
