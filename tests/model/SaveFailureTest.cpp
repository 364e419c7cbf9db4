// A save that cannot finish (a full disk, a device that gives out part-way) must leave the previous
// file byte for byte, no temporary file, the object still modified and the reason to show.
#include "model/ApplicationLinks.h"
#include "model/HtmlExport.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "support/FaultInjection.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <functional>
#include <memory>

using namespace lintaro;

namespace {

// One kind of file the program saves: the sample objects behind it, a change that makes the next
// save differ, the save itself and what the object says afterwards.
struct Saver {
    const char* name;
    std::function<void()> change;
    std::function<bool(const QString&)> save;
    std::function<bool()> modified; // empty: the file kind has no modified mark of its own
    std::function<QString()> error;
};

class SaveFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::initProgramForTests();
        TApplicationLinks::SetSetup(&setup);
        ASSERT_TRUE(order.LoadFromFile(test::samplePath("ShopFitting.LNO")))
            << order.ErrorString().toStdString();
        ASSERT_TRUE(material.LoadFromFile(test::samplePath("Board18.LNM")));
    }
    void TearDown() override { TApplicationLinks::SetSetup(nullptr); }

    std::vector<Saver> savers() {
        QString* html = &htmlError;
        return {
            {"order", [this] { order.SetCaption("Changed"); },
             [this](const QString& f) { return order.SaveToFile(f); }, [this] { return order.Modified(); },
             [this] { return order.ErrorString(); }},
            {"material", [this] { material.SetCaption("Changed"); },
             [this](const QString& f) { return material.SaveToFile(f); },
             [this] { return material.Modified(); }, [this] { return material.ErrorString(); }},
            {"settings", [this] { setup.SetSheetsZoom(setup.SheetsZoom() + 1); },
             [this](const QString& f) { return setup.SaveToFile(f); }, [this] { return setup.Modified(); },
             [this] { return setup.ErrorString(); }},
            {"csv",
             [this] { order.Parts()->Part(0)->SetCaption("Changed"); },
             [this](const QString& f) { return order.Parts()->SaveAsCSV(f); },
             {},
             [this] { return order.Parts()->ErrorString(); }},
            {"html",
             [this] { order.SetCaption("Changed again"); },
             [this, html](const QString& f) { return SaveOrderToHTML(order, f, html); },
             {},
             [html] { return *html; }},
        };
    }

    TSetup setup;
    TOrder order;
    TMaterial material;
    QString htmlError;
};

TEST_F(SaveFailureTest, FileCutShortByTheDeviceKeepsTheOldFile) {
    for (const Saver& s : savers()) {
        SCOPED_TRACE(s.name);
        QTemporaryDir dir;
        const QString file = dir.filePath("target");
        ASSERT_TRUE(s.save(file));
        const QByteArray before = test::readFileBytes(file);
        ASSERT_GT(before.size(), 200);
        s.change();
        bool saved = true;
        {
            test::ScopedFileSizeLimit limit(before.size() / 2);
            saved = s.save(file);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(test::readFileBytes(file), before);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"target"});
        if (s.modified) {
            EXPECT_TRUE(s.modified());
        }
        EXPECT_TRUE(s.error().contains("too large")) << s.error().toStdString();
        // The same save goes through once the device takes it.
        EXPECT_TRUE(s.save(file)) << s.error().toStdString();
        EXPECT_NE(test::readFileBytes(file), before);
    }
}

TEST_F(SaveFailureTest, FullDiskKeepsTheOldFile) {
    test::SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "full-disk test skipped: " << disk.Reason().toStdString();
    for (const Saver& s : savers()) {
        SCOPED_TRACE(s.name);
        const QString file = disk.FilePath(QString::fromLatin1(s.name));
        QFile::remove(disk.FilePath("filler"));
        ASSERT_TRUE(s.save(file)) << s.error().toStdString();
        const QByteArray before = test::readFileBytes(file);
        s.change();
        disk.Fill();
        EXPECT_FALSE(s.save(file));
        EXPECT_EQ(test::readFileBytes(file), before);
        if (s.modified) {
            EXPECT_TRUE(s.modified());
        }
        EXPECT_TRUE(s.error().contains("No space left on device")) << s.error().toStdString();
    }
    // Nothing but the saved files and the filler: no temporary file left behind.
    EXPECT_EQ(disk.Names(), (QStringList{"csv", "filler", "html", "material", "order", "settings"}));
}

} // namespace
