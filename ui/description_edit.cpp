#include "ui/description_edit.h"

#include "catalog/app_info.h"
#include "res/resource.h"
#include "win/key_event.h"
#include "win/resource_module.h"

#include <oleacc.h>

#include <cstdlib>

namespace {

// The localizable line spacing; text that is not a number reads as 0.
int LineSpacing()
{
    return _wtoi(LoadResString(IDS_LINE_SPACING).c_str());
}

// The band's part that `lines` lines of height `lineHeight` take, centred and kept in the band.
RECT CentredRect(const RECT& band, int lines, int lineHeight)
{
    const int height = band.bottom - band.top;
    int top = band.top + (height - lines * lineHeight) / 2;
    int bottom = top + lines * lineHeight;
    if (top < band.top)
        top = band.top;
    if (bottom > band.bottom)
        bottom = band.bottom;
    return RECT{band.left, top, band.right, bottom};
}

std::wstring Folded(std::wstring text)
{
    if (!text.empty())
        ::CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && Folded(a) == Folded(b);
}

}  // namespace

void CDescriptionEdit::CalcLineRects(int fontHeight)
{
    const RECT band = m_rcThreeLines;
    const int lineHeight = fontHeight + m_scale(LineSpacing());
    m_rcOneLine = CentredRect(band, 1, lineHeight);
    m_rcTwoLines = CentredRect(band, 2, lineHeight);
    m_rcThreeLines = CentredRect(band, 3, lineHeight);
}

int CDescriptionEdit::FontHeight(HFONT font)
{
    LOGFONTW description{};
    if (font && ::GetObjectW(font, sizeof(description), &description))
        return std::abs(description.lfHeight);
    return 0;
}

int CDescriptionEdit::CreateInParent(win::Window& owner)
{
    const HFONT font = owner.GetFont();
    CalcLineRects(FontHeight(font));
    Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_GROUP | ES_READONLY | ES_AUTOVSCROLL | ES_MULTILINE, 0,
           m_rcThreeLines, owner.GetSafeHwnd(), 0);
    SetFont(font, true);
    return 0;
}

void CDescriptionEdit::SetApp(const CAppInfo* entry)
{
    const std::wstring text = entry ? entry->m_strDescription : std::wstring();
    if (SameIgnoringCase(GetWindowText(), text))
        return;
    SetWindowText(text);
    switch (GetLineCount()) {
    case 1:
        MoveWindow(m_rcOneLine, false);
        break;
    case 2:
        MoveWindow(m_rcTwoLines, false);
        break;
    default:
        MoveWindow(m_rcThreeLines, false);
        break;
    }
}

void CDescriptionEdit::PlaceInBand(const RECT& band)
{
    RECT now = GetWindowRect();
    ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&now), 2);
    const bool atOne = ::EqualRect(&now, &m_rcOneLine) != FALSE;
    const bool atTwo = !atOne && ::EqualRect(&now, &m_rcTwoLines) != FALSE;
    m_rcThreeLines = band;
    CalcLineRects(FontHeight(GetFont()));
    MoveWindow(atOne ? m_rcOneLine : atTwo ? m_rcTwoLines : m_rcThreeLines, false);
}

bool CDescriptionEdit::Name(int item, std::wstring& name) const
{
    if (item != 0)
        return false;
    name = LoadResString(IDS_DESCRIPTION_NAME);
    return !name.empty();
}

bool CDescriptionEdit::Role(int item, long& role) const
{
    if (item != 0)
        return false;
    role = ROLE_SYSTEM_TEXT;
    return true;
}

bool CDescriptionEdit::State(int item, long& state) const
{
    if (item != 0)
        return false;
    state = STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE;
    if (::GetFocus() == m_hWnd)
        state |= STATE_SYSTEM_FOCUSED;
    if (!IsWindowVisible())
        state |= STATE_SYSTEM_INVISIBLE;
    return true;
}

bool CDescriptionEdit::PreTranslateMessage(MSG* msg)
{
    const win::KeyEvent key = win::KeyEvent::FromMessage(*msg);
    if (key.Is(VK_TAB)) {
        ::SetFocus(GetParent());
        return true;
    }
    if (key.IsKeyDown() && key.ctrl && win::IsKeyHeld('C'))
        return true;
    if (key.Is(VK_ESCAPE)) {
        // The edit would post WM_CLOSE to the page; Escape does what it does elsewhere in the dialog.
        const HWND dialog = ::GetAncestor(m_hWnd, GA_ROOT);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDCANCEL)));
        return true;
    }
    return win::Edit::PreTranslateMessage(msg);
}
