#pragma once
// The owned-component base: an owner link, the ordered collection of owned components, which are
// freed with their owner, and the loading, reading and writing state flags.
#include <QString>
#include <cstdint>
#include <vector>

namespace lintaro {

class TComponent;

// Gives a concrete class its class name and its virtual constructor (used when a list copies its
// items into another list).
#define LINTARO_COMPONENT(Class)                                                                         \
public:                                                                                                  \
    QString ClassName() const override { return QStringLiteral(#Class); }                              \
    TComponent* NewInstance(TComponent* owner) const override { return new Class(owner); }           \
                                                                                                         \
private:

class TComponent {
public:
    enum TComponentState : std::uint8_t { csLoading = 1, csReading = 2, csWriting = 4 };

    explicit TComponent(TComponent* owner = nullptr);
    // Frees the owned components, the last first, and leaves the owner.
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    virtual QString ClassName() const { return QStringLiteral("TComponent"); }
    // A new, default object of the same class owned by owner.
    virtual TComponent* NewInstance(TComponent* owner) const { return new TComponent(owner); }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Component(int index) const { return components_[static_cast<size_t>(index)]; }
    const std::vector<TComponent*>& Components() const { return components_; }
    // Takes c into this component's collection; its previous owner releases it first.
    void InsertComponent(TComponent* c);
    // Releases c; its owner becomes none. Nothing happens when c is not owned here.
    void RemoveComponent(TComponent* c);
    bool Owns(const TComponent* c) const { return c && c->owner_ == this; }

    std::uint8_t ComponentState() const { return state_; }
    void SetComponentState(TComponentState flag, bool on) {
        state_ = on ? std::uint8_t(state_ | flag) : std::uint8_t(state_ & ~flag);
    }

    // Copies source into this object by calling source's AssignTo.
    void Assign(const TComponent* source);
    virtual void AssignTo(TComponent* dest) const;
    // The step after the object's data have been read.
    virtual void Loaded() { SetComponentState(csLoading, false); }

private:
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::uint8_t state_ = 0;
};

// The first owner up the chain from c's owner that is a T, or none.
template <class T> T* FindOwnerOfClass(const TComponent* c) {
    for (TComponent* o = c ? c->Owner() : nullptr; o; o = o->Owner())
        if (auto* t = dynamic_cast<T*>(o))
            return t;
    return nullptr;
}

} // namespace lintaro
