// The display's settings changing while the main dialog runs: a move to a monitor of another DPI
// (WM_DPICHANGED, which Wine never sends, so the test sends it as Windows would) and the
// high-contrast mode switched on and off (which Wine 8 cannot switch: where the system refuses,
// the test answers the mode's query itself and broadcasts the change as Windows does).
#include "res/registry_paths.h"
#include "sable/sable_colors.h"
#include "sable/sable_scrollbar.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/ui/image_pixels.h"
#include "tests/ui/main_dialog_fixture.h"
#include "tests/ui/page_measures.h"
#include "ui/window_state.h"
#include "win/high_contrast.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const UINT kDpiChanged = 0x02E0;

int Scaled(int pixels, int dpi)
{
    return MulDiv(pixels, dpi, 96);
}

std::string Show(const RECT& rc)
{
    return "(" + std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom) + ")";
}

bool Near(const RECT& a, const RECT& b)
{
    return std::abs(a.left - b.left) <= 1 && std::abs(a.top - b.top) <= 1 && std::abs(a.right - b.right) <= 1 &&
           std::abs(a.bottom - b.bottom) <= 1;
}

// What a user sees of the page's geometry, images and fonts at one moment.
struct PageFigures {
    RECT window{}, client{}, tabClient{}, tabItem{}, open{}, help{}, pane{}, view{};
    int rowHeight = 0, treeImage = 0, listImage = 0, pageFont = 0, viewFont = 0, smallIcon = 0;
    HFONT font = nullptr;
    bool treeIconAtSize = false;
    bool listItemsApart = true;
};

