#pragma once
// An owning, ordered list of data components with a focused item, sorting, unique captions and
// smallest free IDs. Every listed item is also owned by the list and is freed with it.
#include "foundation/DataComponent.h"

#include <vector>

namespace lintaro {

class TDataComponentList : public TDataComponent {
    LINTARO_COMPONENT(TDataComponentList)
public:
    // Negative, 0 or positive; a negative result puts a before b.
    using TCompareFunc = int (*)(const TDataComponent* a, const TDataComponent* b);
    // The default order: captions under the locale's case-insensitive comparison.
    static int CompareCaptions(const TDataComponent* a, const TDataComponent* b);

    explicit TDataComponentList(TComponent* owner = nullptr);
    ~TDataComponentList() override;

    QString GetPropAsString(const QString& name) const override;
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) override;
    void InitDefaults() override;
    void AssignTo(TComponent* dest) const override;
    QString GetDefaultCaption() const override;
    bool Delete() override;

    // A position 0 … ItemCount-1, else -k finds the item with ID k.
    virtual TDataComponent* FindItem(int key) const;
    // The first item whose caption matches the key upper-cased by the locale.
    virtual TDataComponent* FindItem(const QString& key) const;
    virtual QString GetItemsAsString() const;
    virtual TDataComponent* CreateItem() { return new TDataComponent(nullptr); }
    // Makes the caption unique (when captions are exclusive) and gives an ID to an item without one.
    virtual void PrepareItem(TDataComponent* item);
    virtual bool ItemDelete(TDataComponent* item);
    virtual bool ItemInsert(TDataComponent* item);

    int ItemCount() const { return static_cast<int>(items_.size()); }
    TDataComponent* Item(int index) const { return items_[static_cast<size_t>(index)]; }
    const std::vector<TDataComponent*>& Items() const { return items_; }
    QString ItemsAsString() const { return GetItemsAsString(); }
    int IndexOf(const TDataComponent* item) const;
    // Takes the item out of the sequence; it stays owned until another list takes it in.
    bool ItemRemove(TDataComponent* item);
    bool ItemMove(int delta);
    bool ItemIsChild(const TDataComponent* item) const;
    void First();
    void Last();
    void Next();
    void Previous();
    void Sort();
    bool DeleteItems(bool force);
    // Puts the listed items into the given order, which must hold each of them once; otherwise
    // nothing changes. Announces nothing (copies and calculation records).
    bool SetItemOrder(const std::vector<TDataComponent*>& order);

    TDataComponent* ItemFocused() const { return focused_; }
    void SetItemFocused(TDataComponent* item);
    bool AutoSortingOff() const { return autoSortingOff_; }
    void SetAutoSortingOff(bool value) { autoSortingOff_ = value; }
    bool ExclusiveCaption() const { return exclusiveCaption_; }
    TCompareFunc CompareFunc() const { return compare_; }
    void SetCompareFunc(TCompareFunc f) { compare_ = f; }

protected:
    void SetExclusiveCaption(bool value) { exclusiveCaption_ = value; }
    // Sorts with CompareFunc without announcing anything.
    void SortItems();
    // Appends without preparing, sorting or announcing (loading and copying).
    void AppendDirect(TDataComponent* item);
    void FreeItems();

private:
    std::vector<TDataComponent*> items_;
    TDataComponent* focused_ = nullptr;
    TCompareFunc compare_ = &CompareCaptions;
    bool autoSortingOff_ = false;
    bool exclusiveCaption_ = false;
};

} // namespace lintaro
