#include "foundation/Component.h"

#include <algorithm>

namespace lintaro {

TComponent::TComponent(TComponent* owner) {
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        components_.pop_back();
        c->owner_ = nullptr;
        delete c;
    }
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::InsertComponent(TComponent* c) {
    if (!c || c->owner_ == this)
        return;
    if (c->owner_)
        c->owner_->RemoveComponent(c);
    c->owner_ = this;
    components_.push_back(c);
}

void TComponent::RemoveComponent(TComponent* c) {
    if (!c || c->owner_ != this)
        return;
    // Owned components leave mostly from the end (lists freeing their items).
    auto it = std::find(components_.rbegin(), components_.rend(), c);
    if (it != components_.rend())
        components_.erase(std::next(it).base());
    c->owner_ = nullptr;
}

void TComponent::Assign(const TComponent* source) {
    if (source)
        source->AssignTo(this);
}

void TComponent::AssignTo(TComponent*) const {}

} // namespace lintaro
