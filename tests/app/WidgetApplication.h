#pragma once
// The widget tests need one QApplication (offscreen); it is made on first use and destroyed after
// the last test.
namespace lintaro::test {

void ensureWidgetApplication();

} // namespace lintaro::test
