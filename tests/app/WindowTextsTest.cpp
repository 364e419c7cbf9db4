#include "widgets/WindowTexts.h"

#include "WidgetApplication.h"
#include "foundation/Ini.h"
#include "foundation/Pictures.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace lintaro {
namespace {

TINI textsFrom(const char* text) {
    TINI ini;
    ini.FromText(QString::fromUtf8(text));
    return ini;
}

template <typename T> T* add(QWidget* parent, const char* name) {
    auto* w = new T(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

class WindowTexts : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureWidgetApplication();
        window = std::make_unique<QWidget>();
        customer = add<QLabel>(window.get(), "LabelOrderCustomer");
        edit = add<QLineEdit>(window.get(), "EditOrderCustomerCaption");
        box = add<QCheckBox>(window.get(), "CBOrderVATMode");
        button = add<QPushButton>(window.get(), "ButtonSheetsStartStop");
        auto* bar = add<QMenuBar>(window.get(), "MenuParts");
        edits = add<QMenu>(bar, "MenuPartsEdit");
        bar->addMenu(edits);
        remove = edits->addAction(QString());
        remove->setObjectName("MenuPartsEditDelete");
        other = edits->addAction("keep");
        other->setObjectName("MenuPartsEditUnknown");
    }

    std::unique_ptr<QWidget> window;
    QLabel* customer = nullptr;
    QLineEdit* edit = nullptr;
    QCheckBox* box = nullptr;
    QPushButton* button = nullptr;
    QMenu* edits = nullptr;
    QAction* remove = nullptr;
    QAction* other = nullptr;
};

TEST_F(WindowTexts, EachKindOfControlTakesItsTextByName) {
    const TINI texts = textsFrom("[Hints]\n"
                                 "EditOrderCustomerCaption=Customer's name|customer name\n"
                                 "CBOrderVATMode=Two¶lines\n"
                                 "[Labels]\n"
                                 "OrderCustomer=Customer|Who the order is for\n"
                                 "CBOrderVATMode=Prices without VAT|Enter prices without VAT\n"
                                 "ButtonSheetsStartStop=Calculate|\n"
                                 "[MenuParts]\n"
                                 "Edit=&Edit\n"
                                 "EditDelete=&Delete part\n");
    ApplyWindowTexts(window.get(), MainWindowTextRules(), texts);
    EXPECT_EQ(customer->text(), "Customer");
    EXPECT_EQ(customer->toolTip(), "Who the order is for");
    EXPECT_EQ(edit->toolTip(), "Customer's name");
    EXPECT_EQ(LongHintOf(edit), "customer name");
    EXPECT_EQ(box->text(), "Prices without VAT");
    EXPECT_EQ(box->toolTip(), "Enter prices without VAT") << "the labels' hint follows the hints section";
    EXPECT_EQ(button->text(), "Calculate");
    EXPECT_EQ(button->toolTip(), "");
    EXPECT_EQ(edits->title(), "&Edit");
    EXPECT_EQ(remove->text(), "&Delete part");
    EXPECT_EQ(other->text(), "keep");
}

TEST_F(WindowTexts, MissingSectionsLeaveTheControlsAsTheyWere) {
    customer->setText("before");
    ApplyWindowTexts(window.get(), MainWindowTextRules(), textsFrom("[Other]\nx=y\n"));
    EXPECT_EQ(customer->text(), "before");
    EXPECT_EQ(edit->toolTip(), "");
    EXPECT_EQ(LongHintOf(edit), "");
    EXPECT_EQ(remove->text(), "");
}

TEST_F(WindowTexts, PreviewRulesSkipTheImagePrefixAndReadTheirOwnSections) {
    auto* page = add<QLabel>(window.get(), "ImageIconPageNext");
    auto* print = new QAction(window.get());
    print->setObjectName("MenuPrintFilePrint");
    auto* popup = new QAction(window.get());
    popup->setObjectName("PUMenuPrintZoomIn");
    const TINI texts = textsFrom("[PrintHints]\nIconPageNext=Next page|Show the next page\n"
                                 "[MenuPrint]\nFilePrint=&Print\n"
                                 "[PUMenuPrint]\nZoomIn=Zoom ¶in\n"
                                 "[Hints]\nEditOrderCustomerCaption=main window only\n");
    ApplyWindowTexts(window.get(), PrintPreviewTextRules(), texts);
    EXPECT_EQ(page->toolTip(), "Next page");
    EXPECT_EQ(print->text(), "&Print");
    EXPECT_EQ(popup->text(), "Zoom \nin");
    EXPECT_EQ(edit->toolTip(), "");
}

TEST(Hints, ShortAndLongParts) {
    EXPECT_EQ(ShortHint("short|long"), "short");
    EXPECT_EQ(LongHint("short|long"), "long");
    EXPECT_EQ(ShortHint("only"), "only");
    EXPECT_EQ(LongHint("only"), "only");
    EXPECT_EQ(TextWithLineBreaks("a¶b"), "a\nb");
}

TEST(PictureRules, ImagesTakeTheirPicturesByName) {
    test::ensureWidgetApplication();
    TPictureList pictures;
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    pictures.Add("Bullet", red);
    pictures.Add("TopOrder", red.scaled(8, 6));
    QWidget window;
    auto* bullet = add<QLabel>(&window, "ImageBullet7");
    auto* header = add<QLabel>(&window, "ImageTopOrder");
    auto* top = add<QLabel>(&window, "ImageTop");
    ApplyPictureRules(&window, MainWindowPictureRules(), pictures);
    EXPECT_EQ(bullet->pixmap().size(), QSize(4, 3));
    EXPECT_EQ(header->pixmap().size(), QSize(8, 6));
    EXPECT_TRUE(top->pixmap().isNull()) << "a missing picture leaves the image empty";
}

} // namespace
} // namespace lintaro
