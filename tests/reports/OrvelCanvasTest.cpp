#include "reports/OrvelCanvas.h"
#include "reports/ReportRun.h"
#include "reports/Sestava.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace lintaro;

namespace {

QGuiApplication& guiApp() {
    static int argc = 1;
    static char name[] = "reports_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = QGuiApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    return app ? *app : *static_cast<QGuiApplication*>(QGuiApplication::instance());
}

// A sample order report: head, one line per item with its price, totals and "Strana n z N" in the foot.
struct SampleReport {
    SampleReport() {
        guiApp();
        QStringList lines{
            QStringLiteral("I,0,\"Zakázka\""),
            QStringLiteral("I,1,4,39,122"),
            QStringLiteral("I,2,0,826,1169,50,50,50,50,1,0"),
            QStringLiteral("I,3,0,1,40,0"),
            QStringLiteral("I,3,1,1,30,0"),
            QStringLiteral("I,3,2,1,25,0"),
            QStringLiteral("I,3,3,1,40,0"),
            QStringLiteral("I,3,4,1,30,0"),
            QStringLiteral("F,0,Celkem,\"\",0,\"0\",0,\"#2\",2,15,2,2"),
            QStringLiteral("Z,1,0,0,0,700,30,Liberation Sans,16,0,1,0,0,238,\"Cutting order\",0,0,0"),
            QStringLiteral("H,1,0,0,0,300,20,Liberation Sans,10,0,0,0,8,238,\"Item\",0,0,0"),
            QStringLiteral("T,2,0,0,0,300,20,Liberation Sans,10,0,0,0,0,238,\"\",0,0,0"),
            QStringLiteral("T,2,1,400,0,200,20,Liberation Sans,10,0,0,1,0,238,\"\",0,0,0"),
            QStringLiteral("T,7,0,0,22,700,1,,1,7,0,0,15,0"),
            QStringLiteral("K,1,0,0,10,300,20,Liberation Sans,10,0,1,0,0,238,\"Total\",0,0,0"),
            QStringLiteral("K,6,0,400,10,200,20,Liberation Sans,10,0,1,1,2,238,\"\",0,0,0"),
            QStringLiteral("P,5,3,500,5,200,20,Liberation Sans,10,0,2,1,0,238,\"Strana %d\",0,0,0"),
            QStringLiteral("P,5,4,600,5,100,20,Liberation Sans,10,0,2,0,0,238,\"z %d\",0,0,0")};
        report.SetPredloha(TPredloha(lines));
        report.OnStepData = [this](TSestavaD&, TStepMode mode) {
            record = mode == smFirst ? 0 : record + 1;
            return record >= kRecords ? sdEndOfData : 0;
        };
        report.OnGetData = [this](TSestavaD&, int item) {
            return item == 0 ? QStringLiteral("Board %1").arg(record + 1)
                             : QStringLiteral("%1").arg(record + 1);
        };
        TReportRun run(report, output);
        EXPECT_EQ(run.Run(), 0);
    }
    static constexpr int kRecords = 100;
    TSestava report;
    TSestVystup output;
    int record = 0;
};

QString tool(const char* name) {
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

TEST(OrvelCanvas, PdfOfASampleReportReadsBack) {
    const QString pdftotext = tool("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    SampleReport sample;
    ASSERT_EQ(sample.output.PageCount(), 3);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("order.pdf"));
    QString error;
    ASSERT_TRUE(ExportPdf(sample.output, sample.report.PageSetup, pdf, sample.report.Popis, error))
        << error.toStdString();
    // LINTARO_REPORT_PDF keeps a copy to look at.
    if (const QString keep = qEnvironmentVariable("LINTARO_REPORT_PDF"); !keep.isEmpty())
        QFile::copy(pdf, keep);
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    for (const char* expected :
         {"Cutting order", "Board 1 ", "Board 100", "Total", "5050", "Strana 1", "Strana 3"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("z\\s*3"))), 3);
    EXPECT_EQ(text.count(u'\f'), 3);
}

TEST(OrvelCanvas, FontSizeMeasuresTheSameWhateverTheDevice) {
    guiApp();
    TSiReportElement element;
    element.FontName = QStringLiteral("Liberation Sans");
    element.FontSize = 12;
    // The same 12-point text drawn through the canvas onto 96 and 192 dpi images covers the same
    // share of an inch.
    std::vector<double> heights;
    for (const int dpi : {96, 192}) {
        QImage image(dpi * 2, dpi, QImage::Format_ARGB32);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        TOrvelCanvas canvas(painter, image);
        TVystPrvek text;
        text.Kind = ekText;
        text.Box = QRect(0, 0, 200, 100);
        text.Text = QStringLiteral("IIII");
        text.Style = element;
        canvas.DrawElement(text);
        painter.end();
        int top = image.height(), bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        ASSERT_GE(bottom, top);
        heights.push_back((bottom - top + 1) * 100.0 / dpi);
    }
    // A capital of a 12-point font is about 0.12 inch high; both agree to the pixel of 96 dpi.
    EXPECT_NEAR(heights[0], heights[1], 100.0 / 96);
    EXPECT_NEAR(heights[1], 12.0 * 100 / 72 * 0.72, 2.5);
}

TEST(OrvelCanvas, PageAsPictureIsEmptyPastTheLastPage) {
    SampleReport sample;
    EXPECT_FALSE(PageAsPicture(sample.output, 0).isNull());
    EXPECT_TRUE(PageAsPicture(sample.output, 3).isNull());
    EXPECT_TRUE(PageAsPicture(sample.output, -1).isNull());
}

} // namespace
