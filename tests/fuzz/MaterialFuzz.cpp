// A material file from any bytes, its texts, and saving it again.
#include "FuzzSupport.h"
#include "model/Material.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lintaro::fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lintaro::TMaterial material;
    if (material.LoadFromFile(lintaro::fuzz::ScratchFile(data, size, ".LNM"))) {
        for (const char* name : {"Caption", "Price", "PriceWithVAT", "CutWidth", "MinRecyArea"})
            (void)material.GetPropAsString(QString::fromLatin1(name));
        material.SaveToFile(lintaro::fuzz::ScratchFile(nullptr, 0, "-saved.LNM"));
    }
    return 0;
}
