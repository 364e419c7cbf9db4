#include "foundation/DataComponent.h"
#include "foundation/DataComponentList.h"
#include "foundation/QuickSort.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace lintaro;

namespace {

// Records every notification step it takes part in as "name:phase:sender".
class TRecorder : public TDataComponent {
    LINTARO_COMPONENT(TRecorder)
public:
    explicit TRecorder(TComponent* owner = nullptr, QStringList* log = nullptr, QString name = {})
        : TDataComponent(owner), log_(log), name_(std::move(name)) {}
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& prop) override {
        if (log_ && prop == filter)
            *log_ << QStringLiteral("%1:%2:%3").arg(name_).arg(phase).arg(nameOf(sender));
        if (phase == -1 && vetoFor == prop)
            return false;
        lastSource = source;
        return TDataComponent::DataChangeStep(source, sender, phase, prop);
    }
    static QString nameOf(TComponent* c) {
        auto* r = dynamic_cast<TRecorder*>(c);
        return r ? r->name_ : QStringLiteral("?");
    }
    QString filter = QStringLiteral("X");
    QString vetoFor = QStringLiteral("-none-");
    TComponent* lastSource = nullptr;

private:
    QStringList* log_;
    QString name_;
};

// A three-level tree: R owns A and B; A owns A1 and A2; B owns B1.
struct Tree {
    QStringList log;
    TRecorder* r = new TRecorder(nullptr, &log, "R");
    TRecorder* a = new TRecorder(r, &log, "A");
    TRecorder* b = new TRecorder(r, &log, "B");
    TRecorder* a1 = new TRecorder(a, &log, "A1");
    TRecorder* a2 = new TRecorder(a, &log, "A2");
    TRecorder* b1 = new TRecorder(b, &log, "B1");
    ~Tree() { delete r; }
};

} // namespace

TEST(Notification, FloodsTheWholeTreeOnceInOrderWithNeighbourAsSender) {
    Tree t;
    t.a1->Announce("X");
    const QStringList expected = {
        "A1:-1:A1", "A1:0:A1", "A:-1:A1", "A2:-1:A", "A2:0:A", "A2:1:A", "A:0:A1",  "R:-1:A",  "B:-1:R",
        "B1:-1:B",  "B1:0:B",  "B1:1:B",  "B:0:R",   "B:1:R",  "R:0:A",  "R:1:A",   "A:1:A1", "A1:1:A1",
    };
    EXPECT_EQ(t.log, expected);
    EXPECT_EQ(t.b1->lastSource, t.a1);
}

TEST(Notification, FromTheRootReachesEveryDescendantDepthFirst) {
    Tree t;
    t.r->Announce("X");
    const QStringList expected = {"R:-1:R",  "A:-1:R", "A1:-1:A", "A1:0:A", "A1:1:A", "A2:-1:A",
                                  "A2:0:A",  "A2:1:A", "A:0:R",   "A:1:R",  "B:-1:R", "B1:-1:B",
                                  "B1:0:B",  "B1:1:B", "B:0:R",   "B:1:R",  "R:0:R",  "R:1:R"};
    EXPECT_EQ(t.log, expected);
}

TEST(Notification, VetoAtPhaseMinusOneStopsTheSubtree) {
    Tree t;
    t.a->vetoFor = "X";
    t.a1->Announce("X");
    EXPECT_EQ(t.log, (QStringList{"A1:-1:A1", "A1:0:A1", "A:-1:A1", "A1:1:A1"}));
}

TEST(Notification, SilentAndLoadingReceiversAreSkipped) {
    Tree t;
    t.b->SetSilent(true);
    t.a2->SetComponentState(TComponent::csLoading, true);
    t.a1->Announce("X");
    EXPECT_FALSE(t.log.join(',').contains("B"));
    EXPECT_FALSE(t.log.join(',').contains("A2"));
    EXPECT_TRUE(t.log.contains("R:1:A"));
}

