#include "model/HtmlExport.h"

#include "foundation/DataComponent.h"
#include "foundation/Ini.h"
#include "foundation/Program.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Order.h"
#include "model/OrderItem.h"
#include "model/Setup.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace lintaro;

namespace {

// Answers GetPropAsString from a table, as the order, the addresses and the items do.
class TFakeData : public TDataComponent {
    LINTARO_COMPONENT(TFakeData)
public:
    explicit TFakeData(TComponent* owner = nullptr) : TDataComponent(owner) {}
    QString GetPropAsString(const QString& name) const override {
        ++reads;
        return values.value(KeyOf(name));
    }
    TFakeData& Set(const QString& name, const QString& value) {
        values[KeyOf(name)] = value;
        return *this;
    }
    QMap<QString, QString> values;
    mutable int reads = 0;
};

using TSections = std::vector<std::pair<QString, QStringList>>;

// Templates from sections of lines, without going through the INI file form.
void FillTemplates(TINI& ini, const TSections& sections) {
    for (const auto& [name, lines] : sections)
        ini.Section(name) = lines;
}

QString Lines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

class HtmlExportEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::initProgramForTests();
        ASSERT_TRUE(dir.isValid());
        order.Set("Caption", "Z-00042")
            .Set("Note1", "Line 1\r\nLine 2")
            .Set("ItemCaption", "(order)")
            .Set("VATMode", "0");
        customer.Set("Caption", "A<B & Co").Set("Street", QString::fromUtf8("Dlouhá 12"));
        supplier.Set("Caption", "Brenvik").Set("Phone", "+420 123").Set("IsNotVATPayer", "0");
        for (const char* caption : {"Board", "Glue"}) {
            auto item = std::make_unique<TFakeData>();
            item->Set("Caption", caption).Set("Price", QString(caption) + " price");
            items.push_back(std::move(item));
        }
    }

    THtmlExportSource Source() const {
        THtmlExportSource source;
        source.order = &order;
        source.customer = &customer;
        source.supplier = &supplier;
        for (const auto& item : items)
            source.items.push_back(item.get());
        source.parameters = QStringList{QStringLiteral("Lintaro"), QStringLiteral("1.0.0.7")};
        return source;
    }

    // The wVAT set with the given page and item block, plus further sections.
    bool Build(const QStringList& page, const QStringList& item, QString& result,
               const TSections& more = {}) {
        TINI ini;
        FillTemplates(ini, {{"HTMLOrderwVAT.Page", page}, {"HTMLOrderwVAT.Item", item}});
        FillTemplates(ini, more);
        THtmlExport exporter(ini);
        const bool ok = exporter.BuildPage(QStringLiteral("HTMLOrderwVAT"), Source(), result);
        error = exporter.ErrorString();
        return ok;
    }

    ScopedLocale guard{Locale::czech()};
    QTemporaryDir dir;
    TFakeData order;
    TFakeData customer;
    TFakeData supplier;
    std::vector<std::unique_ptr<TFakeData>> items;
    QString error;
};

struct TScanCase {
    const char* title;
    QStringList page;
    QString expected;
};

