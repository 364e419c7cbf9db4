#include "print/BatchPrint.h"
#include "print/MaterialPrinter.h"
#include "print/OrderPrinter.h"
#include "print/PartsPrinter.h"
#include "print/PrintHost.h"
#include "print/SetupPrinter.h"
#include "print/SheetsPrinter.h"
#include "print/TextDataSet.h"

#include "foundation/Program.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/OrderItem.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Keyboard.h"
#include "platform/Locale.h"
#include "platform/UserSettings.h"
#include "reports/ReportRun.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

using namespace lintaro;

namespace {

void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "print_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);
    }
}

// Records what the printers hand to the preview, and plays the user who changes the printer.
class RecordingHost : public TPrintHost {
public:
    void Preview(TSestava& report, int& printerIndex) override {
        seenIndex = printerIndex;
        seenCopies = report.PrintCopies;
        seenTemplate = report.Predloha().Lines();
        seenParameters = report.Parametry;
        if (report.DataSource)
            seenRecords = report.DataSource->RecordCount();
        if (auto* rows = dynamic_cast<TTextDataSet*>(report.DataSource))
            seenRowFile = rows->FileName;
        printerIndex = newIndex;
        report.PrintCopies = newCopies;
        ++previews;
    }
    void Design(TSestava&) override { ++designs; }

    int seenIndex = -1, seenCopies = -1, seenRecords = -1;
    QStringList seenTemplate, seenParameters;
    QString seenRowFile;
    int newIndex = 2, newCopies = 5;
    int previews = 0, designs = 0;
};

class PrintersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGuiApplication();
        test::initProgramForTests();
        ASSERT_TRUE(dir.isValid());
        TApplicationLinks::SetSetup(&setup);
        TApplicationLinks::SetMaterial(&material);
        setup.Supplier()->SetCaption(QStringLiteral("Brenvik Joinery"));
        order.SetCaption(QStringLiteral("Z-0042"));
        order.Customer()->SetCaption(QStringLiteral("Horak Kitchens"));
    }

    TOrderItem* AddItem(const QString& caption, int price, int amount) {
        auto* item = new TOrderItem(nullptr);
        order.OrderItems()->ItemInsert(item);
        item->SetCaption(caption);
        item->SetAmount(Currency::fromInteger(amount));
        item->SetPrice(Currency::fromInteger(price));
        return item;
    }
    TPart* AddPart(const QString& caption, int x, int y) {
        auto* part = new TPart(nullptr);
        order.Parts()->ItemInsert(part);
        part->SetCaption(caption);
        part->SetX(Currency::fromInteger(x));
        part->SetY(Currency::fromInteger(y));
        part->SetCount(1);
        return part;
    }
    TDimension* AddDim(int x, int y) {
        auto* dim = new TDimension(nullptr);
        material.Dims()->ItemInsert(dim);
        dim->SetX(Currency::fromInteger(x));
        dim->SetY(Currency::fromInteger(y));
        return dim;
    }
    // The text of a field on the row with this ID.
    static QString TextOnRow(TDocumentPrinter& printer, const QString& field, int rowIndex) {
        printer.DataSet().First();
        for (int i = 0; i < rowIndex; ++i)
            printer.DataSet().Next();
        return printer.FieldText(field);
    }

    ScopedLocale guard{Locale::czech()};
    QTemporaryDir dir;
    ScopedUserSettingsFile userSettings{dir.filePath(QStringLiteral("Lintaro.conf"))};
    TScopedApplicationLinks links;
    TSetup setup;
    TMaterial material;
    TOrder order;
};

