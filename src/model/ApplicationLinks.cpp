#include "model/ApplicationLinks.h"

#include "foundation/DataComponent.h"
#include "model/Material.h"
#include "model/Setup.h"

namespace lintaro {

namespace {
struct TLinks {
    TSetup* setup = nullptr;
    TSimpleComponent* order = nullptr;
    TMaterial* material = nullptr;
    TApplicationLinks::TControlsRefresh refresh;
};

TLinks& links() {
    static TLinks l;
    return l;
}
} // namespace

TSetup* TApplicationLinks::Setup() {
    if (links().setup)
        return links().setup;
    static TSetup defaults(nullptr);
    return &defaults;
}

void TApplicationLinks::SetSetup(TSetup* setup) {
    links().setup = setup;
}
bool TApplicationLinks::HasSetup() {
    return links().setup != nullptr;
}
TSimpleComponent* TApplicationLinks::Order() {
    return links().order;
}
void TApplicationLinks::SetOrder(TSimpleComponent* order) {
    links().order = order;
}
TMaterial* TApplicationLinks::Material() {
    return links().material;
}
void TApplicationLinks::SetMaterial(TMaterial* material) {
    links().material = material;
}
void TApplicationLinks::SetControlsRefresh(TControlsRefresh refresh) {
    links().refresh = std::move(refresh);
}
bool TApplicationLinks::HasControlsRefresh() {
    return static_cast<bool>(links().refresh);
}

void TApplicationLinks::Forward(TSimpleComponent* from, TComponent* source, const QString& propName,
                                bool toOrder, bool toMaterial, bool toSetup) {
    TLinks& l = links();
    if (toOrder && l.order && l.order != from)
        l.order->DataChanged(source, from, propName);
    if (toMaterial && l.material && l.material != from)
        l.material->DataChanged(source, from, propName);
    if (toSetup && l.setup && l.setup != from)
        l.setup->DataChanged(source, from, propName);
    if (l.refresh)
        l.refresh(source, propName);
}

TScopedApplicationLinks::TScopedApplicationLinks()
    : setup_(links().setup), order_(links().order), material_(links().material), refresh_(links().refresh) {}

TScopedApplicationLinks::~TScopedApplicationLinks() {
    links().setup = setup_;
    links().order = order_;
    links().material = material_;
    links().refresh = refresh_;
}

} // namespace lintaro
