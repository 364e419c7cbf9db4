// The report benchmark: builds a report of 2 000 records with two groups, group and page totals and
// a page count, then writes it as PDF; prints the build and PDF times, the page count and the peak
// memory.
#include "reports/OrvelCanvas.h"
#include "reports/ReportRun.h"
#include "reports/Sestava.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using namespace lintaro;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    constexpr int kRecords = 2000;
    TSestava report;
    report.SetPredloha(TPredloha(
        QStringList{QStringLiteral("I,1,4,39,122"),
                    QStringLiteral("I,2,0,826,1169,50,50,50,50,1,0"),
                    QStringLiteral("I,3,0,1,40,0"),
                    QStringLiteral("I,3,1,1,30,0"),
                    QStringLiteral("I,3,2,1,20,0"),
                    QStringLiteral("I,3,3,1,30,0"),
                    QStringLiteral("I,3,4,1,30,0"),
                    QStringLiteral("I,4,0,0,1,25,1,25,0"),
                    QStringLiteral("I,4,1,1,1,20,1,20,0"),
                    QStringLiteral("F,0,Celkem,\"\",0,\"0\",0,\"#3*1.21\",2,15,2,2"),
                    QStringLiteral("F,1,Skupina,\"\",0,\"0\",2,\"#3\",2,15,2,2"),
                    QStringLiteral("F,2,Prumer,\"\",0,\"0\",3,\"#3\",3,15,2,2"),
                    QStringLiteral("Z,1,0,0,0,700,30,Liberation Sans,16,0,1,0,0,238,\"Benchmark\",0,0,0"),
                    QStringLiteral("H,3,2,0,0,300,20,Liberation Sans,10,0,0,0,8,238,\"\",0,0,0"),
                    QStringLiteral("S0,2,0,0,0,300,20,Liberation Sans,10,0,1,0,0,238,\"\",0,0,0"),
                    QStringLiteral("S1,2,1,20,0,300,20,Liberation Sans,10,0,1,0,0,238,\"\",0,0,0"),
                    QStringLiteral("T,2,2,40,0,300,20,Liberation Sans,10,0,0,0,0,238,\"\",0,0,0"),
                    QStringLiteral("T,2,3,400,0,100,20,Liberation Sans,10,0,0,1,0,238,\"\",0,0,0"),
                    QStringLiteral("T,6,0,500,0,100,20,Liberation Sans,10,0,0,1,0,238,\"\",0,0,0"),
                    QStringLiteral("U1,6,2,500,0,100,20,Liberation Sans,10,0,0,1,0,238,\"\",0,0,0"),
                    QStringLiteral("U0,6,1,500,0,100,20,Liberation Sans,10,0,1,1,0,238,\"\",0,0,0"),
                    QStringLiteral("K,6,0,500,0,100,20,Liberation Sans,10,0,1,1,0,238,\"\",0,0,0"),
                    QStringLiteral("P,5,3,500,5,100,20,Liberation Sans,10,0,2,1,0,238,\"Strana %d\",0,0,0"),
                    QStringLiteral("P,5,4,600,5,100,20,Liberation Sans,10,0,2,0,0,238,\"z %d\",0,0,0")}));
    int record = 0;
    report.OnStepData = [&](TSestavaD&, TStepMode mode) {
        record = mode == smFirst ? 0 : record + 1;
        return record >= kRecords ? sdEndOfData : 0;
    };
    report.OnGetData = [&](TSestavaD&, int item) {
        switch (item) {
        case 0:
            return QStringLiteral("Material %1").arg(record / 500);
        case 1:
            return QStringLiteral("Thickness %1").arg(record / 50);
        case 2:
            return QStringLiteral("Part %1").arg(record + 1);
        default:
            return QString::number((record * 37) % 1000 / 10.0);
        }
    };
    QElapsedTimer timer;
    timer.start();
    TSestVystup output;
    const int result = TReportRun(report, output).Run();
    const qint64 build = timer.elapsed();
    QTemporaryDir dir;
    QString error;
    timer.restart();
    const bool pdf =
        ExportPdf(output, report.PageSetup, dir.filePath(QStringLiteral("bench.pdf")), report.Popis, error);
    const qint64 pdfTime = timer.elapsed();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("records %d  result %d  pages %d  build %lld ms  pdf %lld ms%s  peak memory %.1f MiB\n",
                kRecords, result, output.PageCount(), static_cast<long long>(build),
                static_cast<long long>(pdfTime), pdf ? "" : " (failed)", usage.ru_maxrss / 1024.0);
    return result == 0 && pdf ? 0 : 1;
}