TEST_F(PrintersTest, RowsLeaveOutEmptyItemsZeroPartsAndDimensionsWithoutArea) {
    const TDataComponent* kept[] = {
        AddItem(QStringLiteral("Board"), 12, 3),
        AddItem(QString(), 0, 0),
        AddItem(QString(), 0, 4), // a quantity alone makes no row
        AddItem(QStringLiteral("Free delivery"), 0, 1),
        AddItem(QString(), 5, 2),
        AddPart(QStringLiteral("Side"), 700, 560),
        AddPart(QStringLiteral("Nothing"), 0, 560),
        AddPart(QStringLiteral("Shelf"), 600, 300),
        AddDim(2800, 2070),
        AddDim(0, 2070),
        AddDim(1000, 500),
    };
    // The IDs of the list's items, in list order, that are among the given ones.
    auto ids = [&kept](const TDataComponentList* list, std::initializer_list<int> which) {
        QStringList rows;
        for (int i = 0; i < list->ItemCount(); ++i)
            for (int k : which)
                if (list->Item(i) == kept[k])
                    rows << QString::number(list->Item(i)->ID());
        return rows;
    };

    TOrderPrinter orderPrinter;
    orderPrinter.Order = &order;
    TPartsPrinter partsPrinter;
    partsPrinter.Order = &order;
    TMaterialPrinter materialPrinter;
    materialPrinter.Material = &material;
    EXPECT_EQ(orderPrinter.Rows(), ids(order.OrderItems(), {0, 3, 4}));
    EXPECT_EQ(partsPrinter.Rows(), ids(order.Parts(), {5, 7}));
    EXPECT_EQ(materialPrinter.Rows(), ids(material.Dims(), {8, 10}));
    EXPECT_EQ(partsPrinter.Rows().size(), 2);
    EXPECT_EQ(materialPrinter.Rows().size(), 2);

    // An order whose items all lack caption and total prints no item rows.
    TOrder empty;
    auto* blank = new TOrderItem(nullptr);
    empty.OrderItems()->ItemInsert(blank);
    orderPrinter.Order = &empty;
    EXPECT_TRUE(orderPrinter.Rows().isEmpty());
}

TEST_F(PrintersTest, FieldsReadTheirObjectByTheFirstMatchingPrefix) {
    AddItem(QStringLiteral("Board"), 12, 3);
    TPart* part = AddPart(QStringLiteral("Side"), 700, 560);
    AddPart(QStringLiteral("Door"), 400, 300);
    setup.SetSupplierLogoFileName(QStringLiteral("/srv/logo.png"));
    setup.Supplier()->SetNote(QStringLiteral("Supplier note"));

    TOrderPrinter orderPrinter;
    orderPrinter.Order = &order;
    ASSERT_TRUE(orderPrinter.Open());
    TPartsPrinter partsPrinter;
    partsPrinter.Order = &order;
    ASSERT_TRUE(partsPrinter.Open());
    TSetupPrinter setupPrinter;
    ASSERT_TRUE(setupPrinter.Open());
    struct Case {
        TDocumentPrinter* printer;
        const char* field;
        QString expected;
    };
    const TOrderItem* item = order.OrderItems()->OrderItem(0);
    for (const Case& c : {
             Case{&orderPrinter, "ItemCaption", QStringLiteral("Board")},
             Case{&orderPrinter, "ItemPriceTotal", item->GetPropAsString(QStringLiteral("PriceTotal"))},
             Case{&orderPrinter, "CustomerCaption", QStringLiteral("Horak Kitchens")},
             Case{&orderPrinter, "SupplierCaption", QStringLiteral("Brenvik Joinery")},
             Case{&orderPrinter, "Caption", QStringLiteral("Z-0042")},
             Case{&orderPrinter, "PriceTotalwVAT", order.GetPropAsString(QStringLiteral("PriceTotalwVAT"))},
             Case{&orderPrinter, "Unknown", QString()},
             Case{&partsPrinter, "PartsArea", order.Parts()->GetPropAsString(QStringLiteral("Area"))},
             Case{&partsPrinter, "PartArea", part->GetPropAsString(QStringLiteral("Area"))},
             Case{&partsPrinter, "PartCaption", QStringLiteral("Side")},
             Case{&partsPrinter, "PartsValidItemCount", QStringLiteral("2")},
             Case{&setupPrinter, "SupplierLogoFileName", QStringLiteral("/srv/logo.png")},
             Case{&setupPrinter, "SupplierNote", QStringLiteral("Supplier note")},
             Case{&setupPrinter, "VATHighValue", setup.GetPropAsString(QStringLiteral("VATHighValue"))},
         })
        EXPECT_EQ(TextOnRow(*c.printer, QString::fromLatin1(c.field), 0), c.expected) << c.field;
    EXPECT_EQ(TextOnRow(partsPrinter, QStringLiteral("PartCaption"), 1), QStringLiteral("Door"));
}

