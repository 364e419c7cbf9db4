#include "reports/PolSkup.h"

namespace lintaro {

void TListSkupin::Resize(int count) {
    const int old = Count();
    items_.resize(static_cast<size_t>(count));
    for (int i = old; i < count; ++i)
        items_[static_cast<size_t>(i)].Number = i;
}

} // namespace lintaro
