// A page put together from the shipped texts, pictures and banners the way the main window does,
// to prove they fit together. With LINTARO_SCREENSHOT_DIR set, the page and the about box are saved
// there as pictures for a person to look at.
#include "widgets/AboutBox.h"
#include "widgets/WindowDecorations.h"
#include "widgets/WindowTexts.h"

#include "WidgetApplication.h"
#include "foundation/Program.h"
#include "platform/Clock.h"
#include "support/TestSupport.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <gtest/gtest.h>

namespace lintaro {
namespace {

template <typename T> T* place(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* w = new T(parent);
    w->setObjectName(name);
    w->setGeometry(geometry);
    return w;
}

void keepForPerson(QWidget* widget, const char* fileName) {
    const QString folder = qEnvironmentVariable("LINTARO_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        widget->grab().save(QDir(folder).filePath(fileName));
}

TEST(ShippedLook, OrderPageDecorationsComeFromTheDataFiles) {
    test::ensureWidgetApplication();
    test::initProgramForTests();
    QWidget page;
    page.setObjectName("PageOrder");
    page.resize(1000, 520);
    page.setStyleSheet("#PageOrder { background: rgb(205,220,220); }");
    place<QLabel>(&page, "ImageTop", {0, 0, 800, 64});
    place<QLabel>(&page, "ImageLogo", {810, 4, 170, 56});
    auto* expanded = place<QLabel>(&page, "ImageMenuExpandedOrder", {8, 72, 170, 208});
    const char* commands[] = {"New", "Open", "Save", "SaveAs", "SaveAsHTML", "Print", "SaveAsDefault"};
    for (int i = 0; i < 7; ++i) {
        place<QLabel>(&page, QStringLiteral("ImageBulletOrder%1").arg(i), {18, 124 + i * 22, 9, 9});
        place<QLabel>(&page, QStringLiteral("LabelMenuOrder") + commands[i], {32, 118 + i * 22, 140, 20});
    }
    int top = 282;
    for (const char* other : {"Parts", "Material", "Sheets", "Setup"}) {
        place<QLabel>(&page, QStringLiteral("ImageMenuCollapsed") + other, {8, top, 170, 36});
        top += 38;
    }
    place<QLabel>(&page, "ImageTopOrder", {190, 72, 600, 36});
    const char* icons[] = {"New", "Open", "Save", "SaveAs", "Print"};
    for (int i = 0; i < 5; ++i)
        place<QLabel>(&page, QStringLiteral("ImageIconOrder") + icons[i], {190 + i * 40, 114, 36, 36});
    place<QLabel>(&page, "LabelOrderCustomer", {190, 160, 200, 20});
    place<QLabel>(&page, "ImageTipBkgOrder", {820, 72, 170, 160});
    place<QLabel>(&page, "ImageTipOrder", {826, 78, 36, 36});
    auto* tip = place<QLabel>(&page, "LabelTipOrder", {828, 116, 156, 110});
    tip->setWordWrap(true);
    tip->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    place<QLabel>(&page, "ImageTipPrevOrder", {906, 78, 36, 36});
    place<QLabel>(&page, "ImageTipNextOrder", {946, 78, 36, 36});
    place<QLabel>(&page, "ImageRBOrder", {830, 210, 150, 300});
    place<QLabel>(&page, "ImageBBOrder", {250, 450, 468, 60});
    expanded->lower();

    ApplyWindowTexts(&page, MainWindowTextRules(), Texts());
    ApplyPictureRules(&page, MainWindowPictureRules(), Pictures());
    VirtualClock clock;
    TWindowDecorations decorations(&page, clock, Texts(), Pictures());
    decorations.LoadBanners(TWindowDecorations::DefaultBannerFolder());
    decorations.Start();

    EXPECT_EQ(page.findChild<QLabel*>("LabelMenuOrderNew")->text(), "New");
    EXPECT_EQ(page.findChild<QLabel*>("LabelOrderCustomer")->text(), "Customer");
    EXPECT_FALSE(tip->text().isEmpty());
    for (const char* image : {"ImageTop", "ImageLogo", "ImageMenuExpandedOrder", "ImageBulletOrder0",
                              "ImageMenuCollapsedSheets", "ImageTopOrder", "ImageIconOrderPrint",
                              "ImageTipBkgOrder", "ImageTipNextOrder", "ImageRBOrder", "ImageBBOrder"})
        EXPECT_FALSE(page.findChild<QLabel*>(image)->pixmap().isNull()) << image;
    keepForPerson(&page, "order-page-decorations.png");

    const auto about = BuildAboutBox(AboutTextsFromResources());
    keepForPerson(about.get(), "about-box.png");
}

} // namespace
} // namespace lintaro