TEST_F(HtmlExportEngineTest, TagsOfThePageAreFilledAsTheTemplateRulesSay) {
    const QStringList item{QStringLiteral("<li><%=lntr.Order.ItemCaption%>: <%=lntr.Order.ItemPrice%></li>")};
    const std::vector<TScanCase> cases = {
        {"literal text stays", {"<p>Offer</p>", "<hr>"}, "<p>Offer</p>\r\n<hr>\r\n"},
        {"names compare in upper case",
         {"<%=lntr.Order.Caption%>|<%=lntr.ORDER.CAPTION%>"},
         "Z-00042|Z-00042\r\n"},
        {"an upper-case opening is no tag", {"<%=LNTR.Order.Caption%>"}, "<%=LNTR.Order.Caption%>\r\n"},
        {"an unclosed tag loses only its opening", {"a<%=lntr.Order.Caption b"}, "aOrder.Caption b\r\n"},
        {"an unclosed tag after a closed one", {"<%=lntr.Order.Caption%> <%=lntr.x"}, "Z-00042 x\r\n"},
        {"a closing in the next line closes the tag", {"<%=lntr.Order.", "Caption%>"}, "\r\n"},
        {"unknown names are deleted", {"a<%=lntr.Foo%>b<%=lntr.Order%>c"}, "abc\r\n"},
        {"the empty name is deleted", {"a<%=lntr.%>b"}, "ab\r\n"},
        {"customer properties", {"<%=lntr.Order.CustomerStreet%>"}, QString::fromUtf8("Dlouhá 12\r\n")},
        {"customer values are escaped",
         {"<b><%=lntr.Order.CustomerCaption%></b>"},
         "<b>A&lt;B &amp; Co</b>\r\n"},
        {"supplier properties", {"<%=lntr.Order.SupplierPhone%>"}, "+420 123\r\n"},
        {"an unknown property is empty", {"[<%=lntr.Order.SupplierFax%>]"}, "[]\r\n"},
        {"notes keep their line breaks", {"<%=lntr.Order.Note1%>"}, "Line 1\r\nLine 2\r\n"},
        {"an item tag outside the block reads the order", {"<%=lntr.Order.ItemCaption%>"}, "(order)\r\n"},
        {"parameters by number", {"<%=lntr.Parameter0%> <%=lntr.PARAMETER1%>"}, "Lintaro 1.0.0.7\r\n"},
        {"a parameter number that is no integer is 0", {"<%=lntr.Parameterx%>"}, "Lintaro\r\n"},
        {"one block per item, then the tag goes",
         {"<ul><%=lntr.OrderItem%></ul>"},
         "<ul><li>Board: Board price</li>\r\n<li>Glue: Glue price</li>\r\n</ul>\r\n"},
        {"after the blocks item tags read the order again",
         {"<%=lntr.OrderItem%>", "<%=lntr.Order.ItemCaption%>"},
         "<li>Board: Board price</li>\r\n<li>Glue: Glue price</li>\r\n\r\n(order)\r\n"},
        {"a second item tag finds no items left",
         {"<%=lntr.OrderItem%>|<%=lntr.orderitem%>"},
         "<li>Board: Board price</li>\r\n<li>Glue: Glue price</li>\r\n|\r\n"},
        {"a page without item tag has no blocks", {"<p><%=lntr.Order.ItemPrice%></p>"}, "<p></p>\r\n"},
        {"a tag joined up by a deleted tag is met", {"<%=ln<%=lntr.Foo%>tr.Order.Caption%>"}, "Z-00042\r\n"},
        {"an opening inside a name makes it unknown", {"<%=lntr.<%=lntr.Order.Caption%>"}, "\r\n"},
    };
    for (const TScanCase& c : cases) {
        SCOPED_TRACE(c.title);
        QString result;
        ASSERT_TRUE(Build(c.page, item, result)) << error.toStdString();
        EXPECT_EQ(result, c.expected);
    }
}

TEST_F(HtmlExportEngineTest, InsertedValuesAreNeitherRescannedNorJoinedIntoTags) {
    order.Set("Note2", "<%=lntr.Order.Note2%>");
    customer.Set("Person", "<%=ln");
    supplier.Set("Email", "tr.Order.Caption%>");
    QString result;
    ASSERT_TRUE(
        Build({"<%=lntr.Order.Note2%>", "<%=lntr.Order.CustomerPerson%><%=lntr.Order.SupplierEmail%>"}, {"x"},
              result));
    EXPECT_EQ(result, "&lt;%=lntr.Order.Note2%&gt;\r\n&lt;%=lntr.Order.Caption%&gt;\r\n");
    // Each value was read once: the value inserted was never taken for a tag.
    EXPECT_EQ(order.reads, 1);
}

