// Typed forms of the few window messages the layers above send to windows that are not controls
// of their own: redrawing suspended for a scope, a window's icons, a static control's icon, a
// button's click told to its dialog, a colour change passed on.
#pragma once
#include <windows.h>

namespace win {

// Suspends redrawing of a window for the life of the object (WM_SETREDRAW false, then true).
class RedrawLock {
public:
    explicit RedrawLock(HWND window);
    ~RedrawLock();
    RedrawLock(const RedrawLock&) = delete;
    RedrawLock& operator=(const RedrawLock&) = delete;

private:
    HWND m_hWnd;
    bool m_bHidden;  // hidden when locked
};

enum class IconSize { Small, Big };

// The icon of a window's caption (Small) or of the task switcher (Big); null takes it away.
void SetWindowIcon(HWND window, IconSize size, HICON icon);
// The icon an SS_ICON static control shows; the control does not own it.
void SetStaticIcon(HWND staticControl, HICON icon);
// Tells `dialog` that its button `id` was clicked, as the button itself would (BN_CLICKED).
void SendButtonClick(HWND dialog, int id);
// Passes a change of the system's colours on to a window that does not hear of it by itself (a child).
void ForwardSysColorChange(HWND window);
// Has a minimised window's icon background erased into `dc` (the default minimised painting).
void EraseIconBackground(HWND window, HDC dc);

}  // namespace win
