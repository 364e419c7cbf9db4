#include "foundation/ConversionError.h"
#include "foundation/Ini.h"
#include "foundation/Units.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/DimOut.h"
#include "model/Dimension.h"
#include "model/Part.h"
#include "model/PartIn.h"
#include "model/PartOut.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

#include <QStringList>

#include <algorithm>
#include <vector>

using namespace lintaro;

namespace {

Currency mm(double v) {
    return Currency::fromValue(v);
}

// The placed-part scrambling as the stored form defines it, written out independently: the byte at
// 1-based position i is kept when it equals 7 + i, else XORed with it.
QByteArray scrambleForTest(QByteArray bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int k = 7 + int(i) + 1;
        const int code = static_cast<unsigned char>(bytes[i]);
        if (code != k)
            bytes[i] = static_cast<char>((code ^ k) & 0xFF);
    }
    return bytes;
}

QString decodeForTest(const QString& hex) {
    return QString::fromUtf8(scrambleForTest(QByteArray::fromHex(hex.toLatin1())));
}

TCSPartOut* placed(TCSPartOutList& list, int partID, const QString& caption, double ox, double oy, double x,
                   double y, bool rotated = false) {
    auto* p = new TCSPartOut(nullptr);
    p->SetCaption(caption);
    p->SetPartID(partID);
    p->SetPlace(mm(ox), mm(oy), mm(x), mm(y));
    p->SetOriginal(rotated ? mm(y) : mm(x), rotated ? mm(x) : mm(y));
    p->SetIsRotated(rotated);
    list.ItemInsert(p);
    return p;
}

TCSDimOut* rest(TCSDimOutList& list, double ox, double oy, double x, double y, bool recyclable) {
    auto* r = new TCSDimOut(nullptr);
    r->SetPlace(mm(ox), mm(oy), mm(x), mm(y));
    r->SetIsRecyable(recyclable);
    list.ItemInsert(r);
    return r;
}

QString encoded(const QString& line) {
    TCSPartOut p;
    p.SetPropAsString("", line);
    return p.EncodedRecord();
}

TCuttingSheet* sheetOf(double x, double y, int count, TComponent* owner = nullptr) {
    auto* s = new TCuttingSheet(owner);
    s->Dimension()->SetX(mm(x));
    s->Dimension()->SetY(mm(y));
    s->Dimension()->SetCount(count);
    return s;
}

class CalcRecords : public ::testing::Test {
protected:
    void SetUp() override { test::initProgramForTests(); }

    TPart* part(const QString& caption, double x, double y, int count, TPartOrientation o = poNone,
                int id = 0) {
        auto* p = new TPart(&holder);
        p->SetCaption(caption);
        if (x > 0)
            p->SetX(mm(x));
        if (y > 0)
            p->SetY(mm(y));
        p->SetCount(count);
        p->SetOrientation(o);
        if (id)
            p->SetID(id);
        return p;
    }

    ScopedLocale locale{Locale::czech()};
    TScopedApplicationLinks links;
    TDataComponent holder; // owns the order parts the demand refers to
};

// ---- The demand ----------------------------------------------------------------------------------

struct PartRow {
    double x, y;
    TPartOrientation o;
};
struct TypeRow {
    double x, y;
    TCSPartInOrientation o;
    int singles;
};
struct GroupingCase {
    const char* name;
    std::vector<PartRow> parts;
    std::vector<TypeRow> types;
};

TEST_F(CalcRecords, AddPartGroupsBySizeAndGrainRule) {
    const GroupingCase cases[] = {
        {"crossed rules join the first type", {{200, 100, poX}, {100, 200, poY}}, {{200, 100, cspioX, 2}}},
        {"crossed the other way", {{200, 100, poY}, {100, 200, poX}}, {{200, 100, cspioY, 2}}},
        {"exchanged sizes without rule stay apart",
         {{200, 100, poNone}, {100, 200, poNone}},
         {{200, 100, cspioNone, 1}, {100, 200, cspioNone, 1}}},
        {"exchanged sizes, same rule",
         {{200, 100, poX}, {100, 200, poX}},
         {{200, 100, cspioX, 1}, {100, 200, cspioX, 1}}},
        {"same size, other rule",
         {{200, 100, poX}, {200, 100, poY}},
         {{200, 100, cspioX, 1}, {200, 100, cspioY, 1}}},
        {"rule against none",
         {{200, 100, poX}, {100, 200, poNone}},
         {{200, 100, cspioX, 1}, {100, 200, cspioNone, 1}}},
        {"equal parts",
         {{200, 100, poNone}, {200, 100, poNone}, {200, 100, poNone}},
         {{200, 100, cspioNone, 3}}},
        {"a square takes the crossed rule", {{100, 100, poX}, {100, 100, poY}}, {{100, 100, cspioX, 2}}},
        {"invalid parts are ignored",
         {{0, 100, poNone}, {200, 0, poX}, {200, 100, poY}},
         {{200, 100, cspioY, 1}}},
    };
    for (const GroupingCase& c : cases) {
        SCOPED_TRACE(c.name);
        TCSPartInList demand;
        for (const PartRow& p : c.parts)
            demand.AddPart(part("P", p.x, p.y, 2, p.o));
        ASSERT_EQ(demand.ItemCount(), int(c.types.size()));
        for (int i = 0; i < demand.ItemCount(); ++i) {
            const TCSPartIn* t = demand.PartIn(i);
            EXPECT_EQ(t->X(), mm(c.types[i].x)) << i;
            EXPECT_EQ(t->Y(), mm(c.types[i].y)) << i;
            EXPECT_EQ(t->Orientation(), c.types[i].o) << i;
            EXPECT_EQ(t->SingleParts()->ItemCount(), c.types[i].singles) << i;
            EXPECT_EQ(t->ID(), i + 1) << "types receive the smallest free IDs";
            EXPECT_EQ(t->Count(), 2 * c.types[i].singles);
        }
    }
}

TEST_F(CalcRecords, AddPartIgnoresNone) {
    TCSPartInList demand;
    demand.AddPart(nullptr);
    EXPECT_EQ(demand.ItemCount(), 0);
}

