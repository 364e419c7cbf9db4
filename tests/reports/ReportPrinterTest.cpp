#include "reports/ReportPrinter.h"
#include "foundation/Ini.h"
#include "foundation/Program.h"
#include "reports/ReportMessages.h"
#include "reports/ReportProgress.h"
#include "reports/ReportRun.h"
#include "reports/Sestava.h"
#include "reports/TextExport.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

using namespace lintaro;

namespace {

TEST(ReportPrinter, TextOnlyDrivers) {
    struct Case {
        const char* makeAndModel;
        bool textOnly;
    };
    for (const Case& c :
         {Case{"Generic Text-Only Printer", true}, Case{"Generic / Text Only", true},
          Case{"Obecná nebo jen textová", true}, Case{"Local Raw Printer", true},
          Case{"Generic PDF Printer", false}, Case{"HP LaserJet 4 Plus", false}, Case{"", false}})
        EXPECT_EQ(IsTextOnlyDriver(QString::fromUtf8(c.makeAndModel)), c.textOnly) << c.makeAndModel;
}

TEST(ReportMessages, TheTextsFileGivesEachEngineMessageElseTheCzechOneStands) {
    Texts().EraseSection(QStringLiteral("ReportEngine"));
    EXPECT_EQ(PrinterMessages::NoPrinter(),
              QString::fromUtf8("V systému není nainstalovaná žádná tiskárna."));
    EXPECT_EQ(ProgressMessages::CancelButton(), QString::fromUtf8("Přerušit"));
    Texts().WriteString(QStringLiteral("ReportEngine"), QStringLiteral("ProgressCancelButton"),
                        QStringLiteral("Cancel"));
    Texts().WriteString(QStringLiteral("ReportEngine"), QStringLiteral("SaveChangesQuestion"),
                        QStringLiteral("The template has been changed. Save it?"));
    EXPECT_EQ(ProgressMessages::CancelButton(), QStringLiteral("Cancel"));
    EXPECT_EQ(ReportMessages::SaveChangesQuestion(),
              QStringLiteral("The template has been changed. Save it?"));
    // A key the file lacks keeps its Czech text.
    EXPECT_EQ(ProgressMessages::Sending(), QString::fromUtf8("Odesílám data do tiskárny ..."));
    Texts().EraseSection(QStringLiteral("ReportEngine"));
}

TEST(ReportMessages, TheShippedTextsGiveEveryEngineMessageInEnglish) {
    TINI shipped;
    ASSERT_TRUE(shipped.LoadFromFile(QStringLiteral(LINTARO_SOURCE_DIR "/data/LNTR.TXS")));
    for (const char* key : {"PrinterNoPrinter", "PrinterWarningTitle", "ProgressPreparing", "ProgressSending",
                            "ProgressCancelButton", "SaveChangesQuestion", "ConfirmTitle",
                            "OpenTableQuestion", "MarginRaiseQuestion"}) {
        const QString text = shipped.ReadString(QStringLiteral("ReportEngine"), QString::fromLatin1(key));
        EXPECT_FALSE(text.isEmpty()) << key;
        EXPECT_FALSE(text.contains(QRegularExpression(QString::fromUtf8("[ěščřžýáíéůú]")))) << key;
    }
}

TEST(ReportPrinter, MissingPrinterWarnsWithResultTwo) {
    TSestava report;
    TSestVystup output;
    output.AddPage();
    QString message;
    int reported = 0;
    report.OnError = [&](TSestava&, int code, const QString&) { reported = code; };
    EXPECT_EQ(PrintPages(report, output, 100000, nullptr, message), ReportMessages::rrNoPrinter);
    EXPECT_EQ(message, QStringLiteral("V systému není nainstalovaná žádná tiskárna."));
    EXPECT_EQ(reported, ReportMessages::rrNoPrinter);
}

// Prints to the queue LINTARO_TEST_PRINTER, which writes its jobs as PDF files into
// LINTARO_TEST_PRINTER_OUTPUT (.ci/run sets up such a CUPS queue).
TEST(ReportPrinter, PrintsToACupsQueue) {
    const QString queue = qEnvironmentVariable("LINTARO_TEST_PRINTER");
    const QString outDir = qEnvironmentVariable("LINTARO_TEST_PRINTER_OUTPUT");
    if (queue.isEmpty() || outDir.isEmpty())
        GTEST_SKIP() << "SKIPPED: no CUPS queue to print to (LINTARO_TEST_PRINTER and "
                        "LINTARO_TEST_PRINTER_OUTPUT are not set; .ci/run sets them where CUPS runs)";
    static int argc = 1;
    static char name[] = "reports_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance())
        new QGuiApplication(argc, argv);
    const int index = static_cast<int>(PrinterNames().indexOf(queue));
    ASSERT_GE(index, 0) << "queue " << queue.toStdString() << " is not among the printers";
    TSestava report;
    report.Popis = QStringLiteral("LintaroPrintTest");
    report.SetPredloha(TPredloha(QStringList{
        QStringLiteral("I,1,4,39,122"), QStringLiteral("I,2,0,826,1169,50,50,50,50,1,0"),
        QStringLiteral("I,3,2,1,20,0"),
        QStringLiteral("T,1,0,0,0,400,20,Liberation Sans,12,0,0,0,0,238,\"Printed by Lintaro\",0,0,0")}));
    report.OnStepData = [](TSestavaD&, TStepMode) { return 0; };
    report.TiskJedenZaznam = true;
    TSestVystup output;
    ASSERT_EQ(TReportRun(report, output).Run(), 0);
    // The queue names its files after the title, so an earlier run's file is written again.
    const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
    QString message;
    ASSERT_EQ(PrintPages(report, output, index, nullptr, message), ReportMessages::rrOK)
        << message.toStdString();
    QDeadlineTimer deadline(60000);
    QStringList added;
    while (!deadline.hasExpired() && added.isEmpty()) {
        QThread::msleep(200);
        for (const QFileInfo& f : QDir(outDir).entryInfoList(QDir::Files))
            if (f.lastModified() >= start && f.size() > 0)
                added << f.fileName();
    }
    ASSERT_FALSE(added.isEmpty()) << "no output appeared in " << outDir.toStdString();
}

void guiApp() {
    test::ensureGuiApplication();
}

// One page with one line of text, built by the run.
void buildOnePage(TSestava& report, TSestVystup& output, const QString& text) {
    report.SetPredloha(TPredloha(QStringList{
        QStringLiteral("I,1,4,39,122"), QStringLiteral("I,2,0,826,1169,50,50,50,50,1,0"),
        QStringLiteral("I,3,2,1,20,0"),
        QStringLiteral("T,1,0,0,0,600,20,Liberation Sans,12,0,0,0,0,238,\"%1\",0,0,0").arg(text)}));
    report.OnStepData = [](TSestavaD&, TStepMode) { return 0; };
    report.TiskJedenZaznam = true;
    ASSERT_EQ(TReportRun(report, output).Run(), 0);
}

// Waits for a file of that name in dir that is at least minSize bytes.
QByteArray waitForFile(const QString& path, qint64 minSize) {
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        QFile file(path);
        if (file.size() >= minSize && file.open(QIODevice::ReadOnly))
            return file.readAll();
        QThread::msleep(200);
    }
    return {};
}

