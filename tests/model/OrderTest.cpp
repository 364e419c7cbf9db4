#include "model/Order.h"

#include "foundation/ConversionError.h"
#include "foundation/Ini.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/OrderItem.h"
#include "model/Part.h"
#include "model/PartOut.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <random>
#include <utility>
#include <vector>

using namespace lintaro;

namespace {

// A decimal text with "." as separator, whatever the locale in force.
Currency cur(const char* text) {
    ScopedLocale guard(Locale::unitedStates());
    bool ok = false;
    const Currency c = Currency::fromText(QString::fromLatin1(text), &ok);
    EXPECT_TRUE(ok) << text;
    return c;
}

QString savedText(const TOrder& order) {
    TINI ini;
    order.SaveToINI(ini);
    return ini.ToText();
}

// Fills the list's empty last part, as the user does; the list then appends a new empty one.
TPart* addPart(TPartList* parts, const QString& caption, const char* x, const char* y, int count) {
    parts->CheckEmptyPart();
    TPart* part = parts->Part(parts->ItemCount() - 1);
    part->SetCaption(caption);
    part->SetX(cur(x));
    part->SetY(cur(y));
    part->SetCount(count);
    return part;
}

// A result sheet of X × Y mm, used `count` times, with one placed part of px × py mm at the origin
// and one rest beside it.
TCuttingSheet* addSheet(TSheets* sheets, const char* x, const char* y, int count, const char* px,
                        const char* py, int partID) {
    auto* sheet = new TCuttingSheet(nullptr);
    sheet->Dimension()->SetX(cur(x));
    sheet->Dimension()->SetY(cur(y));
    sheet->Dimension()->SetCount(count);
    auto* placed = new TCSPartOut(nullptr);
    placed->SetPartID(partID);
    placed->SetOriginal(cur(px), cur(py));
    placed->SetPlace(Currency(), Currency(), cur(px), cur(py));
    sheet->Parts()->ItemInsert(placed);
    auto* rest = new TCSDimOut(nullptr);
    rest->SetPlace(Currency(), cur(py), cur(px), cur(y) - cur(py));
    rest->SetIsTooSmall(true);
    sheet->Rests()->ItemInsert(rest);
    sheets->CuttingSheets()->ItemInsert(sheet);
    return sheet;
}

// Texts are loaded before the fixture's objects take their default captions from them.
struct TProgramForTests {
    TProgramForTests() { test::initProgramForTests(); }
};

struct TRefresh {
    TComponent* source;
    QString prop;
};

class OrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        TApplicationLinks::SetSetup(&setup);
        setup.SetOrderPrefix(QStringLiteral("ZAK-"));
        setup.SetOrderNumber(42);
        setup.SetOrderAddAutoPartsArea(false);
        setup.SetOrderAddAutoPartsCircuit(false);
        setup.SetOrderNote1(QString());
        setup.SetOrderNote2(QString());
    }

    // Registers the order and the material as the application's ones.
    void linkOrderAndMaterial() {
        TApplicationLinks::SetOrder(&order);
        TApplicationLinks::SetMaterial(&material);
    }

    void recordRefreshes() {
        TApplicationLinks::SetControlsRefresh([this](TComponent* source, const QString& prop) {
            refreshes.push_back({source, prop});
        });
    }

    QStringList refreshedProps(TComponent* source) const {
        QStringList props;
        for (const TRefresh& r : refreshes)
            if (r.source == source && r.prop != QLatin1String("Modified"))
                props << r.prop;
        return props;
    }

    // The small order of the golden file: customer, notes with line breaks, items, parts, a result of
    // two sheets with a report and the material snapshot.
    void buildSmallOrder(TOrder& o) {
        o.CreateNew();
        o.SetPropAsString(QStringLiteral("DateCreate"), QStringLiteral("15.03.2024"));
        o.SetNote1(QStringLiteral("Delivery by van.\r\nCall before noon."));
        o.SetNote2(QStringLiteral("Edges sanded"));
        o.SetAddAutoPartsArea(true);
        TAddress* c = o.Customer();
        c->SetCaption(QStringLiteral("Truhlářství Novák"));
        c->SetStreet(QStringLiteral("Dlouhá 12"));
        c->SetZIP(QStringLiteral("110 00"));
        c->SetTown(QStringLiteral("Praha"));
        c->SetNote(QStringLiteral("Gate code 1234\r\nSecond floor"));

        addPart(o.Parts(), QStringLiteral("Door"), "1000", "800", 2);
        addPart(o.Parts(), QStringLiteral("Shelf"), "600", "300", 4);

        TOrderItemList* items = o.OrderItems();
        TOrderItem* cutting = items->OrderItem(1);
        cutting->SetCaption(QStringLiteral("Cutting"));
        cutting->SetVATRate(vrLow);
        cutting->SetAmount(cur("3"));
        cutting->SetPrice(cur("3.3333"));
        cutting->SetMU(QStringLiteral("h"));
        cutting->SetChecked(true);
        TOrderItem* transport = items->OrderItem(2);
        transport->SetCaption(QStringLiteral("Transport"));
        transport->SetAmount(cur("1"));
        transport->SetPriceTotal(cur("450"));

        TSheets* s = o.Sheets();
        addSheet(s, "1000", "1000", 2, "1000", "800", 1);
        addSheet(s, "2000", "600", 1, "600", "300", 2);
        s->AppendReportLine(QStringLiteral("Calculation started"));
        s->AppendReportLine(QString());
        s->AppendReportLine(QStringLiteral("Calculation finished"));
        s->SetPartsInArea(cur("2.32"));
        s->SetPartsInCount(6);
        s->SetState(ssCalculatedOK);
        s->Material()->SetCaption(QStringLiteral("Oak 18"));
        s->Material()->SetPrice(cur("850"));
        s->Material()->SetCutWidth(cur("4"));
    }

    TProgramForTests program;
    ScopedLocale locale{Locale::czech()};
    TScopedApplicationLinks links;
    TSetup setup;
    TMaterial material;
    TOrder order;
    std::vector<TRefresh> refreshes;
};