TEST_F(HtmlExportEngineTest, EscapingCoversMarkupAndQuotes) {
    EXPECT_EQ(HtmlEscape(QStringLiteral("a<b>&\"c\"'d'")), "a&lt;b&gt;&amp;&quot;c&quot;&#39;d&#39;");
    EXPECT_EQ(HtmlEscape(QString::fromUtf8("Truhlářství\r\nNovák")),
              QString::fromUtf8("Truhlářství\r\nNovák"));
    customer.Set("Caption", "\"Q\" & 'S'");
    QString result;
    ASSERT_TRUE(Build({"<a title=\"<%=lntr.Order.CustomerCaption%>\">"}, {"x"}, result));
    EXPECT_EQ(result, "<a title=\"&quot;Q&quot; &amp; &#39;S&#39;\">\r\n");
}

TEST_F(HtmlExportEngineTest, ItemsFillTheirBlocksInListOrder) {
    auto third = std::make_unique<TFakeData>();
    third->Set("Caption", "Edge & band").Set("Price", "3");
    items.push_back(std::move(third));
    QString result;
    ASSERT_TRUE(Build(
        {"<table>", "<%=lntr.OrderItem%>", "</table>"},
        {"<tr>", "<td><%=lntr.Order.ItemCaption%></td><td><%=lntr.Order.ItemPrice%></td>", "</tr>"}, result));
    EXPECT_EQ(result, Lines({"<table>", "<tr>", "<td>Board</td><td>Board price</td>", "</tr>", "<tr>",
                             "<td>Glue</td><td>Glue price</td>", "</tr>", "<tr>",
                             "<td>Edge &amp; band</td><td>3</td>", "</tr>", "", "</table>"}));
}

TEST_F(HtmlExportEngineTest, IncludesNestAndAreScannedWithTheCurrentItem) {
    QString result;
    ASSERT_TRUE(Build({"<%=lntr.HTMLS[Head]%><%=lntr.OrderItem%>"}, {"<%=lntr.htmls[row]%>"}, result,
                      {{"Head", {"<h1><%=lntr.HTMLS[Title]%></h1>"}},
                       {"Title", {"<%=lntr.Order.Caption%> for <%=lntr.Order.CustomerCaption%>"}},
                       {"Row", {"<p><%=lntr.Order.ItemCaption%><%=lntr.HTMLS[Missing]%></p>"}}}));
    EXPECT_EQ(result,
              Lines({"<h1>Z-00042 for A&lt;B &amp; Co", "</h1>", "<p>Board</p>", "", "<p>Glue</p>", "", ""}));
}

TEST_F(HtmlExportEngineTest, AnItemTagInsideAnIncludeTakesTheItems) {
    QString result;
    ASSERT_TRUE(Build({"<%=lntr.HTMLS[Body]%>"}, {"[<%=lntr.Order.ItemCaption%>]"}, result,
                      {{"Body", {"<%=lntr.OrderItem%>"}}}));
    EXPECT_EQ(result, Lines({"[Board]", "[Glue]", "", ""}));
}

TEST_F(HtmlExportEngineTest, IncludeDepthIsLimited) {
    // A chain of exactly the allowed depth works; one more level fails.
    for (const int levels : {THtmlExport::MaxIncludeDepth, THtmlExport::MaxIncludeDepth + 1}) {
        SCOPED_TRACE(levels);
        TSections chain;
        for (int i = 1; i <= levels; ++i)
            chain.push_back({QStringLiteral("L%1").arg(i),
                             {i == levels ? QStringLiteral("<%=lntr.Order.Caption%>")
                                          : QStringLiteral("<%=lntr.HTMLS[L%1]%>").arg(i + 1)}});
        QString result;
        const bool ok = Build({"<%=lntr.HTMLS[L1]%>"}, {"x"}, result, chain);
        EXPECT_EQ(ok, levels <= THtmlExport::MaxIncludeDepth);
        if (ok)
            EXPECT_TRUE(result.startsWith(QStringLiteral("Z-00042\r\n")));
        else
            EXPECT_TRUE(error.contains(QStringLiteral("\"L%1\"").arg(levels))) << error.toStdString();
    }
}

