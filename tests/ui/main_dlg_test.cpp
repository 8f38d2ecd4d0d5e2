// The main dialog and the About box, driven in-process through their real modal loops.
#include "app/resource_library.h"
#include "res/resource.h"
#include "sable/sable_api.h"
#include "tests/ui/fake_monitors.h"
#include "tests/ui/gui_object_counts.h"
#include "tests/ui/main_dialog_fixture.h"
#include "tests/ui/modal_script.h"
#include "ui/about_dlg.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_painter.h"
#include "ui/page_ids.h"
#include "ui/window_state.h"
#include "win/resource_module.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

namespace {

const wchar_t kLegalNotice[] = L"Copyright (C) 2026 Marbeck";
const std::wstring kVersionLine = std::wstring(L"Brindle Version ") + BRINDLE_TEST_PRODUCT_VERSION;

RECT WindowRectOf(HWND hwnd)
{
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

RECT WorkArea()
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

class MainDialog : public MainDialogFixture {
protected:
    // Runs a fresh main dialog with `steps`; the dialog's window is in `m_hwnd` meanwhile.
    INT_PTR Run(std::vector<ModalScript::Step> steps)
    {
        const INT_PTR result = RunMainDialog(std::move(steps));
        EXPECT_TRUE(m_allStepsRan);
        EXPECT_FALSE(m_timedOut);
        EXPECT_FALSE(IsWindow(m_hwnd));
        return result;
    }

    void Close() { PostMessageW(m_hwnd, WM_CLOSE, 0, 0); }
};

TEST_F(MainDialog, FirstRunIs640By300CentredWithThePageBelowA15PixelBand)
{
    RECT rc{}, page{}, client{};
    HWND tab = nullptr, tree = nullptr, focusAfterHandOver = nullptr;
    INT_PTR result = Run({
        [&] {
            rc = WindowRectOf(m_hwnd);
            GetClientRect(m_hwnd, &client);
            tab = GetDlgItem(m_hwnd, page::kTabCtrlId);
            tree = GetDlgItem(tab, page::kTreeViewId);
            GetWindowRect(tab, &page);
            MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&page), 2);
        },
        [&] {  // the WM_USER posted at initialisation has been through PreTranslateMessage now
            focusAfterHandOver = GetFocus();
            Close();
        },
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(m_windowGoneReported);
    EXPECT_EQ(rc.right - rc.left, 640);
    EXPECT_EQ(rc.bottom - rc.top, 300);
    RECT work = WorkArea();
    EXPECT_NEAR((rc.left + rc.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((rc.top + rc.bottom) / 2, (work.top + work.bottom) / 2, 1);
    EXPECT_EQ(page.left, client.left);
    EXPECT_EQ(page.top, client.top + 15);
    EXPECT_EQ(page.right, client.right);
    EXPECT_EQ(page.bottom, client.bottom);
    ASSERT_NE(tab, nullptr);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(focusAfterHandOver, tree) << "focus handed to the page's first view";
}

TEST_F(MainDialog, WmUserHandsTheFocusOverAgainAndGoesNoFurther)
{
    int focusId = -1;
    Run({
        [&] {},
        [&] {
            SetFocus(nullptr);
            PostMessageW(m_hwnd, WM_USER, 0, 0);
        },
        [&] {
            HWND focus = GetFocus();
            focusId = focus && GetParent(GetParent(focus)) == m_hwnd ? GetDlgCtrlID(focus) : -1;
            Close();
        },
    });
    EXPECT_EQ(focusId, static_cast<int>(page::kTreeViewId));
}

TEST_F(MainDialog, StoredRectangleIsAppliedThroughTheSizeLimits)
{
    struct Case {
        RECT stored;
        RECT expected;
    } cases[] = {
        {{100, 80, 1000, 480}, {100, 80, 740, 480}},        // 900 wide: the width is fixed at 640
        {{50, 60, 690, 160}, {50, 60, 690, 360}},            // too low: raised to 300
        {{-200, 0, 440, 400}, {-200, 0, 440, 400}},          // partly off screen to the left
        {{-200, -100, 440, 300}, {-200, 0, 440, 400}},       // the caption above the screen comes down
    };
    for (const Case& c : cases) {
        SaveWindowRect(c.stored.left, c.stored.top, c.stored.right, c.stored.bottom);
        RECT rc{};
        Run({[&] {
            rc = WindowRectOf(m_hwnd);
            Close();
        }});
        EXPECT_EQ(rc.left, c.expected.left) << c.stored.left;
        EXPECT_EQ(rc.top, c.expected.top) << c.stored.left;
        EXPECT_EQ(rc.right, c.expected.right) << c.stored.left;
        EXPECT_EQ(rc.bottom, c.expected.bottom) << c.stored.left;
    }
}

TEST_F(MainDialog, StoredRectangleComesBackWhereItWasSavedOrOntoTheNearestMonitor)
{
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT work = WorkArea();
    const struct Case {
        const char* what;
        bool taskbar;  // a stand-in work area that leaves `bar` to a taskbar at the top or left
        POINT bar;
        RECT stored;
        RECT expected;
    } cases[] = {
        // The window placement gives the normal rectangle relative to the work area: a window
        // saved as (100, 80) stood at (100, 120) below a 40-pixel taskbar, and comes back there.
        {"taskbar at the top", true, {0, 40}, {100, 80, 740, 480}, {100, 120, 740, 520}},
        {"taskbar on the left", true, {60, 0}, {100, 80, 740, 480}, {160, 80, 800, 480}},
        {"far off every monitor", false, {}, {-30000, -30000, -29360, -29600},
         {work.left, work.top, work.left + 640, work.top + 400}},
        {"below and right of the screen", false, {}, {3000, 2000, 3640, 2400},
         {work.right - 640, work.bottom - 400, work.right, work.bottom}},
        // Damaged values: whole, onto the nearest monitor's work area, at the size limits.
        {"every edge 2147483647", false, {}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
         {work.right - 640, work.bottom - 300, work.right, work.bottom}},
        {"left -2147483648, right 2147483647", false, {}, {INT_MIN, 80, INT_MAX, 480},
         {work.left, 80, work.left + 640, 480}},
        {"inverted: right left of left", false, {}, {740, 80, 100, 480}, {100, 80, 740, 480}},
        {"inverted: bottom above top", false, {}, {100, 480, 740, 80}, {100, 80, 740, 480}},
        // The caption stays within reach: its top edge inside the work area, and a hold of it
        // (128 pixels) over the work area when the window hangs off a side.
        {"caption above the screen", false, {}, {100, -50, 740, 350}, {100, work.top, 740, work.top + 400}},
        {"caption above a taskbar's work area", true, {0, 40}, {100, -30, 740, 370}, {100, 40, 740, 440}},
        {"all but 40 pixels off the left", false, {}, {-600, 100, 40, 500}, {-512, 100, 128, 500}},
        {"all but 40 pixels off the right", false, {}, {work.right - 40, 100, work.right + 600, 500},
         {work.right - 128, 100, work.right + 512, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<FakeMonitors> monitors;
        if (c.taskbar)
            monitors.reset(new FakeMonitors({{screen, {c.bar.x, c.bar.y, screen.right, screen.bottom}}}));
        SaveWindowRect(c.stored.left, c.stored.top, c.stored.right, c.stored.bottom);
        RECT rc{};
        Run({[&] {
            rc = WindowRectOf(m_hwnd);
            Close();
        }});
        EXPECT_EQ(rc.left, c.expected.left);
        EXPECT_EQ(rc.top, c.expected.top);
        EXPECT_EQ(rc.right, c.expected.right);
        EXPECT_EQ(rc.bottom, c.expected.bottom);
    }
}

TEST_F(MainDialog, OnlyTopAndBottomEdgesSizeTheWindow)
{
    struct Probe {
        const char* where;
        int x, y;  // -1 = the left/top edge, 0 = middle, 1 = right/bottom edge
        LRESULT expected;
    } probes[] = {
        {"left", -1, 0, HTBORDER},        {"right", 1, 0, HTBORDER},     {"top-left", -1, -1, HTBORDER},
        {"top-right", 1, -1, HTBORDER},   {"bottom-left", -1, 1, HTBORDER}, {"bottom-right", 1, 1, HTBORDER},
        {"top", 0, -1, HTTOP},            {"bottom", 0, 1, HTBOTTOM},    {"centre", 0, 0, HTCLIENT},
    };
    std::vector<LRESULT> hits;
    RECT before{}, afterWider{}, afterTaller{};
    Run({[&] {
        RECT rc = WindowRectOf(m_hwnd);
        for (const Probe& p : probes) {
            int x = p.x < 0 ? rc.left + 1 : p.x > 0 ? rc.right - 2 : (rc.left + rc.right) / 2;
            int y = p.y < 0 ? rc.top + 1 : p.y > 0 ? rc.bottom - 2 : (rc.top + rc.bottom) / 2;
            hits.push_back(SendMessageW(m_hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)));
        }
        before = rc;
        SetWindowPos(m_hwnd, nullptr, 0, 0, 900, 250, SWP_NOMOVE | SWP_NOZORDER);
        afterWider = WindowRectOf(m_hwnd);
        SetWindowPos(m_hwnd, nullptr, 0, 0, 640, 500, SWP_NOMOVE | SWP_NOZORDER);
        afterTaller = WindowRectOf(m_hwnd);
        Close();
    }});
    ASSERT_EQ(hits.size(), sizeof(probes) / sizeof(probes[0]));
    for (size_t i = 0; i < hits.size(); ++i)
        EXPECT_EQ(hits[i], probes[i].expected) << probes[i].where;
    EXPECT_EQ(afterWider.right - afterWider.left, 640);
    EXPECT_EQ(afterWider.bottom - afterWider.top, 300);
    EXPECT_EQ(afterTaller.bottom - afterTaller.top, 500);
}

TEST_F(MainDialog, EnterDoesNotCloseIt)
{
    bool runningAfterEnter = false;
    INT_PTR result = Run({
        [&] {},
        [&] { PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0); },
        [&] {
            runningAfterEnter = IsWindow(m_hwnd) && m_mainDlg->IsModalRunning();
            PostMessageW(m_hwnd, WM_COMMAND, IDOK, 0);  // the OK command itself
        },
        [&] {
            runningAfterEnter = runningAfterEnter && IsWindow(m_hwnd);
            Close();
        },
    });
    EXPECT_TRUE(runningAfterEnter);
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(MainDialog, EscapeCloseBoxAndPostedCloseEndIt)
{
    struct Ending {
        const char* name;
        UINT msg;
        WPARAM wp;
    } endings[] = {
        {"Escape", WM_KEYDOWN, VK_ESCAPE},
        {"WM_CLOSE", WM_CLOSE, 0},
        {"close box / Alt+F4", WM_SYSCOMMAND, SC_CLOSE},
    };
    for (const Ending& e : endings) {
        INT_PTR result = Run({
            [&] {},
            [&] { PostMessageW(m_hwnd, e.msg, e.wp, 0); },
        });
        EXPECT_EQ(result, IDCANCEL) << e.name;
    }
}

TEST_F(MainDialog, SavesTheNormalRectangleAlsoWhenClosedMinimised)
{
    for (bool minimise : {false, true}) {
        RECT moved{};
        bool wasIconic = false;
        Run({
            [&] {
                MoveWindow(m_hwnd, 120, 90, 640, 420, TRUE);
                moved = WindowRectOf(m_hwnd);
                if (minimise)
                    ShowWindow(m_hwnd, SW_MINIMIZE);
            },
            [&] {
                wasIconic = IsIconic(m_hwnd) != FALSE;
                Close();
            },
        });
        EXPECT_EQ(wasIconic, minimise);
        int left = 0, top = 0, right = 0, bottom = 0;
        ASSERT_TRUE(LoadWindowRect(left, top, right, bottom));
        EXPECT_EQ(left, moved.left) << minimise;
        EXPECT_EQ(top, moved.top) << minimise;
        EXPECT_EQ(right, moved.right) << minimise;
        EXPECT_EQ(bottom, moved.bottom) << minimise;
    }
}

TEST_F(MainDialog, RestoringAfterMinimiseLaysThePageOutAgain)
{
    RECT pageAfterRestore{}, client{};
    Run({
        [&] { ShowWindow(m_hwnd, SW_MINIMIZE); },
        [&] {
            // While minimised the page keeps its place; restored taller, it follows the new client area.
            MoveWindow(m_hwnd, 10, 10, 640, 300, FALSE);
            ShowWindow(m_hwnd, SW_RESTORE);
            SetWindowPos(m_hwnd, nullptr, 0, 0, 640, 460, SWP_NOMOVE | SWP_NOZORDER);
            GetClientRect(m_hwnd, &client);
            GetClientRect(GetDlgItem(m_hwnd, page::kTabCtrlId), &pageAfterRestore);
            Close();
        },
    });
    EXPECT_EQ(pageAfterRestore.bottom, client.bottom - 15);
}

TEST_F(MainDialog, SystemMenuCarriesTheAboutCommandAfterASeparator)
{
    std::wstring text;
    UINT separatorType = 0;
    Run({[&] {
        HMENU menu = GetSystemMenu(m_hwnd, FALSE);
        int count = GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            if (GetMenuItemID(menu, i) != 0x10)
                continue;
            wchar_t buffer[64] = {};
            GetMenuStringW(menu, i, buffer, 64, MF_BYPOSITION);
            text = buffer;
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE;
            if (i > 0 && GetMenuItemInfoW(menu, i - 1, TRUE, &info))
                separatorType = info.fType;
        }
        Close();
    }});
    EXPECT_EQ(text, L"&About Brindle");
    EXPECT_TRUE(separatorType & MFT_SEPARATOR);
}

TEST_F(MainDialog, AboutBoxFromTheSystemMenuShowsVersionAndNoticeTwiceInARow)
{
    struct Seen {
        std::wstring version, legal;
        bool ownerDisabled = false;
        bool hasIcon = false;
        POINT centre{}, ownerCentre{};
    } seen[2];
    bool ownerEnabledBetween = false;
    auto inspect = [&](Seen& s) {
        HWND about = FindThreadDialog(L"About Brindle");
        ASSERT_NE(about, nullptr);
        s.version = ItemText(about, IDC_ABOUT_VERSION);
        s.legal = ItemText(about, IDC_ABOUT_LEGAL);
        s.ownerDisabled = GetWindow(about, GW_OWNER) == m_hwnd && !IsWindowEnabled(m_hwnd);
        s.hasIcon = SendDlgItemMessageW(about, -1, STM_GETICON, 0, 0) != 0;
        RECT a = WindowRectOf(about), m = WindowRectOf(m_hwnd);
        s.centre = {(a.left + a.right) / 2, (a.top + a.bottom) / 2};
        s.ownerCentre = {(m.left + m.right) / 2, (m.top + m.bottom) / 2};
        PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    Run({
        [&] { PostMessageW(m_hwnd, WM_SYSCOMMAND, 0x10, 0); },
        [&] { inspect(seen[0]); },
        [&] {
            ownerEnabledBetween = IsWindowEnabled(m_hwnd) && !FindThreadDialog(L"About Brindle");
            PostMessageW(m_hwnd, WM_SYSCOMMAND, 0x10, 0);
        },
        [&] { inspect(seen[1]); },
        [&] { Close(); },
    });
    EXPECT_TRUE(ownerEnabledBetween);
    for (const Seen& s : seen) {
        EXPECT_EQ(s.version, kVersionLine);
        EXPECT_EQ(s.legal, kLegalNotice);
        EXPECT_TRUE(s.ownerDisabled);
        EXPECT_TRUE(s.hasIcon) << "icon 135 comes from the program, not the resource library";
        EXPECT_NEAR(s.centre.x, s.ownerCentre.x, 1);
        EXPECT_NEAR(s.centre.y, s.ownerCentre.y, 1);
    }
}

// Closes itself as soon as it is initialised.
class SelfClosingAbout : public CAboutDlg {
public:
    SelfClosingAbout() : CAboutDlg(nullptr) {}
    std::wstring version;

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = CAboutDlg::OnInitDialog();
        version = ItemText(m_hWnd, IDC_ABOUT_VERSION);
        ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return result;
    }
};

TEST(AboutBox, OpeningAndClosing500TimesLeavesGdiAndUserCountsUnchanged)
{
    ASSERT_TRUE(LoadResourceLibrary());
    sable::SableAPI::EnableLuna(true);
    {
        SelfClosingAbout warmUp;  // one-time allocations of the first dialog
        ASSERT_EQ(warmUp.DoModal(), IDCANCEL);
    }
    GuiObjectCounts before = CountGuiObjects();
    int ended = 0;
    for (int i = 0; i < 500; ++i) {
        SelfClosingAbout about;
        ended += about.DoModal() == IDCANCEL && about.version == kVersionLine;
    }
    GuiObjectCounts after = CountGuiObjects();
    EXPECT_EQ(ended, 500);
    EXPECT_GT(before.gdi, 0);
    EXPECT_GT(before.user, 0);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

TEST(MainDialogPainter, BlackBackdropUnderALightOnePixelStrip)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 6);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 8, 6};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    CMainDlgPainter painter;
    sable::SableDialogPainter& asBase = painter;  // called through the base, as the dialog does
    asBase.DrawBackdrop(dc, RECT{1, 2, 7, 5});

    EXPECT_EQ(GetPixel(dc, 1, 2), RGB(215, 221, 224));
    EXPECT_EQ(GetPixel(dc, 6, 2), RGB(215, 221, 224));
    EXPECT_EQ(GetPixel(dc, 1, 3), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 6, 4), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 0, 2), RGB(255, 255, 255)) << "nothing outside the rectangle";
    EXPECT_EQ(GetPixel(dc, 1, 5), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace
