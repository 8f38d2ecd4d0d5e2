// The skin layer: painters called in their order, the owner-drawn button's states and keys,
// the scroll-bar hook, the message box, and the switch that turns the skin off.
#include "tests/ui/memory_template.h"
#include "tests/ui/modal_script.h"
#include "res/resource.h"
#include "win/resource_module.h"
#include "sable/sable_api.h"
#include "sable/sable_button.h"
#include "sable/sable_colors.h"
#include "sable/sable_dialog.h"
#include "sable/sable_message_box.h"
#include "sable/sable_scrollbar.h"
#include "sable/sable_tab.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A skinned dialog from an in-memory template; `onInit` builds its controls.
class HostDialog : public sable::SableDialog2 {
public:
    explicit HostDialog(const wchar_t* caption = L"Host")
        : sable::SableDialog2(0, nullptr), m_template(MakeDialogTemplate(caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, 220, 120))
    {
        SetTemplateIndirect(reinterpret_cast<const DLGTEMPLATE*>(m_template.data()));
    }
    std::function<void(HWND)> onInit;
    int okCount = 0;
    std::vector<int> clicked;  // ids of BN_CLICKED commands other than OK and Cancel

protected:
    BOOL OnInitDialog() override
    {
        sable::SableDialog2::OnInitDialog();
        if (onInit)
            onInit(m_hWnd);
        return TRUE;
    }
    void OnOK() override { ++okCount; }
    bool OnCommand(UINT id, UINT code, HWND source) override
    {
        if (sable::SableDialog2::OnCommand(id, code, source))
            return true;
        if (code == BN_CLICKED)
            clicked.push_back(id);
        return false;
    }

private:
    std::vector<WORD> m_template;
};

// Renders a window's client area into a bitmap through WM_PRINTCLIENT and reads pixels from it.
class ClientSnapshot {
public:
    explicit ClientSnapshot(HWND hwnd)
    {
        GetClientRect(hwnd, &m_rc);
        HDC screen = GetDC(nullptr);
        m_dc = CreateCompatibleDC(screen);
        m_bitmap = CreateCompatibleBitmap(screen, m_rc.right, m_rc.bottom);
        ReleaseDC(nullptr, screen);
        m_old = SelectObject(m_dc, m_bitmap);
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_dc), PRF_CLIENT);
    }
    ~ClientSnapshot()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
    HDC dc() const { return m_dc; }

private:
    RECT m_rc{};
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

class Skin : public ::testing::Test {
protected:
    void SetUp() override { sable::SableAPI::EnableLuna(true); }
    void TearDown() override { sable::SableAPI::EnableLuna(true); }
};

class RecordingDialogPainter : public sable::SableDialogPainter {
public:
    std::vector<RECT> backdrops;
    int nonClient = 0;
    void DrawBackdrop(HDC dc, const RECT& rc) override
    {
        backdrops.push_back(rc);
        sable::SableDialogPainter::DrawBackdrop(dc, rc);
    }
    void DrawNonClient(HDC, const RECT&) override { ++nonClient; }
};

