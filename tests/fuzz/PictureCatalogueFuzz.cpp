// libFuzzer target: the picture catalogue (LNTR.PCS) cuts its pictures from the strip; no line makes a
// picture larger than the strip, whatever numbers it gives.
#include "FuzzSupport.h"
#include "foundation/Pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <cstdint>
#include <cstdlib>

using namespace lintaro;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024)
        return 0;
    // A small strip (64 × 32, a gradient), written once: the catalogue's numbers are what is fuzzed.
    static const QImage whole = [] {
        QImage image(64, 32, QImage::Format_RGB32);
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                image.setPixel(x, y, qRgb(x * 4, y * 8, 128));
        return image;
    }();
    static const QString strip = [] {
        const QString path = QDir(QFileInfo(fuzz::ScratchFile(nullptr, 0, ".strip")).path())
                                 .filePath(QStringLiteral("strip.bmp"));
        whole.save(path, "BMP");
        return path;
    }();
    TPictureList pictures;
    pictures.LoadFromFiles(strip, fuzz::ScratchFile(data, size, ".PCS"));
    for (const QString& name : pictures.Names()) {
        const QImage picture = pictures.Find(name);
        if (picture.width() > whole.width() || picture.height() > whole.height())
            std::abort();
    }
    return 0;
}
