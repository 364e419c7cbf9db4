// The print preview under the offscreen platform: page count and navigation, the zoom steps, the
// clamped inputs typed with the keyboard, and Shift keeping the stored user values untouched.
#include "WidgetApplication.h"

#include "platform/Keyboard.h"
#include "platform/UserSettings.h"
#include "print/TextDataSet.h"
#include "print/preview/PrintPreviewForm.h"
#include "print/preview/ReportDesigner.h"
#include "reports/OddilSestavy.h"
#include "reports/Predloha.h"
#include "reports/Sestava.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace lintaro {
namespace {

class PrintPreview : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureWidgetApplication();
        test::initProgramForTests();
        ASSERT_TRUE(dir_.isValid());
        userSettings_ = std::make_unique<ScopedUserSettingsFile>(dir_.filePath(QStringLiteral("user.conf")));
        preview_ = std::make_unique<TPrintPreviewForm>();
        preview_->ShowMessage = [this](const QString&, const QString& text) { messages_ << text; };
    }
    void TearDown() override { preview_.reset(); }
    // A report of `records` bodies, two to a page.
    void makeReport(int records) {
        QFile file(dir_.filePath(QStringLiteral("lines.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (int i = 1; i <= records; ++i)
            file.write(QByteArray("line ") + QByteArray::number(i) + '\n');
        file.close();
        data_.FileName = file.fileName();
        report_.DataSource = &data_;
        report_.Popis = QStringLiteral("Preview test");
        report_.SetPredloha(TPredloha(QStringList{
            "I,1,4,39,122", "I,2,0,826,1169,0,0,0,0,1,0", "I,3,0,0,0,0", "I,3,1,0,0,0", "I,3,2,1,560,0",
            "I,3,3,0,0,0", "I,3,4,0,0,0", "T,1,0,0,0,400,20,Arial,10,0,0,0,0,238,\"Body\",0,0,0"}));
    }
    QLabel* icon(const char* name) { return preview_->findChild<QLabel*>(QLatin1String(name)); }
    // Types a value into an input and confirms it with Enter.
    void type(const char* name, const QString& text) {
        auto* edit = preview_->findChild<QLineEdit*>(QLatin1String(name));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    QTemporaryDir dir_;
    std::unique_ptr<ScopedUserSettingsFile> userSettings_;
    TTextDataSet data_;
    TSestava report_;
    std::unique_ptr<TPrintPreviewForm> preview_;
    QStringList messages_;
};

TEST_F(PrintPreview, APageThatCannotHoldARowShowsTheEnginesReason) {
    makeReport(3);
    // A page head of 5 000 hundredths of an inch on an A4 page.
    report_.SetPredloha(
        TPredloha(QStringList{"I,1,4,39,122", "I,2,0,826,1169,50,50,45,40,1,0", "I,3,1,1,5000,0",
                              "I,3,2,1,21,0", "T,2,0,0,0,400,20,Arial,10,0,0,0,0,238,\"Body\",0,0,0"}));
    preview_->SetReport(&report_, 0);
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].contains(QString::fromUtf8("Hlavička a patička stránky")))
        << messages_[0].toStdString();
    EXPECT_EQ(preview_->PageCount(), 0);
}

TEST_F(PrintPreview, AReportStoppedForItsSizeShowsWhyAndNoPartOfIt) {
    makeReport(40);
    report_.MaxPlacedElements = 25;
    preview_->SetReport(&report_, 0);
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].contains(QStringLiteral("25"))) << messages_[0].toStdString();
    EXPECT_EQ(preview_->PageCount(), 0);
    messages_.clear();
    report_.MaxPlacedElements = 40;
    preview_->SetReport(&report_, 0);
    EXPECT_TRUE(messages_.isEmpty());
    EXPECT_EQ(preview_->PageCount(), 20);
}

TEST_F(PrintPreview, SaveAsPdfOntoAPipeFailsWithTheReasonAndLeavesItAlone) {
    makeReport(3);
    preview_->SetReport(&report_, 0);
    const QString pipe = dir_.filePath(QStringLiteral("pipe.pdf"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    preview_->ChoosePdfFileName = [&](const QString&) { return pipe; };
    preview_->RunCommand(QStringLiteral("SavePdf"));
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].contains(QLatin1String("not a regular file"))) << messages_[0].toStdString();
    EXPECT_FALSE(QFileInfo(pipe).isFile());
    EXPECT_TRUE(QFileInfo::exists(pipe));

    const QString pdf = dir_.filePath(QStringLiteral("saved.pdf"));
    preview_->ChoosePdfFileName = [&](const QString&) { return pdf; };
    preview_->RunCommand(QStringLiteral("SavePdf"));
    EXPECT_EQ(messages_.size(), 1);
    EXPECT_TRUE(test::readFileBytes(pdf).startsWith("%PDF"));
}

