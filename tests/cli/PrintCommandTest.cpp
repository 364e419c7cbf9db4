// lintaro-cli print: every document of the samples as PDF, read back with pdftotext.
#include "cli/CliSupport.h"
#include "foundation/BarRecord.h"
#include "foundation/Ini.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <iostream>

using lintaro::test::cli;
using lintaro::test::CliRun;
using lintaro::test::fastCalculation;
using lintaro::test::sample;

namespace {

QString pdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Field `field` (0-based) of every bar record of an item section of a sample file.
QStringList itemFields(const QString& file, const QString& section, int field) {
    lintaro::TINI ini;
    EXPECT_TRUE(ini.LoadFromFile(file));
    QStringList values;
    const int count = ini.ReadString(section, QStringLiteral("Count")).toInt();
    for (int i = 1; i <= 2 * count + 10; ++i) { // numbers may have gaps
        const QString value =
            lintaro::GetBarField(ini.ReadString(section, QStringLiteral("Item%1").arg(i)), field);
        if (!value.isEmpty())
            values << value;
    }
    return values;
}

class PrintCommand : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        ASSERT_TRUE(dir.isValid());
    }
    // Prints and returns the PDF's text; the run must succeed with one progress line per page.
    QString print(const QString& file, const QString& document, const QStringList& more = {}) {
        const QString pdf = dir.filePath(document + QStringLiteral(".pdf"));
        const CliRun run = cli(QStringList{"print", file, "--document", document, "--pdf", pdf, "--settings",
                                           sample("Sample.INI")} +
                               more);
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(QStringLiteral("page 1 of "))) << run.out.toStdString();
        return pdfText(pdf);
    }
    QString calculated() {
        const QString out = dir.filePath(QStringLiteral("Kitchen-result.LNO"));
        if (!QFileInfo::exists(out)) {
            const CliRun run =
                cli(QStringList{"calculate", sample("Kitchen.LNO"), "--output", out} + fastCalculation());
            EXPECT_EQ(run.code, 0) << run.err.toStdString();
        }
        return out;
    }
    QTemporaryDir dir;
};

TEST_F(PrintCommand, TheOrderShowsBothPartiesEveryPricedItemAndTheTotals) {
    // The totals as the window shows them in the test locale.
    struct Case {
        QString name;
        QStringList totals;
    } cases[] = {{"Kitchen.LNO", {"301.72", "359.05"}}, {"ShopFitting.LNO", {"1,716.39", "2,042.50"}}};
    for (const auto& [name, totals] : cases) {
        const QString text = print(sample(name), QStringLiteral("order"));
        QStringList expected = QStringList{"Brenvik Joinery Ltd.", "ORDER", "Total excl. VAT",
                                           "Total incl. VAT", "Page 1 of 1"} +
                               totals;
        expected << itemFields(sample(name), QStringLiteral("OrderItems"), 1);
        lintaro::TINI ini;
        ASSERT_TRUE(ini.LoadFromFile(sample(name)));
        expected << ini.ReadString(QStringLiteral("Customer"), QStringLiteral("Name"));
        for (const QString& value : expected)
            EXPECT_TRUE(text.contains(value)) << name.toStdString() << ": " << value.toStdString() << "\n"
                                              << text.toStdString();
    }
}

TEST_F(PrintCommand, TheSettingsLogoHeadsTheDocument) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
        GTEST_SKIP() << "pdfimages (poppler-utils) is not installed";
    QImage logo(120, 40, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    ASSERT_TRUE(logo.save(dir.filePath("logo.png")));
    QByteArray settings = lintaro::test::readFileBytes(sample("Sample.INI"));
    settings.replace("LogoFileName=", "LogoFileName=" + dir.filePath("logo.png").toUtf8());
    ASSERT_TRUE(lintaro::test::writeFileBytes(dir.filePath("logo.INI"), settings));
    auto images = [this](const QStringList& settingsArgs) {
        const QString pdf = dir.filePath("logo.pdf");
        EXPECT_EQ(cli(QStringList{"print", sample("Kitchen.LNO"), "--document", "order", "--pdf", pdf} +
                      settingsArgs)
                      .code,
                  0);
        QProcess list;
        list.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        list.waitForFinished(60000);
        // Two heading lines, then one line per image.
        return QString::fromUtf8(list.readAllStandardOutput()).trimmed().split('\n').size() - 2;
    };
    EXPECT_EQ(images({"--settings", dir.filePath("logo.INI")}), 1);
    EXPECT_EQ(images({"--settings", sample("Sample.INI")}), 0);
}

