// An order file (with its result sheets and material snapshot) from any bytes, then everything a
// loaded order is asked for: totals, texts, and saving it again.
#include "FuzzSupport.h"
#include "model/Order.h"
#include "model/Sheets.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lintaro::fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lintaro::TOrder order;
    if (order.LoadFromFile(lintaro::fuzz::ScratchFile(data, size, ".LNO"))) {
        for (const char* name : {"Caption", "TotalWithVAT", "TotalWithoutVAT", "DateCreate"})
            (void)order.GetPropAsString(QString::fromLatin1(name));
        if (lintaro::TSheets* sheets = order.Sheets())
            for (const char* name :
                 {"ExtractBrutto", "ExtractNetto", "PartsCount", "PartsArea", "UnusedArea"})
                (void)sheets->GetPropAsString(QString::fromLatin1(name));
        order.SaveToFile(lintaro::fuzz::ScratchFile(nullptr, 0, "-saved.LNO"));
    }
    return 0;
}
