// The cutting-sheet drawing of a loaded order: every result sheet's picture laid out and rendered.
#include "FuzzSupport.h"
#include "calc/SheetDrawing.h"
#include "model/CuttingSheet.h"
#include "model/Order.h"
#include "model/Sheets.h"

#include <QImage>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lintaro::fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lintaro::TOrder order;
    if (!order.LoadFromFile(lintaro::fuzz::ScratchFile(data, size, ".LNO")) || !order.Sheets())
        return 0;
    lintaro::TCuttingSheetList* list = order.Sheets()->CuttingSheets();
    for (int i = 0; i < std::min(list->ItemCount(), 4); ++i) {
        const QPicture picture = lintaro::GetImage(*list->Sheet(i));
        (void)lintaro::RenderSheetPicture(picture);
    }
    return 0;
}
