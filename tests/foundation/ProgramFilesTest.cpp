#include "foundation/Files.h"
#include "foundation/Pictures.h"
#include "foundation/Program.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

using namespace lintaro;

namespace {
void touch(const QString& path) {
    ASSERT_TRUE(test::writeFileBytes(path, "x"));
}

// A 40 × 10 strip: red, green, blue and white squares of 10 pixels.
QString writeStrip(const QTemporaryDir& dir) {
    QImage strip(40, 10, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)};
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 10; ++y)
            strip.setPixel(x, y, colours[x / 10]);
    const QString path = dir.filePath("LNTR.PIS");
    EXPECT_TRUE(strip.save(path, "BMP"));
    return path;
}
} // namespace

TEST(TempFileName, NumbersTheFirstFreeName) {
    QTemporaryDir dir;
    SetTempDir(dir.path());
    EXPECT_EQ(TempFileName("txt"), dir.filePath("~LN00000.txt"));
    EXPECT_EQ(TempFileName(""), dir.filePath("~LN00000.TMP"));
    touch(dir.filePath("~LN00000.txt"));
    touch(dir.filePath("~LN00001.txt"));
    EXPECT_EQ(TempFileName(".txt"), dir.filePath("~LN00002.txt"));
    EXPECT_EQ(TempFileName("csv"), dir.filePath("~LN00000.csv"));
    SetTempDir(TempDirFromEnvironment());
}

