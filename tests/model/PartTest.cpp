#include "model/Part.h"

#include "foundation/ConversionError.h"
#include "foundation/TextFile.h"
#include "model/ApplicationLinks.h"
#include "model/Setup.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>

using namespace lintaro;

namespace {

// A Currency written with "." whatever the locale in force: cur("250.5").
Currency cur(const char* text) {
    ScopedLocale guard(Locale::unitedStates());
    bool ok = false;
    const Currency c = Currency::fromText(QString::fromLatin1(text), &ok);
    EXPECT_TRUE(ok) << text;
    return c;
}

// Stands where the order stands: owns the list and logs what the parts and the list announce, as
// "caption.Property" for a part and "list.Property" for the list ("Modified" left out).
class TOrderStandIn : public TDataComponent {
    LINTARO_COMPONENT(TOrderStandIn)
public:
    explicit TOrderStandIn(TComponent* owner = nullptr) : TDataComponent(owner) {}
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& prop) override {
        if (phase == 1 && prop != QLatin1String("Modified")) {
            if (auto* part = dynamic_cast<TPart*>(source))
                log << part->Caption() + u'.' + prop;
            else if (dynamic_cast<TPartList*>(source))
                log << QStringLiteral("list.") + prop;
        }
        return TDataComponent::DataChangeStep(source, sender, phase, prop);
    }
    QStringList log;
};

QStringList captions(const TPartList& list) {
    QStringList result;
    for (int i = 0; i < list.ItemCount(); ++i)
        result << list.Item(i)->Caption();
    return result;
}

// Exactly one invalid part, and it is the last one.
::testing::AssertionResult endsWithOneEmptyPart(const TPartList& list) {
    int invalid = 0;
    for (int i = 0; i < list.ItemCount(); ++i)
        invalid += list.Part(i)->IsValid() ? 0 : 1;
    if (list.ItemCount() == 0 || invalid != 1 || list.Part(list.ItemCount() - 1)->IsValid())
        return ::testing::AssertionFailure()
               << invalid << " invalid parts in " << captions(list).join(", ").toStdString();
    return ::testing::AssertionSuccess();
}

// As the window fills a row: focus the last (empty) part, then set the typed texts on it.
TPart* typeRow(TPartList& list, const QString& caption, const QString& x, const QString& y,
               const QString& count, const QString& orientation = {}) {
    list.SetItemFocused(list.Item(list.ItemCount() - 1));
    TDataComponent* row = list.ItemFocused();
    row->SetPropAsString("Caption", caption);
    if (!orientation.isEmpty())
        row->SetPropAsString("Orientation", orientation);
    row->SetPropAsString("X", x);
    row->SetPropAsString("Y", y);
    row->SetPropAsString("Count", count);
    return static_cast<TPart*>(row);
}

// The section lines of a file written with CR LF.
QStringList readLines(const QString& path) {
    QString text;
    EXPECT_TRUE(ReadTextFile(path, text)) << path.toStdString();
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList sectionOf(const TPartList& list) {
    QStringList lines;
    list.SaveToStrings(lines);
    return lines;
}

class PartTest : public testing::Test {
protected:
    void SetUp() override {
        test::initProgramForTests();
        TApplicationLinks::SetSetup(&setup);
        list = new TPartList(&order);
        ASSERT_TRUE(dir.isValid());
    }
    QString file(const QString& name) const { return dir.filePath(name); }
    bool writeFile(const QString& name, const QByteArray& bytes) const {
        return test::writeFileBytes(file(name), bytes);
    }

    ScopedLocale locale{Locale::czech()};
    TScopedApplicationLinks links;
    TSetup setup;
    QTemporaryDir dir;
    TOrderStandIn order;
    TPartList* list = nullptr; // owned by order; made once the texts are loaded
};

} // namespace

// ---- a single part -------------------------------------------------------------------------------

TEST_F(PartTest, NewPartHasTheDefaultCaptionAndNoSizeOrCount) {
    TPart part;
    EXPECT_EQ(part.Caption(), "Part");
    EXPECT_EQ(part.DefaultCaption(), "Part");
    EXPECT_EQ(part.Count(), 0);
    EXPECT_EQ(part.Orientation(), poNone);
    EXPECT_EQ(part.StoredX(), Currency());
    EXPECT_EQ(part.StoredY(), Currency());
    EXPECT_FALSE(part.IsValid());
    EXPECT_FALSE(part.Modified());
}

struct SizeCase {
    bool imperial;
    const char* entered; // user's unit
    const char* storedMm;
};
inline void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << (c.imperial ? "in " : "mm ") << c.entered;
}

class PartSize : public PartTest, public testing::WithParamInterface<SizeCase> {};

TEST_P(PartSize, SetterIgnoresSizesOutsideTheRecordRange) {
    const SizeCase& c = GetParam();
    ScopedLocale guard(c.imperial ? Locale::unitedStates() : Locale::czech());
    TPart part;
    part.SetX(cur("100")); // 100 mm, or 2540 mm under the U.S. system
    part.SetY(cur("100"));
    part.SetX(cur(c.entered));
    part.SetY(cur(c.entered));
    EXPECT_EQ(part.StoredX(), cur(c.storedMm)) << c.entered;
    EXPECT_EQ(part.StoredY(), cur(c.storedMm)) << c.entered;
}

INSTANTIATE_TEST_SUITE_P(Boundaries, PartSize,
                         testing::Values(SizeCase{false, "0", "100"}, SizeCase{false, "-1", "100"},
                                         SizeCase{false, "0.0001", "0.0001"},
                                         SizeCase{false, "214747.9999", "214747.9999"},
                                         SizeCase{false, "214748", "100"}, SizeCase{true, "1", "25.4"},
                                         SizeCase{true, "0", "2540"},
                                         // 8454.6 in is 214746.84 mm; 8454.7 in would be 214749.38 mm
                                         SizeCase{true, "8454.6", "214746.84"},
                                         SizeCase{true, "8454.7", "2540"}, SizeCase{true, "214748", "2540"}));