// ---- Order items ---------------------------------------------------------------------------------

struct TItemCase {
    const char* name;
    const char* amount; // set first
    const char* price;  // then the price, when given
    const char* total;  // then the total, when given
    const char* expectPrice;
    const char* expectTotal;
};

class OrderItemRules : public OrderTest, public ::testing::WithParamInterface<TItemCase> {};

TEST_P(OrderItemRules, PriceAmountAndTotal) {
    const TItemCase& c = GetParam();
    TOrderItem item;
    item.SetAmount(cur(c.amount));
    if (*c.price)
        item.SetPrice(cur(c.price));
    if (*c.total)
        item.SetPriceTotal(cur(c.total));
    EXPECT_EQ(item.Price(), cur(c.expectPrice));
    EXPECT_EQ(item.PriceTotal(), cur(c.expectTotal));
}

INSTANTIATE_TEST_SUITE_P(
    Order, OrderItemRules,
    ::testing::Values(TItemCase{"TotalFollowsPrice", "3", "3.3333", "", "3.3333", "9.9999"},
                      TItemCase{"PriceFollowsTotal", "3", "", "10", "3.3333", "10"},
                      TItemCase{"TotalWithoutAmount", "0", "5", "10", "0", "10"},
                      TItemCase{"PriceAtLimitRefused", "1", "214748", "", "0", "0"},
                      TItemCase{"PriceBelowLimit", "1", "214747.9999", "", "214747.9999", "214747.9999"},
                      TItemCase{"NegativePriceRefused", "1", "-1", "", "0", "0"},
                      TItemCase{"TotalAtLimitRefused", "2", "7", "214748", "7", "14"},
                      TItemCase{"NegativeAmount", "-2", "7", "", "7", "-14"},
                      TItemCase{"HugeAmountNotLimited", "1000000", "200000", "", "200000", "200000000000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OrderTest, ItemTextsUnderTheCzechLocale) {
    TOrderItem item;
    item.SetAmount(cur("2.5"));
    item.SetPrice(cur("1234.5"));
    item.SetVATRate(vrHigh);
    EXPECT_EQ(item.GetPropAsString(QStringLiteral("Amount")), QStringLiteral("2,5"));
    EXPECT_EQ(item.GetPropAsString(QStringLiteral("PRICE")), QStringLiteral("1 234,50 Kč"));
    EXPECT_EQ(item.GetPropAsString(QStringLiteral("PriceTotal")), QStringLiteral("3 086,25 Kč"));
    EXPECT_EQ(item.GetPropAsString(QStringLiteral("VATRate")), QStringLiteral("19%"));
    setup.Supplier()->SetIsNotVATPayer(true);
    EXPECT_EQ(item.GetPropAsString(QStringLiteral("VATRate")), QStringLiteral("---"));
}

TEST_F(OrderTest, ItemNumberAndRateEntry) {
    TOrderItem item;
    item.SetPropAsString(QStringLiteral("amount"), QStringLiteral("2*3"));
    EXPECT_EQ(item.Amount(), cur("6"));
    item.SetPropAsString(QStringLiteral("Price"), QStringLiteral("12,5 Kč"));
    EXPECT_EQ(item.Price(), cur("12.5"));
    EXPECT_EQ(item.PriceTotal(), cur("75"));
    EXPECT_THROW(item.SetPropAsString(QStringLiteral("Price"), QStringLiteral("1/0")), ConversionError);
    EXPECT_EQ(item.Price(), cur("12.5"));

    // The text the getter shows maps back to the same rate; anything else is the high rate.
    const std::vector<std::pair<const char*, TVATRate>> rates = {
        {"0%", vrZero}, {"5%", vrLow}, {"19%", vrHigh}, {"7", vrHigh}, {"abc", vrHigh}, {"5,5", vrHigh}};
    for (const auto& [text, rate] : rates) {
        item.SetVATRate(rate == vrZero ? vrHigh : vrZero);
        item.SetPropAsString(QStringLiteral("VATRATE"), QString::fromUtf8(text));
        EXPECT_EQ(item.VATRate(), rate) << text;
    }
}

TEST_F(OrderTest, ItemSettersAnnounceOnlyChanges) {
    TOrderItem item;
    QStringList announced;
    struct TWatch : TSimpleComponent {
        QStringList* log;
        explicit TWatch(QStringList* l) : log(l) {}
        void DataChanged(TComponent*, TComponent*, const QString& prop) override {
            if (prop != QLatin1String("Modified"))
                *log << prop;
        }
    };
    TWatch* watch = new TWatch(&announced);
    item.InsertComponent(watch);
    item.SetAmount(cur("3"));
    EXPECT_EQ(announced, (QStringList{"Amount", "PriceTotal"}));
    announced.clear();
    item.SetPriceTotal(cur("10"));
    EXPECT_EQ(announced, (QStringList{"PriceTotal", "Price"}));
    announced.clear();
    item.SetModified(false);
    announced.clear();
    item.SetPriceTotal(cur("10"));
    item.SetPrice(cur("300000"));
    EXPECT_TRUE(announced.isEmpty());
    EXPECT_FALSE(item.Modified());
}

TEST_F(OrderTest, ItemRecordRoundTripAndFallbacks) {
    TOrderItem item;
    item.SetPropAsString(QString(), QStringLiteral("|7|Cutting|1|125000|1|30000|h|375000|"));
    EXPECT_EQ(item.ID(), 7);
    EXPECT_EQ(item.Caption(), QStringLiteral("Cutting"));
    EXPECT_TRUE(item.Checked());
    EXPECT_EQ(item.Price(), cur("12.5"));
    EXPECT_EQ(item.VATRate(), vrLow);
    EXPECT_EQ(item.Amount(), cur("3"));
    EXPECT_EQ(item.MU(), QStringLiteral("h"));
    EXPECT_EQ(item.PriceTotal(), cur("37.5"));
    EXPECT_EQ(item.GetPropAsString(QString()), QStringLiteral("|7|Cutting|1|125000|1|30000|h|375000|"));

    struct TRecordCase {
        const char* record;
        int id;
        const char* price;
        TVATRate rate;
        const char* amount;
        const char* total;
    };
    const std::vector<TRecordCase> cases = {
        // no bars around, a rate beyond the classes, a total that does not parse: price × amount
        {"3|x|0|20000|5|15000|m|abc", 3, "2", vrHigh, "1.5", "3"},
        {"|x|y|0|zz|-1|zz||", 0, "0", vrHigh, "0", "0"},
        {"", 0, "0", vrZero, "0", "0"},
        // beyond 64 bits: falls back; beyond 32 bits: held in full
        {"|1|a|0|99999999999999999999|0|99999999999|m||", 1, "0", vrZero, "9999999.9999", "0"},
    };
    for (const TRecordCase& c : cases) {
        TOrderItem r;
        r.SetPropAsString(QString(), QString::fromLatin1(c.record));
        EXPECT_EQ(r.ID(), c.id) << c.record;
        EXPECT_EQ(r.Price(), cur(c.price)) << c.record;
        EXPECT_EQ(r.VATRate(), c.rate) << c.record;
        EXPECT_EQ(r.Amount(), cur(c.amount)) << c.record;
        EXPECT_EQ(r.PriceTotal(), cur(c.total)) << c.record;
    }

    // Amounts and totals beyond the 32-bit form read back unchanged.
    TOrderItem big;
    big.SetAmount(cur("1000000"));
    big.SetPrice(cur("200000"));
    TOrderItem back;
    back.SetPropAsString(QString(), big.GetPropAsString(QString()));
    EXPECT_EQ(back.Amount(), big.Amount());
    EXPECT_EQ(back.PriceTotal(), big.PriceTotal());

    // A bar or a line break in a text would shift the fields or split the line.
    TOrderItem odd;
    odd.SetCaption(QStringLiteral("A|B\r\nC"));
    odd.SetMU(QStringLiteral("m|2"));
    odd.SetPrice(cur("5"));
    const QString record = odd.GetPropAsString(QString());
    EXPECT_EQ(record, QStringLiteral("|0|A¦B¶C|0|50000|0|0|m¦2|0|"));
    TOrderItem oddBack;
    oddBack.SetPropAsString(QString(), record);
    EXPECT_EQ(oddBack.Price(), cur("5"));
}

TEST_F(OrderTest, ItemSectionCountPadsAndSkips) {
    TINI ini;
    ini.FromText(QStringLiteral("[OrderItems]\r\nCount=7\r\nItem1=|1|a|0|10000|2|10000||10000|\r\n"
                                "Item2=|2|b|0|20000|2|10000||20000|\r\nitem3=|3|c|0|30000|2|10000||30000|\r\n"
                                "Item9=|9|late|0|0|0|0||0|\r\n"));
    order.OrderItems()->LoadFromStrings(ini.FindSection(QStringLiteral("OrderItems")));
    ASSERT_EQ(order.OrderItems()->ItemCount(), 3);
    EXPECT_EQ(order.OrderItems()->ItemFocused(), order.OrderItems()->Item(0));
    order.OrderItems()->CheckEmptyItems();
    ASSERT_EQ(order.OrderItems()->ItemCount(), TOrderItemList::MinItemCount);
    EXPECT_EQ(order.OrderItems()->OrderItem(2)->Caption(), QStringLiteral("c"));
    EXPECT_EQ(order.OrderItems()->OrderItem(4)->VATRate(), vrHigh);
    EXPECT_EQ(order.OrderItems()->OrderItem(4)->ID(), 5);

    QStringList lines;
    order.OrderItems()->SaveToStrings(lines);
    EXPECT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("Count=5"));
    EXPECT_EQ(lines[5], QStringLiteral("Item5=|5||0|0|2|0||0|"));

    // A huge count costs nothing; repeated IDs are made unique.
    TINI huge;
    huge.FromText(QStringLiteral("[OrderItems]\r\nCount=2147483647\r\nItem1=|4|a|0|0|0|0||0|\r\n"
                                 "Item2=|4|b|0|0|0|0||0|\r\nItem3=|0|c|0|0|0|0||0|\r\n"));
    order.OrderItems()->LoadFromStrings(huge.FindSection(QStringLiteral("OrderItems")));
    ASSERT_EQ(order.OrderItems()->ItemCount(), 3);
    EXPECT_EQ(order.OrderItems()->Item(0)->ID(), 4);
    EXPECT_EQ(order.OrderItems()->Item(1)->ID(), 1);
    EXPECT_EQ(order.OrderItems()->Item(2)->ID(), 2);
}

// ---- Totals and VAT ------------------------------------------------------------------------------

TEST_F(OrderTest, TotalsWithAndWithoutVAT) {
    TOrderItemList* items = order.OrderItems();
    order.CreateNew();
    items->OrderItem(0)->SetVATRate(vrHigh);
    items->OrderItem(0)->SetAmount(cur("1"));
    items->OrderItem(0)->SetPrice(cur("100"));
    items->OrderItem(1)->SetVATRate(vrLow);
    items->OrderItem(1)->SetAmount(cur("3"));
    items->OrderItem(1)->SetPrice(cur("3.3333"));
    items->OrderItem(2)->SetVATRate(vrZero);
    items->OrderItem(2)->SetAmount(cur("1"));
    items->OrderItem(2)->SetPrice(cur("10"));
    // Every item counts, whatever its caption or mark.
    items->OrderItem(2)->SetChecked(true);

    // Prices with VAT: 100/1.19 = 84.0336, 9.9999/1.05 = 9.5237, 10/1 = 10.
    EXPECT_EQ(order.PriceTotalwVAT(), cur("119.9999"));
    EXPECT_EQ(order.PriceTotalwoVAT(), cur("103.5573"));
    EXPECT_EQ(order.GetPropAsString(QStringLiteral("PriceTotalwVAT")), QStringLiteral("120,00 Kč"));

    order.SetVATMode(vmWithOutVAT);
    EXPECT_EQ(order.PriceTotalwoVAT(), cur("119.9999"));
    // 119 + 10.499895 → 129.4999 (rounded after the addition) + 10
    EXPECT_EQ(order.PriceTotalwVAT(), cur("139.4999"));

    // A supplier who is not a VAT payer: the mode reads with VAT, the net total still divides.
    setup.Supplier()->SetIsNotVATPayer(true);
    EXPECT_EQ(order.VATMode(), vmWithVAT);
    EXPECT_EQ(order.StoredVATMode(), vmWithOutVAT);
    EXPECT_EQ(order.GetPropAsString(QStringLiteral("VATMODE")), QStringLiteral("0"));
    EXPECT_EQ(order.PriceTotalwoVAT(), cur("103.5573"));
    EXPECT_EQ(order.PriceTotalwVAT(), cur("119.9999"));
}

TEST_F(OrderTest, VATModeEntryClamps) {
    const std::vector<std::pair<const char*, TVATMode>> cases = {
        {"1", vmWithOutVAT}, {"0", vmWithVAT}, {"7", vmWithOutVAT},       {"-3", vmWithVAT},
        {"x", vmWithVAT},    {"", vmWithVAT},  {"99999999999", vmWithVAT}};
    for (const auto& [text, mode] : cases) {
        order.SetVATMode(mode == vmWithVAT ? vmWithOutVAT : vmWithVAT);
        order.SetPropAsString(QStringLiteral("VatMode"), QString::fromLatin1(text));
        EXPECT_EQ(order.StoredVATMode(), mode) << text;
    }
}

TEST_F(OrderTest, ChangeVATModeConvertsPricesAndTotals) {
    order.CreateNew();
    TOrderItem* item = order.OrderItems()->OrderItem(0);
    item->SetVATRate(vrHigh);
    item->SetAmount(cur("3"));
    item->SetPrice(cur("10"));
    linkOrderAndMaterial();
    recordRefreshes();

    order.ChangeVATMode(vmWithVAT); // already in effect
    EXPECT_EQ(item->Price(), cur("10"));
    EXPECT_TRUE(refreshes.empty());

    order.ChangeVATMode(vmWithOutVAT);
    EXPECT_EQ(order.StoredVATMode(), vmWithOutVAT);
    EXPECT_EQ(item->Price(), cur("8.4034"));
    EXPECT_EQ(item->PriceTotal(), cur("25.2101")); // converted on its own, not 3 × 8.4034
    EXPECT_TRUE(refreshedProps(&order).contains(QStringLiteral("PriceTotalwVAT")));

    order.ChangeVATMode(vmWithVAT);
    EXPECT_EQ(item->Price(), cur("10.0000"));
    EXPECT_EQ(item->PriceTotal(), cur("30.0000"));
    item->SetPrice(cur("0.0001"));
    order.ChangeVATMode(vmWithOutVAT);
    order.ChangeVATMode(vmWithVAT);
    EXPECT_EQ(item->Price(), cur("0.0001")); // 0.0001 / 1.19 → 0.0001 → 0.0001
    item->SetPrice(cur("0.0003"));
    order.ChangeVATMode(vmWithOutVAT);
    order.ChangeVATMode(vmWithVAT);
    EXPECT_EQ(item->Price(), cur("0.0004")); // 0.0003 / 1.19 → 0.0003 × 1.19 → 0.0004
}

// ---- Automatic items -----------------------------------------------------------------------------

TEST_F(OrderTest, AutoAreaItemWithWasteFactor) {
    material.SetCaption(QStringLiteral("Oak"));
    material.SetVATRate(vrHigh);
    material.SetPrice(cur("119"));
    linkOrderAndMaterial();
    order.CreateNew();
    order.SetAddAutoPartsArea(true);
    addPart(order.Parts(), QStringLiteral("Board"), "1000", "1000", 10); // 10 m²
    TOrderItem* area = order.OrderItems()->OrderItem(0);
    EXPECT_EQ(area->Caption(), QStringLiteral("Oak"));
    EXPECT_EQ(area->Amount(), cur("10"));
    EXPECT_EQ(area->MU(), QStringLiteral("m2"));
    EXPECT_EQ(area->Price(), cur("119"));
    EXPECT_EQ(area->VATRate(), vrHigh);

    // A result with a gross yield of 80 %.
    TSheets* sheets = order.Sheets();
    addSheet(sheets, "1000", "1000", 1, "1000", "800", 1);
    sheets->CuttingSheets()->Announce(QString());
    ASSERT_EQ(sheets->ExtractBrutto(), cur("80"));
    sheets->SetState(ssCalculatedOK);
    EXPECT_EQ(area->Amount(), cur("10")); // AddExtractToOrder off
    sheets->SetAddExtractToOrder(true);
    EXPECT_EQ(area->Amount(), cur("12"));
    sheets->SetState(ssCalculatedError);
    EXPECT_EQ(area->Amount(), cur("10"));
    sheets->SetState(ssCalculatedOK);
    EXPECT_EQ(area->Amount(), cur("12"));

    // The material's price and the order's mode reach the item.
    material.SetPrice(cur("238"));
    EXPECT_EQ(area->Price(), cur("238"));
    order.SetVATMode(vmWithOutVAT);
    order.UpdateAutoItems();
    EXPECT_EQ(area->Price(), cur("200"));
    // Turning the flag off leaves the item as it is.
    order.SetAddAutoPartsArea(false);
    material.SetPrice(cur("1"));
    EXPECT_EQ(area->Price(), cur("200"));
}

TEST_F(OrderTest, AutoCircuitItemWithoutMaterial) {
    order.CreateNew();
    order.OrderItems()->OrderItem(1)->SetPrice(cur("5"));
    order.OrderItems()->OrderItem(1)->SetVATRate(vrLow);
    order.SetAddAutoPartsCircuit(true);
    addPart(order.Parts(), QStringLiteral("Strip"), "1000", "250", 3); // 2.5 m each
    TOrderItem* circuit = order.OrderItems()->OrderItem(1);
    EXPECT_EQ(circuit->Caption(), QStringLiteral("Material, cut length"));
    EXPECT_EQ(circuit->Amount(), cur("7.5"));
    EXPECT_EQ(circuit->MU(), QStringLiteral("m"));
    EXPECT_EQ(circuit->Price(), cur("5")); // left as the user set it
    EXPECT_EQ(circuit->VATRate(), vrLow);
    // The area item stays untouched while its flag is off.
    EXPECT_EQ(order.OrderItems()->OrderItem(0)->Caption(), QString());

    // Missing positions are created, each at its own place.
    order.OrderItems()->Clear();
    order.UpdateAutoItems();
    ASSERT_EQ(order.OrderItems()->ItemCount(), 2);
    EXPECT_EQ(order.OrderItems()->OrderItem(1)->Amount(), cur("7.5"));
    EXPECT_EQ(order.OrderItems()->OrderItem(0)->Amount(), Currency());
}

TEST_F(OrderTest, AutoItemsInImperialUnits) {
    ScopedLocale us(Locale::unitedStates());
    order.CreateNew();
    order.SetAddAutoPartsArea(true);
    order.SetAddAutoPartsCircuit(true);
    addPart(order.Parts(), QStringLiteral("Panel"), "12", "12", 5); // 1 ft² and 4 ft each
    EXPECT_EQ(order.OrderItems()->OrderItem(0)->Amount(), cur("5"));
    EXPECT_EQ(order.OrderItems()->OrderItem(0)->MU(), QStringLiteral("ft2"));
    EXPECT_EQ(order.OrderItems()->OrderItem(1)->Amount(), cur("20"));
    EXPECT_EQ(order.OrderItems()->OrderItem(1)->MU(), QStringLiteral("ft"));
}

// ---- New order, notifications --------------------------------------------------------------------

TEST_F(OrderTest, CreateNewFromTheSetup) {
    setup.SetOrderNote1(QStringLiteral("First\r\nline"));
    setup.SetOrderVATMode(vmWithOutVAT);
    setup.SetSheetsAddExtractToOrder(true);
    TPartList* parts = order.Parts();
    order.CreateNew();
    EXPECT_EQ(order.Parts(), parts); // the same objects for the order's life
    EXPECT_EQ(order.Caption(), QStringLiteral("ZAK-00042"));
    EXPECT_EQ(order.DateCreate().date(), QDate::currentDate());
    EXPECT_TRUE(order.NumberPending());
    EXPECT_FALSE(order.Modified());
    EXPECT_EQ(order.Note1(), QStringLiteral("First\r\nline"));
    EXPECT_EQ(order.Note2(), setup.OrderNote2());
    EXPECT_EQ(order.StoredVATMode(), vmWithOutVAT);
    EXPECT_TRUE(order.Sheets()->AddExtractToOrder());
    ASSERT_EQ(order.OrderItems()->ItemCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(order.OrderItems()->OrderItem(i)->Caption().isEmpty());
        EXPECT_EQ(order.OrderItems()->OrderItem(i)->VATRate(), vrHigh);
    }
    EXPECT_EQ(order.OrderItems()->ItemFocused(), order.OrderItems()->Item(0));
    EXPECT_EQ(order.Parts()->ItemCount(), 1);

    // With the automatic flags the first two items are filled.
    setup.SetOrderAddAutoPartsArea(true);
    setup.SetOrderAddAutoPartsCircuit(true);
    material.SetCaption(QStringLiteral("Beech"));
    linkOrderAndMaterial();
    order.CreateNew();
    EXPECT_FALSE(order.Modified());
    ASSERT_EQ(order.OrderItems()->ItemCount(), 5);
    EXPECT_EQ(order.OrderItems()->OrderItem(0)->Caption(), QStringLiteral("Beech"));
    EXPECT_EQ(order.OrderItems()->OrderItem(0)->MU(), QStringLiteral("m2"));
    EXPECT_EQ(order.OrderItems()->OrderItem(1)->Caption(), QStringLiteral("Beech, cut length"));
    EXPECT_TRUE(order.OrderItems()->OrderItem(2)->Caption().isEmpty());
}

TEST_F(OrderTest, ChangesReachMaterialSetupAndWindow) {
    struct TSetupRecorder : TSetup {
        QStringList props;
        void DataChanged(TComponent* source, TComponent* sender, const QString& prop) override {
            if (sender != this && prop != QLatin1String("Modified"))
                props << prop;
            TSetup::DataChanged(source, sender, prop);
        }
    } recorder;
    TApplicationLinks::SetSetup(&recorder);
    linkOrderAndMaterial();
    order.CreateNew();
    recordRefreshes();

    TOrderItem* item = order.OrderItems()->OrderItem(0);
    item->SetAmount(cur("2"));
    EXPECT_EQ(refreshedProps(item), (QStringList{"Amount", "PriceTotal"}));
    // Once for the amount, once for the total that follows it.
    EXPECT_EQ(refreshedProps(&order),
              (QStringList{"PriceTotalwoVAT", "PriceTotalwVAT", "PriceTotalwoVAT", "PriceTotalwVAT"}));
    EXPECT_TRUE(recorder.props.contains(QStringLiteral("Amount")));
    EXPECT_TRUE(order.Modified());

    // Deleting an item changes the totals as well.
    refreshes.clear();
    order.OrderItems()->ItemDelete(item);
    EXPECT_TRUE(refreshedProps(&order).contains(QStringLiteral("PriceTotalwVAT")));

    // The material's file name is stored in the order: its change marks the order.
    order.SetModified(false);
    material.SetFileName(QStringLiteral("/somewhere/oak.LNM"));
    EXPECT_TRUE(order.Modified());

    // The file name of the order itself does not.
    order.SetModified(false);
    refreshes.clear();
    order.SetFileName(QStringLiteral("/x/a.LNO"));
    order.SetFileName(QStringLiteral("/X/A.lno"));
    EXPECT_EQ(refreshedProps(&order), QStringList{"FileName"});
    EXPECT_FALSE(order.Modified());

    // An order that is not the application's one keeps its changes to itself.
    TOrder other;
    other.CreateNew();
    refreshes.clear();
    recorder.props.clear();
    other.SetNote1(QStringLiteral("x"));
    EXPECT_TRUE(refreshes.empty());
    EXPECT_TRUE(recorder.props.isEmpty());
    EXPECT_EQ(other.Material(), nullptr);
    EXPECT_EQ(order.Material(), &material);
}

TEST_F(OrderTest, MaterialOfTheOwnerComesFirst) {
    TSimpleComponent window;
    auto* own = new TMaterial(&window);
    auto* owned = new TOrder(&window);
    EXPECT_EQ(owned->Material(), own);
    TOrder lone;
    EXPECT_EQ(lone.Material(), nullptr); // no material registered
}

// ---- Order file ----------------------------------------------------------------------------------

TEST_F(OrderTest, SmallOrderMatchesTheGoldenFile) {
    material.SetFileName(QStringLiteral("oak.LNM"));
    linkOrderAndMaterial();
    buildSmallOrder(order);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("small.LNO"));
    ASSERT_TRUE(order.SaveToFile(path));
    EXPECT_FALSE(order.Modified());
    const QByteArray golden = test::readFileBytes(test::dataPath(QStringLiteral("order/small.LNO")));
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(QString::fromUtf8(test::readFileBytes(path)), QString::fromUtf8(golden));

    // Loaded back, it is the same order and saves to the same file.
    TOrder loaded;
    TApplicationLinks::SetOrder(&loaded);
    ASSERT_TRUE(loaded.LoadFromFile(test::dataPath(QStringLiteral("order/small.LNO"))))
        << loaded.ErrorString().toStdString();
    EXPECT_EQ(savedText(loaded), QString::fromUtf8(golden));
    EXPECT_EQ(loaded.Caption(), QStringLiteral("ZAK-00042"));
    EXPECT_EQ(loaded.DateCreate().date(), QDate(2024, 3, 15));
    EXPECT_EQ(loaded.Note1(), QStringLiteral("Delivery by van.\r\nCall before noon."));
    EXPECT_EQ(loaded.Customer()->Caption(), QStringLiteral("Truhlářství Novák"));
    EXPECT_EQ(loaded.Customer()->Note(), QStringLiteral("Gate code 1234\r\nSecond floor"));
    EXPECT_TRUE(loaded.AddAutoPartsArea());
    ASSERT_EQ(loaded.OrderItems()->ItemCount(), 5);
    const TOrderItem* cutting = loaded.OrderItems()->OrderItem(1);
    EXPECT_EQ(cutting->Caption(), QStringLiteral("Cutting"));
    EXPECT_TRUE(cutting->Checked());
    EXPECT_EQ(cutting->PriceTotal(), cur("9.9999"));
    EXPECT_EQ(loaded.OrderItems()->OrderItem(2)->Price(), cur("450"));
    EXPECT_EQ(loaded.Parts()->PartsCount(), 6);
    EXPECT_EQ(loaded.Parts()->ItemCount(), 3); // with the empty last part
    TSheets* sheets = loaded.Sheets();
    EXPECT_EQ(sheets->State(), ssCalculatedOK);
    ASSERT_EQ(sheets->CuttingSheets()->ItemCount(), 2);
    EXPECT_EQ(sheets->CuttingSheets()->Sheet(0)->Count(), 2);
    EXPECT_EQ(sheets->CalculationReport(),
              (QStringList{"Calculation started", QString(), "Calculation finished"}));
    EXPECT_EQ(sheets->Material()->Caption(), QStringLiteral("Oak 18"));
    EXPECT_EQ(loaded.PriceTotalwVAT(), order.PriceTotalwVAT());
    EXPECT_FALSE(loaded.NumberPending());
    EXPECT_EQ(loaded.FileName(), test::dataPath(QStringLiteral("order/small.LNO")));
}

