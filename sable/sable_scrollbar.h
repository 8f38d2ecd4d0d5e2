// Paints the scroll bars of a view in the skin. The hook sits in front of the view's window
// procedure; after the system has drawn the frame (or scrolled) it draws the bars over again.
#pragma once
#include <windows.h>

namespace sable {

class AbstractScrollBarPaintHook {
public:
    AbstractScrollBarPaintHook() = default;
    virtual ~AbstractScrollBarPaintHook();
    AbstractScrollBarPaintHook(const AbstractScrollBarPaintHook&) = delete;
    AbstractScrollBarPaintHook& operator=(const AbstractScrollBarPaintHook&) = delete;

    // Attaches to `hwnd` (one window per hook); false when already attached or the window is busy.
    bool HookWindow(HWND hwnd);
    // Detaches; the window keeps working with its own procedure.
    void UnhookWindow();
    HWND GetHookedWindow() const { return m_hWnd; }

protected:
    // Draws one bar. `bar` is in window coordinates; `arrow` the length of each arrow button;
    // `thumbStart`/`thumbEnd` the thumb's extent along the bar from its start (equal: no thumb).
    virtual void DrawScrollBar(HDC dc, const RECT& bar, bool vertical, int arrow, int thumbStart, int thumbEnd,
                               bool enabled) = 0;

private:
    static LRESULT CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void PaintBars(bool always);

    HWND m_hWnd = nullptr;
    WNDPROC m_prevProc = nullptr;
    SCROLLBARINFO m_last[2] = {};  // what was painted, to repaint only after a change
};

class SableScrollBarPaintHook : public AbstractScrollBarPaintHook {
protected:
    void DrawScrollBar(HDC dc, const RECT& bar, bool vertical, int arrow, int thumbStart, int thumbEnd,
                       bool enabled) override;
};

}  // namespace sable