TEST_F(PrintersTest, TheOrderTemplateFollowsTheSuppliersVATAndTheOrdersMode) {
    struct Case {
        bool notVATPayer;
        TVATMode mode;
        const char* section;
    };
    TOrderPrinter printer;
    printer.Order = &order;
    for (const Case& c :
         {Case{true, vmWithOutVAT, "ReportOrder"}, Case{true, vmWithVAT, "ReportOrder"},
          Case{false, vmWithOutVAT, "ReportOrderwoVAT"}, Case{false, vmWithVAT, "ReportOrderwVAT"}}) {
        setup.Supplier()->SetIsNotVATPayer(c.notVATPayer);
        order.SetVATMode(c.mode);
        EXPECT_EQ(printer.SectionName(), QString::fromLatin1(c.section));
    }
    TSheetsPrinter sheets;
    for (int page : {0, 1, 2, 7}) {
        sheets.SheetsPage = page;
        EXPECT_EQ(sheets.SectionName(), page == 1 ? QStringLiteral("ReportSheetsCuttingSheets")
                                                  : QStringLiteral("ReportSheetsParams"))
            << page;
    }
}

TEST_F(PrintersTest, ShiftNeitherReadsNorWritesThePrinterChoice) {
    {
        TUserSettings stored;
        ASSERT_TRUE(stored.Open(true));
        stored.WriteInteger(QStringLiteral("PartsPrinterIndex"), 3);
        stored.WriteInteger(QStringLiteral("PartsCopies"), 4);
        ASSERT_TRUE(stored.Close());
    }
    RecordingHost host;
    TScopedPrintHost registered(&host);
    TPartsPrinter printer;
    printer.Order = &order;
    {
        ScopedKeyboardState shift(true, false);
        ASSERT_TRUE(printer.Preview());
    }
    EXPECT_EQ(host.seenIndex, 0);
    EXPECT_EQ(host.seenCopies, 1);
    TUserSettings after;
    ASSERT_TRUE(after.Open(false));
    EXPECT_EQ(after.ReadInteger(QStringLiteral("PartsPrinterIndex")), 3);
    EXPECT_EQ(after.ReadInteger(QStringLiteral("PartsCopies")), 4);

    ASSERT_TRUE(printer.Preview());
    EXPECT_EQ(host.seenIndex, 3);
    EXPECT_EQ(host.seenCopies, 4);
    // Values edited by hand outside their range are brought back into it.
    {
        TUserSettings stored;
        ASSERT_TRUE(stored.Open(true));
        stored.WriteInteger(QStringLiteral("PartsPrinterIndex"), -4);
        stored.WriteInteger(QStringLiteral("PartsCopies"), 150);
        ASSERT_TRUE(stored.Close());
    }
    printer.LoadPrinterChoice();
    EXPECT_EQ(printer.PrinterIndex, 0);
    EXPECT_EQ(printer.Sestava.PrintCopies, 99);
    {
        TUserSettings stored;
        ASSERT_TRUE(stored.Open(true));
        stored.WriteInteger(QStringLiteral("PartsPrinterIndex"), 3);
        stored.WriteInteger(QStringLiteral("PartsCopies"), 4);
        ASSERT_TRUE(stored.Close());
    }
    ASSERT_TRUE(printer.Preview());
    EXPECT_EQ(host.seenIndex, 3);
    EXPECT_EQ(host.seenCopies, 4);
    TUserSettings written;
    ASSERT_TRUE(written.Open(false));
    EXPECT_EQ(written.ReadInteger(QStringLiteral("PartsPrinterIndex")), 2);
    EXPECT_EQ(written.ReadInteger(QStringLiteral("PartsCopies")), 5);
}

