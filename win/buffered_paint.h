// WM_PAINT through an off-screen bitmap: what is drawn into dc() reaches the window in one copy
// when the object ends, so a window that paints in steps is never seen half painted.
#pragma once
#include "win/handles.h"

#include <windows.h>

namespace win {

class BufferedPaint {
public:
    // Begins painting `hwnd`; dc() draws in its client coordinates.
    explicit BufferedPaint(HWND hwnd);
    // Copies the picture onto the window and ends painting.
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;

    // The off-screen bitmap's context, or the window's own when no bitmap could be made.
    HDC dc() const { return m_memory ? m_memory : m_paint.get(); }
    // The part of the client area to paint.
    const RECT& area() const { return m_paint.paint().rcPaint; }

private:
    PaintDC m_paint;
    HDC m_memory = nullptr;
    UniqueBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
};

}  // namespace win
