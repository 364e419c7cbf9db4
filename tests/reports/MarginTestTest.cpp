#include "reports/MarginTest.h"
#include "reports/ReportPrinter.h"
#include "reports/Sestava.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QtMath>

using namespace lintaro;

namespace {

TPageSetup margins(int left, int top, int right, int bottom) {
    TPageSetup page;
    page.Left = left;
    page.Top = top;
    page.Right = right;
    page.Bottom = bottom;
    return page;
}

TEST(MarginTest, EachSideAgainstItsOwnMinimum) {
    const TUnprintableMargins minimum{25, 30, 20, 40};
    struct Case {
        TPageSetup page;
        bool fits;
        TPageSetup raised;
    };
    for (const Case& c : {Case{margins(25, 30, 20, 40), true, margins(25, 30, 20, 40)},
                          Case{margins(50, 50, 50, 50), true, margins(50, 50, 50, 50)},
                          Case{margins(24, 30, 20, 40), false, margins(25, 30, 20, 40)},
                          Case{margins(0, 100, 0, 39), false, margins(25, 100, 20, 40)}}) {
        EXPECT_EQ(MarginsFit(c.page, minimum), c.fits) << c.page.Left << ',' << c.page.Bottom;
        TPageSetup page = c.page;
        RaiseMargins(page, minimum);
        EXPECT_EQ(page, c.raised) << c.page.Left << ',' << c.page.Bottom;
    }
}

TEST(MarginTest, TooSmallMarginsAskWhetherToRaiseThem) {
    const TUnprintableMargins minimum{25, 25, 25, 25};
    struct Case {
        int margin;
        int answer; // -1: nobody asked (no question callback), 0 no, 1 yes
        TMarginTestResult result;
        int after;
        bool asked;
    };
    for (const Case& c : {Case{30, 1, mtFits, 30, false}, Case{10, 1, mtRaised, 25, true},
                          Case{10, 0, mtKept, 10, true}, Case{10, -1, mtRaised, 25, false}}) {
        TSestava report;
        report.PageSetup = margins(c.margin, c.margin, c.margin, c.margin);
        bool asked = false;
        if (c.answer >= 0)
            report.AskYesNo = [&](const QString& question) {
                asked = true;
                EXPECT_EQ(question,
                          QStringLiteral("Nastavené okraje tisku jsou menší, než umožňuje připojená "
                                         "tiskárna. Upravit velikost okrajů podle možností tiskárny?"));
                return c.answer == 1;
            };
        EXPECT_EQ(TestMargins(report, minimum), c.result) << c.margin << ',' << c.answer;
        EXPECT_EQ(report.PageSetup.Left, c.after);
        EXPECT_EQ(report.PageSetup.Bottom, c.after);
        EXPECT_EQ(asked, c.asked);
    }
}

TEST(MarginTest, NoPrinterNoTest) {
    TSestava report;
    EXPECT_EQ(TestMargins(report, 100000), mtNoPrinter);
}

// The printer's paper as its driver describes it: the minimum margins of its page layout.
TEST(MarginTest, UnprintableMarginsOfAPrinterQueue) {
    const QString queue = qEnvironmentVariable("LINTARO_TEST_PRINTER");
    if (queue.isEmpty())
        GTEST_SKIP()
            << "SKIPPED: no CUPS queue (LINTARO_TEST_PRINTER is not set; .ci/run sets it where CUPS runs)";
    static int argc = 1;
    static char name[] = "reports_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance())
        new QGuiApplication(argc, argv);
    QPrinter printer(QPrinterInfo::printerInfo(queue), QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Inch);
    const QMarginsF m = layout.minimumMargins();
    const TUnprintableMargins minimum = PrinterUnprintableMargins(printer);
    EXPECT_EQ(minimum, (TUnprintableMargins{qCeil(m.left() * 100 - 1e-6), qCeil(m.top() * 100 - 1e-6),
                                            qCeil(m.right() * 100 - 1e-6), qCeil(m.bottom() * 100 - 1e-6)}));
    TSestava report;
    report.PageSetup = margins(0, 0, 0, 0);
    const int index = static_cast<int>(PrinterNames().indexOf(queue));
    const TMarginTestResult result = TestMargins(report, index);
    EXPECT_NE(result, mtNoPrinter);
    // With A4 paper on the queue the margins come up to exactly its minimum.
    EXPECT_EQ(result == mtRaised, minimum != TUnprintableMargins{});
    EXPECT_TRUE(MarginsFit(report.PageSetup, minimum));
}

} // namespace
