#include "win/buffered_paint.h"

namespace win {

BufferedPaint::BufferedPaint(HWND hwnd) : m_paint(hwnd)
{
    const RECT& rc = area();
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (!m_paint.get() || width <= 0 || height <= 0)
        return;
    m_bitmap.reset(::CreateCompatibleBitmap(m_paint.get(), width, height));
    if (!m_bitmap)
        return;
    m_memory = ::CreateCompatibleDC(m_paint.get());
    if (!m_memory)
        return;
    m_oldBitmap = ::SelectObject(m_memory, m_bitmap.get());
    ::SetViewportOrgEx(m_memory, -rc.left, -rc.top, nullptr);
}

BufferedPaint::~BufferedPaint()
{
    if (!m_memory)
        return;
    const RECT& rc = area();
    ::BitBlt(m_paint.get(), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_memory, rc.left, rc.top, SRCCOPY);
    ::SelectObject(m_memory, m_oldBitmap);
    ::DeleteDC(m_memory);
}

}  // namespace win
