// Paints the scroll bars of a view in the skin. The hook watches the view's messages through the
// window framework; after the system has drawn the frame (or scrolled) it draws the bars over again.
#pragma once
#include "win/dpi.h"
#include "win/window.h"

#include <windows.h>

namespace sable {

class AbstractScrollBarPaintHook : private win::MessageTap {
public:
    AbstractScrollBarPaintHook() = default;
    virtual ~AbstractScrollBarPaintHook();
    AbstractScrollBarPaintHook(const AbstractScrollBarPaintHook&) = delete;
    AbstractScrollBarPaintHook& operator=(const AbstractScrollBarPaintHook&) = delete;

    // Attaches to `hwnd` (one window per hook, one hook per window); false when either is taken.
    bool HookWindow(HWND hwnd);
    // Detaches; the window keeps working with its own procedure.
    void UnhookWindow();
    HWND GetHookedWindow() const { return m_hWnd; }
    // The DPI the bars are drawn at (from hooking: the system's for the window); repaints them.
    void SetDpi(int dpi);

protected:
    // Draws one bar. `bar` is in window coordinates; `arrow` the length of each arrow button;
    // `thumbStart`/`thumbEnd` the thumb's extent along the bar from its start (equal: no thumb).
    virtual void DrawScrollBar(HDC dc, const RECT& bar, bool vertical, int arrow, int thumbStart, int thumbEnd,
                               bool enabled) = 0;
    const win::DpiScale& Scale() const { return m_scale; }

private:
    void AfterMessage(UINT msg) override;
    void OnTapReleased() override;
    void PaintBars(bool always);

    // Carries a window that has no framework object of its own, so that the hook can watch it.
    win::Window m_ownHost;
    win::Window* m_pHost = nullptr;
    HWND m_hWnd = nullptr;
    SCROLLBARINFO m_last[2] = {};  // what was painted, to repaint only after a change
    bool m_bCheckPosted = false;   // a look at the bars is on its way
    win::DpiScale m_scale;
};

class SableScrollBarPaintHook : public AbstractScrollBarPaintHook {
protected:
    void DrawScrollBar(HDC dc, const RECT& bar, bool vertical, int arrow, int thumbStart, int thumbEnd,
                       bool enabled) override;
};

}  // namespace sable
