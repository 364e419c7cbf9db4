// Ctrl+C during a calculation: the sheets finished before it are saved, the result says it was
// stopped, and the saved order loads and draws. The virtual clock makes the finished sheets the
// same on every machine; the signal comes when the third sheet's search begins.
#include "cli/CliSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using lintaro::test::cli;
using lintaro::test::CliRun;
using lintaro::test::sample;

namespace {

// Runs the shop-fitting sample, which sends itself `toSend` ("INT" or "INT,TERM") as the search of
// result sheet `sheet` begins: the same point on every machine, however busy.
CliRun interruptAtSheet(const QString& output, int sheet, const QString& toSend) {
    QProcess p;
    QProcessEnvironment env = lintaro::test::cliEnvironment();
    env.insert(QStringLiteral("LINTARO_CLI_SIGNAL_AT_SHEET"), QString::number(sheet) + u':' + toSend);
    p.setProcessEnvironment(env);
    p.start(lintaro::test::cliProgram(), QStringList{"calculate", sample("ShopFitting.LNO"), "--output",
                                                     output, "--deterministic", "--reduction-time", "0,1"});
    EXPECT_TRUE(p.waitForStarted());
    p.waitForFinished(600000);
    return {p.exitCode(), p.exitStatus() == QProcess::CrashExit, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(Stop, CtrlCDuringTheThirdSheetSavesTheFinishedSheets) {
    QTemporaryDir dir;
    const QString output = dir.filePath("stopped.LNO");
    const CliRun run = interruptAtSheet(output, 3, "INT");
    EXPECT_EQ(run.code, 1) << run.err.toStdString();
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.err, "lintaro-cli calculate: stopping; the sheets found so far will be saved\n");
    EXPECT_TRUE(run.out.contains("ERROR #-1 - Stopped by the user\n"));
    EXPECT_TRUE(run.out.contains("State: ssCalculatedError (Calculated with errors), stopped\n"));
    EXPECT_TRUE(run.out.contains("Saved: " + output + '\n'));

    // The sheets reported as finished before the stop are the saved ones.
    QStringList finished;
    for (const QString& line : run.out.split('\n'))
        if (line.startsWith("Sheet ") && line.contains(" mm x "))
            finished << line;
    EXPECT_EQ(finished.size(), 2) << run.out.toStdString();
    ASSERT_GE(finished.size(), 2);
    EXPECT_TRUE(finished[0].startsWith("Sheet 1: 1,250.00 mm x 800.00 mm, 2x"));
    EXPECT_TRUE(finished[1].startsWith("Sheet 2: 2,070.00 mm x 520.00 mm, 1x"));

    const QJsonObject o = lintaro::test::summaryJson(output);
    EXPECT_EQ(o["state"].toString(), "ssCalculatedError");
    EXPECT_TRUE(o["stopped"].toBool());
    const QJsonArray sheets = o["sheets"].toArray();
    ASSERT_EQ(sheets.size(), finished.size());
    EXPECT_EQ(sheets[0].toObject()["x"].toDouble(), 1250);
    EXPECT_EQ(sheets[0].toObject()["count"].toInt(), 2);
    EXPECT_EQ(sheets[1].toObject()["x"].toDouble(), 2070);
    EXPECT_GT(o["piecesUnplaced"].toInt(), 0);
    EXPECT_EQ(o["piecesPlaced"].toInt() + o["piecesUnplaced"].toInt(), o["partsCount"].toInt());

    const CliRun draw = cli({"draw", output, "--all", dir.filePath("stopped.pdf")});
    EXPECT_EQ(draw.code, 0) << draw.err.toStdString();
    EXPECT_TRUE(lintaro::test::readFileBytes(dir.filePath("stopped.pdf")).startsWith("%PDF"));
}

TEST(Stop, ASecondSignalEndsAtOnceWithoutSaving) {
    QTemporaryDir dir;
    const QString output = dir.filePath("killed.LNO");
    const CliRun run = interruptAtSheet(output, 3, "INT,TERM");
    EXPECT_TRUE(run.crashed);
    EXPECT_FALSE(run.out.contains("Saved: "));
    EXPECT_FALSE(QFile::exists(output));
}
