// lintaro-cli as a user runs it: exit codes, messages and what it writes, on the shipped samples.
#include "cli/CliSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

using lintaro::test::cli;
using lintaro::test::CliRun;
using lintaro::test::fastCalculation;
using lintaro::test::sample;

TEST(Cli, CalculatesBothSamplesAndSummarisesThem) {
    QTemporaryDir dir;
    for (const QString& name : {QStringLiteral("Kitchen.LNO"), QStringLiteral("ShopFitting.LNO")}) {
        const QString out = dir.filePath(name);
        const CliRun calc = cli(QStringList{"calculate", sample(name), "--output", out} + fastCalculation());
        EXPECT_EQ(calc.code, 0) << calc.out.toStdString() << calc.err.toStdString();
        EXPECT_TRUE(calc.out.contains("Sheet 1: ")) << calc.out.toStdString();
        EXPECT_TRUE(calc.out.contains("Calculation finished"));
        EXPECT_TRUE(calc.out.contains("Saved: " + out));

        // The closing summary and `summary` report the same figures.
        const CliRun summary = cli({"summary", out});
        EXPECT_EQ(summary.code, 0);
        const qsizetype from = calc.out.indexOf("State: ");
        ASSERT_GE(from, 0);
        const QString closing = calc.out.mid(from, calc.out.indexOf("Saved: ") - from);
        EXPECT_TRUE(summary.out.contains(closing)) << closing.toStdString() << summary.out.toStdString();
        for (const char* key :
             {"State: ssCalculatedOK (Calculated)\n", "Unplaced pieces: 0\n", "Gross yield: ", "Net yield: ",
              "Area used: ", "Area wasted: ", "Reusable rests: ", "Cuts: ", "Time: "})
            EXPECT_TRUE(closing.contains(QLatin1String(key))) << key;

        const QJsonObject o = lintaro::test::summaryJson(out);
        EXPECT_EQ(o["state"].toString(), "ssCalculatedOK");
        EXPECT_FALSE(o["stopped"].toBool());
        EXPECT_GT(o["extractNetto"].toDouble(), 50.0);
        EXPECT_GT(o["cuts"].toInt(), 0);
        EXPECT_EQ(o["piecesUnplaced"].toInt(), 0);
        EXPECT_EQ(o["piecesPlaced"].toInt(), o["partsCount"].toInt());
        EXPECT_FALSE(o["sheets"].toArray().isEmpty());
        EXPECT_TRUE(
            closing.contains(QStringLiteral("Net yield: %1 %").arg(o["extractNetto"].toDouble(), 0, 'f', 2)));
    }
}

TEST(Cli, WithoutOutputSavesBesideTheInputAndNeverOverAFile) {
    QTemporaryDir dir;
    const QString order = dir.filePath("Kitchen.LNO");
    ASSERT_TRUE(QFile::copy(sample("Kitchen.LNO"), order));
    ASSERT_TRUE(QFile::copy(sample("Board18.LNM"), dir.filePath("Board18.LNM")));
    const QByteArray original = lintaro::test::readFileBytes(order);
    const QString result = dir.filePath("Kitchen-result.LNO");

    const CliRun first = cli(QStringList{"calculate", order} + fastCalculation());
    EXPECT_EQ(first.code, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains("Saved: " + result)) << first.out.toStdString();
    EXPECT_TRUE(lintaro::test::readFileBytes(result).contains("[SHEET1]"));
    EXPECT_EQ(lintaro::test::readFileBytes(order), original);

    const CliRun again = cli(QStringList{"calculate", order} + fastCalculation());
    EXPECT_EQ(again.code, 2);
    EXPECT_EQ(again.err, "lintaro-cli calculate: " + result +
                             " already exists (--force replaces it, --output names another file)\n");
    EXPECT_TRUE(again.out.isEmpty());

    ASSERT_TRUE(lintaro::test::writeFileBytes(result, "old"));
    const CliRun forced = cli(QStringList{"calculate", order, "--force"} + fastCalculation());
    EXPECT_EQ(forced.code, 0);
    EXPECT_TRUE(lintaro::test::readFileBytes(result).contains("[SHEET1]"));
}

