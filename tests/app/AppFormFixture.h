#pragma once
// The main window under test: made on the offscreen platform in a Czech locale, with its own
// settings files in a temporary folder and scripted answers to its questions and file dialogs.
#include "WidgetApplication.h"

#include "app/window/LNEAppForm.h"
#include "app/window/UserDialogs.h"
#include "foundation/Files.h"
#include "platform/Locale.h"
#include "platform/UserSettings.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace lintaro {

// Answers the window's questions from a script and records what was asked.
class ScriptedDialogs : public TUserDialogs {
public:
    QMessageBox::StandardButton Ask(const QString&, const QString& text,
                                    QMessageBox::StandardButtons) override {
        questions << text;
        if (answers.empty())
            return QMessageBox::No;
        const QMessageBox::StandardButton answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    QString OpenFileName(const TFileDialogRequest& request) override {
        requests.push_back(request);
        return openName;
    }
    QString SaveFileName(const TFileDialogRequest& request) override {
        requests.push_back(request);
        return saveName;
    }
    void ShowError(const QString& text) override { errors << text; }
    void ShowAbout() override { ++abouts; }

    std::vector<QMessageBox::StandardButton> answers;
    QStringList questions;
    std::vector<TFileDialogRequest> requests;
    QString openName;
    QString saveName;
    QStringList errors;
    int abouts = 0;
};

class AppForm : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureWidgetApplication();
        test::initProgramForTests();
        ASSERT_TRUE(dir_.isValid());
        SetIniFileNameOverride(path("Lintaro.ini"));
        userSettings_ = std::make_unique<ScopedUserSettingsFile>(path("user.conf"));
    }
    void TearDown() override {
        window_.reset();
        userSettings_.reset();
        SetIniFileNameOverride({});
    }
    QString path(const QString& name) const { return dir_.filePath(name); }
    TLNEAppForm& open(const QString& startFile = {}) {
        window_.reset();
        window_ = std::make_unique<TLNEAppForm>(startFile);
        auto dialogs = std::make_unique<ScriptedDialogs>();
        dialogs_ = dialogs.get();
        window_->SetUserDialogs(std::move(dialogs));
        return *window_;
    }
    void click(const QString& name) { QTest::mouseClick(find<QLabel>(name), Qt::LeftButton); }
    template <class T> T* find(const QString& name) const { return window_->findChild<T*>(name); }
    // A copy of a shipped sample under another name, to try the extension's case.
    QString sampleCopy(const QString& sample, const QString& name) const {
        const QString copy = path(name);
        EXPECT_TRUE(QFile::copy(test::samplePath(sample), copy));
        return copy;
    }
    QStringList visibleMenus() const {
        QStringList names;
        for (QMenu* menu :
             find<QMenuBar>(QStringLiteral("MenuBar"))->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
            if (menu->menuAction()->isVisible())
                names << menu->objectName();
        return names;
    }

    // Shows the window and makes it active, so that focus and key events reach its controls.
    void activate(TLNEAppForm& window) {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // Clicks into a field, replaces its text by typing, and leaves it with Tab.
    void typeInto(const QString& name, const QString& text) {
        auto* edit = find<QLineEdit>(name);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    }

    ScopedLocale locale_{Locale::czech()};
    ScriptedDialogs* dialogs_ = nullptr;
    QTemporaryDir dir_;
    std::unique_ptr<ScopedUserSettingsFile> userSettings_;
    std::unique_ptr<TLNEAppForm> window_;
};

} // namespace lintaro
