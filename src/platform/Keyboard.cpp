#include "platform/Keyboard.h"

#include <QGuiApplication>

namespace lintaro {

namespace {
const void* g_override = nullptr;

Qt::KeyboardModifiers liveModifiers() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return Qt::NoModifier;
    return QGuiApplication::queryKeyboardModifiers();
}
} // namespace

bool Keyboard::ShiftHeld() {
    if (g_override)
        return static_cast<const ScopedKeyboardState::State*>(g_override)->shift;
    return liveModifiers().testFlag(Qt::ShiftModifier);
}

bool Keyboard::CtrlHeld() {
    if (g_override)
        return static_cast<const ScopedKeyboardState::State*>(g_override)->ctrl;
    return liveModifiers().testFlag(Qt::ControlModifier);
}

ScopedKeyboardState::ScopedKeyboardState(bool shift, bool ctrl)
    : previous_(static_cast<const State*>(g_override)), state_{shift, ctrl} {
    g_override = &state_;
}

ScopedKeyboardState::~ScopedKeyboardState() {
    g_override = previous_;
}

} // namespace lintaro
