#pragma once
// Placeholder declaration; the material and its dimensions are being written.
#include "foundation/DataComponent.h"

namespace lintaro {

class TMaterial : public TDataComponent {
    LINTARO_COMPONENT(TMaterial)
public:
    explicit TMaterial(TComponent* owner = nullptr) : TDataComponent(owner) {}
};

} // namespace lintaro
