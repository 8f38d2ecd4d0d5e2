#include "sable/sable_message_box.h"

#include "win/resource_module.h"
#include "win/window_messages.h"
#include "sable/sable_api.h"
#include "sable/sable_button.h"
#include "sable/sable_dialog.h"

#include <algorithm>
#include <string>
#include <vector>

namespace sable {

namespace {

const int kTextWidthLimit = 420;  // pixels; longer lines wrap
const int kMargin = 14;
const int kButtonWidth = 88;
const int kButtonHeight = 24;
const UINT kTextId = 0xFFFF;

// An empty template: caption, Tahoma 8 and a modal frame; the box places its controls itself.
std::vector<WORD> MakeTemplate(const std::wstring& caption)
{
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
    header->style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    header->cdit = 0;
    header->cx = 100;
    header->cy = 40;
    words.push_back(0);  // no menu
    words.push_back(0);  // the standard dialog class
    for (wchar_t c : caption)
        words.push_back(c);
    words.push_back(0);
    words.push_back(8);  // point size
    for (const wchar_t* p = L"Tahoma"; *p; ++p)
        words.push_back(*p);
    words.push_back(0);
    return words;
}

class SkinnedMessageBox : public SableDialog {
public:
    SkinnedMessageBox(const std::wstring& text, const std::wstring& caption, UINT style, HWND parent)
        : SableDialog(0, parent), m_text(text), m_template(MakeTemplate(caption)), m_style(style)
    {
        SetTemplateIndirect(reinterpret_cast<const DLGTEMPLATE*>(m_template.data()));
    }

protected:
    BOOL OnInitDialog() override
    {
        SableDialog::OnInitDialog();
        Layout();
        return FALSE;  // the focus is set on OK
    }
    void OnCancel() override { EndDialog(IDOK); }

private:
    LPCWSTR SystemIcon() const
    {
        switch (m_style & MB_ICONMASK) {
        case MB_ICONHAND:
            return IDI_HAND;
        case MB_ICONQUESTION:
            return IDI_QUESTION;
        case MB_ICONEXCLAMATION:
            return IDI_EXCLAMATION;
        case MB_ICONASTERISK:
            return IDI_ASTERISK;
        default:
            return nullptr;
        }
    }

    void Layout()
    {
        const win::DpiScale& s = Scale();
        const int margin = s(kMargin);
        const int buttonWidth = s(kButtonWidth);
        const int buttonHeight = s(kButtonHeight);
        HFONT font = GetFont();
        RECT textSize{0, 0, s(kTextWidthLimit), 0};
        {
            win::WindowDC dc(m_hWnd);
            win::SelectedObject selected(dc.get(), font);
            ::DrawTextW(dc.get(), m_text.c_str(), static_cast<int>(m_text.size()), &textSize,
                        DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        }
        const int iconSize = ::GetSystemMetrics(SM_CXICON);  // the size the system makes its icons at
        LPCWSTR iconId = SystemIcon();
        const int textLeft = margin + (iconId ? iconSize + margin : 0);
        const int textHeight = std::max<int>(textSize.bottom, 1);
        const int bodyHeight = std::max(textHeight, iconId ? iconSize : 0);
        const int clientWidth = std::max<int>(textLeft + textSize.right + margin, buttonWidth + 2 * margin);
        const int clientHeight = margin + bodyHeight + margin + buttonHeight + margin;

        if (iconId) {
            HWND icon = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON, margin, margin,
                                          iconSize, iconSize, m_hWnd, nullptr, nullptr, nullptr);
            // System icons are shared: nothing to destroy.
            win::SetStaticIcon(icon, ::LoadIconW(nullptr, iconId));
        }
        const int textTop = margin + (bodyHeight - textHeight) / 2;
        HWND label = ::CreateWindowExW(0, L"STATIC", m_text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                       textLeft, textTop, textSize.right, textHeight, m_hWnd,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kTextId)), nullptr, nullptr);
        win::WindowRef(label).SetFont(font, false);

        RECT ok{(clientWidth - buttonWidth) / 2, clientHeight - margin - buttonHeight, 0, 0};
        ok.right = ok.left + buttonWidth;
        ok.bottom = ok.top + buttonHeight;
        m_ok.Create(L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, ok, m_hWnd, IDOK);
        m_ok.SetFont(font, false);

        RECT frame{0, 0, clientWidth, clientHeight};
        ::AdjustWindowRectEx(&frame, static_cast<DWORD>(GetStyle()), FALSE,
                             static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CenterWindow();
        if ((m_style & MB_ICONMASK) == MB_ICONHAND)
            ::MessageBeep(MB_ICONHAND);
        m_ok.SetFocus();
    }

    std::wstring m_text;
    std::vector<WORD> m_template;
    UINT m_style;
    SableButton m_ok;
};

}  // namespace

int SableMessageBox(UINT textId, const wchar_t* caption, UINT style, HWND parent)
{
    const std::wstring text = LoadResString(textId);
    const std::wstring title = caption ? caption : L"";
    if ((style & MB_TYPEMASK) != MB_OK) {
        HWND owner = parent ? parent : ::GetActiveWindow();
        return ::MessageBoxW(owner, text.c_str(), title.c_str(), style);
    }
    SkinnedMessageBox box(text, title, style, parent);
    INT_PTR result = box.DoModal();
    return result > 0 ? static_cast<int>(result) : 0;
}

}  // namespace sable
