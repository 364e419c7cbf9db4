#include "widgets/FormUtils.h"
#include "widgets/AboutBox.h"

#include "WidgetApplication.h"
#include "foundation/Pictures.h"
#include "support/TestSupport.h"

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <gtest/gtest.h>

namespace lintaro {
namespace {

TEST(AboutBox, ControlsSitAtTheirPlaces) {
    test::ensureWidgetApplication();
    test::initProgramForTests();
    const auto box = BuildAboutBox({"About", "Version", "OK", "Notice text", "A note"});
    EXPECT_EQ(box->windowTitle(), "About");
    EXPECT_EQ(box->size(), QSize(413, 289));
    struct Place {
        const char* name;
        QRect geometry;
    };
    const Place places[] = {
        {"AboutIcon", {48, 24, 64, 64}},      {"AboutProductName", {124, 4, 280, 20}},
        {"AboutVersion", {124, 28, 280, 13}}, {"AboutComments", {124, 44, 280, 13}},
        {"AboutNote", {8, 136, 397, 45}},     {"AboutNotice", {8, 184, 397, 57}},
        {"AboutPanel", {0, 248, 413, 41}},    {"AboutButton", {328, 8, 75, 25}},
    };
    for (const Place& place : places) {
        const QWidget* control = box->findChild<QWidget*>(place.name);
        ASSERT_NE(control, nullptr) << place.name;
        EXPECT_EQ(control->geometry(), place.geometry) << place.name;
    }
    const auto* name = box->findChild<QLabel*>("AboutProductName");
    EXPECT_EQ(name->text(), "Lintaro");
    EXPECT_TRUE(name->font().bold());
    EXPECT_EQ(name->font().pixelSize(), 16);
    EXPECT_TRUE(box->findChild<QLabel*>("AboutVersion")->text().startsWith("Version 1."));
    EXPECT_EQ(box->findChild<QPlainTextEdit*>("AboutNotice")->toPlainText(), "Notice text");
    EXPECT_TRUE(box->findChild<QPlainTextEdit*>("AboutNotice")->isReadOnly());
    EXPECT_TRUE(box->findChild<QLabel*>("AboutNote")->wordWrap());
    auto* button = box->findChild<QPushButton*>("AboutButton");
    EXPECT_EQ(button->text(), "OK");
    EXPECT_TRUE(button->isDefault());
    button->click();
    EXPECT_EQ(box->result(), QDialog::Accepted);
}

TEST(AboutBox, ShippedTextsAreComplete) {
    test::initProgramForTests();
    const TAboutTexts texts = AboutTextsFromResources();
    for (const QString& text :
         {texts.title, texts.versionCaption, texts.buttonCaption, texts.notice, texts.note})
        EXPECT_FALSE(text.isEmpty());
    EXPECT_TRUE(texts.notice.contains("LGPL"));
}

TEST(CenterForm, CentresOnTheScreenNeverAboveOrLeftOfIt) {
    test::ensureWidgetApplication();
    QWidget form;
    form.resize(200, 100);
    CenterForm(&form);
    const QRect screen = form.screen()->geometry();
    EXPECT_EQ(form.frameGeometry().left(),
              screen.left() + (screen.width() - form.frameGeometry().width()) / 2);
    QWidget huge;
    huge.resize(screen.width() + 400, screen.height() + 400);
    CenterForm(&huge);
    EXPECT_EQ(huge.frameGeometry().topLeft(), QPoint(0, 0));
}

TEST(SetStatusText, AddsPanelsAndSizesThemByTheText) {
    test::ensureWidgetApplication();
    QStatusBar loose;
    SetStatusText(&loose, "Page: 1/3", 1);
    ASSERT_NE(StatusPanel(&loose, 0), nullptr);
    EXPECT_EQ(StatusPanel(&loose, 0)->width(), 0);
    EXPECT_EQ(StatusPanel(&loose, 1)->text(), "Page: 1/3");
    EXPECT_EQ(StatusPanel(&loose, 1)->minimumWidth(), 9 * 5 + 10) << "without a parent: length × 5 + 10";
    SetStatusText(&loose, "", 1);
    EXPECT_EQ(StatusPanel(&loose, 1)->minimumWidth(), 0);

    QWidget window;
    auto* bar = new QStatusBar(&window);
    SetStatusText(bar, "Zoom: 100%", 0);
    EXPECT_EQ(StatusPanel(bar, 0)->minimumWidth(),
              QFontMetrics(bar->font()).horizontalAdvance("Zoom: 100%") + 10);
    EXPECT_EQ(StatusPanel(bar, 1), nullptr);
}

TEST(Hover, LabelTurnsHotOnlyForItselfAndImagePicksTheStatePicture) {
    test::ensureWidgetApplication();
    QWidget window;
    auto* link = new QLabel(&window);
    HoverLabel(&window, link);
    EXPECT_EQ(HoverStateOf(link), hsNormal);
    EXPECT_FALSE(link->font().underline());
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    HoverLabel(link, link);
    EXPECT_EQ(HoverStateOf(link), hsHot);
    EXPECT_TRUE(link->font().underline());

    TPictureList pictures;
    for (int state = 1; state <= 3; ++state) {
        QImage image(state, 1, QImage::Format_RGB32);
        image.fill(Qt::white);
        pictures.Add(QStringLiteral("IconSaveC%1").arg(state), image);
    }
    auto* icon = new QLabel(&window);
    HoverImage(&window, icon, "IconSaveC", pictures);
    EXPECT_EQ(icon->pixmap().width(), 1);
    HoverImage(icon, icon, "IconSaveC", pictures);
    EXPECT_EQ(icon->pixmap().width(), 2);
    icon->setEnabled(false);
    HoverImage(&window, icon, "IconSaveC", pictures);
    EXPECT_EQ(icon->pixmap().width(), 3) << "disabled shows the third picture, hot or not";
}

} // namespace
} // namespace lintaro
