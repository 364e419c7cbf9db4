// lintaro-cli as a user runs it: exit codes, messages and what it writes, on the shipped samples.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(LINTARO_BIN_DIR "/lintaro-cli"), args);
    p.waitForFinished(600000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString sample(const QString& name) {
    return QStringLiteral(LINTARO_BIN_DIR "/samples/") + name;
}

// Quick and the same on every machine.
const QStringList kFast = {"--deterministic", "--reduction-time", "0,1"};

} // namespace

TEST(Cli, CalculatesBothSamplesAndSummarisesThem) {
    QTemporaryDir dir;
    for (const QString& name : {QStringLiteral("Kitchen.LNO"), QStringLiteral("ShopFitting.LNO")}) {
        const QString out = dir.filePath(name);
        const CliRun calc = cli(QStringList{"calculate", sample(name), "--output", out} + kFast);
        EXPECT_EQ(calc.code, 0) << calc.out.toStdString() << calc.err.toStdString();
        EXPECT_TRUE(calc.out.contains("State: ssCalculatedOK"));
        EXPECT_TRUE(calc.out.contains("Sheet 1: ")) << calc.out.toStdString();
        EXPECT_TRUE(calc.out.contains("Calculation finished"));

        const CliRun summary = cli({"summary", out});
        EXPECT_EQ(summary.code, 0);
        EXPECT_TRUE(summary.out.contains("State: ssCalculatedOK")) << summary.out.toStdString();
        EXPECT_TRUE(summary.out.contains("Unplaced pieces: 0"));

        const CliRun json = cli({"summary", out, "--json"});
        const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
        EXPECT_EQ(o["state"].toString(), "ssCalculatedOK");
        EXPECT_GT(o["extractNetto"].toDouble(), 50.0);
        EXPECT_EQ(o["partsUnused"].toInt(), 0);
        EXPECT_FALSE(o["sheets"].toArray().isEmpty());
    }
}

TEST(Cli, ExportsHtmlCsvAndDrawings) {
    QTemporaryDir dir;
    const QString order = dir.filePath("k.LNO");
    ASSERT_EQ(cli(QStringList{"calculate", sample("Kitchen.LNO"), "--output", order} + kFast).code, 0);
    EXPECT_EQ(cli({"export-html", order, dir.filePath("k.htm")}).code, 0);
    EXPECT_TRUE(lintaro::test::readFileBytes(dir.filePath("k.htm")).contains("Horak Kitchens"));
    EXPECT_EQ(cli({"export-csv", order, dir.filePath("k.csv")}).code, 0);
    EXPECT_TRUE(lintaro::test::readFileBytes(dir.filePath("k.csv")).startsWith("Base side;720;560;Y;6\r\n"));
    EXPECT_EQ(cli({"draw", order, "--sheet", "1", dir.filePath("s.png")}).code, 0);
    EXPECT_TRUE(lintaro::test::readFileBytes(dir.filePath("s.png")).startsWith("\x89PNG"));
    const CliRun all = cli({"draw", order, "--all", dir.filePath("s.svg")});
    EXPECT_EQ(all.code, 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("s-1.svg")));
    EXPECT_TRUE(lintaro::test::readFileBytes(dir.filePath("s-1.svg")).contains("<svg"));
}

TEST(Cli, BadUsageAndInputGiveExitCode2AndWriteNothing) {
    QTemporaryDir dir;
    QByteArray order = lintaro::test::readFileBytes(sample("Kitchen.LNO"));
    order.replace("MinVersion=1", "MinVersion=2");
    ASSERT_TRUE(lintaro::test::writeFileBytes(dir.filePath("v2.LNO"), order));
    ASSERT_TRUE(lintaro::test::writeFileBytes(dir.filePath("bin.csv"), QByteArray("\x00\x01\x02\x89PNG", 7)));
    const QString out = dir.filePath("out.LNO");
    struct Case {
        QStringList args;
        QString message;
    } cases[] = {
        {{"calculate", dir.filePath("v2.LNO"), "--output", out}, "v2.LNO"},
        {{"calculate", dir.filePath("missing.LNO"), "--output", out}, "no such file"},
        {{"calculate", sample("Kitchen.LNO"), "--frobnicate"}, "unknown option --frobnicate"},
        {{"calculate", "--parts", dir.filePath("bin.csv"), "--material", sample("Board18.LNM"), "--output",
          out},
         "bin.csv"},
        {{"calculate", "--parts", dir.filePath("bin.csv")}, "--material"},
        {{"calculate", sample("Kitchen.LNO"), "--material", dir.filePath("bin.csv"), "--output", out},
         "bin.csv"},
        {{"summary"}, "usage"},
        {{"draw", sample("Kitchen.LNO"), "--sheet", "1", dir.filePath("x.gif")}, ".svg or .png"},
        {{"draw", sample("Kitchen.LNO"), "--sheet", "1", dir.filePath("x.png")}, "no calculated sheets"},
        {{"summary", sample("Kitchen.LNO"), "--reduction-time", "5,2"}, "--reduction-time"},
        {{"nonsense"}, "unknown command"},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
}

TEST(Cli, CalculatesACsvPartList) {
    QTemporaryDir dir;
    ASSERT_TRUE(
        lintaro::test::writeFileBytes(dir.filePath("p.csv"), "Shelf;800;300;X;6\r\nSide;720;560;N;2\r\n"));
    const CliRun r = cli(QStringList{"calculate", "--parts", dir.filePath("p.csv"), "--material",
                                     sample("Board18.LNM"), "--output", dir.filePath("p.LNO")} +
                         kFast);
    EXPECT_EQ(r.code, 0) << r.out.toStdString() << r.err.toStdString();
    const CliRun s = cli({"summary", dir.filePath("p.LNO")});
    EXPECT_TRUE(s.out.contains("Parts: 8 pieces of 2 parts")) << s.out.toStdString();
}
