#include "reports/TextExport.h"
#include "reports/ReportMessages.h"
#include "reports/ReportProgress.h"

#include <gtest/gtest.h>

#include <QBuffer>

using namespace lintaro;

namespace {

TVystPrvek textAt(int left, int top, int width, const char* text, int alignment = 0, int kind = ekText) {
    TVystPrvek e;
    e.Kind = kind;
    e.Style.Kind = kind;
    e.Style.Alignment = alignment;
    e.Box = QRect(left, top, width, 17);
    e.Text = QString::fromUtf8(text);
    return e;
}

TEST(TextExport, TextElementsOnTheCharacterGrid) {
    TStranaPrvku page;
    page.Prvky = {textAt(0, 0, 100, "Zakázka"), textAt(100, 0, 100, "12", eaRight),
                  textAt(0, 34, 100, "a\nb"), textAt(0, 34, 100, "xyz"), textAt(0, 100, 100, "", 0, ekLine)};
    TPageSetup setup;
    TDesignGrid grid; // 12 characters and 6 rows per inch
    // Every text starts in the column of its left edge, right-aligned or not.
    EXPECT_EQ(PageAsTextRows(page, setup, grid), (QStringList{QStringLiteral("Zakázka     12"), QString(),
                                                              QStringLiteral("ayz"), QStringLiteral("b")}));
    grid.CharPitch = 0;
    grid.LinePitch = 2;
    EXPECT_EQ(PageAsTextRows(page, setup, grid).value(0), QStringLiteral("Zakázka   12"));
}

TEST(TextExport, AlignedTextsKeepEveryCharacterAndLineEndingsBecomeRows) {
    TDesignGrid grid;
    grid.CharPitch = 0; // 10 characters per inch
    TPageSetup setup;
    for (const int alignment : {int(eaRight), int(eaCenter), eaRight | eaMultiLine}) {
        TStranaPrvku page;
        page.Prvky = {textAt(0, 0, 50, "ABCDEFGHIJ", alignment)};
        EXPECT_EQ(PageAsTextRows(page, setup, grid), QStringList{QStringLiteral("ABCDEFGHIJ")}) << alignment;
    }
    // A stored note may carry CR LF or a lone CR: each ends a row and none reaches the output.
    TStranaPrvku page;
    page.Prvky = {textAt(0, 0, 300, "one\r\ntwo\rthree\nfour", eaMultiLine)};
    EXPECT_EQ(PageAsTextRows(page, setup, grid),
              (QStringList{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"),
                           QStringLiteral("four")}));
}

TEST(TextExport, CodePages) {
    struct Case {
        TExportLanguage language;
        QByteArray bytes;
    };
    const QString text = QStringLiteral("Žluťoučký kůň €");
    for (const Case& c : {Case{slASCII, "Zlutoucky kun ?"},
                          Case{slCP1250, QByteArray::fromHex("8e6c759d6f75e86bfd206bf9f22080")},
                          Case{slCP852, QByteArray::fromHex("a66c759c6f759f6bec206b85e5203f")},
                          Case{slUndefined, text.toUtf8()}}) {
        QByteArray bytes;
        QString error;
        ASSERT_TRUE(EncodeExportText(text, c.language, bytes, error)) << error.toStdString();
        EXPECT_EQ(bytes.toHex(' ').toStdString(), c.bytes.toHex(' ').toStdString()) << c.language;
    }
    QByteArray bytes;
    QString error;
    EXPECT_FALSE(EncodeExportText(text, slCP867, bytes, error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(TextExport, PageRangeAndCopies) {
    TSestVystup output;
    for (const char* t : {"one", "two", "three"})
        output.AddPage().Prvky.push_back(textAt(0, 0, 100, t));
    TSestava report;
    report.StartPage = 2;
    report.EndPage = 99;
    report.PrintCopies = 2;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_EQ(ExportText(report, output, buffer, error), ReportMessages::rrOK);
    EXPECT_EQ(buffer.data(), QByteArray("two\n\fthree\n\ftwo\n\fthree\n\f"));
    report.ExportLanguage = slCP867;
    EXPECT_EQ(ExportText(report, output, buffer, error), ReportMessages::rrOutputError);
}

// Cancels once asked the given number of times.
class CancelAt : public TReportProgress {
public:
    explicit CancelAt(int asks) : asks_(asks) {}
    void Show(const QString&, bool) override {}
    bool Cancelled() override { return ++asked >= asks_; }
    int asked = 0;

private:
    int asks_;
};

TEST(TextExport, CancelledBetweenElementsWritesNothing) {
    TSestVystup output;
    for (const char* t : {"one", "two", "three"})
        output.AddPage().Prvky.push_back(textAt(0, 0, 100, t));
    TSestava report;
    report.PrintCopies = 2;
    struct Case {
        int cancelAt;
        int result;
    };
    // Six elements in all: asked before each of them.
    for (const Case& c : {Case{1, ReportMessages::rrCancelled}, Case{6, ReportMessages::rrCancelled},
                          Case{7, ReportMessages::rrOK}}) {
        CancelAt progress(c.cancelAt);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QString error;
        EXPECT_EQ(ExportText(report, output, buffer, error, &progress), c.result) << c.cancelAt;
        EXPECT_EQ(buffer.data().isEmpty(), c.result == ReportMessages::rrCancelled) << c.cancelAt;
        EXPECT_EQ(progress.asked, std::min(c.cancelAt, 6)) << c.cancelAt;
    }
}

TEST(TextExport, PrinterLinesEndWithCarriageReturnAndLineFeed) {
    TSestVystup output;
    TVystPrvek twoLines = textAt(0, 0, 100, "a");
    twoLines.Text = QStringLiteral("a\nb");
    output.AddPage().Prvky.push_back(twoLines);
    TSestava report;
    QByteArray bytes;
    QString error;
    ASSERT_EQ(PagesAsText(report, output, nullptr, "\r\n", bytes, error), ReportMessages::rrOK);
    EXPECT_EQ(bytes, QByteArray("a\r\nb\r\n\f"));
}

} // namespace