TEST_F(PartTest, CountBelowOneBecomesOneAndAnUnchangedValueAnnouncesNothing) {
    TPart part;
    part.SetCount(-5);
    EXPECT_EQ(part.Count(), 1);
    part.SetCount(3);
    EXPECT_EQ(part.Count(), 3);
    part.SetX(cur("10"));
    part.SetModified(false);
    TOrderStandIn watcher;
    auto* watched = new TPart(&watcher);
    watched->Assign(&part);
    watched->SetCount(3);
    watched->SetX(cur("10"));
    watched->SetOrientation(poNone);
    watched->SetCaption("Part");
    EXPECT_TRUE(watcher.log.isEmpty()) << watcher.log.join(", ").toStdString();
    EXPECT_FALSE(watched->Modified());
}

TEST_F(PartTest, SizeChangeAnnouncesAreaThenCircuitAndSetsModified) {
    auto* part = new TPart(&order);
    part->SetX(cur("600"));
    EXPECT_EQ(order.log, (QStringList{"Part.X", "Part.Area", "Part.IsValid", "Part.Circuit"}));
    EXPECT_TRUE(part->Modified());
    order.log.clear();
    part->SetCount(2);
    part->SetCaption("Side");
    EXPECT_EQ(order.log, (QStringList{"Part.Count", "Part.IsValid", "Side.Caption", "Side.IsValid"}));
}

TEST_F(PartTest, AreaAndCircuitInTheUsersUnits) {
    TPart part;
    part.SetX(cur("600"));
    part.SetY(cur("250.5"));
    EXPECT_EQ(part.Area(), cur("0.1503"));
    EXPECT_EQ(part.Circuit(), cur("1.701"));
    EXPECT_EQ(part.GetPropAsString("area"), "0,15 m2");
    EXPECT_EQ(part.GetPropAsString("CIRCUIT"), "1,70 m");
    EXPECT_EQ(part.GetPropAsString("X"), "600,00 mm");
    EXPECT_EQ(part.GetPropAsString("y"), "250,50 mm");

    ScopedLocale us(Locale::unitedStates());
    EXPECT_EQ(part.X(), cur("23.622"));
    EXPECT_EQ(part.Y(), cur("9.8622"));
    EXPECT_EQ(part.Area(), cur("1.6178"));    // 0.1503 m² × 10.7639111056
    EXPECT_EQ(part.Circuit(), cur("5.5807")); // 1.701 m × 3.28084
    EXPECT_EQ(part.GetPropAsString("AREA"), "1.62 ft2");
    EXPECT_EQ(part.GetPropAsString("CIRCUIT"), "5.58 ft");
    EXPECT_EQ(part.GetPropAsString("X"), "23.62 in");
}

TEST_F(PartTest, IsValidNeedsACaptionAndAPositiveAreaTimesCount) {
    TPart part;
    part.SetX(cur("10"));
    part.SetY(cur("10"));
    EXPECT_FALSE(part.IsValid()); // count 0
    part.SetCount(1);
    EXPECT_TRUE(part.IsValid());
    part.SetPropAsString("", "|1||100000|100000|0|1|");
    EXPECT_EQ(part.Caption(), "");
    EXPECT_FALSE(part.IsValid());
}

struct EntryCase {
    const char* key;
    const char* text;
    const char* expected; // GetPropAsString of the key afterwards
};
inline void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << c.key << "=" << c.text;
}

class PartEntry : public PartTest, public testing::WithParamInterface<EntryCase> {};

TEST_P(PartEntry, TextEntryGoesThroughTheSetters) {
    const EntryCase& c = GetParam();
    TPart part;
    part.SetX(cur("100"));
    part.SetY(cur("100"));
    part.SetCount(5);
    part.SetOrientation(poY);
    part.SetPropAsString(c.key, QString::fromUtf8(c.text));
    EXPECT_EQ(part.GetPropAsString(c.key), QString::fromUtf8(c.expected)) << c.key << " " << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    CzechLocale, PartEntry,
    testing::Values(EntryCase{"X", "2,5", "2,50 mm"}, EntryCase{"X", "2.5", "100,00 mm"},
                    EntryCase{"X", "100/3", "33,33 mm"}, EntryCase{"x", "1 200 mm", "1 200,00 mm"},
                    EntryCase{"X", "abc", "100,00 mm"}, EntryCase{"Y", "-20", "100,00 mm"},
                    EntryCase{"Y", "214748", "100,00 mm"}, EntryCase{"COUNT", "2,5", "2"},
                    EntryCase{"Count", "3,5", "4"}, EntryCase{"Count", "0", "1"}, EntryCase{"Count", "", "1"},
                    EntryCase{"ORIENTATION", "x", "X"}, EntryCase{"Orientation", "Y", "Y"},
                    EntryCase{"Orientation", "N", "N"}, EntryCase{"Orientation", "", "N"},
                    EntryCase{"Orientation", "XY", "N"}, EntryCase{"Area", "5", "0,01 m2"},
                    EntryCase{"Circuit", "5", "0,40 m"}, EntryCase{"Caption", "", "Part"},
                    EntryCase{"Caption", "Skříň", "Skříň"}, EntryCase{"ID", "7", "7"}));

TEST_F(PartTest, NumberThatDoesNotConvertThrowsAndKeepsTheValue) {
    TPart part;
    part.SetX(cur("100"));
    part.SetCount(5);
    EXPECT_THROW(part.SetPropAsString("X", "-,+0,000001"), ConversionError);
    EXPECT_THROW(part.SetPropAsString("Y", "4/0"), ConversionError);
    EXPECT_THROW(part.SetPropAsString("Count", "2,5+0,000001"), ConversionError);
    EXPECT_EQ(part.StoredX(), cur("100"));
    EXPECT_EQ(part.StoredY(), Currency());
    EXPECT_EQ(part.Count(), 5);
}