TEST_F(CalcRecords, GetPartInByParamsReturnsNoneWithoutMatch) {
    TCSPartInList demand;
    EXPECT_EQ(demand.GetPartInByParams(cspioNone, mm(200), mm(100)), nullptr);
    demand.AddPart(part("A", 200, 100, 1, poX));
    EXPECT_EQ(demand.GetPartInByParams(cspioX, mm(200), mm(100)), demand.PartIn(0));
    EXPECT_EQ(demand.GetPartInByParams(cspioY, mm(100), mm(200)), demand.PartIn(0));
    EXPECT_EQ(demand.GetPartInByParams(cspioX, mm(100), mm(200)), nullptr);
    EXPECT_EQ(demand.GetPartInByParams(cspioNone, mm(200), mm(100)), nullptr);
    EXPECT_EQ(demand.GetPartInByParams(cspioX, mm(200), mm(100.0001)), nullptr);
}

TEST_F(CalcRecords, TypeCountIsTheSumAndFallsAsSinglePartsAreUsed) {
    TCSPartInList demand;
    TPart* a = part("A", 200, 100, 3, poNone, 11);
    TPart* b = part("B", 200, 100, 2, poNone, 12);
    demand.AddPart(a);
    demand.AddPart(b);
    demand.AddPart(part("C", 50, 50, 4, poNone, 13));
    ASSERT_EQ(demand.ItemCount(), 2);
    TCSPartIn* type = demand.PartIn(0);
    EXPECT_EQ(type->Count(), 5);
    EXPECT_EQ(type->Amount(), mm(0.1)); // 5 × 0.02 m²
    EXPECT_EQ(demand.PartsTotalCount(), 9);

    TCSSinglePartIn* first = demand.FindSinglePartByPartID(11);
    ASSERT_NE(first, nullptr);
    first->SetCount(first->Count() - 1);
    EXPECT_EQ(type->Count(), 4);
    first->SetCount(0);
    EXPECT_EQ(type->Count(), 2);
    EXPECT_EQ(type->Amount(), mm(0.04));
    EXPECT_EQ(demand.PartsTotalCount(), 6);
    // The order parts themselves keep their counts.
    EXPECT_EQ(a->Count(), 3);
}

TEST_F(CalcRecords, FindSinglePartByPartID) {
    TCSPartInList demand;
    TPart* a = part("A", 300, 200, 1, poNone, 5);
    TPart* b = part("B", 700, 200, 1, poNone, 9);
    TPart* c = part("C", 300, 200, 1, poNone, 2);
    demand.AddPart(a);
    demand.AddPart(b);
    demand.AddPart(c);
    for (TPart* p : {a, b, c}) {
        TCSSinglePartIn* s = demand.FindSinglePartByPartID(p->ID());
        ASSERT_NE(s, nullptr) << p->ID();
        EXPECT_EQ(s->Part(), p);
    }
    EXPECT_EQ(demand.FindSinglePartByPartID(3), nullptr);
    EXPECT_EQ(demand.FindSinglePartByPartID(0), nullptr);
    EXPECT_EQ(demand.PartIn(0)->SingleParts()->FindByPartID(9), nullptr);
}