TEST_F(PrintCommand, PartsMaterialParamsSheetsAndSetupShowTheirData) {
    const QString result = calculated();
    const QJsonObject summary = lintaro::test::summaryJson(result);
    const QString gross = QString::number(summary["extractBrutto"].toDouble(), 'f', 2);
    const QString net = QString::number(summary["extractNetto"].toDouble(), 'f', 2);
    struct Case {
        QString file, document;
        QStringList expected;
    } cases[] = {
        {sample("Kitchen.LNO"), "parts",
         QStringList{"PARTS LIST", "Horak Kitchens", "Page 1 of 1", "Price/m2 excl. VAT"} +
             itemFields(sample("Kitchen.LNO"), "Parts", 1)},
        {sample("Board18.LNM"), "material",
         QStringList{"MATERIAL", "Brenvik Joinery Ltd.", "Page 1 of 1", "Price/m2 incl. VAT"}},
        {result, "params", {"Calculation", "Horak Kitchens", "Gross yield %", "Net yield %", gross, net}},
        {result, "sheets", {"Cutting sheets", "Horak Kitchens", gross, net, "Page 1 of "}},
        {sample("Kitchen.LNO"),
         "setup",
         {"SETTINGS", "Brenvik Joinery Ltd.", "Sawmill Road 7", "Page 1 of 1", "Price per m2"}},
    };
    for (const Case& c : cases) {
        const QString text = print(c.file, c.document);
        for (const QString& value : c.expected)
            EXPECT_TRUE(text.contains(value))
                << c.document.toStdString() << ": " << value.toStdString() << "\n"
                << text.toStdString();
    }
    // Prices per area name the unit they are in: square feet under U.S. units.
    const QString us = dir.filePath("material-us.pdf");
    const CliRun usRun = cli({"print", sample("Board18.LNM"), "--document", "material", "--pdf", us,
                              "--settings", sample("Sample.INI")},
                             QStringLiteral("en_US.UTF-8"));
    ASSERT_EQ(usRun.code, 0) << usRun.err.toStdString();
    EXPECT_TRUE(pdfText(us).contains("Price/ft2 excl. VAT"));
    // Every stock dimension of the material: its caption and sizes.
    const QString material = pdfText(dir.filePath("material.pdf"));
    lintaro::TINI ini;
    ASSERT_TRUE(ini.LoadFromFile(sample("Board18.LNM")));
    const int dims = ini.ReadString("Dims", "Count").toInt();
    ASSERT_GT(dims, 0);
    for (int i = 1; i <= 2 * dims + 10; ++i) {
        const QString record = ini.ReadString("Dims", QStringLiteral("Item%1").arg(i));
        if (record.isEmpty())
            continue;
        const QString caption =
            (lintaro::GetBarField(record, 5) == "1" ? "R" : "M") + lintaro::GetBarField(record, 0);
        EXPECT_TRUE(QRegularExpression("\\b" + caption + "\\b").match(material).hasMatch())
            << caption.toStdString();
    }
}

// The text a document prints with --text; the run must succeed.
QString printedText(const QStringList& args, QString* progress = nullptr) {
    const CliRun run = cli(args);
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    if (progress)
        *progress = run.out;
    const int text = static_cast<int>(args.indexOf(QStringLiteral("--text")));
    return text < 0 ? QString() : QString::fromUtf8(lintaro::test::readFileBytes(args.at(text + 1)));
}