TEST_F(PartTest, RecordFormWritesIdCaptionScaledMillimetresRuleAndCount) {
    TPart part;
    part.SetID(3);
    part.SetCaption("Panel");
    part.SetX(cur("600"));
    part.SetY(cur("250.5"));
    part.SetCount(4);
    EXPECT_EQ(part.GetPropAsString(""), "|3|Panel|6000000|2505000|0|4|");
    {
        ScopedLocale us(Locale::unitedStates()); // files hold millimetres whatever the user's unit
        EXPECT_EQ(part.GetPropAsString(""), "|3|Panel|6000000|2505000|0|4|");
    }
    part.SetOrientation(poY);
    EXPECT_EQ(part.GetPropAsString(""), "|3|Panel|6000000|2505000|2|4|");
}

struct RecordCase {
    const char* record;
    int id;
    const char* caption;
    const char* x;
    const char* y;
    TPartOrientation orientation;
    int count;
};
inline void PrintTo(const RecordCase& c, std::ostream* os) {
    *os << c.record;
}

class PartRecord : public PartTest, public testing::WithParamInterface<RecordCase> {};

TEST_P(PartRecord, ReadingStoresFieldsDirectlyWithoutNotification) {
    const RecordCase& c = GetParam();
    auto* part = new TPart(&order);
    part->SetPropAsString("", QString::fromUtf8(c.record));
    EXPECT_EQ(part->ID(), c.id);
    EXPECT_EQ(part->Caption(), QString::fromUtf8(c.caption));
    EXPECT_EQ(part->StoredX(), cur(c.x));
    EXPECT_EQ(part->StoredY(), cur(c.y));
    EXPECT_EQ(part->Orientation(), c.orientation);
    EXPECT_EQ(part->Count(), c.count);
    EXPECT_TRUE(order.log.isEmpty()) << order.log.join(", ").toStdString();
    EXPECT_FALSE(part->Modified());
}

INSTANTIATE_TEST_SUITE_P(
    Records, PartRecord,
    testing::Values(RecordCase{"|3|Panel|6000000|2505000|0|4|", 3, "Panel", "600", "250.5", poNone, 4},
                    RecordCase{"3|Panel|6000000|2505000|1|4", 3, "Panel", "600", "250.5", poX, 4},
                    RecordCase{"|1||100|100|2|1|", 1, "", "0.01", "0.01", poY, 1},
                    RecordCase{"|x|Cap|abc|12.5|z|one|", 0, "Cap", "0", "0", poNone, 0},
                    RecordCase{"|1|Cap|99999999999|2147483647|0|1|", 1, "Cap", "0", "214748.3647", poNone, 1},
                    // a hand-edited file cannot make two negative sizes a valid part
                    RecordCase{"|1|Cap|-1000000|-1000000|7|-3|", 1, "Cap", "0", "0", poNone, 0},
                    RecordCase{"|5|Only|", 5, "Only", "0", "0", poNone, 0},
                    RecordCase{"", 0, "", "0", "0", poNone, 0}));

TEST_F(PartTest, AssignCopiesSizesCountAndRule) {
    TPart source;
    source.SetPropAsString("", "|4|Door|7000000|3000000|1|2|");
    TPart copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.GetPropAsString(""), "|4|Door|7000000|3000000|1|2|");
}

// ---- the list: empty part, order, totals -----------------------------------------------------------

TEST_F(PartTest, NewListAfterCheckEmptyPartHoldsOneEmptyDefaultPart) {
    setup.SetPartOrientation(poX);
    list->CheckEmptyPart();
    ASSERT_EQ(list->ItemCount(), 1);
    const TPart* part = list->Part(0);
    EXPECT_EQ(part->Caption(), "Part");
    EXPECT_EQ(part->Count(), 1);
    EXPECT_EQ(part->StoredX(), Currency());
    EXPECT_EQ(part->StoredY(), Currency());
    EXPECT_EQ(part->Orientation(), poX); // from the setup
    EXPECT_EQ(part->ID(), 1);
    EXPECT_EQ(list->ItemFocused(), part);
    EXPECT_EQ(list->PartsCount(), 0);
    EXPECT_EQ(list->ValidItemCount(), 0);
    EXPECT_EQ(list->GetPropAsString("AREA"), "0,000 m2");
    list->CheckEmptyPart();
    EXPECT_EQ(list->ItemCount(), 1);
}

TEST_F(PartTest, ListHasUniqueCaptionsAndTheReactionsOfThePartOrder) {
    EXPECT_TRUE(list->ExclusiveCaption());
    EXPECT_TRUE(list->AutoSortingOff());
    EXPECT_EQ(list->CompareFunc(), &TPartList::ComparePartOrder);
    EXPECT_FALSE(list->BulkLoading());
    EXPECT_EQ(list->Caption(), "Parts");
}