class DisplaySettings : public MainDialogFixture {
protected:
    void SetUp() override
    {
        MainDialogFixture::SetUp();
        // The first entry's icon has an image of its own at 16, 24, 32 and 48 pixels.
        const wchar_t* names[] = {L"Alpha", L"Beta", L"Gamma", L"Delta", L"Epsilon", L"Zeta"};
        for (const wchar_t* name : names) {
            ASSERT_TRUE(RegisterMinimalApp(name, name, 2));
            ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(name), L"Description", L"One line."));
        }
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"Alpha"), L"IconPath", FixturePath(L"fixture_sizes.ico")));
    }

    // The page opens on "Categories" with Alpha selected (its category open).
    void Run(std::vector<ModalScript::Step> steps) { RunPage(std::move(steps), StartRequest{L"Alpha", 0}, 15000); }

    PageFigures Measure() const
    {
        PageFigures f;
        GetWindowRect(m_hwnd, &f.window);
        GetClientRect(m_hwnd, &f.client);
        GetClientRect(m_tab, &f.tabClient);
        TabCtrl_GetItemRect(m_tab, 0, &f.tabItem);
        f.open = InParent(m_open);
        f.help = InParent(m_help);
        f.pane = InParent(m_pane);
        f.view = InParent(m_tree);
        f.rowHeight = TreeView_GetItemHeight(m_tree);
        HIMAGELIST treeImages = TreeView_GetImageList(m_tree, TVSIL_NORMAL);
        f.treeImage = ImageSize(treeImages);
        f.listImage = ImageSize(ListView_GetImageList(m_all, LVSIL_SMALL));
        f.pageFont = FontHeight(m_open);
        f.viewFont = FontHeight(m_tree);
        f.font = reinterpret_cast<HFONT>(SendMessageW(m_tab, WM_GETFONT, 0, 0));
        ICONINFO info{};
        HICON small = reinterpret_cast<HICON>(SendMessageW(m_hwnd, WM_GETICON, ICON_SMALL, 0));
        if (small && GetIconInfo(small, &info)) {
            BITMAP bitmap{};
            GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
            f.smallIcon = bitmap.bmWidth;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
        // Alpha's node shows the icon file's image for the list's size.
        TVITEMW node{};
        node.mask = TVIF_IMAGE | TVIF_HANDLE;
        node.hItem = TreeView_GetSelection(m_tree);
        TreeView_GetItem(m_tree, &node);
        HICON file = static_cast<HICON>(LoadImageW(nullptr, FixturePath(L"fixture_sizes.ico").c_str(), IMAGE_ICON,
                                                   f.treeImage, f.treeImage, LR_LOADFROMFILE));
        f.treeIconAtSize = file && ImagePixels(treeImages, node.iImage) == IconPixels(file, f.treeImage);
        if (file)
            DestroyIcon(file);
        // No two items of the list overlap.
        const int count = ListView_GetItemCount(m_all);
        for (int a = 0; a < count; ++a) {
            for (int b = a + 1; b < count; ++b) {
                RECT ra{}, rb{}, both{};
                ListView_GetItemRect(m_all, a, &ra, LVIR_BOUNDS);
                ListView_GetItemRect(m_all, b, &rb, LVIR_BOUNDS);
                if (IntersectRect(&both, &ra, &rb))
                    f.listItemsApart = false;
            }
        }
        return f;
    }

    // The message Windows sends when the window reaches a monitor of `dpi`, with its suggested
    // rectangle: the window's, scaled from `fromDpi` about its top-left corner.
    void SendDpiChange(int dpi, int fromDpi, RECT& suggested) const
    {
        RECT rc{};
        GetWindowRect(m_hwnd, &rc);
        suggested = RECT{rc.left, rc.top, rc.left + MulDiv(rc.right - rc.left, dpi, fromDpi),
                         rc.top + MulDiv(rc.bottom - rc.top, dpi, fromDpi)};
        SendMessageW(m_hwnd, kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
};

TEST_F(DisplaySettings, AMoveTo144DpiLaysThePageOutAtThatScaleAndBackAt96AsBefore)
{
    PageFigures before, at144, after;
    RECT suggested{}, suggestedBack{};
    Run({
        [&] { before = Measure(); },
        [&] { SendDpiChange(144, 96, suggested); },
        [&] {
            at144 = Measure();
            SendDpiChange(96, 144, suggestedBack);
        },
        [&] { after = Measure(); },
    });
    const int d = 144;
    EXPECT_EQ(at144.window.left, suggested.left);
    EXPECT_EQ(at144.window.top, suggested.top);
    EXPECT_NEAR(at144.client.right, Scaled(before.client.right, d), 1) << "the client area grows, the frame is the system's";
    EXPECT_EQ(at144.window.bottom, suggested.bottom) << "the height the system suggests is above the smallest";
    EXPECT_NEAR(at144.tabItem.right - at144.tabItem.left, Scaled(100, d), 1);
    EXPECT_NEAR(at144.tabItem.bottom - at144.tabItem.top, Scaled(22, d), 1);
    const RECT& c = at144.tabClient;
    const RECT open{c.right - Scaled(215, d), c.top + Scaled(68, d), c.right - Scaled(115, d), c.top + Scaled(90, d)};
    const RECT help{c.right - Scaled(110, d), c.top + Scaled(68, d), c.right - Scaled(10, d), c.top + Scaled(90, d)};
    const RECT view{c.left + Scaled(2, d), c.top + Scaled(100, d), c.right - Scaled(2, d), c.bottom - Scaled(2, d)};
    EXPECT_TRUE(Near(at144.open, open)) << Show(at144.open) << " expected " << Show(open);
    EXPECT_TRUE(Near(at144.help, help)) << Show(at144.help) << " expected " << Show(help);
    EXPECT_TRUE(Near(at144.view, view)) << Show(at144.view) << " expected " << Show(view);
    EXPECT_NEAR(at144.pane.left, c.left + Scaled(10, d), 1);
    EXPECT_NEAR(at144.pane.right, c.right - Scaled(225, d), 1);
    EXPECT_NEAR(at144.pane.top + at144.pane.bottom, 2 * c.top + Scaled(35, d) + Scaled(92, d), 1)
        << "the one-line pane stays centred in its band";
    EXPECT_NEAR(at144.rowHeight, Scaled(22, d), 1);
    EXPECT_EQ(at144.treeImage, 24);
    EXPECT_EQ(at144.listImage, 48);
    EXPECT_TRUE(at144.treeIconAtSize) << "the icon file's 24-pixel image, not a stretched 16-pixel one";
    EXPECT_TRUE(at144.listItemsApart) << "the list's items placed again for their new size";
    EXPECT_NEAR(at144.pageFont, Scaled(before.pageFont, d), 1);
    EXPECT_NEAR(at144.viewFont, Scaled(before.viewFont, d), 1);
    EXPECT_EQ(at144.smallIcon, 24);

    // Back at 96 DPI everything is as it was, the dialog's own font included.
    EXPECT_TRUE(EqualRect(&after.client, &before.client)) << Show(after.client) << " was " << Show(before.client);
    EXPECT_EQ(after.window.right - after.window.left, before.window.right - before.window.left);
    EXPECT_TRUE(EqualRect(&after.tabItem, &before.tabItem));
    EXPECT_TRUE(EqualRect(&after.open, &before.open));
    EXPECT_TRUE(EqualRect(&after.help, &before.help));
    EXPECT_TRUE(EqualRect(&after.pane, &before.pane)) << Show(after.pane) << " was " << Show(before.pane);
    EXPECT_TRUE(EqualRect(&after.view, &before.view));
    EXPECT_EQ(after.rowHeight, before.rowHeight);
    EXPECT_EQ(after.treeImage, 16);
    EXPECT_EQ(after.listImage, 32);
    EXPECT_TRUE(after.treeIconAtSize);
    EXPECT_EQ(after.font, before.font);
    EXPECT_EQ(after.viewFont, before.viewFont);
    EXPECT_EQ(after.smallIcon, 16);
}

// Windows sends WM_DPICHANGED when a window lands on a monitor of another DPI: this hook does so
// (to 144 DPI) the first time the main dialog reaches the stored rectangle of the test below,
// which happens while it initialises, before its page exists.
class ArrivalAt144 {
public:
    explicit ArrivalAt144(POINT at) : m_at(at)
    {
        s_current = this;
        m_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, &ArrivalAt144::OnMessage, nullptr, GetCurrentThreadId());
    }
    ~ArrivalAt144()
    {
        UnhookWindowsHookEx(m_hook);
        s_current = nullptr;
    }
    ArrivalAt144(const ArrivalAt144&) = delete;
    ArrivalAt144& operator=(const ArrivalAt144&) = delete;
    bool sent = false;

private:
    static LRESULT CALLBACK OnMessage(int code, WPARAM wp, LPARAM lp)
    {
        const CWPRETSTRUCT* msg = reinterpret_cast<const CWPRETSTRUCT*>(lp);
        ArrivalAt144* self = s_current;
        if (code == HC_ACTION && self && !self->sent && msg->message == WM_WINDOWPOSCHANGED) {
            const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(msg->lParam);
            if (!GetParent(msg->hwnd) && pos->x == self->m_at.x && pos->y == self->m_at.y) {
                self->sent = true;
                RECT suggested{pos->x, pos->y, pos->x + MulDiv(pos->cx, 144, 96), pos->y + MulDiv(pos->cy, 144, 96)};
                SendMessageW(msg->hwnd, kDpiChanged, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
            }
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }

    static ArrivalAt144* s_current;
    POINT m_at;
    HHOOK m_hook = nullptr;
};
ArrivalAt144* ArrivalAt144::s_current = nullptr;

// The colours the system's elements have while the object lives: set to colours of the test's
// own (unlike the skin's and the system's defaults), put back afterwards.
class SystemColours {
public:
    SystemColours()
    {
        const COLORREF mine[kCount] = {RGB(250, 250, 210), RGB(20, 20, 120),  RGB(30, 90, 30),  RGB(240, 220, 0),
                                       RGB(160, 0, 160),   RGB(250, 200, 250), RGB(120, 120, 60)};
        for (int i = 0; i < kCount; ++i)
            m_saved[i] = GetSysColor(kElements[i]);
        SetSysColors(kCount, kElements, mine);
    }
    ~SystemColours() { SetSysColors(kCount, kElements, m_saved); }
    SystemColours(const SystemColours&) = delete;
    SystemColours& operator=(const SystemColours&) = delete;

private:
    static constexpr int kCount = 7;
    static constexpr int kElements[kCount] = {COLOR_WINDOW,    COLOR_WINDOWTEXT,    COLOR_BTNFACE, COLOR_BTNTEXT,
                                              COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT};
    COLORREF m_saved[kCount] = {};
};

// The high-contrast mode on for the life of the object, and off again after. Through the system
// where it can switch it; where it cannot (Wine 8 refuses SPI_SETHIGHCONTRAST), the mode's query
// answers "on" and `window` is told as the system tells every top-level window.
class HighContrastOn {
public:
    explicit HighContrastOn(HWND window) : m_window(window)
    {
        m_bySystem = Switch(true);
        if (!m_bySystem) {
            win::OverrideHighContrast(1);
            SendMessageW(m_window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        }
    }
    ~HighContrastOn()
    {
        if (m_bySystem) {
            Switch(false);
            return;
        }
        win::OverrideHighContrast(-1);
        if (IsWindow(m_window))
            SendMessageW(m_window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    }
    HighContrastOn(const HighContrastOn&) = delete;
    HighContrastOn& operator=(const HighContrastOn&) = delete;

private:
    static bool Switch(bool on)
    {
        HIGHCONTRASTW mode{};
        mode.cbSize = sizeof(mode);
        mode.dwFlags = on ? HCF_HIGHCONTRASTON : 0;
        return SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(mode), &mode, SPIF_SENDCHANGE) != FALSE;
    }

    HWND m_window;
    bool m_bySystem = false;
};

COLORREF ScreenPixel(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, client.x, client.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// The colours of the page's parts on screen, each at a place its painter fills.
struct PageColours {
    COLORREF backdrop = 0, strip = 0, currentTab = 0, otherTab = 0, band = 0, pane = 0, openFace = 0, openEdge = 0,
             helpFace = 0, helpEdge = 0, tree = 0;
};

TEST_F(DisplaySettings, AWindowThatStartsOnA144DpiMonitorBuildsItsPageThereWithFontsForIt)
{
    SaveWindowRect(120, 90, 760, 390);  // where the last run ended
    ArrivalAt144 arrival(POINT{120, 90});
    PageFigures figures;
    int dialogFont = 0;
    Run({[&] {
        figures = Measure();
        dialogFont = FontHeight(m_hwnd);
    }});
    ASSERT_TRUE(arrival.sent);
    EXPECT_NEAR(figures.tabItem.right - figures.tabItem.left, 150, 1);
    EXPECT_EQ(figures.treeImage, 24);
    EXPECT_EQ(figures.listImage, 48);
    EXPECT_NEAR(figures.pageFont, MulDiv(dialogFont, 144, 96), 1) << "the dialog's font was made for 96 DPI";
    EXPECT_EQ(figures.smallIcon, 24);
}

}  // namespace

class HighContrast : public DisplaySettings {
protected:
    PageColours Colours() const
    {
        // Whatever the changes left to paint, painted now (nothing is invalidated here).
        RedrawWindow(m_hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        PageColours c;
        c.backdrop = ScreenPixel(m_hwnd, POINT{5, 7});
        c.strip = ScreenPixel(m_hwnd, POINT{5, 0});
        RECT current{}, other{}, tabClient{};
        TabCtrl_GetItemRect(m_tab, 0, &current);
        TabCtrl_GetItemRect(m_tab, 1, &other);
        GetClientRect(m_tab, &tabClient);
        c.currentTab = ScreenPixel(m_tab, POINT{current.left + 3, current.top + 3});
        c.otherTab = ScreenPixel(m_tab, POINT{other.left + 3, other.top + 5});
        c.band = ScreenPixel(m_tab, POINT{tabClient.left + 5, current.bottom + 10});
        RECT pane{}, open{}, help{};
        GetClientRect(m_pane, &pane);
        c.pane = ScreenPixel(m_pane, POINT{pane.right - 3, (pane.top + pane.bottom) / 2});
        GetClientRect(m_open, &open);
        GetClientRect(m_help, &help);
        c.openFace = ScreenPixel(m_open, POINT{5, 5});
        c.openEdge = ScreenPixel(m_open, POINT{0, 0});
        c.helpFace = ScreenPixel(m_help, POINT{5, 5});
        c.helpEdge = ScreenPixel(m_help, POINT{0, 0});
        RECT tree{};
        GetClientRect(m_tree, &tree);
        c.tree = ScreenPixel(m_tree, POINT{tree.right - 3, tree.bottom - 3});
        return c;
    }
};

TEST_F(HighContrast, TurnedOnWhileRunningThePageIsPaintedInSystemColoursAndTurnedOffInTheSkinsAgain)
{
    PageColours dark, contrast, darkAgain;
    COLORREF window = 0, windowText = 0, face = 0, faceText = 0, highlight = 0, gray = 0, windowAfter = 0;
    std::unique_ptr<SystemColours> colours;
    std::unique_ptr<HighContrastOn> mode;
    bool modeReported = false;
    Run({
        [&] { dark = Colours(); },
        [&] {
            colours = std::make_unique<SystemColours>();
            mode = std::make_unique<HighContrastOn>(m_hwnd);
        },
        [&] {
            contrast = Colours();
            modeReported = win::IsHighContrastOn();
            window = GetSysColor(COLOR_WINDOW);
            windowText = GetSysColor(COLOR_WINDOWTEXT);
            face = GetSysColor(COLOR_BTNFACE);
            faceText = GetSysColor(COLOR_BTNTEXT);
            highlight = GetSysColor(COLOR_HIGHLIGHT);
            gray = GetSysColor(COLOR_GRAYTEXT);
            colours.reset();
            mode.reset();
        },
        [&] {
            darkAgain = Colours();
            windowAfter = GetSysColor(COLOR_WINDOW);
        },
    });
    // The skin's own colours before: black behind the page, the light band, dark buttons.
    EXPECT_EQ(dark.backdrop, sable::kBlack);
    EXPECT_EQ(dark.strip, sable::kBand);
    EXPECT_EQ(dark.currentTab, sable::kBand);
    EXPECT_EQ(dark.otherTab, sable::kFace);
    EXPECT_EQ(dark.band, sable::kBand);
    EXPECT_EQ(dark.pane, sable::kBand);
    EXPECT_EQ(dark.openFace, sable::kFace);
    EXPECT_EQ(dark.openEdge, sable::kEdge);
    EXPECT_EQ(dark.helpFace, sable::kFaceDisabled);

    ASSERT_TRUE(modeReported);
    ASSERT_NE(window, sable::kBand) << "the test's colours must differ from the skin's";
    EXPECT_EQ(contrast.backdrop, window);
    EXPECT_EQ(contrast.strip, windowText);
    EXPECT_EQ(contrast.currentTab, highlight) << "the current tab stands out in the highlight colour";
    EXPECT_EQ(contrast.otherTab, face);
    EXPECT_EQ(contrast.band, window);
    EXPECT_EQ(contrast.pane, window);
    EXPECT_EQ(contrast.openFace, face);
    EXPECT_EQ(contrast.openEdge, faceText);
    EXPECT_EQ(contrast.helpFace, face);
    EXPECT_EQ(contrast.helpEdge, gray) << "a disabled button is framed in gray text";
    EXPECT_EQ(contrast.tree, window) << "the views follow the system's colours too";

    EXPECT_EQ(darkAgain.backdrop, dark.backdrop);
    EXPECT_EQ(darkAgain.currentTab, dark.currentTab);
    EXPECT_EQ(darkAgain.otherTab, dark.otherTab);
    EXPECT_EQ(darkAgain.band, dark.band);
    EXPECT_EQ(darkAgain.pane, dark.pane);
    EXPECT_EQ(darkAgain.openFace, dark.openFace);
    EXPECT_EQ(darkAgain.helpEdge, dark.helpEdge);
    EXPECT_EQ(darkAgain.tree, windowAfter);
    EXPECT_FALSE(win::IsHighContrastOn());
}

namespace {

class ExposedScrollHook : public sable::SableScrollBarPaintHook {
public:
    using sable::SableScrollBarPaintHook::DrawScrollBar;
};

// A vertical bar 17 pixels wide drawn by the skin into a bitmap: its track, thumb and arrow ink.
struct DrawnBar {
    COLORREF track = 0, thumb = 0, arrowFace = 0;
    int inkPixels = 0;  // of the upper arrow's triangle
    COLORREF ink = 0;
};

DrawnBar DrawBar(int dpi)
{
    ExposedScrollHook hook;
    hook.SetDpi(dpi);
    const int width = MulDiv(17, dpi, 96), length = 200, arrow = width;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, length);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    hook.DrawScrollBar(dc, RECT{0, 0, width, length}, true, arrow, 60, 100, true);
    DrawnBar drawn;
    drawn.track = GetPixel(dc, width / 2, 150);
    drawn.thumb = GetPixel(dc, width / 2, 80);
    drawn.arrowFace = GetPixel(dc, 2, 2);
    drawn.ink = sable::CurrentPalette().trackInk;
    for (int y = 0; y < arrow; ++y)
        for (int x = 0; x < width; ++x)
            drawn.inkPixels += GetPixel(dc, x, y) == drawn.ink ? 1 : 0;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return drawn;
}

}  // namespace

TEST(SkinnedScrollBar, DrawnInButtonColoursWhileHighContrastIsOnWithArrowsAtTheDpi)
{
    const DrawnBar dark = DrawBar(96);
    const DrawnBar large = DrawBar(144);
    win::OverrideHighContrast(1);
    const DrawnBar contrast = DrawBar(96);
    win::OverrideHighContrast(-1);

    EXPECT_EQ(dark.track, sable::kTrack);
    EXPECT_EQ(dark.thumb, sable::kThumb);
    EXPECT_EQ(dark.arrowFace, sable::kFace);
    EXPECT_EQ(dark.inkPixels, 1 + 3 + 5 + 7) << "a triangle of four rows at 96 DPI";
    EXPECT_EQ(large.inkPixels, 1 + 3 + 5 + 7 + 9 + 11) << "six rows at 144 DPI";
    EXPECT_EQ(contrast.track, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(contrast.arrowFace, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(contrast.thumb, GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(contrast.ink, GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(contrast.inkPixels, dark.inkPixels);
}