TEST_F(PrintCommand, TheTextOfEveryDocumentHoldsEveryWordOfItsPdf) {
    const QString result = calculated();
    struct Case {
        QString file, document;
    } cases[] = {{result, "order"},  {result, "parts"}, {result, "params"},
                 {result, "sheets"}, {result, "setup"}, {sample("Board18.LNM"), "material"}};
    for (const Case& c : cases) {
        QString pdfWords = print(c.file, c.document);
        if (c.document == QLatin1String("sheets")) {
            // The drawings are pictures, which a text has no room for: the page's own texts above and
            // below them.
            pdfWords.clear();
            for (const QStringList& crop :
                 {QStringList{"-y", "0", "-H", "100"}, QStringList{"-y", "780", "-H", "62"}}) {
                QProcess process;
                process.start(QStringLiteral("pdftotext"),
                              QStringList{"-f", "1", "-l", "1", "-x", "0", "-W", "600"} + crop +
                                  QStringList{dir.filePath("sheets.pdf"), "-"});
                ASSERT_TRUE(process.waitForFinished(60000));
                pdfWords += QString::fromUtf8(process.readAllStandardOutput()) + u' ';
            }
            ASSERT_TRUE(pdfWords.contains("Cutting") && pdfWords.contains("Page")) << pdfWords.toStdString();
        }
        const QStringList words = pdfWords.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        const QString txt = dir.filePath(c.document + ".txt");
        const QString text = printedText(
            {"print", c.file, "--document", c.document, "--text", txt, "--settings", sample("Sample.INI")});
        EXPECT_FALSE(text.contains(u'\r')) << c.document.toStdString();
        const QStringList textWords = text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        for (const QString& word : words)
            EXPECT_TRUE(textWords.contains(word))
                << c.document.toStdString() << ": \"" << word.toStdString() << "\" is missing in\n"
                << text.toStdString();
    }
}

TEST_F(PrintCommand, ThePartsListNumbersEveryPartAsTheDrawingsDoAndCountsThePieces) {
    const QString txt = dir.filePath("parts.txt");
    const QString text = printedText({"print", sample("Kitchen.LNO"), "--document", "parts", "--text", txt,
                                      "--settings", sample("Sample.INI")});
    const QStringList ids = itemFields(sample("Kitchen.LNO"), "Parts", 0);
    const QStringList captions = itemFields(sample("Kitchen.LNO"), "Parts", 1);
    const QStringList counts = itemFields(sample("Kitchen.LNO"), "Parts", 5);
    ASSERT_EQ(ids.size(), captions.size());
    ASSERT_GT(ids.size(), 2);
    ASSERT_NE(ids.first(), QStringLiteral("1")) << "the sample's IDs differ from the row numbers";
    int pieces = 0;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        // The drawings label a part with its ID: the list's row shows that number and its caption.
        EXPECT_TRUE(QRegularExpression(
                        QStringLiteral("(?m)^%1 +%2  ").arg(ids[i], QRegularExpression::escape(captions[i])))
                        .match(text)
                        .hasMatch())
            << ids[i].toStdString() << " " << captions[i].toStdString() << "\n"
            << text.toStdString();
        pieces += counts.value(i).toInt();
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral("Total pieces +%1 ").arg(pieces)).match(text).hasMatch())
        << pieces << "\n"
        << text.toStdString();
    EXPECT_TRUE(text.contains("Area each") && text.contains("Perimeter each"));
}

struct PdfWord {
    QString text;
    QSizeF size; // points
};

// The words of a PDF with their boxes as pdftotext -bbox gives them.
QList<PdfWord> pdfWords(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000))
        return {};
    QList<PdfWord> words;
    static const QRegularExpression pattern(QStringLiteral(
        "xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    auto it = pattern.globalMatch(QString::fromUtf8(process.readAllStandardOutput()));
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        words << PdfWord{m.captured(5), QSizeF(m.captured(3).toDouble() - m.captured(1).toDouble(),
                                               m.captured(4).toDouble() - m.captured(2).toDouble())};
    }
    return words;
}

QList<double> wordWidths(const QString& pdf, const QString& word) {
    QList<double> widths;
    for (const PdfWord& w : pdfWords(pdf))
        if (w.text == word)
            widths << w.size.width();
    return widths;
}