TEST_F(HtmlExportEngineTest, SectionsIncludingThemselvesFail) {
    const std::vector<std::pair<const char*, TSections>> cases = {
        {"directly", {{"Self", {"a<%=lntr.HTMLS[self]%>"}}}},
        {"in a ring", {{"Self", {"<%=lntr.HTMLS[Other]%>"}}, {"Other", {"<%=lntr.HTMLS[Self]%>"}}}},
        {"through the item block", {{"Self", {"<%=lntr.OrderItem%><%=lntr.HTMLS[Self]%>"}}}},
    };
    for (const auto& [title, sections] : cases) {
        SCOPED_TRACE(title);
        QString result = QStringLiteral("untouched");
        EXPECT_FALSE(Build({"<%=ln<%=lntr.HTMLS[Self]%>"}, {"<%=lntr.HTMLS[Self]%>"}, result, sections));
        EXPECT_TRUE(error.contains(QStringLiteral("includes itself"))) << error.toStdString();
        EXPECT_EQ(result, "untouched");
    }
}

TEST_F(HtmlExportEngineTest, IncludesMultiplyingEachOtherStopAtTheLengthLimit) {
    // Ten levels of sections that include the next one eight times would make 8^10 leaves.
    TSections sections;
    for (int i = 0; i < 10; ++i)
        sections.push_back(
            {QStringLiteral("S%1").arg(i), {QStringLiteral("<%=lntr.HTMLS[S%1]%>").arg(i + 1).repeated(8)}});
    sections.push_back({"S10", {QString(200, u'x')}});
    QString result;
    EXPECT_FALSE(Build({"<%=lntr.HTMLS[S0]%>"}, {"x"}, result, sections));
    EXPECT_TRUE(error.contains(QStringLiteral("grows beyond"))) << error.toStdString();
}

TEST_F(HtmlExportEngineTest, ManyItemsAreFilledInOnePass) {
    items.clear();
    for (int i = 0; i < 5000; ++i) {
        auto item = std::make_unique<TFakeData>();
        item->Set("Caption", QString::number(i));
        items.push_back(std::move(item));
    }
    QString result;
    ASSERT_TRUE(Build({"<table>", "<%=lntr.OrderItem%>", "</table>"},
                      {"<tr><td><%=lntr.Order.ItemCaption%></td><td><%=lntr.Order.ItemMU%></td></tr>"},
                      result));
    EXPECT_EQ(result.count(QStringLiteral("<tr>")), 5000);
    EXPECT_TRUE(result.contains(QStringLiteral("<tr><td>4999</td><td></td></tr>\r\n\r\n</table>\r\n")));
}

TEST_F(HtmlExportEngineTest, ParameterOutsideTheListFailsAndWritesNoFile) {
    const QString file = dir.filePath(QStringLiteral("offer.htm"));
    ASSERT_TRUE(test::writeFileBytes(file, "previous"));
    for (const char* tag : {"<%=lntr.Parameter2%>", "<%=lntr.Parameter-1%>", "<%=lntr.Parameter99%>"}) {
        SCOPED_TRACE(tag);
        TINI ini;
        FillTemplates(ini, {{"HTMLOrderwVAT.Page", {"<p>", tag, "</p>"}}, {"HTMLOrderwVAT.Item", {"x"}}});
        THtmlExport exporter(ini);
        EXPECT_FALSE(exporter.SaveToFile(Source(), file));
        EXPECT_TRUE(exporter.ErrorString().contains(QStringLiteral("parameter line")))
            << exporter.ErrorString().toStdString();
        EXPECT_TRUE(exporter.ErrorString().contains(QStringLiteral("0 to 1")));
        EXPECT_EQ(test::readFileBytes(file), "previous");
    }
    THtmlExportSource noParameters = Source();
    noParameters.parameters.clear();
    TINI ini;
    FillTemplates(ini, {{"HTMLOrderwVAT.Page", {"<%=lntr.Parameter0%>"}}, {"HTMLOrderwVAT.Item", {"x"}}});
    THtmlExport exporter(ini);
    EXPECT_FALSE(exporter.SaveToFile(noParameters, dir.filePath(QStringLiteral("new.htm"))));
    EXPECT_TRUE(exporter.ErrorString().contains(QStringLiteral("no parameter lines")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("new.htm"))));
}