// Prints to LINTARO_TEST_TEXT_PRINTER, a "Generic Text-Only" queue writing what it receives into the
// file LINTARO_TEST_TEXT_PRINTER_OUTPUT (.ci/run sets it up).
TEST(ReportPrinter, TextOnlyQueueReceivesTheCharactersOfEveryCopy) {
    const QString queue = qEnvironmentVariable("LINTARO_TEST_TEXT_PRINTER");
    const QString outFile = qEnvironmentVariable("LINTARO_TEST_TEXT_PRINTER_OUTPUT");
    if (queue.isEmpty() || outFile.isEmpty())
        GTEST_SKIP() << "SKIPPED: no text-only CUPS queue (LINTARO_TEST_TEXT_PRINTER and "
                        "LINTARO_TEST_TEXT_PRINTER_OUTPUT are not set; .ci/run sets them where CUPS runs)";
    guiApp();
    const int index = static_cast<int>(PrinterNames().indexOf(queue));
    ASSERT_GE(index, 0) << "queue " << queue.toStdString() << " is not among the printers";
    ASSERT_TRUE(IsTextOnlyDriver(QPrinterInfo::printerInfo(queue).makeAndModel()));
    TSestava report;
    report.Popis = QStringLiteral("LintaroTextTest");
    report.PrintCopies = 2;
    report.ExportLanguage = slCP1250;
    TSestVystup output;
    buildOnePage(report, output, QStringLiteral("Řezný plán číslo 7"));
    QByteArray expected;
    QString message;
    ASSERT_EQ(PagesAsText(report, output, nullptr, "\r\n", expected, message), ReportMessages::rrOK);
    QByteArray line;
    ASSERT_TRUE(EncodeExportText(QStringLiteral("Řezný plán číslo 7"), slCP1250, line, message));
    ASSERT_EQ(expected.count(line), 2) << "both copies are in the job";
    QFile::remove(outFile);
    ASSERT_EQ(PrintPages(report, output, index, nullptr, message), ReportMessages::rrOK)
        << message.toStdString();
    EXPECT_EQ(waitForFile(outFile, expected.size()), expected);
}

