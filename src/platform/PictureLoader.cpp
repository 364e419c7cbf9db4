#include "platform/PictureLoader.h"

#include "platform/FileRead.h"

#include <QBuffer>
#include <QImageReader>

namespace lintaro {

QImage LoadPictureFile(const QString& path) {
    QByteArray bytes;
    if (!ReadFileBytes(path, bytes))
        return {};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

} // namespace lintaro