TEST_F(HtmlExportEngineTest, MissingSectionsOrAnEmptyPageWriteNoFile) {
    const std::vector<std::pair<const char*, TSections>> cases = {
        {"no page", {{"HTMLOrderwVAT.Item", {"x"}}, {"HTMLOrder.Page", {"x"}}}},
        {"no item block", {{"HTMLOrderwVAT.Page", {"x"}}, {"HTMLOrderwoVAT.Item", {"x"}}}},
        {"an empty page", {{"HTMLOrderwVAT.Page", {}}, {"HTMLOrderwVAT.Item", {"x"}}}},
    };
    for (const auto& [title, sections] : cases) {
        SCOPED_TRACE(title);
        TINI ini;
        FillTemplates(ini, sections);
        THtmlExport exporter(ini);
        const QString file = dir.filePath(QStringLiteral("%1.htm").arg(title));
        EXPECT_FALSE(exporter.SaveToFile(Source(), file));
        EXPECT_FALSE(exporter.ErrorString().isEmpty());
        EXPECT_FALSE(QFileInfo::exists(file));
    }
}

TEST_F(HtmlExportEngineTest, AnUnwritableFileFailsWithItsName) {
    TINI ini;
    FillTemplates(ini, {{"HTMLOrderwVAT.Page", {"x"}}, {"HTMLOrderwVAT.Item", {"x"}}});
    THtmlExport exporter(ini);
    const QString file = dir.filePath(QStringLiteral("no/such/folder/offer.htm"));
    EXPECT_FALSE(exporter.SaveToFile(Source(), file));
    EXPECT_TRUE(exporter.ErrorString().contains(file)) << exporter.ErrorString().toStdString();
}

TEST_F(HtmlExportEngineTest, TheTemplateSetFollowsTheSupplierAndTheVATMode) {
    struct TSetCase {
        const char* notVATPayer;
        const char* vatMode;
        const char* expected;
    };
    const std::vector<TSetCase> cases = {
        {"0", "0", "HTMLOrderwVAT"},
        {"0", "1", "HTMLOrderwoVAT"},
        {"1", "0", "HTMLOrder"},
        {"1", "1", "HTMLOrder"},
    };
    TINI ini;
    for (const char* set : {"HTMLOrder", "HTMLOrderwVAT", "HTMLOrderwoVAT"})
        FillTemplates(
            ini, {{QString(set) + ".Page", {QStringLiteral("set ") + set}}, {QString(set) + ".Item", {"x"}}});
    for (const TSetCase& c : cases) {
        SCOPED_TRACE(std::string(c.notVATPayer) + "/" + c.vatMode);
        supplier.Set("IsNotVATPayer", c.notVATPayer);
        order.Set("VATMode", c.vatMode);
        EXPECT_EQ(THtmlExport::TemplateSetName(Source()), c.expected);
        THtmlExport exporter(ini);
        const QString file = dir.filePath(QStringLiteral("set.htm"));
        ASSERT_TRUE(exporter.SaveToFile(Source(), file)) << exporter.ErrorString().toStdString();
        EXPECT_EQ(test::readFileBytes(file), QByteArray("set ") + c.expected + "\r\n");
    }
}

