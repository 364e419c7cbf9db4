#include "reports/RichText.h"
#include "reports/ReportRun.h"
#include "reports/Sestava.h"
#include "reports/TextExport.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace lintaro;

namespace {

void guiApp() {
    test::ensureGuiApplication();
}

// The character format at position of the document the reader's HTML makes.
QTextCharFormat formatAt(const QTextDocument& doc, int position) {
    QTextCursor cursor(const_cast<QTextDocument*>(&doc));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

TEST(RichText, RtfReaderKeepsTextAndCommonFormatting) {
    guiApp();
    const QString rtf = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Arial CE;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;}{\\*\\generator Writer;}"
        "\\pard\\qc Plain {\\b bold} \\i italic\\i0  \\ul under\\ulnone  {\\cf1 red} {\\fs36 big}\\par\n"
        "\\pard \\'e8\\'ed\\'9a \\u269?\\u345?\\'3f \\{x\\} a\\\\b\\tab end\\line next\\par}");
    QTextDocument doc;
    doc.setHtml(RtfToHtml(rtf, 10.0));
    const QString plain = doc.toPlainText();
    EXPECT_EQ(plain, QString::fromUtf8("Plain bold italic under red big\nčíš čř? {x} a\\b\tend\nnext"))
        << plain.toStdString();
    struct Case {
        const char* word;
        bool bold, italic, underline;
        QColor colour;
        int pixels;
    };
    for (const Case& c :
         {Case{"Plain", false, false, false, QColor(), 0}, Case{"bold", true, false, false, QColor(), 0},
          Case{"italic", false, true, false, QColor(), 0}, Case{"under", false, false, true, QColor(), 0},
          Case{"red", false, false, false, QColor(Qt::red), 0},
          Case{"big", false, false, false, QColor(), 180}}) {
        const QTextCharFormat f = formatAt(doc, static_cast<int>(plain.indexOf(QString::fromUtf8(c.word))));
        EXPECT_EQ(f.fontWeight() == QFont::Bold, c.bold) << c.word;
        EXPECT_EQ(f.fontItalic(), c.italic) << c.word;
        EXPECT_EQ(f.fontUnderline(), c.underline) << c.word;
        if (c.colour.isValid()) {
            EXPECT_EQ(f.foreground().color(), c.colour) << c.word;
        }
        if (c.pixels > 0) {
            EXPECT_EQ(f.font().pixelSize(), c.pixels) << c.word;
        }
    }
    EXPECT_EQ(doc.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TSiReportElement richElement(int width) {
    TSiReportElement e;
    e.Kind = ekText;
    e.FontName = QStringLiteral("Liberation Sans");
    e.FontSize = 10;
    e.Width = width;
    e.Height = 20;
    e.Alignment = eaRichText | eaVariableHeight;
    return e;
}

QString paragraphs(int count) {
    QString rtf = QStringLiteral("{\\rtf1\\ansi ");
    for (int i = 1; i <= count; ++i)
        rtf += QStringLiteral("Line %1\\par ").arg(i);
    return rtf + u'}';
}

TEST(RichText, HeightCutsAndLinesFollowTheLayout) {
    guiApp();
    const TRichText text(richElement(300), paragraphs(5), 300);
    const int height = text.Height();
    const int line = LineHeight(richElement(300));
    // Five lines of the element's font, give or take the rounding of each.
    EXPECT_NEAR(height, 5 * line, 5);
    const int cut = text.CutAt(height / 2);
    EXPECT_GT(cut, 0);
    EXPECT_LE(cut, height / 2);
    EXPECT_EQ(text.PlainLines(0, cut) + text.PlainLines(cut, height - cut),
              (QStringList{"Line 1", "Line 2", "Line 3", "Line 4", "Line 5"}));
    EXPECT_EQ(text.CutAt(1), 0) << "no line ends one unit down";
    EXPECT_EQ(text.CutAt(height + 100), height);
}

// A rich text taller than the page is cut between lines; each part stays above the page foot and
// every line is printed once, in order.
TEST(RichText, TallTextIsCutAcrossPages) {
    guiApp();
    TSestava report;
    report.SetPredloha(TPredloha(QStringList{
        QStringLiteral("I,1,4,39,122"), QStringLiteral("I,2,0,826,400,0,0,0,0,1,0"),
        QStringLiteral("I,3,1,1,30,0"), QStringLiteral("I,3,2,1,40,0"), QStringLiteral("I,3,4,1,30,0"),
        QStringLiteral("H,1,0,0,0,100,20,Liberation Sans,10,0,0,0,0,238,\"Head\",0,0,0"),
        QStringLiteral("T,1,0,0,0,300,20,Liberation Sans,10,0,0,%1,0,238,\"%2\",0,0,0")
            .arg(eaRichText | eaVariableHeight)
            .arg(paragraphs(60)),
        QStringLiteral("T,1,0,0,20,100,20,Liberation Sans,10,0,0,0,0,238,\"Below\",0,0,0")}));
    report.OnStepData = [](TSestavaD&, TStepMode) { return 0; };
    report.TiskJedenZaznam = true;
    TSestVystup output;
    ASSERT_EQ(TReportRun(report, output).Run(), 0);
    ASSERT_GT(output.PageCount(), 2);
    QStringList printed;
    int expectedOffset = 0;
    int belowPage = -1;
    for (int p = 0; p < output.PageCount(); ++p)
        for (const TVystPrvek& e : output.Page(p).Prvky) {
            if (e.Text == QStringLiteral("Below"))
                belowPage = p;
            if (!(e.Style.Alignment & eaRichText))
                continue;
            EXPECT_GE(e.Box.top(), 30) << "below the head on page " << p + 1;
            EXPECT_LE(e.Box.bottom() + 1, 400 - 30) << "above the foot on page " << p + 1;
            EXPECT_EQ(e.TextOffset, expectedOffset);
            expectedOffset += e.Box.height();
            printed += TRichText(e.Style, e.Text, e.Box.width()).PlainLines(e.TextOffset, e.Box.height());
        }
    QStringList all;
    for (int i = 1; i <= 60; ++i)
        all << QStringLiteral("Line %1").arg(i);
    EXPECT_EQ(printed, all);
    EXPECT_EQ(belowPage, output.PageCount() - 1) << "what lies below follows the text's end";
    // The character grid shows the same lines.
    const QStringList rows = PageAsTextRows(output.Page(0), report.PageSetup, report.Grid);
    EXPECT_TRUE(rows.join(u'\n').contains(QStringLiteral("Line 1"))) << rows.join(u'\n').toStdString();
}

} // namespace