TEST_F(PrintersTest, PreviewHandsOverTemplateParametersAndRowsAndCleansUp) {
    AddItem(QStringLiteral("Board"), 12, 3);
    RecordingHost host;
    TScopedPrintHost registered(&host);
    TOrderPrinter printer;
    EXPECT_FALSE(printer.Preview()); // no order: nothing happens
    EXPECT_EQ(host.previews, 0);
    printer.Order = &order;
    // Only the row file this preview made must be gone: others' files may lie in the same folder.
    const QStringList rowFiles{QStringLiteral("~LN*.TMP")};
    const QStringList before = QDir(TempDir()).entryList(rowFiles, QDir::Files);
    ASSERT_TRUE(printer.Preview());
    EXPECT_EQ(host.seenTemplate, *ReportTemplates().FindSection(printer.SectionName()));
    EXPECT_FALSE(host.seenTemplate.isEmpty());
    EXPECT_EQ(host.seenRecords, 1);
    const TVersionInfo& v = Version();
    EXPECT_EQ(
        host.seenParameters,
        QStringList({v.ProductName,
                     QStringLiteral("%1.%2.%3.%4").arg(v.Major).arg(v.Minor).arg(v.Release).arg(v.Build)}));
    EXPECT_FALSE(printer.DataSet().Active());
    EXPECT_FALSE(host.seenRowFile.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(host.seenRowFile));
    EXPECT_EQ(QDir(TempDir()).entryList(rowFiles, QDir::Files), before);
    ASSERT_TRUE(printer.Design());
    EXPECT_EQ(host.designs, 1);
}

TEST_F(PrintersTest, TemplatesAreSectionsOfTheStoreAndSaveBackIntoIt) {
    const QString copy = dir.filePath(QStringLiteral("LNTR.PRS"));
    ASSERT_TRUE(QFile::copy(ProgramDir() + QStringLiteral("LNTR.PRS"), copy));
    ASSERT_TRUE(ReportTemplates().LoadFromFile(copy));
    TMaterialPrinter printer;
    printer.Material = &material;
    TPredloha predloha;
    printer.NactiPredlohu(printer.Sestava, predloha);
    EXPECT_EQ(predloha.Lines(), *ReportTemplates().FindSection(QStringLiteral("reportmaterial")));
    printer.Sestava.SetPredloha(TPredloha(QStringList{QStringLiteral("I,0,\"Changed\"")}));
    EXPECT_TRUE(printer.UlozPredlohu(printer.Sestava));
    TINI reread;
    ASSERT_TRUE(reread.LoadFromFile(copy));
    EXPECT_EQ(*reread.FindSection(QStringLiteral("ReportMaterial")),
              QStringList{QStringLiteral("I,0,\"Changed\"")});
    EXPECT_NE(reread.FindSection(QStringLiteral("ReportOrder")), nullptr);
    test::initProgramForTests();
}

