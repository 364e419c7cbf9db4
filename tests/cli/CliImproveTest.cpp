// lintaro-cli calculate --improve: the improvement stage from the command line.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
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

} // namespace

TEST(CliImprove, RunsTheStageAndGivesTheSamePlanTwiceOnTheVirtualClock) {
    QTemporaryDir dir;
    QStringList summaries;
    for (const QString name : {"a.LNO", "b.LNO"}) {
        const CliRun r = cli({"calculate", sample("Kitchen.LNO"), "--deterministic=20000", "--improve=1",
                              "--output", dir.filePath(name)});
        ASSERT_EQ(r.code, 0) << r.out.toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.out.contains("Improving the result")) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains("Improved: ") || r.out.contains("Improvement: nothing better"))
            << r.out.toStdString();
        // The plan, not the wall time the run took.
        QStringList lines = cli({"summary", dir.filePath(name)}).out.split(u'\n');
        lines.removeIf([](const QString& line) { return line.startsWith(QLatin1String("Time:")); });
        summaries << lines.join(u'\n');
    }
    EXPECT_EQ(summaries[0], summaries[1]);
}

TEST(CliImprove, ZeroRunsTheSearchAloneAndTheSummaryGivesTheBound) {
    QTemporaryDir dir;
    const CliRun r = cli({"calculate", sample("Kitchen.LNO"), "--deterministic=20000", "--improve=0",
                          "--output", dir.filePath("a.LNO")});
    ASSERT_EQ(r.code, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_FALSE(r.out.contains("Improving the result")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Lower bound: ")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("\nGap: ")) << r.out.toStdString();
    const CliRun json = cli({"summary", dir.filePath("a.LNO"), "--json"});
    EXPECT_TRUE(json.out.contains("\"lowerBoundArea\"")) << json.out.toStdString();
    EXPECT_TRUE(json.out.contains("\"gapPercent\"")) << json.out.toStdString();
}

TEST(CliImprove, RefusesATimeOutOfRange) {
    for (const QString value : {"-1", "601", "soon"}) {
        const CliRun r = cli({"calculate", sample("Kitchen.LNO"), "--improve=" + value});
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains("--improve=SECONDS")) << r.err.toStdString();
    }
}