TEST_F(CalcRecords, SortingPartTypes) {
    // Every insertion order gives the same result: diagonal first, then count.
    std::vector<int> order = {0, 1, 2};
    do {
        TCSPartInList demand;
        const PartRow rows[] = {{300, 400, poNone}, {400, 300, poNone}, {100, 100, poNone}};
        const int counts[] = {5, 2, 1};
        for (int i : order)
            demand.AddPart(part(QString::number(counts[i]), rows[i].x, rows[i].y, counts[i]));
        demand.Sort();
        ASSERT_EQ(demand.ItemCount(), 3);
        EXPECT_EQ(demand.PartIn(0)->X(), mm(100));
        EXPECT_EQ(demand.PartIn(1)->Count(), 2);
        EXPECT_EQ(demand.PartIn(1)->X(), mm(400));
        EXPECT_EQ(demand.PartIn(2)->Count(), 5);
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(CalcRecords, TwoPartTypesNeverCompareEqual) {
    TCSPartInList demand;
    demand.AddPart(part("A", 300, 400, 2));
    demand.AddPart(part("B", 400, 300, 2));
    const TDataComponent* a = demand.Item(0);
    const TDataComponent* b = demand.Item(1);
    EXPECT_EQ(TCSPartInList::ComparePartTypes(a, a), 0);
    const int ab = TCSPartInList::ComparePartTypes(a, b);
    EXPECT_NE(ab, 0);
    EXPECT_EQ(TCSPartInList::ComparePartTypes(b, a), -ab);
}

TEST_F(CalcRecords, MaxPartInDim) {
    TCSPartInList demand;
    EXPECT_EQ(demand.MaxPartInDim(), Currency());
    demand.AddPart(part("A", 300, 400, 2));
    demand.AddPart(part("B", 1270, 100, 1, poX));
    demand.AddPart(part("C", 500, 600, 1));
    EXPECT_EQ(demand.MaxPartInDim(), mm(1270));
    EXPECT_EQ(demand.PartsTotalCount(), 4);
    ScopedLocale us(Locale::unitedStates());
    EXPECT_EQ(demand.MaxPartInDim(), mm(50)) << "inches under the U.S. system";
    EXPECT_EQ(demand.PartIn(1)->X(), mm(50));
}

TEST_F(CalcRecords, DemandCopiesAreDeepAndKeepThePartReferences) {
    TCSPartInList demand;
    TPart* a = part("A", 300, 200, 3, poX, 4);
    demand.AddPart(a);
    demand.PartIn(0)->SetUsedCounter(7);
    TCSPartInList copy;
    copy.Assign(&demand);
    ASSERT_EQ(copy.ItemCount(), 1);
    TCSPartIn* t = copy.PartIn(0);
    EXPECT_NE(t, demand.PartIn(0));
    EXPECT_EQ(t->ID(), demand.PartIn(0)->ID());
    EXPECT_EQ(t->Orientation(), cspioX);
    EXPECT_EQ(t->UsedCounter(), 7);
    EXPECT_EQ(t->X(), mm(300));
    ASSERT_EQ(t->SingleParts()->ItemCount(), 1);
    EXPECT_EQ(t->SingleParts()->Single(0)->Part(), a);
    t->SingleParts()->Single(0)->SetCount(0);
    EXPECT_EQ(demand.PartIn(0)->Count(), 3);
    EXPECT_EQ(copy.CompareFunc(), &TCSPartInList::ComparePartTypes);
}

// ---- Placed parts and their grouping ------------------------------------------------------------

TEST_F(CalcRecords, AssignFromPartOutListGroupsInOrderOfFirstPlacement) {
    TCSPartOutList parts;
    placed(parts, 3, "Door", 0, 0, 500, 300);
    placed(parts, 1, "Shelf", 504, 0, 200, 800, true);
    placed(parts, 3, "Door", 0, 304, 500, 300);
    placed(parts, 1, "Shelf", 708, 0, 200, 800, true);
    placed(parts, 2, "Top", 0, 608, 900, 100);
    placed(parts, 3, "Door", 912, 0, 300, 500, true);

    TCSPartOutPrintList groups;
    for (int round = 0; round < 2; ++round) { // a second build replaces the first
        groups.AssignFromPartOutList(parts);
        ASSERT_EQ(groups.ItemCount(), 3);
        const int ids[] = {3, 1, 2};
        const int counts[] = {3, 2, 1};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(groups.Group(i)->PartID(), ids[i]);
            EXPECT_EQ(groups.Group(i)->Count(), counts[i]);
        }
        // The ordered size, whatever the rotation of the first placed part.
        EXPECT_EQ(groups.Group(1)->X(), mm(800));
        EXPECT_EQ(groups.Group(1)->Y(), mm(200));
        EXPECT_EQ(groups.FindByPartID(2), groups.Group(2));
        EXPECT_EQ(groups.FindByPartID(4), nullptr);
    }
    TCSPartOutList none;
    groups.AssignFromPartOutList(none);
    EXPECT_EQ(groups.ItemCount(), 0);
}

TEST_F(CalcRecords, PartOutPrintTexts) {
    TCSPartOutList parts;
    placed(parts, 7, "Door", 0, 0, 500, 300);
    placed(parts, 7, "Door", 0, 304, 500, 300);
    placed(parts, 8, "Shelf", 0, 608, 250.5, 120.25);
    TCSPartOutPrintList groups;
    groups.AssignFromPartOutList(parts);
    const TCSPartOutPrint* door = groups.Group(0);
    const TCSPartOutPrint* shelf = groups.Group(1);
    struct Case {
        const TCSPartOutPrint* group;
        const char* key;
        const char* text;
    } cases[] = {
        {door, "CaptionXY", "Door, 500x300 mm"},
        {door, "Count", "2"},
        {door, "PartID", "7"},
        {door, "X", "500 mm"},
        {door, "Y", "300 mm"},
        {door, "Caption", "Door"},
        {shelf, "CaptionXY", "Shelf, 250,5x120,25 mm"},
        {shelf, "X", "250,5 mm"},
        {shelf, "Count", "1"},
        // The keys are compared as written; other spellings go to the base class.
        {door, "captionxy", ""},
        {door, "COUNT", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.group->GetPropAsString(c.key), c.text) << c.key;

    ScopedLocale us(Locale::unitedStates());
    EXPECT_EQ(door->GetPropAsString("CaptionXY"), "Door, 19.685x11.811 in");
    EXPECT_EQ(door->GetPropAsString("Y"), "11.811 in");
}

// ---- Record lines --------------------------------------------------------------------------------

TEST_F(CalcRecords, PartOutRecordLine) {
    TCSPartOutList parts;
    placed(parts, 7, "Door", 504, 0, 300, 500, true);
    TCSPartOut* p = parts.PartOut(0);
    const QString line = "|1|Door|7|5040000|0|3000000|5000000|5000000|3000000|1|";
    EXPECT_EQ(p->GetPropAsString(""), line);
    EXPECT_EQ(p->RecordLine(), line);
    EXPECT_EQ(p->GetPropAsString("caption"), "Door");
    EXPECT_EQ(p->GetPropAsString("Id"), "1");

    TCSPartOut back;
    back.SetPropAsString("", line);
    EXPECT_EQ(back.ID(), 1);
    EXPECT_EQ(back.Caption(), "Door");
    EXPECT_EQ(back.PartID(), 7);
    EXPECT_EQ(back.OX(), mm(504));
    EXPECT_EQ(back.OY(), Currency());
    EXPECT_EQ(back.X(), mm(300));
    EXPECT_EQ(back.Y(), mm(500));
    EXPECT_EQ(back.OriginalX(), mm(500));
    EXPECT_EQ(back.OriginalY(), mm(300));
    EXPECT_TRUE(back.IsRotated());
    EXPECT_EQ(back.RecordLine(), line);
    // Other names go to the base class.
    back.SetPropAsString("Caption", "Top");
    EXPECT_EQ(back.Caption(), "Top");
}

TEST_F(CalcRecords, PartOutRecordReading) {
    struct Case {
        const char* line;
        const char* readBack;
    } cases[] = {
        {"", "|0||0|0|0|0|0|0|0|0|"},
        {"|", "|0||0|0|0|0|0|0|0|0|"},
        {"||", "|0||0|0|0|0|0|0|0|0|"},
        {"3|Door|7", "|3|Door|7|0|0|0|0|0|0|0|"},
        {"|3|Door|7|10000", "|3|Door|7|10000|0|0|0|0|0|0|"},
        {"|x|Door|7.5|-20000|1e4| 5|||||", "|0|Door|0|-20000|0|5|0|0|0|0|"},
        {"|1|A|1|1|1|1|1|1|1|2|", "|1|A|1|1|1|1|1|1|1|0|"}, // a Boolean is true only for "1"
        {"|1|A|1|1|1|1|1|1|1|1|extra|", "|1|A|1|1|1|1|1|1|1|1|"},
        {"|1|A|1|2147483648|1|1|1|1|1|1|", "|1|A|1|0|1|1|1|1|1|1|"}, // beyond 32 bits
    };
    for (const Case& c : cases) {
        TCSPartOut p;
        p.SetPropAsString("", "|9|old|9|9|9|9|9|9|9|1|");
        p.SetPropAsString("", c.line);
        EXPECT_EQ(p.RecordLine(), c.readBack) << c.line;
    }
}

TEST_F(CalcRecords, CaptionWithABarDoesNotReadBack) {
    TCSPartOutList parts;
    TCSPartOut* p = placed(parts, 7, "Door|left", 504, 0, 300, 500);
    TCSPartOut back;
    back.SetPropAsString("", p->RecordLine());
    EXPECT_EQ(back.Caption(), "Door");
    EXPECT_NE(back.PartID(), 7);
    EXPECT_NE(back.RecordLine(), p->RecordLine());
    back.ReadEncodedRecord(p->EncodedRecord());
    EXPECT_EQ(back.Caption(), "Door");
}

TEST_F(CalcRecords, EncodedRecordGolden) {
    TCSPartOutList parts;
    TCSPartOut* p = placed(parts, 3, "Door", 0, 0, 500, 300);
    // Position 41 holds "0", code 48 = 7 + 41: that byte is kept ("30").
    const QString golden =
        "7438764F63627C73236D226F2469232728292A2B2C612D2F101112131459131718191A1B1C511D1F3001020304"
        "49064B";
    EXPECT_EQ(p->EncodedRecord(), golden);
    TCSPartOut back;
    back.ReadEncodedRecord(golden);
    EXPECT_EQ(back.RecordLine(), "|1|Door|3|0|0|5000000|3000000|5000000|3000000|0|");
}

TEST_F(CalcRecords, ScramblingTwiceGivesTheLineBack) {
    const QString captions[] = {
        "Door", "", "Dvířka levá", QString(300, u'W'), "Police 1/2", QString(260, u'ž')};
    for (const QString& caption : captions) {
        TCSPartOutList parts;
        TCSPartOut* p = placed(parts, 12, caption, 1234.5, 0.0001, 214748, 1, true);
        const QString line = p->RecordLine();
        const QString hex = p->EncodedRecord();
        SCOPED_TRACE(line.left(60).toStdString());
        EXPECT_EQ(hex.size(), 2 * line.toUtf8().size());
        EXPECT_TRUE(std::all_of(hex.begin(), hex.end(), [](QChar c) {
            return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
        }));
        EXPECT_NE(hex, QString::fromLatin1(line.toUtf8().toHex().toUpper())) << "the line is scrambled";
        EXPECT_EQ(decodeForTest(hex), line);

        TCSPartOut back;
        back.ReadEncodedRecord(hex);
        EXPECT_EQ(back.RecordLine(), line);
        TCSPartOut odd;
        odd.ReadEncodedRecord(hex + u'7'); // a trailing odd digit is ignored
        EXPECT_EQ(odd.RecordLine(), line);
        TCSPartOut lower;
        lower.ReadEncodedRecord(hex.toLower());
        EXPECT_EQ(lower.RecordLine(), line);
    }
}

TEST_F(CalcRecords, BadHexadecimalValueThrows) {
    const QString bad[] = {"7G", "74 38", "7438-6", "ZZ", "0x74", "74387\u00E9"};
    for (const QString& hex : bad) {
        TCSPartOut p;
        p.SetPropAsString("", "|5|Kept|2|0|0|10000|10000|10000|10000|0|");
        EXPECT_THROW(p.ReadEncodedRecord(hex), ConversionError) << hex.toStdString();
        EXPECT_EQ(p.RecordLine(), "|5|Kept|2|0|0|10000|10000|10000|10000|0|") << "unchanged";
    }
    TCSPartOut empty;
    empty.SetPropAsString("", "|5|Kept|2|0|0|10000|10000|10000|10000|0|");
    empty.ReadEncodedRecord("");
    EXPECT_EQ(empty.RecordLine(), "|0||0|0|0|0|0|0|0|0|");
}

TEST_F(CalcRecords, DimOutRecordLine) {
    TCSDimOutList rests;
    TCSDimOut* r = rest(rests, 504, 0, 1000, 96, true);
    r->SetCaption("R5");
    r->SetDimensionID(5);
    r->SetOrientation(csdooY);
    r->SetIsTooSmall(true);
    const QString line = "|1|R5|5|5040000|0|10000000|960000|2|1|";
    EXPECT_EQ(r->GetPropAsString(""), line);
    EXPECT_EQ(r->GetPropAsString("CAPTION"), "R5");

    TCSDimOut back;
    back.SetPropAsString("", line);
    EXPECT_EQ(back.RecordLine(), line);
    EXPECT_EQ(back.DimensionID(), 5);
    EXPECT_EQ(back.Orientation(), csdooY);
    EXPECT_TRUE(back.IsRecyable());
    EXPECT_FALSE(back.IsTooSmall()) << "not stored";
    EXPECT_EQ(back.X(), mm(1000));
    EXPECT_EQ(back.Y(), mm(96));
    EXPECT_EQ(back.OX(), mm(504));

    struct Case {
        const char* line;
        const char* readBack;
    } cases[] = {
        {"", "|0||0|0|0|0|0|0|0|"},
        {"|", "|0||0|0|0|0|0|0|0|"},
        {"|1|R|1|1|1|1|1|1|1|", "|1|R|1|1|1|1|1|1|1|"},
        {"|1|R|1|1|1|1|1|3|1|", "|1|R|1|1|1|1|1|0|1|"},
        {"|1|R|1|1|1|1|1|-1|true|", "|1|R|1|1|1|1|1|0|0|"},
        {"|1|R|1|1|1|1|1|X|", "|1|R|1|1|1|1|1|0|0|"},
        {"2|R2|0|0|0|5|6", "|2|R2|0|0|0|5|6|0|0|"},
        {"|1|a|b|2|3|4|5|6|1|", "|1|a|0|2|3|4|5|0|1|"}, // the bar shifted the fields
    };
    for (const Case& c : cases) {
        TCSDimOut d;
        d.SetPropAsString("", "|9|old|9|9|9|9|9|2|1|");
        d.SetPropAsString("", c.line);
        EXPECT_EQ(d.RecordLine(), c.readBack) << c.line;
    }
}

TEST_F(CalcRecords, DimOutFromAndToDimension) {
    const struct {
        TDimensionOrientation from;
        TCSDimOutOrientation rest;
    } cases[] = {{doNone, csdooNone}, {doX, csdooX}, {doY, csdooY}};
    for (const auto& c : cases) {
        TDimension d;
        d.SetID(4);
        d.SetX(mm(2800));
        d.SetY(mm(2070.5));
        d.SetOrientation(c.from);
        TCSDimOut r;
        r.SetPlace(mm(3), mm(4), mm(5), mm(6));
        r.AssignFromDimension(d);
        EXPECT_EQ(r.Caption(), d.Caption());
        EXPECT_EQ(r.DimensionID(), 4);
        EXPECT_EQ(r.OX(), Currency());
        EXPECT_EQ(r.OY(), Currency());
        EXPECT_EQ(r.X(), mm(2800));
        EXPECT_EQ(r.Y(), mm(2070.5));
        EXPECT_EQ(r.Orientation(), c.rest);
    }

    for (const auto& c : cases) {
        TDimension d;
        d.SetID(9);
        d.SetCount(2);
        TCSDimOut r;
        r.SetPlace(mm(504), mm(0), mm(1200), mm(650.25));
        r.SetOrientation(c.rest);
        r.AssignToDimension(d, 3);
        EXPECT_TRUE(d.IsRest());
        EXPECT_EQ(d.Count(), 5);
        EXPECT_EQ(d.X(), mm(1200));
        EXPECT_EQ(d.Y(), mm(650.25));
        EXPECT_EQ(d.StoredOrientation(), c.from);
        EXPECT_EQ(r.Caption(), d.Caption());
        EXPECT_EQ(r.DimensionID(), 9);
    }
}

TEST_F(CalcRecords, DimOutListOrderAndRecyclableArea) {
    TCSDimOutList rests;
    rest(rests, 0, 0, 1000, 600, true);  // 0.6 m²
    rest(rests, 0, 0, 499, 2000, true);  // side below 500
    rest(rests, 0, 0, 500, 1000, false); // exactly at the limits: 0.5 m², side 500
    rest(rests, 0, 0, 100, 100, true);
    EXPECT_EQ(rests.StoredMaxArea(), mm(0.998));
    // Squares of 0.6, 0.998 (X 499 < 500 leaves it out) and 0.5; the 0.01 m² rest is too small.
    EXPECT_EQ(rests.GetTotalSqrRecyArea(mm(500), mm(0.5)), mm(0.36 + 0.25));
    EXPECT_EQ(rests.GetTotalSqrRecyArea(mm(0), mm(0)), mm(0.36 + 0.996004 + 0.25 + 0.0001));
    EXPECT_EQ(rests.GetTotalSqrRecyArea(mm(500), mm(0.5001)), mm(0.36));

    rests.Sort();
    const double areas[] = {0.01, 0.5, 0.6, 0.998};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(rests.Rest(i)->StoredArea(), mm(areas[i])) << i;
    TCSDimOutList empty;
    EXPECT_EQ(empty.StoredMaxArea(), Currency());
    EXPECT_EQ(empty.GetTotalSqrRecyArea(mm(0), mm(0)), Currency());
}

TEST_F(CalcRecords, RestLinesRoundTripWithFreshIDs) {
    TCSDimOutList rests;
    rest(rests, 504, 0, 1000, 96, true)->SetID(0);
    rest(rests, 0, 304, 200, 300, true);
    rests.Rest(0)->SetID(0);
    rests.Rest(1)->SetID(0);
    QStringList lines = {"Other=1"};
    rests.SaveToStringsAsRest(lines);
    EXPECT_EQ(lines, QStringList({"Other=1", "RestCount=2", "Rest1=|0||0|5040000|0|10000000|960000|0|1|",
                                  "Rest2=|0||0|0|3040000|2000000|3000000|0|1|"}));
    TCSDimOutList back;
    rest(back, 1, 1, 1, 1, false);
    back.LoadFromStringsAsRest(lines);
    ASSERT_EQ(back.ItemCount(), 2);
    EXPECT_EQ(back.Rest(0)->ID(), 1);
    EXPECT_EQ(back.Rest(1)->ID(), 2);
    EXPECT_EQ(back.Rest(1)->OY(), mm(304));
    back.LoadFromStringsAsRest({"RestCount=x", "Rest1=|1||0|0|0|1|1|0|0|"});
    EXPECT_EQ(back.ItemCount(), 0);
}

// A crafted or damaged count must not make the reader create billions of records.
TEST_F(CalcRecords, HugeStoredCountsCostOnlyTheLinesPresent) {
    TCSDimOutList rests;
    rests.LoadFromStringsAsRest({"RestCount=2147483647", "Rest1=|0||0|0|0|10000|10000|0|1|"});
    EXPECT_EQ(rests.ItemCount(), 1);

    TCuttingSheet sheet;
    sheet.LoadFromStrings({"Dim=|1|10000000|10000000|0|1|0|0|0|0", "PartCount=2147483647",
                           "Part1=" +
                               [] {
                                   TCSPartOut p;
                                   p.SetPropAsString("", "|1|A|1|0|0|10000|10000|10000|10000|0|");
                                   return p.EncodedRecord();
                               }(),
                           "RestCount=2000000000"});
    EXPECT_EQ(sheet.Parts()->ItemCount(), 1);
    EXPECT_EQ(sheet.Rests()->ItemCount(), 0);
}

// ---- Sheet values --------------------------------------------------------------------------------

TEST_F(CalcRecords, SheetExtracts) {
    struct Case {
        const char* name;
        bool restRecyclable;
        bool withRest;
        double netto, brutto;
    } cases[] = {
        {"no rest", false, false, 50, 50},
        {"recyclable rest", true, true, 50, 80},
        {"rest not recyclable", false, true, 50, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCuttingSheet* s = sheetOf(1000, 1000, 1);
        placed(*s->Parts(), 1, "A", 0, 0, 500, 1000);
        if (c.withRest)
            rest(*s->Rests(), 504, 0, 300, 1000, c.restRecyclable);
        EXPECT_EQ(s->ExtractNetto(), mm(c.netto));
        EXPECT_EQ(s->ExtractBrutto(), mm(c.brutto));
        delete s;
    }

    TCuttingSheet full;
    full.Dimension()->SetX(mm(1000));
    full.Dimension()->SetY(mm(500));
    placed(*full.Parts(), 1, "A", 0, 0, 500, 500);
    placed(*full.Parts(), 1, "A", 500, 0, 500, 500);
    EXPECT_EQ(full.ExtractNetto(), mm(100));
    EXPECT_EQ(full.ExtractBrutto(), mm(100));
    EXPECT_EQ(full.GetPropAsString("ExtractNetto"), "100%");

    TCuttingSheet third;
    third.Dimension()->SetX(mm(300));
    third.Dimension()->SetY(mm(1000));
    placed(*third.Parts(), 1, "A", 0, 0, 100, 1000);
    EXPECT_EQ(third.ExtractNetto(), mm(33.3333));
    EXPECT_EQ(third.GetPropAsString("ExtractBrutto"), "33,3333%");

    TCuttingSheet noArea; // only a damaged stored dimension has no area
    placed(*noArea.Parts(), 1, "A", 0, 0, 100, 100);
    EXPECT_EQ(noArea.ExtractNetto(), Currency());
    EXPECT_EQ(noArea.ExtractBrutto(), Currency());
}

// A damaged order may hold the largest sheets with the largest counts: the totals must still come
// out (no overflow) and mean what they say.
TEST_F(CalcRecords, TotalsOfHugeSheetsAndCountsDoNotOverflow) {
    TCuttingSheetList list;
    for (int i = 0; i < 3; ++i) {
        TCuttingSheet* s = sheetOf(214747, 214747, 2147483647);
        placed(*s->Parts(), 1, "A", 0, 0, 214747, 107373.5);
        placed(*s->Parts(), 1, "A", 0, 107373.5, 214747, 107373.5);
        list.ItemInsert(s);
    }
    EXPECT_EQ(list.ExtractNetto(), mm(100));
    EXPECT_EQ(list.ExtractBrutto(), mm(100));
    EXPECT_EQ(list.PartsCount(), std::numeric_limits<int>::max());
    EXPECT_GT(list.PartsArea(), Currency());
}

TEST_F(CalcRecords, PartsLength) {
    TCuttingSheet s;
    EXPECT_EQ(s.StoredPartsLength(), Currency());
    placed(*s.Parts(), 1, "A", 0, 0, 500, 300);
    placed(*s.Parts(), 1, "A", 504, 0, 500, 300);
    placed(*s.Parts(), 2, "B", 0, 304, 800, 300);
    EXPECT_EQ(s.StoredPartsLength(), mm(1004));
    EXPECT_EQ(s.GetPropAsString("PartsLength"), "1 004,00 mm");
    ScopedLocale us(Locale::unitedStates());
    EXPECT_EQ(s.GetPropAsString("PartsLength"), "39.53 in");
}

TEST_F(CalcRecords, SheetTexts) {
    TCuttingSheetList list;
    list.ItemInsert(sheetOf(2800, 2070, 1));
    TCuttingSheet* s = sheetOf(1000, 600.5, 3);
    list.ItemInsert(s);
    placed(*s->Parts(), 7, "Door", 0, 0, 500, 300);
    placed(*s->Parts(), 8, "Shelf", 504, 0, 400, 200);
    placed(*s->Parts(), 7, "Door", 0, 304, 300, 500, true);
    const struct {
        const char* key;
        const char* text;
    } cases[] = {
        {"Count", "3x"},
        {"Index", "2"},
        {"X", "1 000,00 mm"},
        {"Y", "600,50 mm"},
        {"PartsOnSheetCaption", "Door\r\nShelf"},
        {"PartsOnSheetCaptionXY", "Door, 500x300 mm\r\nShelf, 400x200 mm"},
        {"PartsOnSheetCount", "2\r\n1"},
        {"PartsOnSheetX", "500 mm\r\n400 mm"},
        {"PartsOnSheetY", "300 mm\r\n200 mm"},
        {"PartsOnSheetID", ""},
        {"count", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(s->GetPropAsString(c.key), c.text) << c.key;
    EXPECT_EQ(list.Sheet(0)->GetPropAsString("Index"), "1");
    EXPECT_EQ(list.Sheet(0)->GetPropAsString("PartsOnSheetCount"), "");

    s->SetCount(5);
    EXPECT_EQ(s->Dimension()->Count(), 5);
    EXPECT_EQ(s->GetPropAsString("Count"), "5x");
}

TEST_F(CalcRecords, ListValuesWeightedByCount) {
    TCuttingSheetList list;
    EXPECT_EQ(list.ExtractBrutto(), Currency());
    EXPECT_EQ(list.ExtractNetto(), Currency());
    EXPECT_EQ(list.PartsArea(), Currency());
    EXPECT_EQ(list.PartsCount(), 0);

    TCuttingSheet* s = sheetOf(1000, 1000, 3);
    list.ItemInsert(s);
    placed(*s->Parts(), 1, "A", 0, 0, 500, 1000);
    placed(*s->Parts(), 1, "A", 504, 0, 250, 1000);
    rest(*s->Rests(), 758, 0, 242, 1000, true);
    EXPECT_EQ(list.PartsCount(), 6);
    EXPECT_EQ(list.PartsArea(), mm(3 * 0.75));
    EXPECT_EQ(list.ExtractNetto(), s->ExtractNetto());
    EXPECT_EQ(list.ExtractBrutto(), s->ExtractBrutto());
    EXPECT_EQ(list.ExtractBrutto(), mm(99.2));

    // A fully used sheet once and the one above three times: (1 + 3 × 0.75) / 4 m².
    TCuttingSheet* full = sheetOf(1000, 1000, 1);
    list.ItemInsert(full);
    placed(*full->Parts(), 2, "B", 0, 0, 1000, 1000);
    EXPECT_EQ(list.PartsCount(), 7);
    EXPECT_EQ(list.ExtractNetto(), mm(81.25));
    EXPECT_EQ(list.ExtractBrutto(), mm((1 + 3 * 0.992) / 4 * 100));

    ScopedLocale us(Locale::unitedStates());
    // Square feet piece by piece, as the part list totals them (5.382 and 2.691 ft² three times, then
    // 10.7639 ft²), not the converted total of 3.25 m² (34.9827 ft²).
    EXPECT_EQ(list.PartsArea(), mm(3 * (5.382 + 2.691) + 10.7639));
    EXPECT_EQ(list.PartsArea(), SqMToSqFt(mm(0.5)) * 3 + SqMToSqFt(mm(0.25)) * 3 + SqMToSqFt(mm(1)));
}

TEST_F(CalcRecords, SheetOrderByMinActualRest) {
    TCuttingSheetList list;
    const int rests[] = {30, 10, 20};
    for (int r : rests) {
        TCuttingSheet* s = sheetOf(100, 100, 1);
        s->SetMinActualRest(mm(r));
        list.ItemInsert(s);
    }
    EXPECT_EQ(list.Sheet(0)->MinActualRest(), mm(30)) << "no automatic sorting";
    list.Sort();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list.Sheet(i)->MinActualRest(), mm(10 * (i + 1)));
}

// ---- Stored form ---------------------------------------------------------------------------------

// A sheet as a calculation leaves it: a dimension copy, parts, recyclable rests with ID 0, the
// open demand, a block product and a score.
TCuttingSheet* resultSheet(TComponent* owner, TPart* demandPart, int dimID, int count) {
    TCuttingSheet* s = sheetOf(2800, 2070, count, owner);
    s->Dimension()->SetID(dimID);
    s->Dimension()->SetIsRest(dimID == 5);
    placed(*s->Parts(), 1, "Door", 0, 0, 500, 300);
    placed(*s->Parts(), 1, "Door", 504, 0, 500, 300);
    placed(*s->Parts(), 2, "Dvířka", 0, 304, 300, 600.5, true);
    rest(*s->Rests(), 1008, 0, 1792, 2070, true)->SetID(0);
    rest(*s->Rests(), 0, 908.5, 1004, 1161.5, true)->SetID(0);
    s->PartsIn()->AddPart(demandPart);
    s->SetMultiIndex(6);
    s->SetMinActualRest(mm(12.5));
    return s;
}

TEST_F(CalcRecords, SheetSavedAndLoadedBack) {
    TPart* open = part("Open", 300, 300, 2);
    std::unique_ptr<TCuttingSheet> sheet(resultSheet(nullptr, open, 4, 2));
    QStringList saved;
    sheet->SaveToStrings(saved);
    ASSERT_EQ(saved.size(), 8);
    EXPECT_EQ(saved[0], "Dim=|4|28000000|20700000|0|2|0|0|0|0");
    EXPECT_EQ(saved[1], "PartCount=3");
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(saved[2 + i].startsWith(QStringLiteral("Part%1=").arg(i + 1)));
        EXPECT_EQ(decodeForTest(saved[2 + i].section(u'=', 1)), sheet->Parts()->PartOut(i)->RecordLine());
    }
    EXPECT_EQ(saved[5], "RestCount=2");
    EXPECT_EQ(saved[6], "Rest1=|0||0|10080000|0|17920000|20700000|0|1|");

    TCuttingSheet back;
    back.LoadFromStrings(saved);
    QStringList again;
    back.SaveToStrings(again);
    QStringList expected = saved;
    expected.replaceInStrings("Rest1=|0|", "Rest1=|1|").replaceInStrings("Rest2=|0|", "Rest2=|2|");
    EXPECT_EQ(again, expected) << "the same but for the rests' fresh IDs";
    EXPECT_EQ(back.Dimension()->ID(), 4);
    EXPECT_EQ(back.Count(), 2);
    ASSERT_EQ(back.Parts()->ItemCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(back.Parts()->PartOut(i)->RecordLine(), sheet->Parts()->PartOut(i)->RecordLine());
    EXPECT_EQ(back.Parts()->PartOut(2)->Caption(), "Dvířka");
    EXPECT_TRUE(back.Parts()->PartOut(2)->IsRotated());
    ASSERT_EQ(back.Rests()->ItemCount(), 2);
    EXPECT_EQ(back.Rests()->Rest(0)->ID(), 1) << "rests stored with 0 receive fresh IDs";
    EXPECT_EQ(back.Rests()->Rest(1)->ID(), 2);
    EXPECT_EQ(back.PartsIn()->ItemCount(), 0);
    EXPECT_EQ(back.MultiIndex(), 1);
    EXPECT_EQ(back.MinActualRest(), Currency());
    EXPECT_EQ(back.ExtractBrutto(), sheet->ExtractBrutto());

    // Loading into a used sheet replaces its plan.
    back.LoadFromStrings({"Dim=|7|10000000|10000000|0|1|0|0|0|0"});
    EXPECT_EQ(back.Parts()->ItemCount(), 0);
    EXPECT_EQ(back.Rests()->ItemCount(), 0);
    EXPECT_EQ(back.Dimension()->ID(), 7);
}

TEST_F(CalcRecords, SheetCopiesAreDeep) {
    TPart* open = part("Open", 300, 300, 2);
    std::unique_ptr<TCuttingSheet> sheet(resultSheet(nullptr, open, 4, 2));
    TCuttingSheet copy;
    copy.Assign(sheet.get());
    EXPECT_EQ(copy.MultiIndex(), 6);
    EXPECT_EQ(copy.MinActualRest(), mm(12.5));
    EXPECT_EQ(copy.PartsIn()->ItemCount(), 1);
    EXPECT_EQ(copy.PartsIn()->PartIn(0)->SingleParts()->Single(0)->Part(), open);
    QStringList a, b;
    sheet->SaveToStrings(a);
    copy.SaveToStrings(b);
    EXPECT_EQ(a, b);
    copy.Parts()->PartOut(0)->SetPartID(99);
    copy.SetCount(9);
    EXPECT_EQ(sheet->Parts()->PartOut(0)->PartID(), 1);
    EXPECT_EQ(sheet->Count(), 2);
    EXPECT_NE(copy.Dimension(), sheet->Dimension());
}

TEST_F(CalcRecords, StoredSheetWithMissingOrBadCounts) {
    struct Case {
        QStringList lines;
        int parts, rests;
    } cases[] = {
        {{"Dim=|1|10000|10000|0|1|0|0|0|0"}, 0, 0},
        {{"PartCount=abc", "RestCount=", "Rest1=|0||0|0|0|1|1|0|1|"}, 0, 0},
        {{"RestCount=1", "Rest1=|0||0|0|0|10000|10000|0|1|"}, 0, 1},
        {{"PartCount=0", "Part1=00", "RestCount=-3"}, 0, 0},
        // Only the records present are read: a missing or empty key makes no empty record.
        {{"RestCount=3", "Rest1=|0||0|0|0|1|1|0|1|", "Rest3=|0||0|0|0|2|2|0|1|", "Rest4=|0||0|0|0|3|3|0|1|"},
         0,
         2},
        {{"RestCount=2", "Rest1=", "Rest2=|0||0|0|0|1|1|0|1|"}, 0, 1},
        {{"PartCount=5", "Part4=" + encoded("|1|A|1|0|0|1|1|1|1|0|"), "Part2="}, 1, 0},
    };
    for (const Case& c : cases) {
        TCuttingSheet s;
        s.LoadFromStrings(c.lines);
        EXPECT_EQ(s.Parts()->ItemCount(), c.parts) << c.lines.join(';').toStdString();
        EXPECT_EQ(s.Rests()->ItemCount(), c.rests) << c.lines.join(';').toStdString();
    }
}

TEST_F(CalcRecords, NumberedKeysAsAKeyLookupFindsThem) {
    TCuttingSheet s;
    s.LoadFromStrings(
        {"PartCount=3", "part2=" + encoded("|2|second|1|0|0|1|1|1|1|0|"),
         "Part2=" + encoded("|9|later|1|0|0|1|1|1|1|0|"), "Part01=" + encoded("|7|zero|1|0|0|1|1|1|1|0|"),
         "Part1 =" + encoded("|8|blank|1|0|0|1|1|1|1|0|"), "PART1=" + encoded("|1|first|1|0|0|1|1|1|1|0|"),
         "Part3x=" + encoded("|6|x|1|0|0|1|1|1|1|0|")});
    ASSERT_EQ(s.Parts()->ItemCount(), 2);
    EXPECT_EQ(s.Parts()->PartOut(0)->Caption(), "first") << "in number order";
    EXPECT_EQ(s.Parts()->PartOut(1)->Caption(), "second") << "the first line of a key wins";
}

TEST_F(CalcRecords, DamagedPlacedPartStopsTheResultWithAConversionError) {
    TPart* open = part("Open", 300, 300, 2);
    TCuttingSheetList list;
    list.ItemInsert(resultSheet(nullptr, open, 4, 1));
    list.ItemInsert(resultSheet(nullptr, open, 5, 1));
    TINI ini;
    list.SaveToINI(ini);
    WriteValue(ini.Section("SHEET2"), "Part2", "74G8");
    TCuttingSheetList back;
    EXPECT_THROW(back.LoadFromINI(ini), ConversionError);
    EXPECT_EQ(back.ItemCount(), 1) << "the sheets read before stay";
}

TEST_F(CalcRecords, ResultListSectionsReplaceEverySheetSection) {
    TINI ini;
    ini.FromText("[Order]\r\nA=1\r\n[sheet9]\r\nx=1\r\n[SHEETS_OLD]\r\ny=1\r\n[XSHEET]\r\nz=1\r\n[Sheet1]\r\n"
                 "Dim=|9|1|1|0|1|0|0|0|0\r\n[Parts]\r\nCount=0\r\n[SHEETS]\r\nState=|2|x|\r\n");
    TPart* open = part("Open", 300, 300, 2);
    TCuttingSheetList list;
    list.ItemInsert(resultSheet(nullptr, open, 4, 2));
    list.ItemInsert(resultSheet(nullptr, open, 5, 1));
    list.SaveToINI(ini);
    EXPECT_EQ(ini.SectionNames(), QStringList({"Order", "XSHEET", "Parts", "SHEET1", "SHEET2"}));

    TCuttingSheetList empty;
    empty.SaveToINI(ini);
    EXPECT_EQ(ini.SectionNames(), QStringList({"Order", "XSHEET", "Parts"}));
}

TEST_F(CalcRecords, ResultListLoadingStopsAtTheFirstMissingNumber) {
    TINI ini;
    ini.FromText(
        "[SHEET1]\r\nDim=|1|10000000|10000000|0|1|0|0|0|0\r\n[SHEET2]\r\nDim=|2|10000000|10000000|0|3|0|0|0|"
        "0\r\n[SHEET4]\r\nDim=|4|10000000|10000000|0|1|0|0|0|0\r\n[SHEET0]\r\nDim=|0|1|1|0|1|0|0|0|0\r\n");
    TCuttingSheetList list;
    list.ItemInsert(sheetOf(100, 100, 1));
    list.LoadFromINI(ini);
    ASSERT_EQ(list.ItemCount(), 2);
    EXPECT_EQ(list.Sheet(0)->Dimension()->ID(), 1);
    EXPECT_EQ(list.Sheet(1)->Count(), 3);
    EXPECT_EQ(list.ItemFocused(), list.Item(0));

    TINI none;
    list.LoadFromINI(none);
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_EQ(list.ItemFocused(), nullptr);
}

TEST_F(CalcRecords, ResultListGoldenFile) {
    TPart* open = part("Open", 300, 300, 2);
    TCuttingSheetList list;
    list.ItemInsert(resultSheet(nullptr, open, 4, 2));
    TCuttingSheet* second = sheetOf(1200, 800, 1);
    second->Dimension()->SetID(5);
    second->Dimension()->SetIsRest(true);
    placed(*second->Parts(), 3, "Top", 0, 0, 1200, 795);
    list.ItemInsert(second);
    TINI ini;
    list.SaveToINI(ini);
    const QByteArray golden = test::readFileBytes(test::dataPath("sheets/result.ini"));
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(ini.ToBytes(), golden);

    TINI stored;
    stored.LoadFromBytes(golden);
    TCuttingSheetList back;
    back.LoadFromINI(stored);
    ASSERT_EQ(back.ItemCount(), 2);
    EXPECT_EQ(back.PartsCount(), list.PartsCount());
    EXPECT_EQ(back.ExtractBrutto(), list.ExtractBrutto());
    TINI again;
    back.SaveToINI(again);
    QString expected = QString::fromUtf8(golden);
    expected.replace("Rest1=|0|", "Rest1=|1|").replace("Rest2=|0|", "Rest2=|2|");
    EXPECT_EQ(again.ToText(), expected) << "the same but for the rests' fresh IDs";
}

} // namespace
