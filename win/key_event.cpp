#include "win/key_event.h"

namespace win {

KeyEvent KeyEvent::FromMessage(const MSG& msg)
{
    KeyEvent event;
    if (msg.message != WM_KEYDOWN)
        return event;
    event.key = static_cast<UINT>(msg.wParam);
    event.shift = IsKeyHeld(VK_SHIFT);
    event.ctrl = IsKeyHeld(VK_CONTROL);
    return event;
}

bool IsKeyHeld(int virtualKey)
{
    return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

}  // namespace win
