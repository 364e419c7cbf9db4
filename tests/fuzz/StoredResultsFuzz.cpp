// The stored calculation result of an order (sheets, placed parts, rests, report) from any bytes,
// then its totals and texts.
#include "FuzzSupport.h"
#include "foundation/ConversionError.h"
#include "foundation/Ini.h"
#include "model/CuttingSheet.h"
#include "model/Sheets.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lintaro::fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lintaro::TINI ini;
    ini.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    lintaro::TSheets sheets(nullptr);
    try {
        sheets.LoadFromINI(&ini);
    } catch (const lintaro::ConversionError&) {
        return 0; // a damaged placed-part line: the order's reader refuses the whole file on it
    }
    lintaro::TCuttingSheetList* list = sheets.CuttingSheets();
    (void)list->ExtractBrutto();
    (void)list->ExtractNetto();
    (void)list->PartsCount();
    (void)list->PartsArea();
    for (int i = 0; i < std::min(list->ItemCount(), 8); ++i)
        for (const char* name : {"Count", "ExtractBrutto", "PartsLength", "PartsOnSheetCaptionXY"})
            (void)list->Sheet(i)->GetPropAsString(QString::fromLatin1(name));
    lintaro::TINI saved;
    sheets.SaveToINI(&saved);
    return 0;
}