TEST_F(PartTest, RowsTypedIntoTheEmptyPartKeepOneEmptyPartAndGetNextCaptions) {
    list->CheckEmptyPart();
    TPart* row = typeRow(*list, "Part 9", "600", "400", "2");
    EXPECT_EQ(captions(*list), (QStringList{"Part 9", "Part 10"}));
    EXPECT_TRUE(endsWithOneEmptyPart(*list));
    EXPECT_EQ(row->Count(), 2);

    typeRow(*list, "P007", "300", "200", "1");
    EXPECT_EQ(captions(*list), (QStringList{"Part 9", "P007", "P8"}));
    EXPECT_TRUE(endsWithOneEmptyPart(*list));

    // Moving the focus onto the empty part puts the completed parts into caption order.
    list->SetItemFocused(list->Item(2));
    EXPECT_EQ(captions(*list), (QStringList{"P007", "Part 9", "P8"}));

    // The same caption again is made unique as soon as it is set.
    row = typeRow(*list, "Part 9", "100", "100", "3");
    EXPECT_EQ(row->Caption(), "Part ");
    EXPECT_TRUE(endsWithOneEmptyPart(*list));
    EXPECT_EQ(list->ItemCount(), 4);
    const QString newCaption = list->Item(3)->Caption();
    EXPECT_EQ(newCaption, "Part 1"); // "Part " is taken, so PrepareItem numbers it

    EXPECT_EQ(list->PartsCount(), 6);
    EXPECT_EQ(list->ValidItemCount(), 3);
    EXPECT_EQ(list->Area(), cur("0.57"));   // 0.24 × 2 + 0.06 + 0.01 × 3
    EXPECT_EQ(list->Circuit(), cur("6.2")); // 2 × 2 + 1 + 0.4 × 3; the empty part has no area
}

TEST_F(PartTest, CompletingAPartRunsTheListReactionsInOrderAndEndsInCheckEmptyPart) {
    list->CheckEmptyPart();
    TDataComponent* row = list->ItemFocused();
    row->SetPropAsString("Caption", "Panel");
    row->SetPropAsString("X", "600");
    order.log.clear();
    row->SetPropAsString("Y", "400");
    const QStringList expected = {
        "Panel.Y",
        "Panel.Area",
        "list.Area",
        "list.ValidItemCount",
        "Panel.IsValid",
        "Panel.Circuit",
        "list.Circuit",
        // CheckEmptyPart: the new part gets its ID, joins the list, and the list totals follow
        "Panel1.ID",
        "Panel1.Owner",
        "list.Items",
        "list.Area",
        "list.ValidItemCount",
        "list.Circuit",
        "list.PartsCount",
    };
    EXPECT_EQ(order.log, expected);
    EXPECT_EQ(captions(*list), (QStringList{"Panel", "Panel1"}));
    EXPECT_EQ(list->ItemFocused(), row); // the focus stays on the typed row
}

TEST_F(PartTest, CountChangeReachesTheListTotals) {
    list->CheckEmptyPart();
    TPart* row = typeRow(*list, "Panel", "600", "400", "1");
    order.log.clear();
    row->SetCount(3);
    EXPECT_EQ(order.log, (QStringList{"Panel.Count", "list.Area", "list.ValidItemCount", "list.Circuit",
                                      "Panel.IsValid"}));
    EXPECT_EQ(list->ItemCount(), 2);
    EXPECT_EQ(list->PartsCount(), 3);
}

TEST_F(PartTest, CaptionChangeSortsOnlyAValidPart) {
    list->CheckEmptyPart();
    typeRow(*list, "Beta", "100", "100", "1");
    typeRow(*list, "Gamma", "100", "100", "1");
    EXPECT_EQ(captions(*list), (QStringList{"Beta", "Gamma", "Gamma1"}));
    list->Part(1)->SetCaption("Alpha");
    EXPECT_EQ(captions(*list), (QStringList{"Alpha", "Beta", "Gamma1"}));
    // The empty part is not valid: renaming it does not move it.
    list->Part(2)->SetCaption("Aaa");
    EXPECT_EQ(captions(*list), (QStringList{"Alpha", "Beta", "Aaa"}));
}

TEST_F(PartTest, FocusOnAValidPartDoesNotSort) {
    list->CheckEmptyPart();
    typeRow(*list, "Beta", "100", "100", "1");
    typeRow(*list, "Alpha", "100", "100", "1");
    EXPECT_EQ(captions(*list), (QStringList{"Beta", "Alpha", "Alpha1"}));
    list->SetItemFocused(list->Item(0));
    EXPECT_EQ(captions(*list), (QStringList{"Beta", "Alpha", "Alpha1"}));
    list->SetItemFocused(list->Item(2));
    EXPECT_EQ(captions(*list), (QStringList{"Alpha", "Beta", "Alpha1"}));
}

TEST_F(PartTest, PartOrderPutsValidPartsByCaptionBeforeInvalidOnes) {
    TPart apple, banana, emptyA, emptyB;
    apple.SetPropAsString("", "|1|apple|1000000|1000000|0|1|");
    banana.SetPropAsString("", "|2|Banana|1000000|1000000|0|1|");
    emptyA.SetPropAsString("", "|3|Aaa|0|1000000|0|1|");
    emptyB.SetPropAsString("", "|4|Zzz|10000|10000|0|0|");
    EXPECT_LT(TPartList::ComparePartOrder(&apple, &banana), 0);
    EXPECT_GT(TPartList::ComparePartOrder(&banana, &apple), 0);
    TPart APPLE;
    APPLE.SetPropAsString("", "|5|APPLE|1000000|1000000|0|1|");
    EXPECT_EQ(TPartList::ComparePartOrder(&apple, &APPLE), 0);
    EXPECT_LT(TPartList::ComparePartOrder(&banana, &emptyA), 0);
    EXPECT_GT(TPartList::ComparePartOrder(&emptyA, &banana), 0);
    EXPECT_EQ(TPartList::ComparePartOrder(&emptyA, &emptyB), 0);
}

struct NextCaptionCase {
    const char* caption;
    const char* next;
};
inline void PrintTo(const NextCaptionCase& c, std::ostream* os) {
    *os << c.caption;
}

class NextCaption : public testing::TestWithParam<NextCaptionCase> {};

TEST_P(NextCaption, IncreasesTheTrailingNumber) {
    EXPECT_EQ(TPartList::NextCaption(QString::fromUtf8(GetParam().caption)),
              QString::fromUtf8(GetParam().next));
}

