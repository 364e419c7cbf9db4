// A settings file from any bytes, every setting's text, and typed entry of the input's first line
// into the integer and number settings.
#include "FuzzSupport.h"
#include "foundation/ConversionError.h"
#include "model/Setup.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lintaro::fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lintaro::TSetup setup;
    setup.LoadFromFile(lintaro::fuzz::ScratchFile(data, size, ".INI"));
    static const char* names[] = {
        "OrderNumber", "SheetsZoom",       "SheetsReductionTimeMin", "SheetsReductionTimeMax",
        "VATLowValue", "MaterialCutWidth", "MaterialPrice",          "SheetsMaxCutLength"};
    const QString entry = lintaro::fuzz::Text(data, size).section(u'\n', 0, 0).left(200);
    for (const char* name : names) {
        (void)setup.GetPropAsString(QString::fromLatin1(name));
        try {
            setup.SetPropAsString(QString::fromLatin1(name), entry);
        } catch (const lintaro::ConversionError&) {
        }
    }
    return 0;
}