TEST_F(HtmlExportEngineTest, TheFileIsWrittenAsUtf8AndMatchesTheGoldenPage) {
    TINI ini;
    ASSERT_TRUE(ini.LoadFromFile(test::dataPath(QStringLiteral("html/Offer.HTS"))));
    customer.Set("Town", QString::fromUtf8("Brno – Líšeň"));
    THtmlExport exporter(ini);
    const QString file = dir.filePath(QStringLiteral("offer.htm"));
    ASSERT_TRUE(exporter.SaveToFile(Source(), file)) << exporter.ErrorString().toStdString();
    EXPECT_EQ(test::readFileBytes(file),
              test::readFileBytes(test::dataPath(QStringLiteral("html/Offer.htm"))));
}

} // namespace

namespace {

int Count(const QString& text, const char* what) {
    return int(text.count(QString::fromUtf8(what)));
}

// Elements opened: the name followed by a blank or ">".
int Opened(const QString& text, const char* name) {
    return int(text.count(QRegularExpression(QStringLiteral("<%1[ >]").arg(QLatin1String(name)))));
}

TEST_F(HtmlExportEngineTest, ShippedTemplatesMakeCompleteSelfContainedPages) {
    order.Set("DateCreate", "05.03.2024")
        .Set("Note2", "Valid & binding")
        .Set("PriceTotalwVAT", "1 234,50 Kč")
        .Set("PriceTotalwoVAT", "1 020,25 Kč");
    supplier.Set("Note", "Bank 1234\r\nIBAN CZ00");
    for (const auto& item : items)
        item->Set("VATRate", "19%").Set("Amount", "2,5").Set("MU", "m2").Set("PriceTotal", "10,00 Kč");
    struct TSetCase {
        const char* notVATPayer;
        const char* vatMode;
        const char* unitPriceHeading;
        bool vatColumn;
    };
    const std::vector<TSetCase> cases = {
        {"0", "0", "Unit price incl. VAT", true},
        {"0", "1", "Unit price excl. VAT", true},
        {"1", "0", "Unit price<", false},
    };
    const TINI& shipped = HtmlTemplates();
    for (const TSetCase& c : cases) {
        supplier.Set("IsNotVATPayer", c.notVATPayer);
        order.Set("VATMode", c.vatMode);
        const QString set = THtmlExport::TemplateSetName(Source());
        SCOPED_TRACE(set.toStdString());
        ASSERT_TRUE(shipped.FindSection(set + ".Page"));
        ASSERT_TRUE(shipped.FindSection(set + ".Item"));
        THtmlExport exporter(shipped);
        QString page;
        ASSERT_TRUE(exporter.BuildPage(set, Source(), page)) << exporter.ErrorString().toStdString();

        EXPECT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE html>\r\n")));
        EXPECT_TRUE(page.trimmed().endsWith(QStringLiteral("</html>")));
        EXPECT_FALSE(page.contains(QStringLiteral("<%=lntr.")));
        // Nothing from outside the file and no scripts.
        for (const char* banned : {"<script", "://", "url(", "@import", "<link", "<img", " src="})
            EXPECT_EQ(Count(page, banned), 0) << banned;
        for (const char* name : {"html", "head", "body", "div", "table", "thead", "tbody", "tr", "th", "td",
                                 "section", "p", "header", "footer", "style", "title"})
            EXPECT_EQ(Opened(page, name), Count(page, (std::string("</") + name + ">").c_str())) << name;

        for (const char* value :
             {"<title>Offer Z-00042</title>", "05.03.2024", "A&lt;B &amp; Co", "Brenvik", "+420 123",
              "Line 1\r\nLine 2", "Valid &amp; binding", "Bank 1234\r\nIBAN CZ00", "1 234,50 Kč", ">Board<",
              ">Glue<", ">2,5<", ">m2<", "Board price", "Prepared with Lintaro 1.0.0.7"})
            EXPECT_TRUE(page.contains(QString::fromUtf8(value))) << value;
        EXPECT_EQ(Count(page, "10,00 Kč"), 2);
        EXPECT_TRUE(page.contains(QLatin1String(c.unitPriceHeading)));
        EXPECT_EQ(page.contains(QStringLiteral(">19%<")), c.vatColumn);
        EXPECT_EQ(page.contains(QStringLiteral("1 020,25 Kč")), c.vatColumn);
    }
}

} // namespace