TEST_F(OrderTest, SaveAdvancesTheOrderNumberOnce) {
    order.CreateNew();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(order.SaveToFile(dir.filePath(QStringLiteral("a.LNO"))));
    EXPECT_EQ(setup.OrderNumber(), 43);
    EXPECT_FALSE(order.NumberPending());
    ASSERT_TRUE(order.SaveToFile(dir.filePath(QStringLiteral("b.LNO"))));
    EXPECT_EQ(setup.OrderNumber(), 43);
    EXPECT_TRUE(order.FileName().isEmpty()); // the window sets it

    // A failed save still advances a pending number; the order stays modified and the old file stays.
    order.CreateNew();
    EXPECT_EQ(order.Caption(), QStringLiteral("ZAK-00043"));
    order.SetNote2(QStringLiteral("changed"));
    const QString blocked = dir.filePath(QStringLiteral("missing/c.LNO"));
    EXPECT_FALSE(order.SaveToFile(blocked));
    EXPECT_FALSE(order.ErrorString().isEmpty());
    EXPECT_TRUE(order.Modified());
    EXPECT_EQ(setup.OrderNumber(), 44);
    QDir(dir.path()).mkdir(QStringLiteral("a2.LNO")); // a folder in the way
    EXPECT_FALSE(order.SaveToFile(dir.filePath(QStringLiteral("a2.LNO"))));
    EXPECT_TRUE(order.Modified());
    EXPECT_EQ(setup.OrderNumber(), 44);
}