TEST_F(PrintPreview, PagesAndTheirButtons) {
    makeReport(5);
    preview_->SetReport(&report_);
    preview_->show();
    EXPECT_EQ(preview_->PageCount(), 3);
    EXPECT_EQ(preview_->CurrentPage(), 1);
    EXPECT_FALSE(icon("ImageIconPagePrev")->isEnabled());
    QTest::mouseClick(icon("ImageIconPageNext"), Qt::LeftButton);
    QTest::mouseClick(icon("ImageIconPageNext"), Qt::LeftButton);
    EXPECT_EQ(preview_->CurrentPage(), 3);
    EXPECT_FALSE(icon("ImageIconPageNext")->isEnabled());
    EXPECT_TRUE(icon("ImageIconPagePrev")->isEnabled());

    TSestava empty;
    preview_->SetReport(&empty);
    EXPECT_EQ(preview_->PageCount(), 0);
    EXPECT_EQ(preview_->CurrentPage(), 0);
    EXPECT_FALSE(icon("ImageIconPagePrev")->isEnabled());
    EXPECT_FALSE(icon("ImageIconPageNext")->isEnabled());
}

TEST_F(PrintPreview, ZoomStepsAndClampedInputs) {
    makeReport(5);
    ScopedKeyboardState shift(true, false);
    preview_->SetReport(&report_);
    preview_->show();
    ASSERT_EQ(preview_->Zoom(), 100);
    const std::pair<const char*, int> steps[] = {{"ImageIconZoomOut", 90},
                                                 {"ImageIconZoomIn", 100},
                                                 {"ImageIconZoomIn", 125},
                                                 {"ImageIconZoomOut", 100}};
    for (const auto& [name, zoom] : steps) {
        QTest::mouseClick(icon(name), Qt::LeftButton);
        EXPECT_EQ(preview_->Zoom(), zoom) << name;
    }
    type("EditCopies", QStringLiteral("150"));
    EXPECT_EQ(report_.PrintCopies, 99);
    type("EditCopies", QStringLiteral("x"));
    EXPECT_EQ(preview_->findChild<QLineEdit*>(QStringLiteral("EditCopies"))->text(), QStringLiteral("99"));
    type("EditPageTo", QStringLiteral("7"));
    EXPECT_EQ(report_.EndPage, 3);
    type("EditPageFrom", QStringLiteral("0"));
    EXPECT_EQ(report_.StartPage, 1);
    QTest::mouseClick(icon("ImagePageFromUp"), Qt::LeftButton);
    EXPECT_EQ(report_.StartPage, 2);
}

TEST_F(PrintPreview, ShiftOpensAtZoom100AndLeavesUserValues) {
    {
        TUserSettings settings;
        ASSERT_TRUE(settings.Open(true));
        settings.WriteInteger(QStringLiteral("PreviewZoom"), 200);
    }
    const QByteArray before = test::readFileBytes(TUserSettings::FileName());
    makeReport(1);
    {
        ScopedKeyboardState shift(true, false);
        preview_->SetReport(&report_);
        preview_->show();
        EXPECT_EQ(preview_->Zoom(), 100);
        preview_->close();
    }
    EXPECT_EQ(test::readFileBytes(TUserSettings::FileName()), before);
    preview_->show();
    EXPECT_EQ(preview_->Zoom(), 200);
}

TEST_F(PrintPreview, DesignerEditsSavesThroughTheReportAndAsksBeforeLosingChanges) {
    makeReport(1);
    int saves = 0;
    bool saveWorks = false;
    report_.OnUlozPredlohu = [&](TSestava&) {
        ++saves;
        return saveWorks;
    };
    TReportDesigner designer(report_);
    QStringList errors;
    std::vector<int> answers = {QMessageBox::Cancel, QMessageBox::Yes};
    designer.ShowError = [&](const QString& text) { errors << text; };
    designer.Ask = [&](const QString&, const QString& text) {
        EXPECT_EQ(text, TReportDesigner::UnsavedQuestion());
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    };
    designer.show();
    auto* tree = designer.findChild<QTreeWidget*>(QStringLiteral("TreeTemplate"));
    QTreeWidgetItem* body = nullptr;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->childCount() > 0)
            body = tree->topLevelItem(i);
    ASSERT_NE(body, nullptr);
    tree->setCurrentItem(body->child(0));
    auto* left = designer.findChild<QSpinBox*>(QStringLiteral("SpinLeft"));
    ASSERT_NE(left, nullptr);
    left->setFocus();
    left->selectAll();
    QTest::keyClicks(left, QStringLiteral("123"));
    QTest::keyClick(left, Qt::Key_Return);
    EXPECT_TRUE(designer.Modified());
    EXPECT_EQ(report_.Oddily().Item(2).Elements.at(0).Left, 123);
    EXPECT_FALSE(designer.FirstPage().isNull());

    EXPECT_FALSE(designer.Save());
    EXPECT_EQ(errors, QStringList{TReportDesigner::SaveFailedText()});
    EXPECT_TRUE(designer.Modified());
    QTest::keyClick(&designer, Qt::Key_Escape); // Cancel: the designer stays
    EXPECT_TRUE(designer.isVisible());
    saveWorks = true;
    QTest::keyClick(&designer, Qt::Key_Escape); // Yes: saved, then closed
    EXPECT_EQ(saves, 2);
    EXPECT_FALSE(designer.isVisible());
    EXPECT_TRUE(report_.Predloha().Text().contains(QStringLiteral(",123,")));
}

} // namespace
} // namespace lintaro
