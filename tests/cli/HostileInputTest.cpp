// Damaged and hostile orders kept as fuzz seeds: the batch tool loads, sums and draws them or fails
// with a message, never crashing, hanging or eating the memory (the sanitizer build runs this too).
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

struct CliResult {
    bool finished = false;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QString err;
};

CliResult cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(LINTARO_BIN_DIR "/lintaro-cli"), args);
    CliResult r;
    r.finished = p.waitForFinished(120000);
    if (!r.finished)
        p.kill();
    r.status = p.exitStatus();
    r.code = p.exitCode();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

void expectClean(const CliResult& r, const QString& what) {
    EXPECT_TRUE(r.finished) << what.toStdString();
    EXPECT_EQ(r.status, QProcess::NormalExit) << what.toStdString() << r.err.toStdString();
    EXPECT_LE(r.code, 2) << what.toStdString() << r.err.toStdString();
}

} // namespace

TEST(CliHostileInput, FuzzSeedOrdersLoadSumAndDrawCleanly) {
    QTemporaryDir out;
    const QDir seeds(QStringLiteral(LINTARO_SOURCE_DIR "/tests/fuzz/corpus"));
    int seen = 0;
    for (const QString& folder : {QStringLiteral("order"), QStringLiteral("drawing")}) {
        for (const QFileInfo& seed : QDir(seeds.filePath(folder)).entryInfoList({"*.LNO"}, QDir::Files)) {
            ++seen;
            expectClean(cli({"summary", seed.filePath()}), seed.fileName());
            expectClean(cli({"summary", seed.filePath(), "--json"}), seed.fileName());
            expectClean(cli({"draw", seed.filePath(), "--all", out.filePath(seed.baseName() + ".png")}),
                        seed.fileName());
        }
    }
    EXPECT_GE(seen, 6);
}

TEST(CliHostileInput, MaterialThatIsAPipeOrADeviceIsRefused) {
    QTemporaryDir dir;
    QByteArray order = lintaro::test::readFileBytes(lintaro::test::dataPath("order/small.LNO"));
    ASSERT_TRUE(mkfifo(QFile::encodeName(dir.filePath("pipe.LNM")).constData(), 0600) == 0);
    for (const QByteArray& material : {QByteArray("pipe.LNM"), QByteArray("/dev/zero")}) {
        const QString file = dir.filePath("order.LNO");
        ASSERT_TRUE(lintaro::test::writeFileBytes(
            file, QByteArray(order).replace("Material=oak.LNM", "Material=" + material)));
        const CliResult r = cli({"summary", file});
        expectClean(r, QString::fromLatin1(material));
        EXPECT_TRUE(r.code == 0 || r.err.contains("not a regular file")) << r.err.toStdString();
    }
}
