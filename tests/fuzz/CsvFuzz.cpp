// A parts CSV from any bytes: what the import accepts, its export must be accepted again with the
// same number of parts.
#include "FuzzSupport.h"
#include "model/Part.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lintaro::fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lintaro::TPartList parts(nullptr);
    if (!parts.LoadAsCSV(lintaro::fuzz::ScratchFile(data, size, ".csv")))
        return 0;
    const QString out = lintaro::fuzz::ScratchFile(nullptr, 0, "-out.csv");
    if (!parts.SaveAsCSV(out))
        return 0;
    lintaro::TPartList again(nullptr);
    if (!again.LoadAsCSV(out) || again.ItemCount() != parts.ItemCount())
        __builtin_trap(); // an accepted file must be accepted again after its own export
    return 0;
}
