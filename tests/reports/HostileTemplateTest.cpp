// Templates and rich texts from outside: numbers beyond any page are read bounded, a page that cannot
// hold a row stops the run with the reason, the character grid costs what its text needs, pages
// without end stop at a bound, and rich text nests only so deep before it reaches the layout.
#include "reports/PageLayoutCheck.h"
#include "reports/Predloha.h"
#include "reports/ReportMessages.h"
#include "reports/ReportRun.h"
#include "reports/RichText.h"
#include "reports/RichTextNesting.h"
#include "reports/Sestava.h"
#include "reports/SestavaTyp.h"
#include "reports/TextExport.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace lintaro;

namespace {

QStringList hostileTemplate(const char* name) {
    const QString text = QString::fromUtf8(
        test::readFileBytes(test::dataPath(QStringLiteral("hostile/") + QString::fromLatin1(name))));
    return TPredloha::FromText(text).Lines();
}

TEST(HostileTemplate, NumbersBeyondAnyPageAreReadAsTheLargestLengthThereIs) {
    TSestavaTyp margins;
    margins.SetPredloha(TPredloha(hostileTemplate("margins-huge.tpl")));
    EXPECT_EQ(margins.PageSetup.Left, kMaxTemplateLength);
    EXPECT_EQ(margins.PageSetup.Bottom, kMaxTemplateLength);
    EXPECT_EQ(margins.PageSetup.Columns, 1);

    TSestavaTyp far;
    far.SetPredloha(TPredloha(hostileTemplate("element-far.tpl")));
    const std::vector<TSiReportElement>& start = far.Oddily().Item(stReportStart).Elements;
    ASSERT_EQ(start.size(), 2u);
    EXPECT_EQ(start[0].Left, kMaxTemplateLength);
    EXPECT_EQ(start[0].Width, kMaxTemplateLength);
    EXPECT_EQ(start[1].Left, -kMaxTemplateLength);
    EXPECT_EQ(start[1].PenWidth, kMaxTemplateLength);

    const QStringList fields =
        SplitTemplateLine(QStringLiteral("9,-99999999999999999999999,99999999999999999999,x,"));
    EXPECT_EQ(TemplateLength(fields, 0), 9);
    EXPECT_EQ(TemplateLength(fields, 1), -kMaxTemplateLength);
    EXPECT_EQ(TemplateLength(fields, 2), kMaxTemplateLength);
    EXPECT_EQ(TemplateLength(fields, 3, 7), 7);
    EXPECT_EQ(TemplateIntIn(fields, 2, 1, 1, 100), 100);
}

TEST(HostileTemplate, APageThatCannotHoldARowStopsTheRunWithTheReason) {
    const struct {
        const char* file;
        const char* reason;
    } cases[] = {
        {"margins-huge.tpl", "Okraje stránky"},
        {"page-negative.tpl", "Okraje stránky"},
        {"head-5000.tpl", "Hlavička a patička stránky"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TSestava report;
        report.SetPredloha(TPredloha(hostileTemplate(c.file)));
        EXPECT_TRUE(PageLayoutProblem(report).contains(QString::fromUtf8(c.reason)));
        int steps = 0;
        report.OnStepData = [&](TSestavaD&, TStepMode) { return ++steps > 3 ? sdEndOfData : 0; };
        QString reported;
        report.OnError = [&](TSestava&, int, const QString& message) { reported = message; };
        TSestVystup output;
        TReportRun run(report, output);
        EXPECT_EQ(run.Run(), ReportMessages::rrNotLoaded);
        EXPECT_EQ(run.Message(), PageLayoutProblem(report));
        EXPECT_EQ(reported, run.Message());
        EXPECT_EQ(output.PageCount(), 0);
        EXPECT_EQ(steps, 0) << "no record is read for a page that cannot be laid out";
    }
    TSestava sound;
    sound.SetPredloha(TPredloha(hostileTemplate("element-far.tpl")));
    EXPECT_TRUE(PageLayoutProblem(sound).isEmpty());
}

TEST(HostileTemplate, TheCharacterGridOfATallPageHoldsOnlyTheRowsOfItsText) {
    TStranaPrvku page;
    TVystPrvek start;
    start.Kind = ekText;
    start.Style.Kind = ekText;
    start.Box = QRect(0, 0, 300, 15);
    start.Text = QStringLiteral("start");
    TVystPrvek far = start;
    // Its place times the grid's pitch lies far beyond an int; set by corners, as a width this
    // far out would already overflow the rectangle itself.
    far.Box.setCoords(2147483000, 2147483000, 2147483646, 2147483014);
    far.Text = QStringLiteral("far");
    page.Prvky = {start, far};
    TPageSetup tall;
    tall.Height = 100000000;
    tall.Width = 2147483647;
    EXPECT_EQ(PageAsTextRows(page, tall, TDesignGrid()), QStringList{QStringLiteral("start")});
}

TEST(HostileTemplate, TheTextExportFailsWhenItsFileCannotTakeTheText) {
    // A device that is always full, made in the test's own folder.
    QTemporaryDir dir;
    const QString full = dir.filePath(QStringLiteral("full"));
    if (mknod(QFile::encodeName(full).constData(), S_IFCHR | 0600, makedev(1, 7)) != 0)
        GTEST_SKIP() << "no device node can be made here";
    TSestava report;
    TSestVystup output;
    TVystPrvek start;
    start.Kind = ekText;
    start.Style.Kind = ekText;
    start.Box = QRect(0, 0, 300, 15);
    start.Text = QStringLiteral("start");
    output.Clear();
    output.AddPage();
    output.Page(0).Prvky.push_back(start);
    QFile file(full);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QString error;
    EXPECT_EQ(ExportText(report, output, file, error), ReportMessages::rrOutputError);
    EXPECT_FALSE(error.isEmpty());
}

TEST(HostileTemplate, PagesWithoutEndStopAtTheBoundOfTheRunAndOfTheTextWithTheReason) {
    test::ensureGuiApplication();
    // A text of 400 lines spilling one line a page, every page under a head of 20 elements.
    QString text =
        QStringLiteral(
            "I,0,\"Spill\"\nI,1,4,39,122\nI,2,0,20000,320,0,0,0,0,1,0\nI,3,0,1,15,0\nI,3,1,1,300,0\n"
            "Z,1,0,0,0,300,15,Arial,9,0,0,80,0,0,\"%1\",0,0,0\n")
            .arg(QStringList(400, QStringLiteral("a")).join(QChar(u'\u00B6')));
    for (int i = 0; i < 20; ++i)
        text += QStringLiteral("H,1,0,19900,%1,90,15,Arial,9,0,0,0,0,0,\"h\",0,0,0\n").arg(i * 15);
    TSestava report;
    report.SetPredloha(TPredloha::FromText(text));
    int steps = 0;
    report.OnStepData = [&](TSestavaD&, TStepMode) { return ++steps > 1 ? sdEndOfData : 0; };
    QString reported;
    report.OnError = [&](TSestava&, int, const QString& message) { reported = message; };
    report.MaxPlacedElements = 1000;
    TSestVystup output;
    TReportRun run(report, output);
    EXPECT_EQ(run.Run(), ReportMessages::rrOutputError);
    EXPECT_TRUE(run.Message().contains(QLatin1String("1000"))) << run.Message().toStdString();
    EXPECT_EQ(reported, run.Message());
    size_t placed = 0;
    for (int p = 0; p < output.PageCount(); ++p)
        placed += output.Page(p).Prvky.size();
    EXPECT_EQ(placed, 1000u);

    // Each page's head reaches the far edge of a 3 400-column grid.
    QByteArray bytes;
    QString error;
    EXPECT_EQ(PagesAsText(report, output, nullptr, "\n", bytes, error, 100000),
              ReportMessages::rrOutputError);
    EXPECT_TRUE(error.contains(QLatin1String("100000"))) << error.toStdString();
    EXPECT_EQ(PagesAsText(report, output, nullptr, "\n", bytes, error), ReportMessages::rrOK);
    EXPECT_GT(bytes.size(), 100000);
}

TEST(HostileTemplate, AnItemNumberedInTheBillionsAsksTheHostForThatItemAlone) {
    test::ensureGuiApplication();
    TSestava report;
    report.SetPredloha(
        TPredloha::FromText(QStringLiteral("I,0,\"Far item\"\nI,1,4,39,122\nI,3,2,1,20,0\n"
                                           "T,2,2000000000,0,0,300,18,Arial,10,0,0,0,0,238,\"\",0,0,0\n")));
    int steps = 0;
    report.OnStepData = [&](TSestavaD&, TStepMode) { return ++steps > 2 ? sdEndOfData : 0; };
    std::vector<int> asked;
    report.OnGetData = [&](TSestavaD&, int item) {
        asked.push_back(item);
        return QStringLiteral("item %1").arg(item);
    };
    TSestVystup output;
    TReportRun run(report, output);
    ASSERT_EQ(run.Run(), ReportMessages::rrOK);
    EXPECT_EQ(asked, (std::vector<int>{0, 2000000000, 0, 2000000000}));
    ASSERT_EQ(output.PageCount(), 1);
    ASSERT_EQ(output.Page(0).Prvky.size(), 2u);
    EXPECT_EQ(output.Page(0).Prvky[1].Text, QStringLiteral("item 2000000000"));
}

TEST(RichTextNesting, DeepStructureIsFlattenedAndShallowTextStaysAsItIs) {
    const QString shallow = QStringLiteral("<p><b>Bold <i>and italic</i></b><br>"
                                           "<table><tr><td>a<td>b</tr></table></p>");
    EXPECT_EQ(BoundRichTextNesting(shallow), shallow);

    const QString tables = QStringLiteral("<table><tr><td>").repeated(20) + QStringLiteral("deep") +
                           QStringLiteral("</td></tr></table>").repeated(20);
    const QString flatTables = BoundRichTextNesting(tables);
    EXPECT_EQ(flatTables.count(QLatin1String("<table>")), kMaxRichTextTables);
    EXPECT_EQ(flatTables.count(QLatin1String("</table>")), kMaxRichTextTables);
    EXPECT_TRUE(flatTables.contains(QLatin1String("deep")));

    const QString bold = QStringLiteral("<b>").repeated(100000) + QStringLiteral("deep") +
                         QStringLiteral("</b>").repeated(100000);
    const QString flatBold = BoundRichTextNesting(bold);
    EXPECT_EQ(flatBold.count(QLatin1String("<b>")), kMaxRichTextDepth);
    EXPECT_EQ(flatBold.count(QLatin1String("</b>")), kMaxRichTextDepth);
    EXPECT_EQ(BoundRichTextNesting(flatBold), flatBold);
}

TEST(RichTextNesting, FourThousandNestedTablesLayOutAsTheirText) {
    test::ensureGuiApplication();
    const QString html = QString::fromUtf8(
        test::readFileBytes(QStringLiteral(LINTARO_SOURCE_DIR "/tests/fuzz/corpus/rich_text/"
                                                              "html-nested-tables-4000.html")));
    ASSERT_FALSE(html.isEmpty());
    TSiReportElement element;
    element.Kind = ekText;
    element.FontName = QStringLiteral("Liberation Sans");
    element.FontSize = 10;
    element.Width = 700;
    element.Alignment = eaRichText | eaVariableHeight;
    const TRichText text(element, html, element.Width);
    EXPECT_GT(text.Height(), 0);
    EXPECT_FALSE(text.PlainLines(0, text.Height()).join(QString()).trimmed().isEmpty());
}

} // namespace