TEST(StripExtension, CutsAtTheLastDotAnywhere) {
    struct {
        QString name, expected;
    } cases[] = {
        {"/home/a/order.LNO", "/home/a/order"},
        {"/home/a.b/order", "/home/a"}, // the folder's dot when the file has none
        {"noext", "noext"},
        {"a.b.c", "a.b"},
        {".hidden", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StripExtension(c.name), c.expected) << c.name.toStdString();
}

TEST(ForceDirectories, CreatesEveryLevel) {
    QTemporaryDir dir;
    const QString deep = dir.filePath("a/b/c");
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_TRUE(ForceDirectories(deep + "/")); // existing folders are left alone
    touch(dir.filePath("file"));
    EXPECT_FALSE(ForceDirectories(dir.filePath("file/sub")));
}

TEST(IniFileName, BesideTheProgramOrInTheConfigFolder) {
    QTemporaryDir dir;
    InitProgramValues({dir.path(), dir.path()});
    EXPECT_EQ(IniFileName(), dir.filePath("lintaro.INI"));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (!QFileInfo(dir.path()).isWritable()) { // root may write anywhere
        EXPECT_EQ(IniFileName(), SpecialFolder(sfUserConfig) + "Lintaro/lintaro.INI");
    }
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    SetIniFileNameOverride("/elsewhere/my.INI");
    EXPECT_EQ(IniFileName(), "/elsewhere/my.INI");
    SetIniFileNameOverride({});
}

TEST(Pictures, CutFromTheStripByTheCatalogue) {
    QTemporaryDir dir;
    const QString strip = writeStrip(dir);
    ASSERT_TRUE(test::writeFileBytes(dir.filePath("LNTR.PCS"), "Red;0;0;10;10\r\n"
                                                               "green;10;0;10;10\r\n"
                                                               "RED;20;0;10;10\r\n" // first name wins
                                                               "\r\n"
                                                               "Empty;30;0;x;10\r\n"
                                                               "Half;35;5;5;5\r\n"));
    TPictureList pictures;
    EXPECT_EQ(pictures.LoadFromFiles(strip, dir.filePath("LNTR.PCS")), 4);
    EXPECT_EQ(pictures.Names(), (QStringList{"EMPTY", "GREEN", "HALF", "RED"}));
    EXPECT_EQ(pictures.Find("red").pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(pictures.Find("Green").pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_TRUE(pictures.Contains("empty"));
    EXPECT_TRUE(pictures.Find("empty").isNull());
    EXPECT_EQ(pictures.Find("half").size(), QSize(5, 5));
    EXPECT_EQ(pictures.Find("half").pixel(4, 4), qRgb(255, 255, 255));
    EXPECT_TRUE(pictures.Find("missing").isNull());
}

TEST(Pictures, APieceReachingBeyondTheStripIsClippedToIt) {
    QTemporaryDir dir;
    const QString strip = writeStrip(dir); // 40 × 10
    // The first line asks for 5 214 748 × 105 pixels; only what lies on the strip is copied.
    ASSERT_TRUE(test::writeFileBytes(dir.filePath("LNTR.PCS"), "A;0;0;5214748;105\r\n"
                                                               "Edge;35;-5;2147483647;2147483647\r\n"
                                                               "Outside;2147483600;0;100;10\r\n"));
    TPictureList pictures;
    EXPECT_EQ(pictures.LoadFromFiles(strip, dir.filePath("LNTR.PCS")), 3);
    EXPECT_EQ(pictures.Find("a").size(), QSize(40, 10));
    EXPECT_EQ(pictures.Find("a").pixel(15, 5), qRgb(0, 255, 0));
    EXPECT_EQ(pictures.Find("edge").size(), QSize(5, 10));
    EXPECT_EQ(pictures.Find("edge").pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_TRUE(pictures.Find("outside").isNull());
}

TEST(Pictures, MissingOrBrokenStripLoadsNothingSilently) {
    QTemporaryDir dir;
    ASSERT_TRUE(test::writeFileBytes(dir.filePath("LNTR.PCS"), "Red;0;0;10;10\r\n"));
    ASSERT_TRUE(test::writeFileBytes(dir.filePath("broken.PIS"), "BM this is no bitmap"));
    TPictureList pictures;
    EXPECT_EQ(pictures.LoadFromFiles(dir.filePath("missing.PIS"), dir.filePath("LNTR.PCS")), 0);
    EXPECT_EQ(pictures.LoadFromFiles(dir.filePath("broken.PIS"), dir.filePath("LNTR.PCS")), 0);
    EXPECT_EQ(pictures.LoadFromFiles(writeStrip(dir), dir.filePath("missing.PCS")), 0);
    EXPECT_EQ(pictures.Count(), 0);
}

TEST(Program, StartsWithMissingDataFilesAndEmptyStores) {
    QTemporaryDir dir;
    InitProgramValues({dir.path(), dir.path()});
    EXPECT_EQ(ProgramDir(), dir.path() + "/");
    EXPECT_EQ(Texts().SectionCount(), 0);
    EXPECT_EQ(GetText("TPart", "DefaultCaption"), "");
    EXPECT_EQ(Pictures().Count(), 0);
    EXPECT_EQ(Version().ProductName, "Lintaro");
    EXPECT_TRUE(Version().VersionText.contains(QString::fromUtf8("  (sestavení ")));
    EXPECT_TRUE(TempDir().endsWith('/'));
}

TEST(Program, LoadsTheStoresFromTheDataFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(test::writeFileBytes(dir.filePath("LNTR.TXS"), "[TPart]\r\nDefaultCaption=Part\r\n"));
    ASSERT_TRUE(test::writeFileBytes(dir.filePath("LNTR.HTS"), "[HTMLOrder.Page]\r\n<html>\r\n"));
    writeStrip(dir);
    ASSERT_TRUE(test::writeFileBytes(dir.filePath("LNTR.PCS"), "PatternX;0;0;10;10\r\n"));
    InitProgramValues({"/nonexistent/", dir.path()});
    EXPECT_EQ(GetText("tpart", "defaultcaption"), "Part");
    EXPECT_NE(HtmlTemplates().FindSection("HTMLOrder.Page"), nullptr);
    EXPECT_FALSE(FindPicture("patternx").isNull());
    InitProgramValues({dir.path(), QDir::tempPath() + "/no-such-dir"}); // stores are reloaded, now empty
    EXPECT_EQ(GetText("TPart", "DefaultCaption"), "");
}

TEST(TempDir, FromTempThenTmpdirThenTmp) {
    const QByteArray oldTemp = qgetenv("TEMP");
    const QByteArray oldTmpdir = qgetenv("TMPDIR");
    qputenv("TEMP", "/a/b");
    qputenv("TMPDIR", "/c");
    EXPECT_EQ(TempDirFromEnvironment(), "/a/b/");
    qunsetenv("TEMP");
    EXPECT_EQ(TempDirFromEnvironment(), "/c/");
    qunsetenv("TMPDIR");
    EXPECT_EQ(TempDirFromEnvironment(), "/tmp/");
    if (!oldTemp.isEmpty())
        qputenv("TEMP", oldTemp);
    if (!oldTmpdir.isEmpty())
        qputenv("TMPDIR", oldTmpdir);
}
