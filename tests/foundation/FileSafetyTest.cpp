// Reading only what can be a file of the program, and saving so that nothing is lost.
#include "foundation/Ini.h"
#include "foundation/TextFile.h"
#include "support/FaultInjection.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace lintaro;

TEST(FileSafety, ReadingRefusesWhatIsNoFileOfTheProgram) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(test::writeFileBytes(dir.filePath("big"), QByteArray(2048, 'x')));
    const struct {
        QString path;
        qint64 limit;
        const char* reason;
    } cases[] = {
        {dir.filePath("missing"), kMaxReadFileSize, "No such file"},
        {dir.path(), kMaxReadFileSize, "is a folder"},
        {QStringLiteral("/dev/zero"), kMaxReadFileSize, "not a regular file"}, // would never end
        {fifo, kMaxReadFileSize, "not a regular file"},                        // would block
        {dir.filePath("big"), 2047, "too large"},
    };
    for (const auto& c : cases) {
        QByteArray bytes("untouched");
        QString error;
        EXPECT_FALSE(ReadFileBytes(c.path, bytes, &error, c.limit)) << c.path.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
        EXPECT_EQ(bytes, "untouched");
    }
    QByteArray bytes;
    EXPECT_TRUE(ReadFileBytes(dir.filePath("big"), bytes, nullptr, 2048));
    EXPECT_EQ(bytes.size(), 2048);

    TINI ini;
    EXPECT_FALSE(ini.LoadFromFile(fifo));
    EXPECT_TRUE(ini.ErrorString().contains("not a regular file"));
}

TEST(FileSafety, FailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath("order.LNO");
    const QByteArray old(3000, 'o');
    ASSERT_TRUE(WriteFileAtomically(target, old));
    QString error;
    {
        test::ScopedFileSizeLimit limit(4096);
        EXPECT_FALSE(WriteFileAtomically(target, QByteArray(12500, 'n'), &error));
    }
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
    EXPECT_EQ(test::readFileBytes(target), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"order.LNO"});

    // A folder where the file should be.
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    EXPECT_FALSE(WriteFileAtomically(dir.filePath("folder"), "x", &error));
    EXPECT_FALSE(error.isEmpty());

    TINI ini;
    ini.WriteString("Order", "Caption", QString(5000, u'c'));
    ASSERT_TRUE(ini.SaveToFile(target));
    const QByteArray saved = test::readFileBytes(target);
    ini.WriteString("Order", "Caption", QString(9000, u'd'));
    {
        test::ScopedFileSizeLimit limit(6000);
        EXPECT_FALSE(ini.SaveToFile(target));
    }
    EXPECT_EQ(test::readFileBytes(target), saved);
}