TEST_F(Skin, DialogCallsItsInstalledPainterForBackdropAndFrame)
{
    RecordingDialogPainter painter;
    HostDialog dialog;
    dialog.SetPainter(&painter);
    RECT client{};
    ModalScript script({[&] {
        HWND hwnd = dialog;
        GetClientRect(hwnd, &client);
        painter.backdrops.clear();
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_FALSE(painter.backdrops.empty());
    EXPECT_TRUE(EqualRect(&painter.backdrops.back(), &client));
    EXPECT_GT(painter.nonClient, 0);
}

// Records the calls of a paint; the first slot after the destructor fills in a marker colour.
class RecordingTabPainter : public sable::SableTabPainter {
public:
    std::vector<std::string> calls;
    void DrawBackdrop(HDC dc, const RECT& rc) override
    {
        calls.push_back("backdrop");
        sable::FillSolid(dc, rc, RGB(0, 0, 0));
    }
    void DrawBackGround(HDC dc, const RECT& rc) override
    {
        calls.push_back("background@" + std::to_string(rc.top));
        sable::SableTabPainter::DrawBackGround(dc, rc);
    }
    void DrawItem(HDC dc, const RECT& rc, const std::wstring& text) override
    {
        calls.push_back("item:" + std::string(text.begin(), text.end()));
        sable::SableTabPainter::DrawItem(dc, rc, text);
    }
    void DrawSelectItem(HDC dc, const RECT& rc, const std::wstring& text) override
    {
        calls.push_back("selected:" + std::string(text.begin(), text.end()));
        sable::SableTabPainter::DrawSelectItem(dc, rc, text);
    }
    void DrawFocus(HDC, const RECT&) override { calls.push_back("focus"); }
};

TEST_F(Skin, TabStripIsDrawnByItsPainterInOrder)
{
    RecordingTabPainter painter;
    sable::SableTabCtrl tabs;
    tabs.SetPainter(&painter);
    HostDialog dialog;
    std::vector<std::string> unfocused, focused;
    COLORREF corner = 0, page = 0;
    int itemBottom = 0;
    dialog.onInit = [&](HWND hwnd) {
        tabs.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, RECT{0, 0, 300, 150}, hwnd, 10);
        tabs.InsertItem(0, L"One");
        tabs.InsertItem(1, L"Two");
        tabs.SetItemSize(100, 22);
        tabs.SetCurSel(1);
    };
    ModalScript script({[&] {
        RECT item{};
        tabs.GetItemRect(0, item);
        itemBottom = item.bottom;
        SetFocus(nullptr);  // away from the strip
        painter.calls.clear();
        {
            ClientSnapshot shot(tabs);
            corner = shot.At(299, 0);
            page = shot.At(150, 140);
        }
        unfocused = painter.calls;
        tabs.SetFocus();
        painter.calls.clear();
        { ClientSnapshot shot(tabs); }
        focused = painter.calls;
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }});
    dialog.DoModal();
    const std::string background = "background@" + std::to_string(itemBottom);
    EXPECT_EQ(unfocused, (std::vector<std::string>{"backdrop", background, "item:One", "selected:Two"}));
    EXPECT_EQ(focused, (std::vector<std::string>{"backdrop", background, "item:One", "selected:Two", "focus"}));
    EXPECT_EQ(corner, RGB(0, 0, 0)) << "right of the tabs: the program's backdrop";
    EXPECT_EQ(page, sable::kBand) << "the page: the skin's band";
}

TEST_F(Skin, ButtonIsOwnerDrawnInEachStateAndStaysTheDefaultPushButton)
{
    HostDialog dialog;
    sable::SableButton ok;
    sable::SableButton other;
    struct Seen {
        bool ownerDrawn = false;
        LRESULT dlgCode = 0;
        DWORD defId = 0;
        COLORREF enabledFace = 0, disabledFace = 0;
        int okFromEnter = 0;
    } seen;
    dialog.onInit = [&](HWND hwnd) {
        ok.Create(L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, RECT{10, 10, 110, 34}, hwnd, IDOK);
        other.Create(L"&Other", WS_CHILD | WS_VISIBLE | WS_TABSTOP, RECT{10, 50, 110, 74}, hwnd, 300);
    };
    ModalScript script({
        [&] {
            seen.ownerDrawn = (ok.GetStyle() & BS_TYPEMASK) == BS_OWNERDRAW;
            seen.dlgCode = SendMessageW(ok, WM_GETDLGCODE, 0, 0);
            seen.defId = static_cast<DWORD>(SendMessageW(dialog, DM_GETDEFID, 0, 0));
            { ClientSnapshot shot(other); seen.enabledFace = shot.At(50, 3); }
            EnableWindow(other, FALSE);
            { ClientSnapshot shot(other); seen.disabledFace = shot.At(50, 3); }
            EnableWindow(other, TRUE);
            ok.SetFocus();
            PostMessageW(ok, WM_KEYDOWN, VK_RETURN, 0);  // Enter on the dialog's default button
        },
        [&] {
            seen.okFromEnter = dialog.okCount;
            other.SetFocus();
            PostMessageW(other, WM_KEYDOWN, VK_SPACE, 0);
            PostMessageW(other, WM_KEYUP, VK_SPACE, 0xC0000001);
        },
        [&] { PostMessageW(dialog, WM_CLOSE, 0, 0); },
    });
    dialog.DoModal();
    EXPECT_TRUE(seen.ownerDrawn);
    EXPECT_TRUE(seen.dlgCode & DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(seen.defId, MAKELONG(IDOK, DC_HASDEFID));
    EXPECT_EQ(seen.enabledFace, sable::kFace);
    EXPECT_EQ(seen.disabledFace, sable::kFaceDisabled);
    EXPECT_EQ(seen.okFromEnter, 1);
    EXPECT_EQ(dialog.clicked, std::vector<int>{300}) << "Space clicks the focused button";
}

TEST_F(Skin, WithTheSkinOffControlsKeepTheirPlainLook)
{
    sable::SableAPI::EnableLuna(false);
    RecordingDialogPainter painter;
    HostDialog dialog;
    dialog.SetPainter(&painter);
    sable::SableButton button;
    bool ownerDrawn = true;
    dialog.onInit = [&](HWND hwnd) {
        button.Create(L"OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, RECT{10, 10, 110, 34}, hwnd, IDOK);
    };
    ModalScript script({[&] {
        ownerDrawn = (button.GetStyle() & BS_TYPEMASK) == BS_OWNERDRAW;
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }});
    dialog.DoModal();
    EXPECT_FALSE(ownerDrawn);
    EXPECT_FALSE(dialog.IsSkinned());
    EXPECT_TRUE(painter.backdrops.empty());
}

// Dispatches this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

// Records each bar drawing instead of drawing.
class RecordingScrollHook : public sable::AbstractScrollBarPaintHook {
public:
    struct Bar {
        bool vertical;
        int thumbStart, thumbEnd;
    };
    std::vector<Bar> bars;

protected:
    void DrawScrollBar(HDC, const RECT&, bool vertical, int, int thumbStart, int thumbEnd, bool) override
    {
        bars.push_back({vertical, thumbStart, thumbEnd});
    }
};

TEST_F(Skin, ScrollBarHookRepaintsTheBarsAfterFramePaintsAndScrolling)
{
    HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 0, 0, 120, 100, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 60; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"row"));
    const LONG_PTR ownProc = GetWindowLongPtrW(list, GWLP_WNDPROC);

    RecordingScrollHook hook;
    ASSERT_TRUE(hook.HookWindow(list));
    RecordingScrollHook second;
    EXPECT_FALSE(second.HookWindow(list)) << "one hook per window";
    EXPECT_FALSE(hook.HookWindow(list)) << "one window per hook";

    RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(hook.bars.empty());
    const RecordingScrollHook::Bar top = hook.bars.back();
    EXPECT_TRUE(top.vertical);
    EXPECT_LT(top.thumbStart, top.thumbEnd);

    hook.bars.clear();
    SendMessageW(list, WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_FALSE(hook.bars.empty()) << "scrolling moved the thumb: drawn again";
    EXPECT_GT(hook.bars.back().thumbStart, top.thumbStart);

    // A burst of rows moves the thumb up from the bottom: the bars are looked at once the burst is
    // done, not after each of its messages (a look costs server round trips under Wine).
    const RecordingScrollHook::Bar bottom = hook.bars.back();
    hook.bars.clear();
    for (int i = 0; i < 60; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"row"));
    EXPECT_TRUE(hook.bars.empty()) << "not drawn during the burst";
    PumpFor(50);
    ASSERT_FALSE(hook.bars.empty()) << "drawn again after it";
    EXPECT_TRUE(hook.bars.back().vertical);
    EXPECT_LT(hook.bars.back().thumbStart, bottom.thumbStart);

    hook.UnhookWindow();
    EXPECT_EQ(GetWindowLongPtrW(list, GWLP_WNDPROC), ownProc);
    ASSERT_TRUE(hook.HookWindow(list));
    DestroyWindow(list);
    EXPECT_EQ(hook.GetHookedWindow(), nullptr) << "let go when the window was destroyed";
}

// What the screen shows at a point of `window` (window coordinates).
COLORREF ScreenPixel(HWND window, int x, int y)
{
    RECT rc{};
    GetWindowRect(window, &rc);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, rc.left + x, rc.top + y);
    ReleaseDC(nullptr, screen);
    return colour;
}

TEST_F(Skin, ScrollBarKeepsTheSkinAfterAResizeAndAClick)
{
    // A child, as the views are, moved without repainting inside a parent that does not repaint it.
    HWND host = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 200, 300,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    // A tree view, as the categories are: it updates its bars in the system's look while it paints.
    HWND list = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 120, 100, host, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(list, nullptr);
    HTREEITEM first = nullptr;
    for (int i = 0; i < 60; ++i) {
        TVINSERTSTRUCTW insert{};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<wchar_t*>(L"row");
        HTREEITEM item = TreeView_InsertItem(list, &insert);
        first = first ? first : item;
    }
    sable::SableScrollBarPaintHook hook;
    ASSERT_TRUE(hook.HookWindow(list));
    PumpFor(200);
    RECT window{};
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof(bar);
    GetWindowRect(list, &window);
    ASSERT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &bar));
    const int x = bar.rcScrollBar.left - window.left + 2;  // on the arrow's face, clear of its triangle
    // The face of the down arrow, just above the bar's bottom (window coordinates).
    const auto downArrowFace = [&](int bottom) { return ScreenPixel(list, x, bottom - 3); };
    EXPECT_EQ(downArrowFace(100), sable::kFace);

    // Grown without repainting, as a view is when the dialog grows: the bar is repainted whole.
    SetWindowPos(list, nullptr, 0, 0, 120, 220, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    PumpFor(300);
    EXPECT_EQ(downArrowFace(220), sable::kFace) << "the down arrow at the new bottom";
    EXPECT_EQ(downArrowFace(100), sable::kTrack) << "no arrow left where the bottom was";
    EXPECT_EQ(downArrowFace(220 - GetSystemMetrics(SM_CYVSCROLL) - 2), sable::kTrack) << "an arrow as long as the system's";

    // A click on the down arrow: the system draws it pressed and released in its own look.
    POINT arrow{x, 220 - 8};
    arrow.x += window.left;
    arrow.y += window.top;
    INPUT inputs[2] = {};
    for (int i = 0; i < 2; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = MulDiv(arrow.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        inputs[i].mi.dy = MulDiv(arrow.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        inputs[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | (i == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    }
    SendInput(2, inputs, sizeof(INPUT));
    PumpFor(300);
    EXPECT_NE(TreeView_GetFirstVisible(list), first) << "the click scrolled";
    EXPECT_EQ(downArrowFace(220), sable::kFace) << "and the arrow keeps the skin";
    // Again at the bottom, where the click changes nothing: no paint follows the system's drawing.
    SendMessageW(list, WM_VSCROLL, SB_BOTTOM, 0);
    PumpFor(200);
    SendInput(2, inputs, sizeof(INPUT));
    PumpFor(300);
    EXPECT_EQ(downArrowFace(220), sable::kFace) << "the arrow keeps the skin at the bottom too";
    DestroyWindow(host);
}

// The skin layer reads its texts from the current resource module, as the program sets it.
HMODULE UseResourceLibrary()
{
    static const HMODULE library =
        LoadLibraryExW((GetProgramDirectory() + L"QclRes.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (library)
        SetResourceModule(library);
    return library;
}

TEST_F(Skin, MessageBoxShowsTheStringOfTheCurrentModuleAndEndsWithOk)
{
    ASSERT_NE(UseResourceLibrary(), nullptr);
    struct Seen {
        std::wstring text;
        bool hasIcon = false;
        bool okFocused = false;
    } seen;
    for (UINT key : {VK_ESCAPE, VK_RETURN}) {
        ModalScript script({[&] {
            HWND box = FindThreadDialog(L"Brindle");
            ASSERT_NE(box, nullptr);
            wchar_t text[128] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 128);
            seen.text = text;
            seen.okFocused = GetFocus() == GetDlgItem(box, IDOK);
            HWND child = nullptr;
            while ((child = FindWindowExW(box, child, L"STATIC", nullptr)) != nullptr)
                seen.hasIcon = seen.hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
            PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
        }});
        EXPECT_EQ(sable::SableMessageBox(IDS_ERR_PROGRAM_NOT_FOUND, L"Brindle", MB_ICONHAND | MB_OK, nullptr), IDOK);
        EXPECT_TRUE(script.AllStepsRan());
        EXPECT_EQ(seen.text, L"Program not found.");
        EXPECT_TRUE(seen.hasIcon);
        EXPECT_TRUE(seen.okFocused);
    }
}

// A host that notes whether the message box was still on screen when its own run was ended.
class ClosingHost : public HostDialog {
public:
    bool boxOpenWhenEnded = false;

protected:
    void OnCancel() override
    {
        boxOpenWhenEnded = ::IsWindowVisible(FindThreadDialog(L"Brindle")) != FALSE;
        HostDialog::OnCancel();
    }
};

TEST_F(Skin, MessageBoxEndsWithTheRunItIsNestedIn)
{
    ASSERT_NE(UseResourceLibrary(), nullptr);
    const auto showBox = [] {
        return sable::SableMessageBox(IDS_ERR_PROGRAM_NOT_FOUND, L"Brindle", MB_ICONHAND | MB_OK, nullptr);
    };
    {  // The host is closed (as a shutdown closes the main dialog) while the box waits for the user.
        ClosingHost host;
        int boxResult = -1;
        ModalScript script({[&] {
                               PostMessageW(host, WM_CLOSE, 0, 0);  // taken up by the box's loop
                               boxResult = showBox();
                           }},
                           3000);
        EXPECT_EQ(host.DoModal(), IDCANCEL);
        EXPECT_FALSE(script.TimedOut());
        EXPECT_TRUE(host.boxOpenWhenEnded);
        EXPECT_EQ(boxResult, IDCANCEL);
    }
    {  // A box asked for after the host's run was ended does not wait for the user either.
        HostDialog host;
        int boxResult = -1;
        ModalScript script({[&] {
                               host.EndDialog(IDOK);
                               boxResult = showBox();
                           }},
                           3000);
        EXPECT_EQ(host.DoModal(), IDOK);
        EXPECT_FALSE(script.TimedOut());
        EXPECT_EQ(boxResult, IDCANCEL);
    }
}

}  // namespace
