// The batch tool saving or printing onto a full disk: it says so, exits 1, and the previous file survives
// byte for byte with no temporary file beside it.
#include "support/FaultInjection.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

namespace {

struct CliResult {
    int code = -1;
    QString err;
};

CliResult cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(LINTARO_BIN_DIR "/lintaro-cli"), args);
    p.waitForFinished(600000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(CliFullDisk, SavesFailWithTheReasonAndKeepTheOldFile) {
    lintaro::test::SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "full-disk test skipped: " << disk.Reason().toStdString();
    const QString order = lintaro::test::samplePath("Kitchen.LNO");
    const struct {
        const char* target;
        QStringList args; // the target is appended or given with --output
    } cases[] = {
        {"out.csv", {"export-csv", order}},
        {"out.htm", {"export-html", order}},
        {"out.LNO", {"calculate", order, "--deterministic", "--reduction-time", "0,1", "--output"}},
        {"out.pdf", {"print", order, "--document", "order", "--pdf"}},
        {"out.txt", {"print", order, "--document", "order", "--text"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const QString target = disk.FilePath(QString::fromLatin1(c.target));
        const QByteArray old = "the previous file\r\n";
        QFile::remove(disk.FilePath("filler"));
        ASSERT_TRUE(lintaro::test::writeFileBytes(target, old));
        disk.Fill();
        const CliResult run = cli(c.args + QStringList{target});
        EXPECT_EQ(run.code, 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("No space left on device")) << run.err.toStdString();
        EXPECT_EQ(lintaro::test::readFileBytes(target), old);
    }
    EXPECT_EQ(disk.Names(), (QStringList{"filler", "out.LNO", "out.csv", "out.htm", "out.pdf", "out.txt"}));
}
