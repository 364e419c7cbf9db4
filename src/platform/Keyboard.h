#pragma once
// Whether Shift or Ctrl is held down at this moment. Holding Shift at start, at close or while
// printing keeps the program away from its stored user values; Shift with Ctrl on a print command
// opens the report designer. Tests set the state with ScopedKeyboardState.
namespace lintaro {

class Keyboard {
public:
    // False when there is no GUI application to ask.
    static bool ShiftHeld();
    static bool CtrlHeld();
};

// Makes the keyboard report the given state for its lifetime (nests; restores the previous one).
class ScopedKeyboardState {
public:
    ScopedKeyboardState(bool shift, bool ctrl);
    ~ScopedKeyboardState();
    ScopedKeyboardState(const ScopedKeyboardState&) = delete;
    ScopedKeyboardState& operator=(const ScopedKeyboardState&) = delete;

private:
    struct State {
        bool shift;
        bool ctrl;
    };
    const State* previous_;
    State state_;
    friend class Keyboard;
};

} // namespace lintaro
