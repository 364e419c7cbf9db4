#include "reports/TextExport.h"
#include "reports/ReportMessages.h"

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
    EXPECT_EQ(PageAsTextRows(page, setup, grid),
              (QStringList{QStringLiteral("Zakázka               12"), QString(), QStringLiteral("ayz"),
                           QStringLiteral("b")}));
    grid.CharPitch = 0;
    grid.LinePitch = 2;
    EXPECT_EQ(PageAsTextRows(page, setup, grid).value(0), QStringLiteral("Zakázka           12"));
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

} // namespace