namespace {

class HtmlExportOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::initProgramForTests();
        ASSERT_TRUE(dir.isValid());
        TApplicationLinks::SetSetup(&setup);
        order.SetCaption(QStringLiteral("Z-00042"));
        order.SetNote1(QStringLiteral("Cut & edged\r\nDelivery on Monday"));
        order.Customer()->SetCaption(QStringLiteral("A<B & Co"));
        order.Customer()->SetTown(QString::fromUtf8("Brno – Líšeň"));
        setup.Supplier()->SetCaption(QStringLiteral("Brenvik"));
        setup.Supplier()->SetPhone(QStringLiteral("+420 123 456"));
    }

    TOrderItem* AddItem(const QString& caption, int price, int amount, TVATRate rate = vrHigh) {
        auto* item = new TOrderItem(nullptr);
        order.OrderItems()->ItemInsert(item);
        item->SetCaption(caption);
        item->SetVATRate(rate);
        item->SetAmount(Currency::fromInteger(amount));
        item->SetPrice(Currency::fromInteger(price));
        return item;
    }
    QString Export(const TSections& sections) {
        TINI ini;
        FillTemplates(ini, sections);
        THtmlExport exporter(ini);
        const QString file = dir.filePath(QStringLiteral("order.htm"));
        EXPECT_TRUE(exporter.SaveToFile(HtmlExportSourceOf(order), file))
            << exporter.ErrorString().toStdString();
        return QString::fromUtf8(test::readFileBytes(file));
    }

    ScopedLocale guard{Locale::czech()};
    QTemporaryDir dir;
    TScopedApplicationLinks links;
    TSetup setup;
    TOrder order;
};

TEST_F(HtmlExportOrderTest, ItemsWithoutCaptionAndTotalAreLeftOut) {
    AddItem(QStringLiteral("Board"), 12, 3);
    AddItem(QString(), 0, 0);
    AddItem(QString(), 0, 4); // a quantity alone does not make a line
    AddItem(QStringLiteral("Free delivery"), 0, 1);
    TOrderItem* priced = AddItem(QString(), 5, 2);
    const QString page =
        Export({{"HTMLOrderwVAT.Page", {"<%=lntr.OrderItem%>"}},
                {"HTMLOrderwVAT.Item", {"[<%=lntr.Order.ItemCaption%>|<%=lntr.Order.ItemPriceTotal%>]"}}});
    EXPECT_EQ(page, Lines({"[Board|" + order.OrderItems()->OrderItem(0)->GetPropAsString("PriceTotal") + "]",
                           "[Free delivery|" +
                               order.OrderItems()->OrderItem(3)->GetPropAsString("PriceTotal") + "]",
                           "[|" + priced->GetPropAsString("PriceTotal") + "]", ""}));
    EXPECT_TRUE(page.contains(QString::fromUtf8("36,00 Kč"))) << page.toStdString();
}

TEST_F(HtmlExportOrderTest, TagsReadTheOrderTheCustomerTheSupplierAndTheItems) {
    AddItem(QStringLiteral("Board"), 12, 3, vrLow);
    const QString page = Export(
        {{"HTMLOrderwVAT.Page",
          {"<%=lntr.Order.Caption%>|<%=lntr.Order.CustomerCaption%>|<%=lntr.Order.CustomerTown%>",
           "<%=lntr.Order.SupplierPhone%>|<%=lntr.Order.PriceTotalwVAT%>|<%=lntr.Order.PriceTotalwoVAT%>",
           "<%=lntr.Order.Note1%>", "<%=lntr.Order.ItemPrice%><%=lntr.OrderItem%>"}},
         {"HTMLOrderwVAT.Item",
          {"<%=lntr.Order.ItemAmount%> <%=lntr.Order.ItemPrice%> <%=lntr.Order.ItemVATRate%>"}}});
    const TOrderItem* item = order.OrderItems()->OrderItem(0);
    EXPECT_EQ(page,
              Lines({QString::fromUtf8("Z-00042|A&lt;B &amp; Co|Brno – Líšeň"),
                     "+420 123 456|" + order.GetPropAsString("PriceTotalwVAT") + "|" +
                         order.GetPropAsString("PriceTotalwoVAT"),
                     "Cut &amp; edged", "Delivery on Monday",
                     item->GetPropAsString("Amount") + " " + item->GetPropAsString("Price") + " 5%", ""}));
    EXPECT_EQ(item->GetPropAsString("Price"), QString::fromUtf8("12,00 Kč"));
}

