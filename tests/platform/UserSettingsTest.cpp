#include "platform/UserSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lintaro {
namespace {

TEST(UserSettings, OpeningForReadingDoesNotCreateTheKey) {
    QTemporaryDir dir;
    const QString file = dir.filePath("sub/Lintaro.conf");
    ScopedUserSettingsFile scoped(file);
    EXPECT_EQ(TUserSettings::FileName(), file);
    TUserSettings settings;
    EXPECT_FALSE(settings.Open(false));
    EXPECT_FALSE(settings.ValueExists("Left"));
    EXPECT_FALSE(settings.ReadInteger("Left").has_value());
    EXPECT_FALSE(QFile::exists(file));
}

TEST(UserSettings, WrittenValuesReadBackWithTheirTypes) {
    QTemporaryDir dir;
    ScopedUserSettingsFile scoped(dir.filePath("sub/Lintaro.conf"));
    {
        TUserSettings settings;
        ASSERT_TRUE(settings.Open(true));
        settings.WriteBool("WindowMaximized", true);
        settings.WriteInteger("Left", -20);
        settings.WriteInteger("TipOrderCounter", 7);
        EXPECT_TRUE(settings.Close());
    }
    TUserSettings settings;
    ASSERT_TRUE(settings.Open(false));
    EXPECT_EQ(settings.ReadBool("WindowMaximized"), std::optional<bool>(true));
    EXPECT_EQ(settings.ReadInteger("Left"), std::optional<int>(-20));
    EXPECT_EQ(settings.ReadInteger("tipordercounter"), std::optional<int>(7))
        << "names match without regard to case";
    EXPECT_EQ(settings.ReadInteger("TipOrderCounter"), std::optional<int>(7));
    EXPECT_FALSE(settings.ValueExists("Top"));
}

TEST(UserSettings, ValuesOfTheWrongTypeReadAsMissing) {
    QTemporaryDir dir;
    const QString file = dir.filePath("Lintaro.conf");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[General]\nLeft=abc\nWindowMaximized=maybe\nTop= 12 \n");
    f.close();
    ScopedUserSettingsFile scoped(file);
    TUserSettings settings;
    ASSERT_TRUE(settings.Open(false));
    EXPECT_TRUE(settings.ValueExists("Left"));
    EXPECT_EQ(settings.ReadInteger("Left"), std::nullopt);
    EXPECT_EQ(settings.ReadBool("WindowMaximized"), std::nullopt);
    EXPECT_EQ(settings.ReadInteger("Top"), std::optional<int>(12));
}

TEST(UserSettings, ReadOnlyOpeningWritesNothing) {
    QTemporaryDir dir;
    const QString file = dir.filePath("Lintaro.conf");
    ScopedUserSettingsFile scoped(file);
    {
        TUserSettings settings;
        ASSERT_TRUE(settings.Open(true));
        settings.WriteInteger("Left", 1);
    }
    TUserSettings settings;
    ASSERT_TRUE(settings.Open(false));
    settings.WriteInteger("Left", 2);
    settings.Close();
    ASSERT_TRUE(settings.Open(false));
    EXPECT_EQ(settings.ReadInteger("Left"), std::optional<int>(1));
}

TEST(UserSettings, WritingUnderAnotherCaseReplacesTheValue) {
    QTemporaryDir dir;
    const QString file = dir.filePath("Lintaro.conf");
    ScopedUserSettingsFile scoped(file);
    {
        TUserSettings settings;
        ASSERT_TRUE(settings.Open(true));
        settings.WriteInteger("Left", 1);
        settings.WriteInteger("LEFT", 2);
    }
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_EQ(text.count("=2"), 1);
    EXPECT_FALSE(text.contains("=1"));
}

} // namespace
} // namespace lintaro
