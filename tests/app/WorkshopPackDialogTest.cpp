// The choice asked before a workshop pack: keys and clicks reach the options, and the choice made
// comes back preset the next time, while a stored value that names no choice keeps the default.
#include "WidgetApplication.h"

#include "app/window/WorkshopPackDialog.h"
#include "platform/UserSettings.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace lintaro {
namespace {

using namespace workshop;

class PackDialog : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureWidgetApplication();
        test::initProgramForTests();
        ASSERT_TRUE(dir_.isValid());
        userSettings_ = std::make_unique<ScopedUserSettingsFile>(dir_.filePath(QStringLiteral("user.conf")));
    }
    template <class T> T* child(TWorkshopPackDialog& d, const char* name) {
        T* w = d.findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QTemporaryDir dir_;
    std::unique_ptr<ScopedUserSettingsFile> userSettings_;
};

TEST_F(PackDialog, KeysAndClicksMakeTheChoiceThatIsPresetNextTime) {
    TWorkshopPackDialog dialog;
    dialog.SetOptions(TWorkshopPackDialog::StoredOptions());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // Nothing stored yet: A4, label sheets of 3 × 8, the sequence shown.
    EXPECT_EQ(dialog.Options().Paper, ppA4);
    EXPECT_EQ(dialog.Options().Labels, lsA4_3x8);
    EXPECT_TRUE(dialog.Options().Sequence);

    auto* paper = child<QComboBox>(dialog, "ComboPackPaper");
    auto* labels = child<QComboBox>(dialog, "ComboPackLabels");
    paper->setFocus();
    QTest::keyClick(paper, Qt::Key_End); // Letter, the last
    labels->setFocus();
    QTest::keyClick(labels, Qt::Key_Down);
    QTest::keyClick(labels, Qt::Key_Down); // the 62 × 29 mm roll
    auto* sequence = child<QCheckBox>(dialog, "CheckPackSequence");
    QTest::mouseClick(sequence, Qt::LeftButton, {}, QPoint(8, sequence->height() / 2));
    QTest::mouseClick(child<QPushButton>(dialog, "ButtonPackOK"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    const TPackOptions chosen = dialog.Options();
    EXPECT_EQ(chosen.Paper, ppLetter);
    EXPECT_EQ(chosen.Labels, lsRoll62x29);
    EXPECT_FALSE(chosen.Sequence);
    ASSERT_TRUE(TWorkshopPackDialog::StoreOptions(chosen));
    const TPackOptions again = TWorkshopPackDialog::StoredOptions();
    EXPECT_EQ(again.Paper, ppLetter);
    EXPECT_EQ(again.Labels, lsRoll62x29);
    EXPECT_FALSE(again.Sequence);
}

TEST_F(PackDialog, AStoredValueThatNamesNoChoiceKeepsTheDefault) {
    {
        TUserSettings settings;
        ASSERT_TRUE(settings.Open(true));
        settings.WriteInteger(QStringLiteral("WorkshopPaper"), 7);
        settings.WriteInteger(QStringLiteral("WorkshopLabels"), int(lsRoll100x50));
        ASSERT_TRUE(settings.Close());
    }
    const TPackOptions o = TWorkshopPackDialog::StoredOptions();
    EXPECT_EQ(o.Paper, ppA4);
    EXPECT_EQ(o.Labels, lsRoll100x50);
    EXPECT_TRUE(o.Sequence);
}

} // namespace
} // namespace lintaro
