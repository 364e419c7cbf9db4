// The loading benchmark: orders of 1 000 to 20 000 parts read from their files, and report texts that
// grow with their input (multi-line texts, nested bold tags, nested tables) laid out; prints the
// seconds and the peak memory of each, so that growth with the square of the input shows at once.
#include "PeakMemory.h"

#include "foundation/Program.h"
#include "model/ApplicationLinks.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "reports/ReportRun.h"
#include "reports/RichText.h"
#include "reports/Sestava.h"
#include "reports/SiReportElement.h"
#include "reports/TextExport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace lintaro;

namespace {

// An order file of n parts with distinct captions and sizes.
QByteArray orderText(int n) {
    QByteArray text = "[Order]\r\nVersion=1\r\nMinVersion=1\r\nCaption=Bench\r\n\r\n[Parts]\r\nCount=" +
                      QByteArray::number(n) + "\r\n";
    for (int i = 1; i <= n; ++i)
        text += "Item" + QByteArray::number(i) + "=|" + QByteArray::number(i) + "|Part " +
                QByteArray::number(i) + "|" + QByteArray::number(1000000 + i % 977 * 10000) + "|" +
                QByteArray::number(500000 + i % 613 * 10000) + "|0|" + QByteArray::number(1 + i % 5) +
                "|\r\n";
    return text;
}

template <typename Work> void measure(const char* what, Work&& work) {
    bench::resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    const QString detail = work();
    std::printf("%-34s %8.3f s  peak %7ld KiB  %s\n", what, timer.nsecsElapsed() / 1e9,
                bench::peakMemoryKiB(), qPrintable(detail));
    std::fflush(stdout);
}

TSiReportElement richElement() {
    TSiReportElement e;
    e.Kind = ekText;
    e.FontName = QStringLiteral("Liberation Sans");
    e.FontSize = 10;
    e.Width = 700;
    e.Height = 20;
    e.Alignment = eaRichText | eaMultiLine | eaVariableHeight;
    return e;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InitProgramValues();
    TSetup* setup = InitProgramSetup();
    TApplicationLinks::SetSetup(setup);
    TMaterial material(nullptr);
    TApplicationLinks::SetMaterial(&material);
    QTemporaryDir dir;

    for (const int n : {1000, 2000, 4000, 20000}) {
        const QString file = dir.filePath(QStringLiteral("parts-%1.LNO").arg(n));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(orderText(n)) < 0)
            return 1;
        out.close();
        const QByteArray label = "order of " + QByteArray::number(n) + " parts";
        measure(label.constData(), [&] {
            TOrder order(nullptr);
            TApplicationLinks::SetOrder(&order);
            const bool ok = order.LoadFromFile(file);
            TApplicationLinks::SetOrder(nullptr);
            return QStringLiteral("%1, %2 parts")
                .arg(ok ? "loaded" : "FAILED")
                .arg(order.Parts()->ItemCount());
        });
    }

    const TSiReportElement element = richElement();
    for (const int n : {1000, 4000}) {
        QString text;
        for (int i = 0; i < n; ++i)
            text += QStringLiteral("Line %1 of a long note\n").arg(i + 1);
        const QByteArray label = "plain text of " + QByteArray::number(n) + " lines";
        measure(label.constData(), [&] {
            TSiReportElement plain = element;
            plain.Alignment = eaMultiLine | eaVariableHeight;
            return QStringLiteral("%1 lines").arg(BreakText(plain, text, plain.Width).size());
        });
        const QByteArray richLabel = "rich text of " + QByteArray::number(n) + " lines";
        measure(richLabel.constData(), [&] {
            return QStringLiteral("height %1")
                .arg(TRichText(element, QString(text).replace(u'\n', QLatin1String("<br>")), element.Width)
                         .Height());
        });
    }
    // A note of n lines in the body of a report, spilling over many pages, laid out and written as
    // text: every page's piece must not break or lay out the whole note again.
    for (const bool rich : {false, true})
        for (const int n : {1000, 4000}) {
            QString note;
            for (int i = 0; i < n; ++i)
                note += rich ? QStringLiteral("<b>Line</b> %1 of a long note<br>").arg(i + 1)
                             : QStringLiteral("Line %1 of a long note\n").arg(i + 1);
            const QByteArray label = QByteArray(rich ? "report of a rich note of " : "report of a note of ") +
                                     QByteArray::number(n) + " lines";
            measure(label.constData(), [&] {
                TSestava report;
                report.SetPredloha(TPredloha(QStringList{
                    QStringLiteral("I,1,4,39,122"), QStringLiteral("I,2,0,826,1169,50,50,50,50,1,0"),
                    QStringLiteral("I,3,1,1,30,0"), QStringLiteral("I,3,2,1,20,0"),
                    QStringLiteral("I,3,4,1,30,0"),
                    QStringLiteral("T,2,0,0,0,700,20,Liberation Sans,10,0,0,%1,0,238,\"\",0,0,0")
                        .arg((rich ? eaRichText : 0) | eaMultiLine | eaVariableHeight)}));
                bool done = false;
                report.OnStepData = [&](TSestavaD&, TStepMode mode) {
                    done = mode != smFirst;
                    return done ? sdEndOfData : 0;
                };
                report.OnGetData = [&](TSestavaD&, int) { return note; };
                TSestVystup output;
                TReportRun(report, output).Run();
                QByteArray text;
                QString error;
                PagesAsText(report, output, nullptr, "\n", text, error);
                return QStringLiteral("%1 pages, %2 bytes of text").arg(output.PageCount()).arg(text.size());
            });
        }
    for (const int n : {1000, 100000}) {
        const QString text =
            QStringLiteral("<b>").repeated(n) + QStringLiteral("deep") + QStringLiteral("</b>").repeated(n);
        const QByteArray label = QByteArray::number(n) + " nested bold tags";
        measure(label.constData(), [&] {
            return QStringLiteral("height %1").arg(TRichText(element, text, element.Width).Height());
        });
    }
    for (const int n : {20, 4000}) {
        const QString text = QStringLiteral("<table><tr><td>").repeated(n) + QStringLiteral("deep") +
                             QStringLiteral("</td></tr></table>").repeated(n);
        const QByteArray label = QByteArray::number(n) + " nested tables";
        measure(label.constData(), [&] {
            return QStringLiteral("height %1").arg(TRichText(element, text, element.Width).Height());
        });
    }
    return 0;
}