TEST_F(PrintCommand, CuttingSheetsPrintAsVectorDrawingsWhoseLabelsKeepTheirSizeAtAHigherZoom) {
    const QString result = calculated();
    QString settings = QString::fromUtf8(lintaro::test::readFileBytes(sample("Sample.INI")));
    ASSERT_TRUE(settings.contains("Zoom=200"));
    QList<double> widths;
    for (const char* zoom : {"200", "400"}) {
        const QString ini = dir.filePath(QStringLiteral("Zoom%1.INI").arg(zoom));
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QString(settings).replace("Zoom=200", QStringLiteral("Zoom=") + zoom).toUtf8());
        file.close();
        const QString pdf = dir.filePath(QStringLiteral("sheets%1.pdf").arg(zoom));
        const CliRun run = cli({"print", result, "--document", "sheets", "--pdf", pdf, "--settings", ini});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        // The drawing's labels are text of the PDF, not pixels of a picture.
        const QList<double> label = wordWidths(pdf, QStringLiteral("Material:"));
        ASSERT_FALSE(label.isEmpty()) << zoom;
        widths << label.first();
    }
    // A strip fills the page width however tall the zoom makes it: its labels keep their size.
    EXPECT_NEAR(widths[1], widths[0], 0.5);
}

TEST_F(PrintCommand, CuttingSheetsOfBothSamplesHaveNoLabelBelowSixPoints) {
    for (const char* name : {"Kitchen", "ShopFitting"}) {
        SCOPED_TRACE(name);
        const QString result = dir.filePath(QStringLiteral("%1-large.LNO").arg(name));
        const CliRun calc = cli(QStringList{"calculate", sample(QStringLiteral("%1.LNO").arg(name)),
                                            "--output", result, "--settings", sample("Sample.INI")} +
                                fastCalculation());
        ASSERT_EQ(calc.code, 0) << calc.err.toStdString();
        const QString pdf = dir.filePath(QStringLiteral("%1-sheets.pdf").arg(name));
        const CliRun run =
            cli({"print", result, "--document", "sheets", "--pdf", pdf, "--settings", sample("Sample.INI")});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const QList<PdfWord> words = pdfWords(pdf);
        ASSERT_FALSE(words.isEmpty());
        double smallest = 1e9;
        for (const PdfWord& w : words) {
            // A word's box is its font's height across the text (about 1.12 times the point size,
            // whether the text runs across or up); a word of a single character may be narrower.
            const bool measurable = w.text.size() >= 3 || (w.text.size() == 2 && w.text.front().isDigit() &&
                                                           w.text.back().isDigit());
            if (measurable && !w.text.startsWith(u'&'))
                smallest = std::min(smallest, std::min(w.size.width(), w.size.height()));
        }
        // A 6-point font's box is 6.7 points high; whole pixels may take 2 % off it.
        EXPECT_GE(smallest, 6.5);
    }
}

TEST_F(PrintCommand, CopiesOfATextFileAreWrittenAndReported) {
    const QString txt = dir.filePath("copies.txt");
    QString progress;
    const QString text = printedText({"print", sample("Kitchen.LNO"), "--document", "order", "--text", txt,
                                      "--copies", "2", "--settings", sample("Sample.INI")},
                                     &progress);
    EXPECT_EQ(progress, "page 1 of 1, copy 1 of 2\npage 1 of 1, copy 2 of 2\n");
    EXPECT_EQ(text.count(u'\f'), 2);
    EXPECT_EQ(text.count("Horak Kitchens"), 2 * text.left(text.indexOf(u'\f')).count("Horak Kitchens"));
    EXPECT_TRUE(cli({"help", "print"}).out.contains("text file holds the pages N times over"));
}

