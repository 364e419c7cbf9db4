#include "foundation/DataComponent.h"

#include "foundation/DataComponentList.h"

namespace lintaro {

// ---- TSimpleComponent ------------------------------------------------------------------------

QString TSimpleComponent::GetPropAsString(const QString&) const { return {}; }

void TSimpleComponent::SetPropAsString(const QString&, const QString&) {}

bool TSimpleComponent::GetModified() const {
    if (modified_)
        return true;
    for (TComponent* c : Components())
        if (auto* s = dynamic_cast<TSimpleComponent*>(c); s && s->GetModified())
            return true;
    return false;
}

void TSimpleComponent::SetModified(bool value) {
    if (Loading() && !clipboarding_)
        return;
    if (!value) {
        if (!GetModified())
            return;
        for (size_t i = 0; i < Components().size(); ++i)
            if (auto* s = dynamic_cast<TSimpleComponent*>(Components()[i]))
                s->SetModified(false);
    }
    modified_ = value;
    Announce(QStringLiteral("Modified"));
}

bool TSimpleComponent::DataChangeStep(TComponent*, TComponent*, int, const QString&) { return true; }

void TSimpleComponent::InitDefaults() {
    clipboarding_ = false;
    modified_ = false;
    silent_ = false;
}

void TSimpleComponent::DataChanged(TComponent* source, TComponent* sender, const QString& propName) {
    if (Loading())
        return;
    if (!DataChangeStep(source, sender, -1, propName))
        return;
    const bool origin = source == this && sender == this;
    const bool neighbour = source != this && sender && (Owns(sender) || sender->Owns(this));
    if (origin || neighbour) {
        // Reactions may add or remove owned components while the change passes: re-read the size.
        for (size_t i = 0; i < Components().size(); ++i) {
            TComponent* c = Components()[i];
            if (c == sender)
                continue;
            if (auto* s = dynamic_cast<TSimpleComponent*>(c))
                s->DataChanged(source, this, propName);
        }
        DataChangeStep(source, sender, 0, propName);
        if (auto* o = dynamic_cast<TSimpleComponent*>(Owner()); o && o != sender)
            o->DataChanged(source, this, propName);
    }
    if (auto* s = dynamic_cast<TSimpleComponent*>(source);
        s && (propName.isEmpty() || propName == QLatin1String("Modified")) && Owns(s) && s->GetModified())
        SetModified(true);
    DataChangeStep(source, sender, 1, propName);
}

void TSimpleComponent::SetClipboarding(bool value) {
    clipboarding_ = value;
    for (TComponent* c : Components())
        if (auto* s = dynamic_cast<TSimpleComponent*>(c))
            s->SetClipboarding(value);
}

void TSimpleComponent::AssignTo(TComponent* dest) const {
    if (auto* d = dynamic_cast<TSimpleComponent*>(dest)) {
        d->clipboarding_ = clipboarding_;
        d->modified_ = modified_;
    }
}

void TSimpleComponent::Loaded() {
    if (!clipboarding_)
        SetModified(false); // ignored while the loading flag is still set, as intended
    SetClipboarding(false);
    TComponent::Loaded();
}

// ---- TDataComponent --------------------------------------------------------------------------

QString TDataComponent::KeyOf(const QString& name) { return name.toUpper(); }

QString TDataComponent::GetPropAsString(const QString& name) const {
    const QString key = KeyOf(name);
    if (key == QLatin1String("CAPTION"))
        return Caption();
    if (key == QLatin1String("ID"))
        return QString::number(id_);
    return TSimpleComponent::GetPropAsString(name);
}

void TDataComponent::SetPropAsString(const QString& name, const QString& value) {
    const QString key = KeyOf(name);
    if (key == QLatin1String("CAPTION")) {
        SetCaption(value);
        return;
    }
    if (key == QLatin1String("ID")) {
        bool ok = false;
        const int v = value.trimmed().toInt(&ok);
        SetID(ok ? v : 0);
        return;
    }
    TSimpleComponent::SetPropAsString(name, value);
}

void TDataComponent::InitDefaults() {
    TSimpleComponent::InitDefaults();
    caption_.clear();
    hidden_ = false;
    readOnly_ = false;
    system_ = false;
    id_ = 0;
    gowner_ = nullptr;
}

void TDataComponent::DataChanged(TComponent* source, TComponent* sender, const QString& propName) {
    if (Silent())
        return;
    TSimpleComponent::DataChanged(source, sender, propName);
}

void TDataComponent::AssignTo(TComponent* dest) const {
    TSimpleComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TDataComponent*>(dest)) {
        d->caption_ = caption_;
        d->hidden_ = hidden_;
        d->id_ = id_;
        d->readOnly_ = readOnly_;
        d->system_ = system_;
        d->gowner_ = gowner_;
    }
}

QString TDataComponent::GetDefaultCaption() const { return QStringLiteral("Položka"); }

void TDataComponent::SetCaption(const QString& value) {
    const QString v = value.isEmpty() ? GetDefaultCaption() : value;
    if (v == caption_)
        return;
    caption_ = v;
    Announce(QStringLiteral("Caption"));
    SetModified(true);
}

void TDataComponent::RegisterLinks(int flag) {
    for (size_t i = 0; i < Components().size(); ++i)
        if (auto* d = dynamic_cast<TDataComponent*>(Components()[i]))
            d->RegisterLinks(flag);
}

void TDataComponent::SetID(int value) {
    if (value == id_)
        return;
    id_ = value;
    Announce(QStringLiteral("ID"));
    SetModified(true);
}

void TDataComponent::SetIsHiden(bool value) {
    if (value == hidden_)
        return;
    hidden_ = value;
    Announce(QStringLiteral("IsHiden"));
    SetModified(true);
}

bool TDataComponent::IsReadOnly() const {
    if (readOnly_)
        return true;
    if (auto* o = dynamic_cast<const TDataComponent*>(Owner()))
        return o->IsReadOnly();
    return false;
}

void TDataComponent::SetIsReadOnly(bool value) {
    if (value == readOnly_)
        return;
    readOnly_ = value;
    Announce(QStringLiteral("IsReadOnly"));
    SetModified(true);
}

void TDataComponent::SetIsSystem(bool value) {
    if (value == system_)
        return;
    system_ = value;
    Announce(QStringLiteral("IsSystem"));
    SetModified(true);
}

TDataComponent* TDataComponent::GOwner() const {
    if (gowner_)
        return gowner_;
    TDataComponent* last = nullptr;
    for (TComponent* o = Owner(); o; o = o->Owner()) {
        auto* d = dynamic_cast<TDataComponent*>(o);
        if (!d)
            break;
        last = d;
    }
    return last;
}

int TDataComponent::Index() const {
    if (auto* list = dynamic_cast<const TDataComponentList*>(Owner()))
        return list->IndexOf(this);
    return -1;
}

void TDataComponent::Clear() {
    InitDefaults();
    Announce(QString());
}

} // namespace lintaro
