#pragma once
// The data-component base of every domain and result object: ownership, the Modified flag that
// rolls up to the owners, the change notification that floods the whole ownership tree, identity,
// caption and text access to properties by name. Owned components are freed with their owner.
#include "foundation/Component.h"

#include <QString>

namespace lintaro {

class TSimpleComponent : public TComponent {
    LINTARO_COMPONENT(TSimpleComponent)
public:
    explicit TSimpleComponent(TComponent* owner = nullptr) : TComponent(owner) {}

    // Text access to a property by name (case-insensitive); unknown names read empty.
    virtual QString GetPropAsString(const QString& name) const;
    // May throw ConversionError for a text that does not convert; the property then keeps its value.
    virtual void SetPropAsString(const QString& name, const QString& value);
    virtual QString GetClipboardText() const { return {}; }
    virtual bool GetModified() const;
    virtual void SetModified(bool value);
    // One step of a change notification: phase -1 may veto (return false), 0 runs between the
    // relays to the owned components and to the owner, 1 after the whole flood.
    virtual bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName);
    // Sets every field to its default directly, without any notification.
    virtual void InitDefaults();
    // Floods a change through the ownership tree; see the class comment.
    virtual void DataChanged(TComponent* source, TComponent* sender, const QString& propName);

    bool Modified() const { return GetModified(); }
    bool OwnModified() const { return modified_; }
    bool Clipboarding() const { return clipboarding_; }
    // Sets the flag on this and every owned simple component, recursively.
    void SetClipboarding(bool value);
    bool Silent() const { return silent_; }
    void SetSilent(bool value) { silent_ = value; }
    bool Loading() const { return ComponentState() & (csLoading | csReading); }
    bool Storing() const { return ComponentState() & csWriting; }

    void AssignTo(TComponent* dest) const override;
    void Loaded() override;

    // Announces a change of this object's own property: DataChanged(this, this, name).
    void Announce(const QString& propName) { DataChanged(this, this, propName); }

protected:
    // Sets the own flag without notification (loading, copying).
    void SetOwnModifiedDirect(bool value) { modified_ = value; }

private:
    bool clipboarding_ = false;
    bool modified_ = false;
    bool silent_ = false;
};

class TDataComponent : public TSimpleComponent {
    LINTARO_COMPONENT(TDataComponent)
public:
    explicit TDataComponent(TComponent* owner = nullptr) : TSimpleComponent(owner) {}

    QString GetPropAsString(const QString& name) const override;
    void SetPropAsString(const QString& name, const QString& value) override;
    void InitDefaults() override;
    void DataChanged(TComponent* source, TComponent* sender, const QString& propName) override;
    void AssignTo(TComponent* dest) const override;

    virtual QString GetCaption() const { return caption_; }
    virtual QString GetDefaultCaption() const;
    virtual int GetImageIndex() const { return 0; }
    // An empty value becomes the default caption; a change announces "Caption".
    virtual void SetCaption(const QString& value);
    // Whether the object agrees to be deleted.
    virtual bool Delete() { return true; }
    virtual void RegisterLinks(int flag);

    QString Caption() const { return GetCaption(); }
    QString DefaultCaption() const { return GetDefaultCaption(); }
    int ImageIndex() const { return GetImageIndex(); }

    int ID() const { return id_; }
    void SetID(int value);
    bool IsHiden() const { return hidden_; }
    void SetIsHiden(bool value);
    bool IsReadOnly() const;
    void SetIsReadOnly(bool value);
    bool IsSystem() const { return system_; }
    void SetIsSystem(bool value);
    // The explicit global owner, else the topmost data component up the owner chain.
    TDataComponent* GOwner() const;
    void SetGOwner(TDataComponent* value) { gowner_ = value; }
    // Position in the owning list, else -1.
    int Index() const;

    // InitDefaults, then an announcement with an empty property name.
    void Clear();

protected:
    // Stores without notification, for loading and copying.
    void SetCaptionDirect(const QString& value) { caption_ = value; }
    void SetIDDirect(int value) { id_ = value; }
    // Upper-cases a property name for the by-name access.
    static QString KeyOf(const QString& name);

private:
    QString caption_;
    TDataComponent* gowner_ = nullptr;
    int id_ = 0;
    bool hidden_ = false;
    bool readOnly_ = false;
    bool system_ = false;
};

} // namespace lintaro
