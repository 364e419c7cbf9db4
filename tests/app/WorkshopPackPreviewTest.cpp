// The print preview showing pages that paint themselves (the workshop pack): the pages' count and
// sizes, and the range and copies typed by the user reaching the print and PDF callbacks.
#include "WidgetApplication.h"

#include "platform/UserSettings.h"
#include "print/preview/PrintPreviewForm.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace lintaro {
namespace {

struct TCall {
    int printer = -1, from = -1, to = -1, copies = -1;
    QString file;
};

class PackPreview : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureWidgetApplication();
        test::initProgramForTests();
        ASSERT_TRUE(dir_.isValid());
        userSettings_ = std::make_unique<ScopedUserSettingsFile>(dir_.filePath(QStringLiteral("user.conf")));
        preview_ = std::make_unique<TPrintPreviewForm>();
        preview_->ShowMessage = [this](const QString&, const QString& text) { messages_ << text; };
        TPreviewPages pages;
        pages.Title = QStringLiteral("Workshop pack");
        pages.Count = 4;
        // Page 2 is landscape A4, the rest portrait.
        pages.SizeMm = [](int page) { return page == 1 ? QSizeF(297, 210) : QSizeF(210, 297); };
        pages.Render = [this](int page, double dpi) {
            rendered_ << page;
            const QSizeF mm = page == 1 ? QSizeF(297, 210) : QSizeF(210, 297);
            QImage image((mm / 25.4 * dpi).toSize(), QImage::Format_RGB32);
            image.fill(Qt::white);
            return image;
        };
        pages.Print = [this](int printer, int from, int to, int copies, QString&) {
            print_ = {printer, from, to, copies, {}};
            return true;
        };
        pages.SavePdf = [this](const QString& file, int from, int to, QString& error) {
            pdf_ = {-1, from, to, -1, file};
            error = QStringLiteral("disk full");
            return false;
        };
        preview_->SetPages(pages);
        preview_->show();
    }
    void TearDown() override { preview_.reset(); }
    void type(const char* name, const QString& text) {
        auto* edit = preview_->findChild<QLineEdit*>(QLatin1String(name));
        ASSERT_NE(edit, nullptr) << name;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QLabel* icon(const char* name) { return preview_->findChild<QLabel*>(QLatin1String(name)); }

    QTemporaryDir dir_;
    std::unique_ptr<ScopedUserSettingsFile> userSettings_;
    std::unique_ptr<TPrintPreviewForm> preview_;
    QStringList messages_;
    QList<int> rendered_;
    TCall print_, pdf_;
};

TEST_F(PackPreview, ShowsEachPageInItsOwnSize) {
    EXPECT_EQ(preview_->PageCount(), 4);
    EXPECT_EQ(preview_->windowTitle(), QStringLiteral("Workshop pack"));
    QTest::mouseClick(icon("ImageIconPageNext"), Qt::LeftButton);
    EXPECT_EQ(preview_->CurrentPage(), 2);
    ASSERT_FALSE(rendered_.isEmpty());
    EXPECT_EQ(rendered_.last(), 1); // the page shown is the one painted last
    auto* page = preview_->findChild<QLabel*>(QStringLiteral("ImagePage"));
    ASSERT_NE(page, nullptr);
    EXPECT_GT(page->width(), page->height()); // the landscape page
}

TEST_F(PackPreview, TheTypedRangeAndCopiesReachPrintAndPdf) {
    type("EditPageFrom", QStringLiteral("2"));
    type("EditPageTo", QStringLiteral("3"));
    type("EditCopies", QStringLiteral("2"));
    preview_->RunCommand(QStringLiteral("Print"));
    EXPECT_EQ(print_.printer, 0);
    EXPECT_EQ(print_.from, 1);
    EXPECT_EQ(print_.to, 2);
    EXPECT_EQ(print_.copies, 2);
    const QString file = dir_.filePath(QStringLiteral("pack.pdf"));
    preview_->ChoosePdfFileName = [&](const QString&) { return file; };
    preview_->RunCommand(QStringLiteral("SavePdf"));
    EXPECT_EQ(pdf_.file, file);
    EXPECT_EQ(pdf_.from, 1);
    EXPECT_EQ(pdf_.to, 2);
    EXPECT_EQ(messages_, QStringList{QStringLiteral("disk full")});
}

} // namespace
} // namespace lintaro
