#include "platform/PictureLoader.h"

#include <QImageReader>

namespace lintaro {

QImage LoadPictureFile(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

} // namespace lintaro
