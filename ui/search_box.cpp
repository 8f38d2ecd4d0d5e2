#include "ui/search_box.h"

#include "sable/sable_colors.h"
#include "win/high_contrast.h"
#include "win/key_event.h"

namespace {

// No WS_BORDER: the edit control of some systems draws that border itself inside the client
// area; the box draws its own frame in its non-client area.
const DWORD kBoxStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_LEFT;
const int kFrame = 1;  // pixels
const int kTextMargin = 4;  // pixels between the frame and the text, at 96 DPI

}  // namespace

bool CSearchBox::Create(HWND parent, UINT id, const RECT& rc, HFONT font, const std::wstring& cue,
                        const win::DpiScale& scale, ISearchBoxOwner& owner)
{
    m_pOwner = &owner;
    m_strCue = cue;
    if (!win::Edit::Create(kBoxStyle, 0, rc, parent, id))
        return false;
    ApplyFont(font, scale);
    return true;
}

void CSearchBox::ChangeDpi(const win::DpiScale& scale, HFONT font, const RECT& rc)
{
    MoveWindow(rc, false);
    ApplyFont(font, scale);
}

void CSearchBox::ApplyFont(HFONT font, const win::DpiScale& scale)
{
    SetFont(font, false);
    const int margin = scale(kTextMargin);
    SetMargins(margin, margin);
    // The client area follows the font's height (see WM_NCCALCSIZE).
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void CSearchBox::Activate()
{
    SetFocus();
    SelectAll();
}

bool CSearchBox::PreTranslateMessage(MSG* msg)
{
    const win::KeyEvent key = win::KeyEvent::FromMessage(*msg);
    if (!key.IsKeyDown() || msg->hwnd != m_hWnd || !m_pOwner)
        return win::Edit::PreTranslateMessage(msg);
    if ((key.Is(VK_DOWN) || key.Is(VK_RETURN)) && !key.ctrl && !key.shift) {
        m_pOwner->OnSearchGoToResults();
        return true;
    }
    if (key.Is(VK_ESCAPE)) {
        // Escape never reaches the dialog from here: it would end Brindle.
        if (::GetWindowTextLengthW(m_hWnd) > 0)
            Clear();
        else
            m_pOwner->OnSearchLeave();
        return true;
    }
    if (key.Is(VK_TAB) && !key.ctrl) {
        m_pOwner->OnSearchLeave();
        return true;
    }
    if (key.Is('A') && key.ctrl) {
        SelectAll();
        return true;
    }
    return win::Edit::PreTranslateMessage(msg);
}

bool CSearchBox::OnReflectedCommand(UINT, UINT code, LRESULT& result)
{
    if (code != EN_CHANGE)
        return false;
    Invalidate(true);  // the cue comes or goes with the text
    if (m_pOwner)
        m_pOwner->OnSearchTextChanged(GetWindowText());
    result = 0;
    return true;
}

CSearchBox::Colours CSearchBox::CurrentColours() const
{
    const bool focused = ::GetFocus() == m_hWnd;
    if (win::IsHighContrastOn()) {
        return Colours{::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_GRAYTEXT),
                       ::GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_WINDOWTEXT)};
    }
    return Colours{sable::kFace, sable::kBand, sable::kEdge, focused ? sable::kBand : sable::kEdge};
}

bool CSearchBox::OnReflectedCtlColor(HDC dc, UINT ctlType, HBRUSH& brush)
{
    if (ctlType != CTLCOLOR_EDIT)
        return false;
    const Colours colours = CurrentColours();
    if (!m_faceBrush || m_faceColour != colours.face) {
        m_faceBrush.reset(::CreateSolidBrush(colours.face));
        m_faceColour = colours.face;
    }
    ::SetTextColor(dc, colours.text);
    ::SetBkColor(dc, colours.face);
    brush = m_faceBrush.get();
    return true;
}

int CSearchBox::TextHeight() const
{
    win::WindowDC dc(m_hWnd);
    const win::SelectedObject font(dc.get(), GetFont());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight;
}

void CSearchBox::PaintFrame()
{
    win::WindowDC dc(m_hWnd, true);
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    ::OffsetRect(&window, -window.left, -window.top);
    // The band between the frame and the client area, then the frame.
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    POINT origin{0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    RECT screen{};
    ::GetWindowRect(m_hWnd, &screen);
    ::OffsetRect(&client, origin.x - screen.left, origin.y - screen.top);
    const Colours colours = CurrentColours();
    const int saved = ::SaveDC(dc.get());
    ::ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
    sable::FillSolid(dc.get(), window, colours.face);
    sable::FrameSolid(dc.get(), window, colours.frame);
    ::RestoreDC(dc.get(), saved);
}

void CSearchBox::PaintCue()
{
    if (m_strCue.empty() || ::GetWindowTextLengthW(m_hWnd) > 0)
        return;
    RECT text = GetFormattingRect();
    win::WindowDC dc(m_hWnd);
    const win::SelectedObject font(dc.get(), GetFont());
    const int oldMode = ::SetBkMode(dc.get(), TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc.get(), CurrentColours().cue);
    ::HideCaret(m_hWnd);
    ::DrawTextW(dc.get(), m_strCue.c_str(), static_cast<int>(m_strCue.size()), &text,
                DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::ShowCaret(m_hWnd);
    ::SetTextColor(dc.get(), oldColour);
    ::SetBkMode(dc.get(), oldMode);
}

LRESULT CSearchBox::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_NCCALCSIZE: {
        const LRESULT result = Default(msg, wp, lp);
        // A frame on every side; and as a one-line edit writes at the top of its client area,
        // the client area is made as high as the text and centred, the rest is frame too.
        RECT& client = wp ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : *reinterpret_cast<RECT*>(lp);
        ::InflateRect(&client, -kFrame, -kFrame);
        const int spare = (client.bottom - client.top) - TextHeight();
        if (spare > 0) {
            client.top += spare / 2;
            client.bottom -= spare - spare / 2;
        }
        return result;
    }
    case WM_NCPAINT:
        PaintFrame();
        return 0;
    case WM_PAINT: {
        const LRESULT result = Default(msg, wp, lp);
        PaintCue();
        return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        const LRESULT result = Default(msg, wp, lp);
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        return result;
    }
    case WM_LBUTTONDOWN:
        if (::GetFocus() != m_hWnd) {
            Activate();  // a click into the box selects its text, as Ctrl+F does
            return 0;
        }
        break;
    default:
        break;
    }
    return win::Edit::WindowProc(msg, wp, lp);
}
