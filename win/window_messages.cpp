#include "win/window_messages.h"

namespace win {

RedrawLock::RedrawLock(HWND window)
    : m_hWnd(window), m_bHidden((::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) == 0)
{
    ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
}

RedrawLock::~RedrawLock()
{
    ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
    // The default handling turns redrawing back on by setting WS_VISIBLE: a hidden window stays hidden.
    const LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    if (m_bHidden && (style & WS_VISIBLE))
        ::SetWindowLongW(m_hWnd, GWL_STYLE, style & ~WS_VISIBLE);
}

void SetWindowIcon(HWND window, IconSize size, HICON icon)
{
    ::SendMessageW(window, WM_SETICON, size == IconSize::Big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void SetStaticIcon(HWND staticControl, HICON icon)
{
    ::SendMessageW(staticControl, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void EraseIconBackground(HWND window, HDC dc)
{
    ::SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
}

void SendButtonClick(HWND dialog, int id)
{
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void ForwardSysColorChange(HWND window)
{
    ::SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);
}

}  // namespace win
