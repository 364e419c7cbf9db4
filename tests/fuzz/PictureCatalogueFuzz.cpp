// libFuzzer target: the picture catalogue (LNTR.PCS) cuts its pictures from the shipped strip; no line
// makes a picture larger than the strip, whatever numbers it gives.
#include "FuzzSupport.h"
#include "foundation/Pictures.h"
#include "foundation/Program.h"
#include "platform/PictureLoader.h"

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
    static const QString strip = DataDir() + QStringLiteral("LNTR.PIS");
    static const QImage whole = LoadPictureFile(strip);
    TPictureList pictures;
    pictures.LoadFromFiles(strip, fuzz::ScratchFile(data, size, ".PCS"));
    for (const QString& name : pictures.Names()) {
        const QImage picture = pictures.Find(name);
        if (!whole.isNull() && (picture.width() > whole.width() || picture.height() > whole.height()))
            std::abort();
    }
    return 0;
}
