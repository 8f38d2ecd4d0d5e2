// A key-down message as the keyboard rules of the page read it: which key the message carries
// and which modifiers are held while it is handled.
#pragma once
#include <windows.h>

namespace win {

struct KeyEvent {
    UINT key = 0;  // the virtual key of a WM_KEYDOWN; 0 for every other message
    bool shift = false;
    bool ctrl = false;

    static KeyEvent FromMessage(const MSG& msg);

    bool IsKeyDown() const { return key != 0; }
    bool Is(UINT virtualKey) const { return key != 0 && key == virtualKey; }
};

// Whether `virtualKey` is held down as the message being handled was sent (GetKeyState).
bool IsKeyHeld(int virtualKey);

}  // namespace win