TEST(Cli, ExportsHtmlCsvAndDrawings) {
    QTemporaryDir dir;
    const QString order = dir.filePath("k.LNO");
    ASSERT_EQ(
        cli(QStringList{"calculate", sample("Kitchen.LNO"), "--output", order} + fastCalculation()).code, 0);

    // With the sample settings the offer names the supplier, and the sample's date is kept.
    EXPECT_EQ(cli({"export-html", order, dir.filePath("k.htm"), "--settings", sample("Sample.INI")}).code, 0);
    const QByteArray html = lintaro::test::readFileBytes(dir.filePath("k.htm"));
    EXPECT_TRUE(html.contains("Horak Kitchens"));
    EXPECT_TRUE(html.contains("Brenvik Joinery Ltd."));
    const QByteArray stored = lintaro::test::readFileBytes(sample("Kitchen.LNO"));
    const qsizetype at = stored.indexOf("DateCreate=") + 11;
    const QByteArray date = stored.mid(at, stored.indexOf('\r', at) - at);
    const QDate created = QDate::fromString(QString::fromLatin1(date), "dd.MM.yyyy");
    ASSERT_TRUE(created.isValid()) << date.toStdString();
    EXPECT_TRUE(html.contains(created.toString(QLocale::c().dateFormat(QLocale::ShortFormat)).toUtf8()))
        << date.toStdString();

    EXPECT_EQ(cli({"export-csv", order, dir.filePath("k.csv")}).code, 0);
    EXPECT_TRUE(lintaro::test::readFileBytes(dir.filePath("k.csv")).startsWith("Base side;720;560;Y;6\r\n"));
    EXPECT_EQ(cli({"draw", order, "--sheet", "1", dir.filePath("s.png")}).code, 0);
    EXPECT_TRUE(lintaro::test::readFileBytes(dir.filePath("s.png")).startsWith("\x89PNG"));
    const CliRun all = cli({"draw", order, "--all", "--captions", "--zoom", "200", dir.filePath("s.svg")});
    EXPECT_EQ(all.code, 0);
    EXPECT_TRUE(lintaro::test::readFileBytes(dir.filePath("s-1.svg")).contains("<svg"));

    // A save that fails is reported with its reason, once, and exits 1. (/proc takes no new files,
    // not even from root.)
    for (const QStringList& args : {QStringList{"export-cutlist", order, "/proc/lintaro-cuts.csv"},
                                    QStringList{"draw", order, "--all", "/proc/lintaro.pdf"},
                                    QStringList{"export-csv", order, "/proc/lintaro.csv"}}) {
        const CliRun failed = cli(args);
        EXPECT_EQ(failed.code, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(failed.err.startsWith("lintaro-cli " + args[0] + ": cannot save " + args.last() + ": "))
            << failed.err.toStdString();
        EXPECT_EQ(failed.err.count('\n'), 1);
    }
}

TEST(Cli, BadUsageAndInputGiveOneLineExitCode2AndWriteNothing) {
    QTemporaryDir dir;
    QByteArray order = lintaro::test::readFileBytes(sample("Kitchen.LNO"));
    order.replace("MinVersion=1", "MinVersion=2");
    ASSERT_TRUE(lintaro::test::writeFileBytes(dir.filePath("v2.LNO"), order));
    ASSERT_TRUE(
        lintaro::test::writeFileBytes(dir.filePath("garbage.csv"), QByteArray("\x00\x01\x02\x89PNG", 7)));
    const QString bin = dir.filePath("garbage.csv");
    const QString out = dir.filePath("out.LNO");
    const QString board = sample("Board18.LNM");
    struct Case {
        QStringList args;
        QString message; // the whole line after "lintaro-cli "
    } cases[] = {
        {{"calculate", dir.filePath("missing.LNO"), "--output", out},
         "calculate: " + dir.filePath("missing.LNO") + ": no such file"},
        {{"calculate", sample("Kitchen.LNO"), "--frobnicate"}, "calculate: unknown option --frobnicate"},
        {{"calculate", "--parts", bin, "--material", board, "--output", out},
         "calculate: " + bin + " is not a text file"},
        {{"calculate", "--parts"}, "calculate: option --parts needs a value"},
        {{"calculate", "--parts", "--material", board}, "calculate: option --parts needs a value"},
        {{"calculate", "--parts", bin}, "calculate: --parts needs --material FILE.LNM"},
        {{"calculate", sample("Kitchen.LNO"), "--material", bin, "--output", out},
         "calculate: " + bin + " is not a text file"},
        {{"calculate", "a.LNO", "b.LNO"},
         "calculate: usage: lintaro-cli calculate (ORDER.LNO | --parts PARTS.csv --material FILE.LNM) "
         "[options]"},
        {{"summary"}, "summary: usage: lintaro-cli summary ORDER.LNO [--json]"},
        {{"summary", bin}, "summary: " + bin + " is not a text file"},
        {{"draw", sample("Kitchen.LNO"), "--sheet", "1", dir.filePath("x.gif")},
         "draw: " + dir.filePath("x.gif") +
             ": unknown drawing format; the name must end in .pdf, .png or .svg"},
        {{"draw", sample("Kitchen.LNO"), "--sheet", "1", "--zoom", "700", dir.filePath("x.png")},
         "draw: --zoom wants a number from 100 to 600"},
        {{"draw", sample("Kitchen.LNO"), "--sheet", "1", dir.filePath("x.png")},
         "draw: " + sample("Kitchen.LNO") + ": the order has no calculated sheets"},
        {{"export-cutlist", sample("Kitchen.LNO"), dir.filePath("x.csv")},
         "export-cutlist: " + sample("Kitchen.LNO") + ": the order has no calculated sheets"},
        {{"summary", sample("Kitchen.LNO"), "--reduction-time", "5,2"},
         "summary: --reduction-time wants MIN,MAX seconds with 0 <= MIN < MAX <= 100"},
        {{"help", "nonsense"}, "help: unknown command 'nonsense' (lintaro-cli --help lists them)"},
        {{"nonsense"}, ": unknown command 'nonsense' (lintaro-cli --help lists them)"},
        {{}, ": no command given (lintaro-cli --help lists them)"},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
        const QString prefix = c.message.startsWith(':') ? "lintaro-cli" : "lintaro-cli ";
        EXPECT_EQ(r.err, prefix + c.message + "\n") << c.args.join(' ').toStdString();
    }
    // A file of another version is refused with its reason, on one line.
    const CliRun v2 = cli({"calculate", dir.filePath("v2.LNO"), "--output", out});
    EXPECT_EQ(v2.code, 2);
    EXPECT_TRUE(v2.err.startsWith("lintaro-cli calculate: ")) << v2.err.toStdString();
    EXPECT_EQ(v2.err.count(dir.filePath("v2.LNO")), 1) << v2.err.toStdString();
    EXPECT_EQ(v2.err.count('\n'), 1);

    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST(Cli, HelpForEveryCommandAndTheVersion) {
    const CliRun overview = cli({"--help"});
    EXPECT_EQ(overview.code, 0);
    const QStringList verbs = {"calculate",      "summary", "export-html", "export-csv",
                               "export-cutlist", "draw",    "print"};
    for (const QString& verb : verbs) {
        EXPECT_TRUE(overview.out.contains("lintaro-cli " + verb + ' ')) << verb.toStdString();
        const CliRun help = cli({"help", verb});
        EXPECT_EQ(help.code, 0);
        EXPECT_TRUE(help.out.startsWith("usage: lintaro-cli " + verb)) << help.out.toStdString();
        EXPECT_TRUE(help.out.contains("Exit codes: 0 success"));
        EXPECT_TRUE(help.out.contains("Example"));
        EXPECT_EQ(cli({verb, "--help"}).out, help.out);
    }
    const QString calculate = cli({"help", "calculate"}).out;
    for (const char* topic : {"caption;X;Y;orientation;count", "grain", "inches", "--lenient", "Ctrl+C"})
        EXPECT_TRUE(calculate.contains(QLatin1String(topic))) << topic;
    const CliRun version = cli({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(QRegularExpression("^lintaro-cli \\d+\\.\\d+\\.\\d+ \\(build \\d+\\)\n$")
                    .match(version.out)
                    .hasMatch())
        << version.out.toStdString();
}