TEST(Modified, RollsUpToTheRootAndClearsDown) {
    Tree t;
    EXPECT_FALSE(t.r->Modified());
    t.b1->SetCaption("changed");
    EXPECT_TRUE(t.b1->OwnModified());
    EXPECT_TRUE(t.b->OwnModified());
    EXPECT_TRUE(t.r->OwnModified());
    EXPECT_FALSE(t.a->OwnModified());
    t.r->SetModified(false);
    EXPECT_FALSE(t.r->Modified());
    EXPECT_FALSE(t.b1->OwnModified());
}

TEST(Modified, ClearingARootWhoseChildIsModifiedAnnounces) {
    Tree t;
    t.r->filter = "Modified";
    t.b1->SetSilent(true); // keep the roll-up from reaching the root
    t.b1->SetCaption("x");
    t.b1->SetSilent(false);
    ASSERT_FALSE(t.r->OwnModified());
    ASSERT_TRUE(t.r->Modified());
    t.log.clear();
    t.r->SetModified(false);
    EXPECT_FALSE(t.b1->Modified());
    EXPECT_TRUE(t.log.contains("R:1:R"));
}

TEST(Modified, SameValueAnnouncesNothingButTrueAnnouncesEveryTime) {
    Tree t;
    t.a1->filter = "Modified";
    t.a1->SetModified(true);
    t.a1->SetModified(true);
    EXPECT_EQ(t.log.filter("A1:1:A1").size(), 2);
    t.r->SetModified(false);
    t.log.clear();
    t.a1->filter = "ID";
    t.a1->SetID(0);
    EXPECT_TRUE(t.log.isEmpty());
    EXPECT_FALSE(t.r->Modified());
}

TEST(Modified, LoadingIgnoresSetModified) {
    TDataComponent c;
    c.SetComponentState(TComponent::csLoading, true);
    c.SetModified(true);
    EXPECT_FALSE(c.Modified());
}

TEST(DataComponent, PropertiesByName) {
    TDataComponent c;
    c.SetPropAsString("caption", "Board");
    EXPECT_EQ(c.Caption(), "Board");
    c.SetPropAsString("Id", "17");
    EXPECT_EQ(c.GetPropAsString("ID"), "17");
    c.SetPropAsString("ID", "abc");
    EXPECT_EQ(c.ID(), 0);
    c.SetCaption("");
    EXPECT_EQ(c.Caption(), QString::fromUtf8("Položka"));
    EXPECT_EQ(c.GetPropAsString("nothing"), "");
}

TEST(DataComponent, ReadOnlyIsInheritedAndGOwnerIsTheTopDataComponent) {
    Tree t;
    t.a->SetIsReadOnly(true);
    EXPECT_TRUE(t.a1->IsReadOnly());
    EXPECT_FALSE(t.b1->IsReadOnly());
    EXPECT_EQ(t.a1->GOwner(), t.r);
    t.a1->SetGOwner(t.b);
    EXPECT_EQ(t.a1->GOwner(), t.b);
    EXPECT_EQ(t.r->GOwner(), nullptr);
    EXPECT_EQ(FindOwnerOfClass<TRecorder>(t.a1), t.a);
}

// ---- Lists -------------------------------------------------------------------------------------

namespace {

class TTestList : public TDataComponentList {
    LINTARO_COMPONENT(TTestList)
public:
    explicit TTestList(TComponent* owner = nullptr, bool exclusive = false) : TDataComponentList(owner) {
        SetExclusiveCaption(exclusive);
    }
    TDataComponent* Add(const QString& caption, int id = 0) {
        auto* item = new TDataComponent(nullptr);
        item->SetCaption(caption);
        if (id)
            item->SetID(id);
        ItemInsert(item);
        return item;
    }
};

QStringList captions(const TDataComponentList& list) {
    return list.ItemsAsString().split("\r\n", Qt::SkipEmptyParts);
}

} // namespace

