#include "reports/PaperFormat.h"
#include "foundation/TextFile.h"
#include "reports/SestavaTyp.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace lintaro;

namespace {

TEST(PaperFormat, BuiltInFormatsInListOrder) {
    const TListFormatu formats;
    ASSERT_EQ(formats.Count(), 18);
    EXPECT_EQ(formats.Item(0), (TFormatPapiru{QStringLiteral("Uživat. (210 x 297 mm)"), 826, 1169}));
    EXPECT_EQ(formats.Item(8), (TFormatPapiru{QStringLiteral("A4 (210 x 297 mm)"), 826, 1169}));
    EXPECT_EQ(formats.Item(2), (TFormatPapiru{QStringLiteral("Skládaný (15 x 12\")"), 1500, 1200}));
    EXPECT_EQ(formats.Item(17), (TFormatPapiru{QStringLiteral("Obálka otoč.(162 x 228 mm)"), 637, 896}));
    EXPECT_FALSE(TListFormatu().DeleteUser(8));
}

TEST(PaperFormat, UnknownSizeAppendsAUserFormat) {
    TListFormatu formats;
    EXPECT_EQ(formats.FindOrAppend(584, 826), 9);
    EXPECT_EQ(formats.FindOrAppend(500, 700), 18);
    EXPECT_EQ(formats.Item(18), (TFormatPapiru{QStringLiteral("uživ. formát"), 500, 700}));
    EXPECT_EQ(formats.FindOrAppend(500, 700), 18);
}

TEST(PaperFormat, UserFormatsRoundTripThroughTheSettingsFile) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("VadeZIR.ini"));
    ASSERT_TRUE(WriteFileAtomically(ini, QStringLiteral("[Jine]\nA=1\n[FormatyPapiru]\nPocetFormatu=2\n"
                                                        "Format1=\"Štítek, velký\",400,300\nFormat2=Role,x\n")
                                             .toUtf8()));
    TListFormatu formats;
    ASSERT_TRUE(formats.Load(ini));
    ASSERT_EQ(formats.Count(), 20);
    EXPECT_EQ(formats.Item(18), (TFormatPapiru{QStringLiteral("Štítek, velký"), 400, 300}));
    EXPECT_EQ(formats.Item(19), (TFormatPapiru{QStringLiteral("Role"), 0, 0}));
    EXPECT_TRUE(formats.DeleteUser(19));
    formats.AddUser();
    ASSERT_TRUE(formats.Save(ini));
    TListFormatu again;
    ASSERT_TRUE(again.Load(ini));
    ASSERT_EQ(again.Count(), 20);
    EXPECT_EQ(again.Item(18), formats.Item(18));
    EXPECT_EQ(again.Item(19), TListFormatu::NewUserFormat());
    QString text;
    ASSERT_TRUE(ReadTextFile(ini, text));
    EXPECT_TRUE(text.contains(QStringLiteral("A=1"))) << "other sections stay";
}

TEST(PaperFormat, PrintableArea) {
    struct Case {
        int orientation, width, height;
    };
    for (const Case& c : {Case{0, 826 - 50 - 70, 1169 - 40 - 60}, Case{1, 1169 - 50 - 70, 826 - 40 - 60}}) {
        TPageSetup page;
        page.Orientation = c.orientation;
        page.Left = 50;
        page.Right = 70;
        page.Top = 40;
        page.Bottom = 60;
        EXPECT_EQ(PrintableRect(page), QRect(50, 40, c.width, c.height)) << c.orientation;
    }
}

TEST(PaperFormat, SettingsFileLiesInTheConfigFolder) {
    EXPECT_TRUE(
        EngineSettingsPath(QStringLiteral("VadeZIR.ini")).endsWith(QStringLiteral("/Lintaro/VadeZIR.ini")));
    EXPECT_EQ(EngineSettingsPath(QStringLiteral("/tmp/x.ini")), QStringLiteral("/tmp/x.ini"));
}

} // namespace