TEST_F(HtmlExportOrderTest, TheSupplierWithoutVATChoosesThePlainSetWhateverTheMode) {
    AddItem(QStringLiteral("Board"), 12, 3);
    const TSections sets = {{"HTMLOrder.Page", {"plain <%=lntr.OrderItem%>"}},
                            {"HTMLOrder.Item", {"<%=lntr.Order.ItemVATRate%>"}},
                            {"HTMLOrderwVAT.Page", {"with VAT"}},
                            {"HTMLOrderwVAT.Item", {"x"}},
                            {"HTMLOrderwoVAT.Page", {"without VAT"}},
                            {"HTMLOrderwoVAT.Item", {"x"}}};
    order.SetVATMode(vmWithOutVAT);
    EXPECT_EQ(Export(sets), "without VAT\r\n");
    order.SetVATMode(vmWithVAT);
    EXPECT_EQ(Export(sets), "with VAT\r\n");
    setup.Supplier()->SetIsNotVATPayer(true);
    for (const TVATMode mode : {vmWithVAT, vmWithOutVAT}) {
        order.SetVATMode(mode);
        EXPECT_EQ(Export(sets), "plain ---\r\n\r\n");
    }
}

TEST_F(HtmlExportOrderTest, TheShippedTemplatesExportTheOrderEscaped) {
    AddItem(QStringLiteral("Board <18 mm>"), 12, 3);
    AddItem(QString(), 0, 0);
    AddItem(QStringLiteral("Edging"), 2, 10, vrLow);
    const QString file = dir.filePath(QStringLiteral("offer.htm"));
    QString error = QStringLiteral("stale");
    ASSERT_TRUE(SaveOrderToHTML(order, file, &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    const QByteArray bytes = test::readFileBytes(file);
    const QString page = QString::fromUtf8(bytes);
    EXPECT_EQ(page.toUtf8(), bytes); // valid UTF-8
    EXPECT_TRUE(page.contains(QStringLiteral("<div class=\"name\">A&lt;B &amp; Co</div>")));
    EXPECT_FALSE(page.contains(QStringLiteral("A<B")));
    EXPECT_TRUE(page.contains(QStringLiteral("<td>Board &lt;18 mm&gt;</td>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<td>Edging</td>")));
    EXPECT_TRUE(page.contains(QString::fromUtf8("Brno – Líšeň")));
    EXPECT_TRUE(page.contains(QStringLiteral("Cut &amp; edged\r\nDelivery on Monday")));
    EXPECT_TRUE(page.contains(order.GetPropAsString("PriceTotalwVAT")));
    EXPECT_TRUE(page.contains(QStringLiteral("Unit price incl. VAT")));
    EXPECT_TRUE(page.contains(HtmlExportParameters().join(u' ')));
    EXPECT_EQ(page.count(QStringLiteral("<tr><td>")), 2);
    EXPECT_FALSE(page.contains(QStringLiteral("<%=lntr.")));
}

TEST_F(HtmlExportOrderTest, ParameterLinesAreTheProductAndItsVersion) {
    const TVersionInfo& v = Version();
    EXPECT_EQ(
        HtmlExportParameters(),
        QStringList({v.ProductName,
                     QStringLiteral("%1.%2.%3.%4").arg(v.Major).arg(v.Minor).arg(v.Release).arg(v.Build)}));
    EXPECT_FALSE(v.ProductName.isEmpty());
}

} // namespace