TEST(List, UniqueCaptionsCutTrailingDigitsAndCount) {
    ScopedLocale cz(Locale::czech());
    struct Case {
        QStringList existing;
        QString inserted;
        QString expected;
    } cases[] = {
        {{"Part 1", "Part 2"}, "Part 2", "Part "},
        {{"Part"}, "Part", "Part1"},
        {{"Part", "Part1"}, "PART", "PART2"},
        {{"12"}, "12", QString::fromUtf8("Položka")},
        {{"Board-3,"}, "board-3,", "board"},
        {{"x"}, "y", "y"},
    };
    for (const Case& c : cases) {
        TTestList list(nullptr, true);
        list.SetAutoSortingOff(true);
        for (const QString& e : c.existing)
            list.Add(e);
        EXPECT_EQ(list.Add(c.inserted)->Caption(), c.expected) << c.inserted.toStdString();
    }
}

TEST(List, NewItemsGetTheSmallestFreeID) {
    TTestList list;
    list.Add("a", 1);
    list.Add("b", 2);
    list.Add("d", 4);
    EXPECT_EQ(list.Add("c")->ID(), 3);
    EXPECT_EQ(list.Add("e")->ID(), 5);
    EXPECT_EQ(list.Add("f", 9)->ID(), 9);
    EXPECT_EQ(list.FindItem(-3)->Caption(), "c");
    EXPECT_EQ(list.FindItem(list.ItemCount()), nullptr);
    EXPECT_EQ(list.FindItem(0)->Caption(), "a");
    EXPECT_EQ(list.FindItem(QStringLiteral("E"))->ID(), 5);
}

TEST(List, InsertSortsAndAnnouncesItemsAndModified) {
    ScopedLocale cz(Locale::czech());
    TTestList list;
    list.Add("c");
    list.Add("a");
    list.Add("B");
    EXPECT_EQ(captions(list), (QStringList{"a", "B", "c"}));
    EXPECT_TRUE(list.Modified());
    list.Item(0)->SetCaption("z");
    EXPECT_EQ(captions(list), (QStringList{"B", "c", "z"}));
    TDataComponent* dup = list.Item(0);
    EXPECT_FALSE(list.ItemInsert(dup));
    EXPECT_FALSE(list.ItemInsert(nullptr));
}

TEST(List, CzechCollationOrdersChAfterH) {
    ScopedLocale cz(Locale::czech());
    TTestList list;
    list.Add("chata");
    list.Add("hrad");
    list.Add("cibule");
    EXPECT_EQ(captions(list), (QStringList{"cibule", "hrad", "chata"}));
}

TEST(List, DeletingTheFocusedItemMovesTheFocus) {
    TTestList list;
    list.SetCompareFunc(nullptr);
    auto* a = list.Add("a");
    list.Add("b");
    auto* c = list.Add("c");
    list.SetItemFocused(c);
    EXPECT_TRUE(list.ItemDelete(c));
    EXPECT_EQ(list.ItemFocused(), list.Item(1));
    list.ItemDelete(list.Item(1));
    EXPECT_EQ(list.ItemFocused(), a);
    list.ItemDelete(a);
    EXPECT_EQ(list.ItemFocused(), nullptr);
    EXPECT_EQ(list.ItemCount(), 0);
}

TEST(List, ItemMoveOnlyWithoutCompareFunc) {
    TTestList sorted;
    sorted.Add("a");
    sorted.Add("b");
    sorted.SetItemFocused(sorted.Item(0));
    EXPECT_FALSE(sorted.ItemMove(1));
    EXPECT_EQ(captions(sorted), (QStringList{"a", "b"}));

    TTestList list;
    list.SetCompareFunc(nullptr);
    list.Add("a");
    list.Add("b");
    list.Add("c");
    list.SetItemFocused(list.Item(1));
    EXPECT_TRUE(list.ItemMove(10));
    EXPECT_EQ(captions(list), (QStringList{"a", "c", "b"}));
    EXPECT_TRUE(list.ItemMove(-10));
    EXPECT_EQ(captions(list), (QStringList{"b", "a", "c"}));
}