TEST_F(PrintCommand, TextPagesAndRangesAndRefusals) {
    const QString txt = dir.filePath("order.txt");
    const CliRun text = cli({"print", sample("Kitchen.LNO"), "--document", "order", "--text", txt,
                             "--settings", sample("Sample.INI")});
    ASSERT_EQ(text.code, 0) << text.err.toStdString();
    const QString written = QString::fromUtf8(lintaro::test::readFileBytes(txt));
    EXPECT_TRUE(written.contains("Horak Kitchens"));
    EXPECT_TRUE(written.endsWith('\f'));

    const QString pdf = dir.filePath("none.pdf");
    struct Case {
        QStringList args;
        QString message;
    } cases[] = {
        {{"print", sample("Kitchen.LNO"), "--pdf", pdf},
         "--document wants one of order|parts|material|sheets|params|setup"},
        {{"print", sample("Kitchen.LNO"), "--document", "bill", "--pdf", pdf},
         "--document wants one of order|parts|material|sheets|params|setup"},
        {{"print", sample("Kitchen.LNO"), "--document", "order"},
         "give exactly one of --pdf OUT.pdf, --text OUT.txt, --printer NAME"},
        {{"print", sample("Kitchen.LNO"), "--document", "order", "--pdf", pdf, "--text", txt},
         "give exactly one of --pdf OUT.pdf, --text OUT.txt, --printer NAME"},
        {{"print", sample("Kitchen.LNO"), "--document", "material", "--pdf", pdf},
         sample("Kitchen.LNO") + ": the material document prints a material file (.LNM)"},
        {{"print", sample("Board18.LNM"), "--document", "order", "--pdf", pdf},
         sample("Board18.LNM") + ": this document prints an order file (.LNO)"},
        {{"print", dir.filePath("missing.LNO"), "--document", "order", "--pdf", pdf},
         dir.filePath("missing.LNO") + ": no such file"},
        {{"print", sample("Kitchen.LNO"), "--document", "order", "--pdf", pdf, "--pages", "3-2"},
         "--pages wants FROM-TO with 1 <= FROM <= TO"},
        {{"print", sample("Kitchen.LNO"), "--document", "order", "--pdf", pdf, "--pages", "x"},
         "--pages wants FROM-TO, for example 2-3"},
        {{"print", sample("Kitchen.LNO"), "--document", "order", "--pdf", pdf, "--pages", "4-5"},
         "--pages 4-5: the document has 1 page(s)"},
        {{"print", sample("Kitchen.LNO"), "--document", "order", "--printer", "x", "--copies", "150"},
         "--copies wants a number from 1 to 99"},
        {{"print", sample("Kitchen.LNO"), "--document", "order", "--printer", "No Such Queue"},
         "--printer No Such Queue: no such printer (lpstat -p lists them)"},
        {{"print", sample("Kitchen.LNO"), "--document", "sheets", "--pdf", pdf},
         sample("Kitchen.LNO") + ": the order has no calculated sheets"},
        {{"print", sample("Kitchen.LNO"), "--document", "order", "--pdf", dir.filePath("no/such/dir/x.pdf")},
         dir.filePath("no/such/dir/x.pdf") + ": the folder does not exist"},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err, "lintaro-cli print: " + c.message + "\n") << c.args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

// Prints the order to the queue LINTARO_TEST_PDF_PRINTER, which passes its jobs on as PDF into the
// file LINTARO_TEST_PDF_PRINTER_OUTPUT (.ci/run sets up such a CUPS queue), and reads the customer
// back from what the queue wrote.
TEST_F(PrintCommand, TheOrderReachesACupsQueueWithTheCustomersName) {
    const QString queue = qEnvironmentVariable("LINTARO_TEST_PDF_PRINTER");
    const QString output = qEnvironmentVariable("LINTARO_TEST_PDF_PRINTER_OUTPUT");
    if (queue.isEmpty() || output.isEmpty())
        GTEST_SKIP() << "SKIPPED: no CUPS queue to print to (LINTARO_TEST_PDF_PRINTER and "
                        "LINTARO_TEST_PDF_PRINTER_OUTPUT are not set; .ci/run sets them where CUPS runs)";
    const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
    const CliRun run = cli({"print", sample("Kitchen.LNO"), "--document", "order", "--printer", queue,
                            "--settings", sample("Sample.INI")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    // The job is complete once the file is new and ends as a PDF does.
    QDeadlineTimer deadline(60000);
    QByteArray bytes;
    while (!deadline.hasExpired()) {
        QThread::msleep(200);
        const QFileInfo file(output);
        if (!file.exists() || file.lastModified() < start)
            continue;
        bytes = lintaro::test::readFileBytes(output);
        if (bytes.startsWith("%PDF") && bytes.trimmed().endsWith("%%EOF"))
            break;
    }
    ASSERT_TRUE(bytes.startsWith("%PDF")) << "no job appeared in " << output.toStdString();
    EXPECT_TRUE(pdfText(output).contains("Horak Kitchens")) << pdfText(output).toStdString();
}

} // namespace