INSTANTIATE_TEST_SUITE_P(
    Captions, NextCaption,
    testing::Values(NextCaptionCase{"Part 9", "Part 10"}, NextCaptionCase{"P007", "P8"},
                    NextCaptionCase{"Frame", "Frame"}, NextCaptionCase{"", ""}, NextCaptionCase{"99", "100"},
                    NextCaptionCase{"X000", "X1"}, NextCaptionCase{"Díl 1999", "Díl 2000"},
                    NextCaptionCase{"v2.9", "v2.10"}, NextCaptionCase{"Part 9 ", "Part 9 "},
                    // a run too long for any integer type still counts on
                    NextCaptionCase{"P99999999999999999999999", "P100000000000000000000000"}));

TEST_F(PartTest, TotalsIgnoreThePartsWithoutAreaAndFormatPerUnitSystem) {
    const QStringList section = {"Count=4", "Item1=|1|Big|20000000|30000000|0|1000|",
                                 "Item2=|2|Small|6000000|2505000|0|4|", "Item3=|3|NoCaption||0|0|0|5|",
                                 "Item4=|4||1000000|1000000|0|2|"};
    list->LoadFromStrings(&section);
    // Big 6 m² × 1000, Small 0.1503 × 4, the unnamed part 0.01 × 2; the zero-size part adds nothing.
    EXPECT_EQ(list->Area(), cur("6000.6212"));
    EXPECT_EQ(list->GetPropAsString("Area"), "6 000,621 m2");
    EXPECT_EQ(list->PartsCount(), 1006);
    EXPECT_EQ(list->ValidItemCount(), 3); // the part without a caption counts, by its area
    EXPECT_EQ(list->GetPropAsString("PARTSCOUNT"), "1006");
    EXPECT_EQ(list->GetPropAsString("ValidItemCount"), "3");
    EXPECT_EQ(list->GetPropAsString("ItemCount"), "4");
    EXPECT_EQ(list->Circuit(), cur("10007.604")); // 10 × 1000 + 1.701 × 4 + 0.4 × 2
    EXPECT_EQ(list->GetPropAsString("CIRCUIT"), "10 007,60 m");

    ScopedLocale us(Locale::unitedStates());
    EXPECT_EQ(list->GetPropAsString("AREA"), "64,590.19 ft2"); // 64.5835 × 1000 + 1.6178 × 4 + 0.1076 × 2
    EXPECT_EQ(list->GetPropAsString("CIRCUIT"), "32,833.35 ft"); // 32.8084 × 1000 + 5.5807 × 4 + 1.3123 × 2
}

// ---- the "Parts" section ----------------------------------------------------------------------------

TEST_F(PartTest, SectionSkipsPartsWithoutAreaAndLoadsBackWithANewEmptyPart) {
    const QStringList source = {"Count=3", "Item1=|1|Alpha|6000000|2505000|1|4|",
                                "Item2=|2|Beta|0|1000000|0|1|", "Item3=|3|Gamma|1000000|1000000|2|2|"};
    list->LoadFromStrings(&source);
    ASSERT_EQ(list->ItemCount(), 3);
    const QStringList saved = sectionOf(*list);
    EXPECT_EQ(saved, readLines(test::dataPath("parts/PartsSection.txt")));

    TOrderStandIn otherOrder;
    auto* other = new TPartList(&otherOrder);
    other->LoadFromStrings(&saved);
    EXPECT_EQ(captions(*other), (QStringList{"Alpha", "Gamma"}));
    other->CheckEmptyPart();
    EXPECT_EQ(captions(*other), (QStringList{"Alpha", "Gamma", "Alpha1"}));
    EXPECT_TRUE(endsWithOneEmptyPart(*other));
    EXPECT_EQ(other->Part(2)->ID(), 2); // the smallest free ID
}

TEST_F(PartTest, LoadingIsSilentUntilTheEndAndLeavesTheListUnmodified) {
    const QStringList source = {"Count=2", "Item1=|1|Alpha|6000000|2505000|1|4|",
                                "Item2=|2|Beta|1000000|1000000|0|1|"};
    order.log.clear();
    list->LoadFromStrings(&source);
    EXPECT_FALSE(list->Modified());
    EXPECT_FALSE(list->BulkLoading());
    EXPECT_EQ(list->ItemCount(), 2); // no empty part added while loading
    EXPECT_EQ(list->ItemFocused(), list->Item(0));
    ASSERT_FALSE(order.log.isEmpty());
    EXPECT_EQ(order.log.last(), "list."); // anything may have changed
}

TEST_F(PartTest, RepeatedCaptionsInASectionAreNumberedAsWhenInsertedOneByOne) {
    const QStringList source = {"Count=6",
                                "Item1=|1|Door|1000000|1000000|0|1|",
                                "Item2=|2|door|1000000|1000000|0|1|",
                                "Item3=|3|Door1|1000000|1000000|0|1|",
                                "Item4=|4|Door|1000000|1000000|0|1|",
                                "Item5=|5|Shelf 7|1000000|1000000|0|1|",
                                "Item6=|6|Shelf 7|1000000|1000000|0|1|"};
    list->LoadFromStrings(&source);
    EXPECT_EQ(captions(*list), (QStringList{"Door", "door1", "Door2", "Door3", "Shelf 7", "Shelf "}));
}

TEST_F(PartTest, MissingSectionLeavesTheListEmpty) {
    list->CheckEmptyPart();
    list->LoadFromStrings(nullptr);
    EXPECT_EQ(list->ItemCount(), 0);
    EXPECT_FALSE(list->BulkLoading());
}

struct SectionCase {
    const char* name;
    QStringList lines;
    QStringList captions;
};
inline void PrintTo(const SectionCase& c, std::ostream* os) {
    *os << c.name;
}