struct TRefusedCase {
    const char* name;
    const char* minVersionLine; // nullptr: no key
};

class OrderRefused : public OrderTest, public ::testing::WithParamInterface<TRefusedCase> {};

TEST_P(OrderRefused, LeavesTheOrderAsItWas) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray text = test::readFileBytes(test::dataPath(QStringLiteral("order/small.LNO")));
    ASSERT_FALSE(text.isEmpty());
    text.replace("MinVersion=1\r\n",
                 GetParam().minVersionLine ? QByteArray(GetParam().minVersionLine) + "\r\n" : "");
    const QString path = dir.filePath(QStringLiteral("refused.LNO"));
    ASSERT_TRUE(test::writeFileBytes(path, text));

    order.CreateNew();
    order.SetNote1(QStringLiteral("unsaved"));
    const QString before = savedText(order);
    EXPECT_FALSE(order.LoadFromFile(path));
    EXPECT_FALSE(order.ErrorString().isEmpty());
    EXPECT_EQ(savedText(order), before);
    EXPECT_TRUE(order.Modified());
    EXPECT_FALSE(order.NumberPending());
}

INSTANTIATE_TEST_SUITE_P(Order, OrderRefused,
                         ::testing::Values(TRefusedCase{"Two", "MinVersion=2"},
                                           TRefusedCase{"Zero", "MinVersion=0"},
                                           TRefusedCase{"Empty", "MinVersion="},
                                           TRefusedCase{"Missing", nullptr},
                                           TRefusedCase{"NotANumber", "MinVersion=one"},
                                           TRefusedCase{"Beyond32Bits", "MinVersion=4294967297"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OrderTest, UnreadableFileIsRefused) {
    order.CreateNew();
    order.SetModified(false);
    const QString before = savedText(order);
    EXPECT_FALSE(order.LoadFromFile(QStringLiteral("/nonexistent/folder/x.LNO")));
    EXPECT_FALSE(order.ErrorString().isEmpty());
    EXPECT_EQ(savedText(order), before);
    EXPECT_FALSE(order.Modified());
    EXPECT_FALSE(order.NumberPending());
}

TEST_F(OrderTest, MaterialIsFoundBesideTheOrder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TMaterial stock;
    stock.CreateNew();
    stock.SetCaption(QStringLiteral("Moved oak"));
    stock.SetPrice(cur("100"));
    ASSERT_TRUE(stock.SaveToFile(dir.filePath(QStringLiteral("oak.LNM"))));
    // A second copy at the stored path, which must not be the one taken.
    QDir(dir.path()).mkdir(QStringLiteral("old"));
    stock.SetCaption(QStringLiteral("Old oak"));
    ASSERT_TRUE(stock.SaveToFile(dir.filePath(QStringLiteral("old/oak.LNM"))));

    material.SetFileName(dir.filePath(QStringLiteral("old/oak.LNM")));
    linkOrderAndMaterial();
    buildSmallOrder(order);
    QDir(dir.path()).mkdir(QStringLiteral("orders"));
    const QString path = dir.filePath(QStringLiteral("orders/o.LNO"));
    ASSERT_TRUE(order.SaveToFile(path));
    QFile::copy(dir.filePath(QStringLiteral("oak.LNM")), dir.filePath(QStringLiteral("orders/oak.LNM")));

    order.CreateNew();
    ASSERT_TRUE(order.LoadFromFile(path));
    EXPECT_EQ(material.Caption(), QStringLiteral("Moved oak"));
    EXPECT_EQ(material.FileName(), QFileInfo(path).absolutePath() + QStringLiteral("/oak.LNM"));
    // The reload recomputed the area item from the loaded material and marked the order.
    EXPECT_EQ(order.OrderItems()->OrderItem(0)->Caption(), QStringLiteral("Moved oak"));
    EXPECT_TRUE(order.Modified());

    // Without a copy beside the order the stored path is used.
    QFile::remove(dir.filePath(QStringLiteral("orders/oak.LNM")));
    ASSERT_TRUE(order.LoadFromFile(path));
    EXPECT_EQ(material.Caption(), QStringLiteral("Old oak"));

    // Without a material entry the loaded order is not modified.
    TApplicationLinks::SetMaterial(nullptr);
    ASSERT_TRUE(order.SaveToFile(path));
    TApplicationLinks::SetMaterial(&material);
    ASSERT_TRUE(order.LoadFromFile(path));
    EXPECT_FALSE(order.Modified());
}

// ---- Damaged files -------------------------------------------------------------------------------

struct TDamageCase {
    const char* name;
    std::function<QByteArray(QByteArray)> damage;
    bool loads;
};

QByteArray randomBytes(int n, unsigned seed) {
    std::mt19937 gen(seed);
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes.append(static_cast<char>(gen() & 0xFF));
    return bytes;
}

QByteArray replaceLine(QByteArray text, const QByteArray& key, const QByteArray& line) {
    const qsizetype start = text.indexOf("\r\n" + key + "=");
    EXPECT_GE(start, 0) << key.constData();
    const qsizetype end = text.indexOf("\r\n", start + 2);
    return text.replace(start + 2, end - start - 2, line);
}

class OrderDamaged : public OrderTest, public ::testing::WithParamInterface<TDamageCase> {};

// An order loaded from a damaged file is whole: items padded, an empty last part, and it saves to a
// text that loads back to the same text.
void expectConsistent(const TOrder& order) {
    EXPECT_GE(order.OrderItems()->ItemCount(), TOrderItemList::MinItemCount);
    EXPECT_NE(order.OrderItems()->ItemFocused(), nullptr);
    ASSERT_GT(order.Parts()->ItemCount(), 0);
    EXPECT_FALSE(order.Parts()->Part(order.Parts()->ItemCount() - 1)->IsValid());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("again.LNO"));
    TOrder copy;
    TINI ini;
    order.SaveToINI(ini);
    ASSERT_TRUE(ini.SaveToFile(path));
    ASSERT_TRUE(copy.LoadFromFile(path)) << copy.ErrorString().toStdString();
    EXPECT_EQ(savedText(copy), savedText(order));
}

TEST_P(OrderDamaged, NeverHalfLoads) {
    const QByteArray golden = test::readFileBytes(test::dataPath(QStringLiteral("order/small.LNO")));
    ASSERT_FALSE(golden.isEmpty());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("damaged.LNO"));
    ASSERT_TRUE(test::writeFileBytes(path, GetParam().damage(golden)));

    order.CreateNew();
    order.SetNote1(QStringLiteral("before"));
    order.OrderItems()->OrderItem(3)->SetCaption(QStringLiteral("kept"));
    const QString before = savedText(order);
    const bool loaded = order.LoadFromFile(path);
    EXPECT_EQ(loaded, GetParam().loads) << order.ErrorString().toStdString();
    if (loaded) {
        expectConsistent(order);
    } else {
        EXPECT_FALSE(order.ErrorString().isEmpty());
        EXPECT_EQ(savedText(order), before);
        EXPECT_TRUE(order.Modified());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Order, OrderDamaged,
    ::testing::Values(
        TDamageCase{"BadHexPart", [](QByteArray t) { return replaceLine(t, "Part1", "Part1=0G1H"); }, false},
        TDamageCase{"BadHexInLastSheet",
                    [](QByteArray t) {
                        const qsizetype sheet2 = t.indexOf("[SHEET2]");
                        const qsizetype part = t.indexOf("Part1=", sheet2);
                        return t.insert(part + 6, "zz");
                    },
                    false},
        TDamageCase{"OddHexDigits", [](QByteArray t) { return replaceLine(t, "Part1", "Part1=ABC"); }, true},
        TDamageCase{"CountsBeyond32Bits",
                    [](QByteArray t) {
                        t = replaceLine(t, "Count", "Count=99999999999"); // OrderItems
                        t = replaceLine(t, "PartCount", "PartCount=4294967296");
                        t = replaceLine(t, "PartsInArea", "PartsInArea=99999999999");
                        t = replaceLine(t, "PartsInCount", "PartsInCount=-99999999999");
                        return replaceLine(t, "State", "State=|4294967298|x|");
                    },
                    true},
        TDamageCase{"HugeCounts",
                    [](QByteArray t) {
                        t = replaceLine(t, "Count", "Count=2147483647");
                        return replaceLine(t, "PartCount", "PartCount=2147483647");
                    },
                    true},
        TDamageCase{"PricesBeyond64Bits",
                    [](QByteArray t) {
                        return replaceLine(t, "Item2", "Item2=|2|Cutting|1|99999999999999999999|1|x|h||");
                    },
                    true},
        TDamageCase{"Binary", [](QByteArray) { return randomBytes(4096, 7); }, false},
        TDamageCase{
            "BinaryAfterHeader",
            [](QByteArray) { return QByteArray("[Order]\r\nMinVersion=1\r\n") + randomBytes(4096, 11); },
            true},
        TDamageCase{"NulInside",
                    [](QByteArray t) { return t.insert(t.indexOf("[Parts]"), QByteArray("\0x", 2)); }, true},
        TDamageCase{"Empty", [](QByteArray) { return QByteArray(); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OrderTest, TruncatedFilesNeverHalfLoad) {
    const QByteArray golden = test::readFileBytes(test::dataPath(QStringLiteral("order/small.LNO")));
    ASSERT_FALSE(golden.isEmpty());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("cut.LNO"));
    order.CreateNew();
    order.SetNote1(QStringLiteral("before"));
    const QString before = savedText(order);
    int loadedCount = 0;
    for (qsizetype cut = 0; cut < golden.size(); cut += 23) {
        ASSERT_TRUE(test::writeFileBytes(path, golden.left(cut)));
        TOrder target;
        target.CreateNew();
        target.SetNote1(QStringLiteral("before"));
        if (target.LoadFromFile(path)) {
            ++loadedCount;
            expectConsistent(target);
        } else {
            EXPECT_EQ(savedText(target), before) << "cut at " << cut;
        }
    }
    EXPECT_GT(loadedCount, 0);
}

} // namespace