TEST_F(PrintersTest, TheLogoComesFromTheSettingsElseFromLogoBmpBesideTheProgram) {
    QImage red(8, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    QImage blue(6, 6, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    const QString own = dir.filePath(QStringLiteral("own.png"));
    ASSERT_TRUE(red.save(own));
    TSheetsPrinter printer;
    EXPECT_EQ(printer.NactiSeznamObrazu(), QStringList({QStringLiteral("LOGO"), QStringLiteral("IMAGE")}));
    EXPECT_EQ(TOrderPrinter().NactiSeznamObrazu(), QStringList{QStringLiteral("LOGO")});

    QImage picture;
    setup.SetSupplierLogoFileName(own);
    ASSERT_TRUE(printer.NactiObraz(QStringLiteral("logo"), picture));
    EXPECT_EQ(picture.size(), QSize(8, 4));
    QImage again; // for the next page: the same picture, not a copy decoded afresh
    ASSERT_TRUE(printer.NactiObraz(QStringLiteral("LOGO"), again));
    EXPECT_EQ(again.constBits(), picture.constBits());
    EXPECT_FALSE(printer.NactiObraz(QStringLiteral("BANNER"), picture));

    // A program folder of its own with logo.bmp: the fallback when the settings' file fails.
    QDir(dir.path()).mkdir(QStringLiteral("program"));
    ASSERT_TRUE(blue.save(dir.filePath(QStringLiteral("program/logo.bmp"))));
    InitProgramValues({dir.filePath(QStringLiteral("program")), QStringLiteral(LINTARO_BIN_DIR)});
    setup.SetSupplierLogoFileName(dir.filePath(QStringLiteral("missing.png")));
    ASSERT_TRUE(printer.NactiObraz(QStringLiteral("LOGO"), picture));
    EXPECT_EQ(picture.size(), QSize(6, 6));
    QFile::remove(dir.filePath(QStringLiteral("program/logo.bmp")));
    EXPECT_FALSE(printer.NactiObraz(QStringLiteral("LOGO"), picture));
    test::initProgramForTests();
}

TEST(ImageStrips, EachStripIs1155WideAndRepeatsTheLast50OfTheOneBefore) {
    struct Case {
        int width;
        std::vector<int> offsets;
    };
    for (const Case& c : {Case{0, {}}, Case{1, {0}}, Case{1155, {0}}, Case{1156, {0, 1105}},
                          Case{2260, {0, 1105}}, Case{2261, {0, 1105, 2210}}})
        EXPECT_EQ(StripOffsets(c.width), c.offsets) << c.width;

    ensureGuiApplication();
    for (const auto& [width, strips] : {std::pair{1155, 1}, std::pair{1156, 2}}) {
        QPicture drawing;
        QPainter painter(&drawing);
        painter.fillRect(QRect(0, 0, width, 40), Qt::black);
        painter.end();
        const std::vector<QPicture> cut = CutIntoStrips(drawing);
        ASSERT_EQ(static_cast<int>(cut.size()), strips) << width;
        for (const QPicture& strip : cut)
            EXPECT_EQ(strip.boundingRect(), QRect(0, 0, 1155, 40));
    }
}

TEST_F(PrintersTest, HeaderOnlyReportsPrintOverAnEmptyDataset) {
    setup.Supplier()->SetTown(QStringLiteral("Brno"));
    TSetupPrinter setupPrinter;
    TSheetsPrinter paramsPrinter;
    paramsPrinter.Order = &order;
    paramsPrinter.SheetsPage = 0;
    for (TDocumentPrinter* printer :
         {static_cast<TDocumentPrinter*>(&setupPrinter), static_cast<TDocumentPrinter*>(&paramsPrinter)}) {
        ASSERT_TRUE(printer->Open()) << printer->Stem().toStdString();
        EXPECT_EQ(printer->DataSet().RecordCount(), 0);
        TSestVystup output;
        ASSERT_EQ(TReportRun(printer->Sestava, output).Run(), 0);
        const QString dump = output.Dump();
        const QString expected =
            printer == &setupPrinter ? QStringLiteral("Brno") : QStringLiteral("Horak Kitchens");
        EXPECT_TRUE(dump.contains(expected)) << dump.toStdString();
        printer->Close();
    }
}

TEST_F(PrintersTest, TheCuttingSheetImageIsTheStripOfTheCurrentRow) {
    TSheetsPrinter printer;
    printer.Order = &order;
    printer.SheetsPage = 1;
    ASSERT_TRUE(printer.Open());
    // No calculation: no strips, no rows, no image.
    EXPECT_TRUE(printer.Rows().isEmpty());
    QImage picture;
    EXPECT_FALSE(printer.NactiObraz(QStringLiteral("IMAGE"), picture));
    EXPECT_EQ(printer.DataSet().FieldByName(QStringLiteral("ID"))->DisplayText(),
              order.Sheets()->GetPropAsString(QStringLiteral("ID")));
    printer.Close();
}

} // namespace