// Cancels at once.
class CancelNow : public TReportProgress {
public:
    void Show(const QString&, bool) override {}
    bool Cancelled() override { return true; }
};

// A cancelled job never reaches the queue: a job sent after it comes out alone.
TEST(ReportPrinter, CancelledJobIsNotPrinted) {
    const QString queue = qEnvironmentVariable("LINTARO_TEST_PRINTER");
    const QString outDir = qEnvironmentVariable("LINTARO_TEST_PRINTER_OUTPUT");
    if (queue.isEmpty() || outDir.isEmpty())
        GTEST_SKIP() << "SKIPPED: no CUPS queue to print to (LINTARO_TEST_PRINTER and "
                        "LINTARO_TEST_PRINTER_OUTPUT are not set; .ci/run sets them where CUPS runs)";
    guiApp();
    const int index = static_cast<int>(PrinterNames().indexOf(queue));
    ASSERT_GE(index, 0);
    const QString stamp = QString::number(QCoreApplication::applicationPid());
    TSestava report;
    TSestVystup output;
    buildOnePage(report, output, QStringLiteral("Cancelled"));
    report.Popis = QStringLiteral("LintaroCancelled") + stamp;
    QString message;
    CancelNow cancel;
    EXPECT_EQ(PrintPages(report, output, index, &cancel, message), ReportMessages::rrCancelled);
    report.Popis = QStringLiteral("LintaroAfterCancel") + stamp;
    ASSERT_EQ(PrintPages(report, output, index, nullptr, message), ReportMessages::rrOK);
    // The queue prints its jobs in order: once the later one is out, the cancelled one would be too.
    QDeadlineTimer deadline(60000);
    auto named = [&](const QString& title) {
        return QDir(outDir).entryList({QStringLiteral("*") + title + QStringLiteral("*")}, QDir::Files);
    };
    while (!deadline.hasExpired() && named(QStringLiteral("LintaroAfterCancel") + stamp).isEmpty())
        QThread::msleep(200);
    ASSERT_FALSE(named(QStringLiteral("LintaroAfterCancel") + stamp).isEmpty()) << "the later job came out";
    EXPECT_TRUE(named(QStringLiteral("LintaroCancelled") + stamp).isEmpty());
    for (const QString& f : named(stamp))
        QFile::remove(QDir(outDir).filePath(f));
}

// Every copy is in the one job: the cups-pdf queue, which ignores a copy count, writes them all.
TEST(ReportPrinter, CopiesAreInTheJob) {
    const QString queue = qEnvironmentVariable("LINTARO_TEST_PRINTER");
    const QString outDir = qEnvironmentVariable("LINTARO_TEST_PRINTER_OUTPUT");
    if (queue.isEmpty() || outDir.isEmpty())
        GTEST_SKIP() << "SKIPPED: no CUPS queue to print to (LINTARO_TEST_PRINTER and "
                        "LINTARO_TEST_PRINTER_OUTPUT are not set; .ci/run sets them where CUPS runs)";
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (pdfinfo.isEmpty())
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    guiApp();
    const int index = static_cast<int>(PrinterNames().indexOf(queue));
    ASSERT_GE(index, 0);
    const QString title =
        QStringLiteral("LintaroCopies") + QString::number(QCoreApplication::applicationPid());
    TSestava report;
    TSestVystup output;
    buildOnePage(report, output, QStringLiteral("Copy"));
    report.Popis = title;
    report.PrintCopies = 3;
    QString message;
    ASSERT_EQ(PrintPages(report, output, index, nullptr, message), ReportMessages::rrOK)
        << message.toStdString();
    QDeadlineTimer deadline(60000);
    QStringList files;
    while (!deadline.hasExpired() &&
           (files = QDir(outDir).entryList({QStringLiteral("*") + title + QStringLiteral("*")}, QDir::Files))
               .isEmpty())
        QThread::msleep(200);
    ASSERT_FALSE(files.isEmpty());
    const QString file = QDir(outDir).filePath(files.first());
    // The queue writes the file as the job runs: its page count is final once pdfinfo can read it.
    QString info;
    while (!deadline.hasExpired() && !info.contains(QStringLiteral("Pages:"))) {
        QProcess process;
        process.start(pdfinfo, {file});
        process.waitForFinished(30000);
        info = QString::fromUtf8(process.readAllStandardOutput());
        if (!info.contains(QStringLiteral("Pages:")))
            QThread::msleep(200);
    }
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\b")))) << info.toStdString();
    QFile::remove(file);
}

} // namespace