TEST(List, NextAndPreviousWithoutFocusGoToTheFirstItem) {
    TTestList list;
    list.Previous();
    EXPECT_EQ(list.ItemFocused(), nullptr);
    list.Add("a");
    list.Add("b");
    list.Previous();
    EXPECT_EQ(list.ItemFocused(), list.Item(0));
    list.SetItemFocused(nullptr);
    list.Next();
    EXPECT_EQ(list.ItemFocused(), list.Item(0));
    list.Next();
    EXPECT_EQ(list.ItemFocused(), list.Item(1));
    list.Next();
    EXPECT_EQ(list.ItemFocused(), list.Item(1));
    list.First();
    list.Previous();
    EXPECT_EQ(list.ItemFocused(), list.Item(0));
    list.Last();
    EXPECT_EQ(list.ItemFocused(), list.Item(1));
}

TEST(List, ClearFreesItemsAndAnnouncesAnEmptyName) {
    QStringList log;
    TRecorder root(nullptr, &log, "root");
    root.filter = "";
    auto* list = new TTestList(&root);
    list->Add("a");
    list->Add("b");
    log.clear();
    list->Clear();
    EXPECT_EQ(list->ItemCount(), 0);
    EXPECT_EQ(list->Caption(), "Seznam");
    EXPECT_TRUE(log.contains("root:1:?"));
}

TEST(List, AssignCopiesDeeplyWithoutNotifications) {
    TTestList source;
    source.SetCompareFunc(nullptr);
    source.Add("b");
    source.Add("a");
    source.SetItemFocused(source.Item(1));
    TTestList dest;
    dest.Add("old");
    dest.SetModified(false);
    dest.Assign(&source);
    EXPECT_EQ(captions(dest), (QStringList{"b", "a"}));
    EXPECT_NE(dest.Item(0), source.Item(0));
    EXPECT_EQ(dest.Item(0)->Owner(), &dest);
    EXPECT_EQ(dest.ItemFocused(), dest.Item(1));
    EXPECT_EQ(dest.Item(1)->ID(), 2);
}

TEST(List, ItemRemoveKeepsOwnershipUntilTakenOver) {
    TTestList one;
    TTestList two;
    auto* a = one.Add("a");
    EXPECT_TRUE(one.ItemRemove(a));
    EXPECT_EQ(one.ItemCount(), 0);
    EXPECT_EQ(a->Owner(), &one);
    EXPECT_FALSE(one.ItemRemove(a));
    EXPECT_TRUE(two.ItemInsert(a));
    EXPECT_EQ(a->Owner(), &two);
    EXPECT_EQ(one.ComponentCount(), 0);
}

TEST(List, DeleteItemsStopsAtTheFirstRefusal) {
    class TStubborn : public TDataComponent {
    public:
        using TDataComponent::TDataComponent;
        bool Delete() override { return false; }
    };
    TTestList list;
    list.SetCompareFunc(nullptr);
    list.Add("a");
    list.ItemInsert(new TStubborn(nullptr));
    list.Add("c");
    EXPECT_FALSE(list.DeleteItems(false));
    EXPECT_EQ(list.ItemCount(), 2);
    EXPECT_FALSE(list.ItemDelete(list.Item(0)));
    EXPECT_TRUE(list.DeleteItems(true));
    EXPECT_EQ(list.ItemCount(), 0);
}

TEST(QuickSort, PlacesEqualItemsWhereTheRoutineDoes) {
    struct Case {
        std::vector<int> keys;
        std::vector<int> expectedOrder; // original positions after sorting
    } cases[] = {
        {{2, 1, 2, 1}, {3, 1, 0, 2}},
        {{1, 1, 1}, {2, 1, 0}},
        {{3, 2, 1}, {2, 1, 0}},
        {{5}, {0}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        std::vector<int> positions(c.keys.size());
        for (size_t i = 0; i < positions.size(); ++i)
            positions[i] = static_cast<int>(i);
        QuickSort(positions, [&](int a, int b) { return c.keys[size_t(a)] - c.keys[size_t(b)]; });
        EXPECT_EQ(positions, c.expectedOrder);
    }
}