class PartSection : public PartTest, public testing::WithParamInterface<SectionCase> {};

TEST_P(PartSection, DamagedSectionsLoadWhatIsThere) {
    const SectionCase& c = GetParam();
    const auto start = std::chrono::steady_clock::now();
    list->LoadFromStrings(&c.lines);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(captions(*list), c.captions);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, PartSection,
    testing::Values(
        SectionCase{"NoCount", {"Item1=|1|A|1000000|1000000|0|1|"}, {}},
        SectionCase{"CountNotInteger", {"Count=abc", "Item1=|1|A|1000000|1000000|0|1|"}, {}},
        SectionCase{"CountTooSmall",
                    {"Count=1", "Item1=|1|A|1000000|1000000|0|1|", "Item2=|2|B|1000000|1000000|0|1|"},
                    {"A"}},
        SectionCase{"Gaps",
                    {"Count=9", "Item9=|9|I|1000000|1000000|0|1|", "Item2=|2|B|1000000|1000000|0|1|"},
                    {"B", "I"}},
        SectionCase{"KeysIgnoreCase", {"count=1", "ITEM1=|1|A|1000000|1000000|0|1|"}, {"A"}},
        SectionCase{"FirstKeyWins",
                    {"Count=1", "Item1=|1|A|1000000|1000000|0|1|", "Item1=|2|B|1000000|1000000|0|1|"},
                    {"A"}},
        SectionCase{"NotItemKeys",
                    {"Count=2", "Item01=|1|A|1000000|1000000|0|1|", "Item0=|2|B|1000000|1000000|0|1|",
                     "Item=|3|C|1000000|1000000|0|1|", "Item-1=|4|D|1000000|1000000|0|1|"},
                    {}},
        SectionCase{"EmptyRecordSkipped", {"Count=2", "Item1=", "Item2=|2|B|1000000|1000000|0|1|"}, {"B"}},
        SectionCase{"DuplicateCaptions",
                    {"Count=2", "Item1=|1|A|1000000|1000000|0|1|", "Item2=|2|a|1000000|1000000|0|1|"},
                    {"A", "a1"}},
        SectionCase{"HugeCount", {"Count=2147483647", "Item2147483647=|1|Z|1000000|1000000|0|1|"}, {"Z"}}),
    [](const testing::TestParamInfo<SectionCase>& info) { return info.param.name; });

TEST_F(PartTest, LoadingGivesEveryPartItsOwnId) {
    // A part without an ID must not take the ID of a part read after it, nor may two parts share one.
    const QStringList source = {"Count=5",
                                "Item1=|0|A|1000000|1000000|0|1|",
                                "Item2=|1|B|1000000|1000000|0|1|",
                                "Item3=|x|C|1000000|1000000|0|1|",
                                "Item4=|7|D|1000000|1000000|0|1|",
                                "Item5=|7|E|1000000|1000000|0|1|"};
    list->LoadFromStrings(&source);
    ASSERT_EQ(captions(*list), (QStringList{"A", "B", "C", "D", "E"}));
    QList<int> ids;
    for (int i = 0; i < list->ItemCount(); ++i)
        ids << list->Item(i)->ID();
    EXPECT_EQ(ids, (QList<int>{2, 1, 3, 7, 4}));
}

TEST_F(PartTest, ListCopyKeepsEveryPartsFields) {
    const QStringList source = {"Count=2", "Item1=|1|A|6000000|2505000|1|4|",
                                "Item2=|2|B|1000000|2000000|2|1|"};
    list->LoadFromStrings(&source);
    TPartList copy;
    copy.Assign(list);
    EXPECT_EQ(sectionOf(copy), source);
}

// ---- CSV ----------------------------------------------------------------------------------------------

namespace {

// Bytes of a literal, embedded NULs included.
template <size_t N> QByteArray bytes(const char (&text)[N]) {
    return QByteArray(text, static_cast<qsizetype>(N - 1));
}

// Every part's record form, in list order: the whole state of the list.
QStringList records(const TPartList& list) {
    QStringList result;
    for (int i = 0; i < list.ItemCount(); ++i)
        result << list.Item(i)->GetPropAsString(QString());
    return result;
}

struct Row {
    const char* caption;
    const char* x;
    const char* y;
    const char* count;
    const char* orientation;
};

struct RoundTripCase {
    const char* name;
    bool imperial;
    std::vector<Row> rows;
    const char* golden;
};
inline void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

} // namespace

class PartCSVRoundTrip : public PartTest, public testing::WithParamInterface<RoundTripCase> {};

TEST_P(PartCSVRoundTrip, ExportWritesTheUsersUnitsAndImportReadsThemBack) {
    const RoundTripCase& c = GetParam();
    ScopedLocale guard(c.imperial ? Locale::unitedStates() : Locale::czech());
    list->CheckEmptyPart();
    for (const Row& r : c.rows)
        typeRow(*list, QString::fromUtf8(r.caption), r.x, r.y, r.count, r.orientation);
    list->SetItemFocused(list->Item(list->ItemCount() - 1));

    const QString path = file("parts.csv");
    ASSERT_TRUE(list->SaveAsCSV(path)) << list->ErrorString().toStdString();
    EXPECT_EQ(test::readFileBytes(path),
              test::readFileBytes(test::dataPath(QStringLiteral("parts/") + c.golden)));

    TOrderStandIn otherOrder;
    auto* imported = new TPartList(&otherOrder);
    ASSERT_TRUE(imported->LoadAsCSV(path));
    EXPECT_EQ(records(*imported), records(*list));
    EXPECT_TRUE(imported->ImportNotes().isEmpty());
    EXPECT_TRUE(imported->Modified());
    EXPECT_EQ(imported->ItemFocused(), imported->Item(0));
    EXPECT_TRUE(endsWithOneEmptyPart(*imported));
    const QString again = file("again.csv");
    ASSERT_TRUE(imported->SaveAsCSV(again));
    EXPECT_EQ(test::readFileBytes(again), test::readFileBytes(path));
}

