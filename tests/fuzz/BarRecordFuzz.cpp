// Bar-separated records on any text.
#include "FuzzSupport.h"
#include "foundation/BarRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = lintaro::fuzz::Text(data, size).left(4096);
    const QString normal = lintaro::NormalizeBarList(text);
    const int count = lintaro::BarFieldCount(normal);
    for (int i = -1; i <= std::min(count, 12); ++i) {
        (void)lintaro::GetBarField(normal, i);
        (void)lintaro::GetBarFieldInt(normal, i);
    }
    (void)lintaro::JoinBarLists(normal, text);
    return 0;
}
