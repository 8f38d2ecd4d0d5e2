#include "ui/no_match_note.h"

#include "sable/sable_colors.h"
#include "win/handles.h"

namespace {

const int kMargin = 8;  // pixels between the view's edge and the text, at 96 DPI

}  // namespace

bool CNoMatchNote::Create(HWND parent, const RECT& rc, HFONT font, const win::DpiScale& scale)
{
    m_scale = scale;
    if (!win::Window::Create(L"STATIC", L"", WS_CHILD | SS_OWNERDRAW | SS_NOPREFIX, 0, rc, parent, 0))
        return false;
    SetFont(font, false);
    return true;
}

void CNoMatchNote::ChangeDpi(const win::DpiScale& scale, HFONT font, const RECT& rc)
{
    m_scale = scale;
    SetFont(font, false);
    MoveWindow(rc, true);
}

void CNoMatchNote::ShowText(const std::wstring& text)
{
    if (text.empty()) {
        ShowWindow(SW_HIDE);
        return;
    }
    SetWindowText(text);
    Invalidate(true);
    ShowWindow(SW_SHOW);
}

bool CNoMatchNote::OnReflectedDrawItem(DRAWITEMSTRUCT* item)
{
    const HDC dc = item->hDC;
    sable::FillSolid(dc, item->rcItem, ::GetSysColor(COLOR_WINDOW));
    const std::wstring text = GetWindowText();
    RECT line = item->rcItem;
    ::InflateRect(&line, -m_scale(kMargin), -m_scale(kMargin));
    const win::SelectedObject font(dc, GetFont());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
                DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    return true;
}