INSTANTIATE_TEST_SUITE_P(Locales, PartCSVRoundTrip,
                         testing::Values(RoundTripCase{"Czech",
                                                       false,
                                                       {{"Panel", "600", "250,5", "4", ""},
                                                        {"Side", "333,3333", "100", "1", "X"},
                                                        {"Skříň", "1200", "80,25", "2", "y"}},
                                                       "czech.csv"},
                                         RoundTripCase{"UnitedStates",
                                                       true,
                                                       {{"Panel", "23.5", "10.25", "4", ""},
                                                        {"Side", "13.1234", "4", "1", "X"},
                                                        {"Skříň", "47.25", "3.16", "2", "y"}},
                                                       "us.csv"}),
                         [](const testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

TEST_F(PartTest, CSVExportedInInchesImportsAsMillimetresUnderTheMetricSystem) {
    const QString path = file("inches.csv");
    {
        ScopedLocale us(Locale::unitedStates());
        list->CheckEmptyPart();
        TPart* board = typeRow(*list, "Board", "100", "50", "1");
        EXPECT_EQ(board->StoredX(), cur("2540"));
        ASSERT_TRUE(list->SaveAsCSV(path));
    }
    EXPECT_EQ(test::readFileBytes(path), QByteArray("Board;100;50;N;1\r\nBoard1;0;0;N;1\r\n"));
    TPartList imported;
    ASSERT_TRUE(imported.LoadAsCSV(path));
    ASSERT_GE(imported.ItemCount(), 1);
    EXPECT_EQ(imported.Part(0)->Caption(), "Board");
    EXPECT_EQ(imported.Part(0)->StoredX(), cur("100"));
    EXPECT_EQ(imported.Part(0)->StoredY(), cur("50"));
}

TEST_F(PartTest, CSVLineOfOnePart) {
    TPart part;
    part.SetPropAsString("", "|3|Panel|6000000|2505000|2|4|");
    EXPECT_EQ(part.GetPropAsString("csv"), "Panel;600;250,5;Y;4");
    ScopedLocale us(Locale::unitedStates());
    EXPECT_EQ(part.GetPropAsString("CSV"), "Panel;23.622;9.8622;Y;4");
}

TEST_F(PartTest, CSVLineSetsEveryFieldThatConvertsThenReportsTheFirstFailure) {
    TPart part;
    try {
        part.SetPropAsString("CSV", "Panel;-,+0,000001;100;x;2");
        ADD_FAILURE() << "no ConversionError";
    } catch (const ConversionError& e) {
        EXPECT_TRUE(e.message().startsWith("X: ")) << e.what();
    }
    EXPECT_EQ(part.GetPropAsString(""), "|0|Panel|0|1000000|1|2|");
}

struct ImportCase {
    const char* name;
    QByteArray content;
    QStringList records; // the list afterwards
    int notes;
};
inline void PrintTo(const ImportCase& c, std::ostream* os) {
    *os << c.name;
}

class PartCSVImport : public PartTest, public testing::WithParamInterface<ImportCase> {};

TEST_P(PartCSVImport, ReadsLinesAsThePartsSay) {
    const ImportCase& c = GetParam();
    ASSERT_TRUE(writeFile("in.csv", c.content));
    ASSERT_TRUE(list->LoadAsCSV(file("in.csv"))) << list->ErrorString().toStdString();
    EXPECT_EQ(records(*list), c.records);
    EXPECT_EQ(list->ImportNotes().size(), c.notes) << list->ImportNotes().join("; ").toStdString();
    EXPECT_FALSE(list->BulkLoading());
    EXPECT_TRUE(list->ErrorString().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    CzechLocale, PartCSVImport,
    testing::Values(
        ImportCase{"OnlyCaption", "OnlyCaption\r\n", {"|1|OnlyCaption|0|0|0|1|"}, 0},
        ImportCase{"Orientations",
                   "A;100;200;x;2\r\nB;100;200;y;1\r\nC;100;200;N;1\r\nD;100;200;;1\r\nE;100;200;Q;1\r\n",
                   {"|1|A|1000000|2000000|1|2|", "|2|B|1000000|2000000|2|1|", "|3|C|1000000|2000000|0|1|",
                    "|4|D|1000000|2000000|0|1|", "|5|E|1000000|2000000|0|1|", "|6|A1|0|0|0|1|"},
                   0},
        ImportCase{"DotUnderCommaLocale", "A;12.5;200;N;1\r\n", {"|1|A|0|2000000|0|1|"}, 0},
        ImportCase{"HeaderLine",
                   "Caption;X;Y;Orientation;Count\r\nPanel;600;400;N;2\r\n",
                   {"|2|Panel|6000000|4000000|0|2|", "|1|Caption|0|0|0|1|"},
                   0},
        ImportCase{
            "TooManyFields", "A;100;200;X;2;extra;9\r\n", {"|1|A|1000000|2000000|1|2|", "|2|A1|0|0|0|1|"}, 0},
        ImportCase{"TooFewFields", "A;100\r\n", {"|1|A|1000000|0|0|1|"}, 0},
        ImportCase{"QuotesAreNotParsed",
                   "\"Panel\";\"600\";\"400\";\"X\";\"2\"\r\n",
                   {"|1|\"Panel\"|6000000|4000000|0|2|", "|2|\"Panel\"1|0|0|0|1|"},
                   0},
        ImportCase{"BarInCaptionShiftsFields", "A|B;100;200;N;1\r\n", {"|1|A|0|1000000|0|1|"}, 0},
        ImportCase{"SemicolonInCaptionShiftsFields", "A;B;100;200;N;1\r\n", {"|1|A|0|1000000|0|1|"}, 0},
        ImportCase{"EmptyCaptionAndEmptyLines",
                   ";100;100;N;1\n\nB;100;100;N;1\rC;100;100;N;1",
                   {"|1|Part|1000000|1000000|0|1|", "|2|B|1000000|1000000|0|1|", "|3|C|1000000|1000000|0|1|",
                    "|4|Part1|0|0|0|1|"},
                   0},
        ImportCase{"ValueErrorsDoNotAbort",
                   "A;-,+0,000001;100;N;3\r\nB;100;100;N;1/0\r\n",
                   {"|2|B|1000000|1000000|0|1|", "|1|A|0|1000000|0|3|"},
                   2},
        ImportCase{"TrailingNulPadding",
                   bytes("A;100;100;N;1\r\n\0\0\0"),
                   {"|1|A|1000000|1000000|0|1|", "|2|A1|0|0|0|1|"},
                   0},
        ImportCase{"Windows1250",
                   "Sk\xf8\xed\xf2;100;100;N;1\r\n",
                   {"|1|Skříň|1000000|1000000|0|1|", "|2|Skříň1|0|0|0|1|"},
                   0},
        ImportCase{"Utf8WithBom",
                   "\xEF\xBB\xBF"
                   "A;100;100;N;1",
                   {"|1|A|1000000|1000000|0|1|", "|2|A1|0|0|0|1|"},
                   0},
        ImportCase{"EmptyFile", "", {"|1|Part|0|0|0|1|"}, 0}),
    [](const testing::TestParamInfo<ImportCase>& info) { return info.param.name; });

TEST_F(PartTest, ImportNotesNameTheLineAndFieldThatDidNotConvert) {
    ASSERT_TRUE(writeFile("in.csv", "A;100;100;N;1\r\nB;-,+0,000001;100;N;3\r\n"));
    ASSERT_TRUE(list->LoadAsCSV(file("in.csv")));
    ASSERT_EQ(list->ImportNotes().size(), 1);
    EXPECT_TRUE(list->ImportNotes().first().startsWith("Line 2, X: "))
        << list->ImportNotes().first().toStdString();
}

TEST_F(PartTest, ImportOfHighBytesWithoutStructureDoesNotCrash) {
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>(0x80 + (i * 37) % 128));
    ASSERT_TRUE(writeFile("garbage.csv", garbage));
    EXPECT_TRUE(list->LoadAsCSV(file("garbage.csv")));
    EXPECT_EQ(list->ItemCount(), 1);
}

struct RefusedCase {
    const char* name;
    QByteArray content; // empty: no file at all
    bool directory;
};
inline void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class PartCSVRefused : public PartTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(PartCSVRefused, UnreadableOrBinaryFileLeavesTheListUnchanged) {
    const RefusedCase& c = GetParam();
    list->CheckEmptyPart();
    typeRow(*list, "Panel", "600", "400", "2");
    const QStringList before = records(*list);
    TDataComponent* focused = list->ItemFocused();
    QString path = file("in.csv");
    if (c.directory) {
        ASSERT_TRUE(QDir(dir.path()).mkdir("in.csv"));
    } else if (!c.content.isEmpty()) {
        ASSERT_TRUE(writeFile("in.csv", c.content));
    }
    EXPECT_FALSE(list->LoadAsCSV(path));
    EXPECT_FALSE(list->ErrorString().isEmpty());
    EXPECT_EQ(records(*list), before);
    EXPECT_EQ(list->ItemFocused(), focused);
    EXPECT_FALSE(list->BulkLoading());
}

INSTANTIATE_TEST_SUITE_P(
    Files, PartCSVRefused,
    testing::Values(RefusedCase{"Missing", {}, false}, RefusedCase{"Directory", {}, true},
                    RefusedCase{"Picture", bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10"), false},
                    RefusedCase{"ControlCharacters", bytes("\x01\x02\x03\x04\x05\x06\x07\x08;\x0e\x0f\n"),
                                false},
                    RefusedCase{"Utf16",
                                bytes("\xFF\xFE"
                                      "A\0;\0"
                                      "1\0;\0"
                                      "1\0\r\0\n\0"),
                                false}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

// What the import took once it takes again after its own export: control characters and line breaks
// in captions do not make the exported file look binary, and a second byte-order mark does not end
// up in the first caption.
TEST_F(PartTest, AcceptedFileIsAcceptedAgainAfterItsOwnExport) {
    const QByteArray inputs[] = {
        bytes("\x01\x02\x03\x04\x05\x06\x07\x08\x0b\x0e;000001;000001;;000001\n"),
        bytes("\xEF\xBB\xBF\xEF\xBB\xBFPanel;600;400;X;2\r\n"),
    };
    for (const QByteArray& input : inputs) {
        ASSERT_TRUE(writeFile("in.csv", input));
        ASSERT_TRUE(list->LoadAsCSV(file("in.csv"))) << list->ErrorString().toStdString();
        ASSERT_TRUE(list->SaveAsCSV(file("out.csv")));
        TPartList again(nullptr);
        ASSERT_TRUE(again.LoadAsCSV(file("out.csv"))) << again.ErrorString().toStdString();
        EXPECT_EQ(again.ItemCount(), list->ItemCount());
        EXPECT_FALSE(again.Part(0)->Caption().contains(QChar(0xFEFF)));
    }
    EXPECT_EQ(list->Part(0)->Caption(), "Panel");
}

TEST_F(PartTest, ExportToAnUnwritablePlaceFails) {
    list->CheckEmptyPart();
    EXPECT_FALSE(list->SaveAsCSV(file("no/such/folder/parts.csv")));
    EXPECT_FALSE(list->ErrorString().isEmpty());
}
