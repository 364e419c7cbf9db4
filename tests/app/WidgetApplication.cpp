#include "WidgetApplication.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace lintaro::test {

namespace {

class WidgetApplicationEnvironment : public ::testing::Environment {
public:
    static void Ensure() {
        if (QCoreApplication::instance())
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = new QApplication(argc_, argv_);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    static inline int argc_ = 1;
    static inline char name_[] = "app_tests";
    static inline char* argv_[] = {name_, nullptr};
    static inline QApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new WidgetApplicationEnvironment);

} // namespace

void ensureWidgetApplication() {
    WidgetApplicationEnvironment::Ensure();
}

} // namespace lintaro::test
