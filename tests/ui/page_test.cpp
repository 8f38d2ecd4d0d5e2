// The page of the main dialog over a real registered catalogue, through the dialog's modal loop:
// what the tabs, the category tree, the buttons and the description pane show.
#include "app/resource_library.h"
#include "catalog/check_session.h"
#include "res/registry_paths.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/ui/main_dialog_fixture.h"
#include "tests/ui/modal_script.h"
#include "tests/ui/tree_reader.h"
#include "ui/description_edit.h"
#include "ui/main_dlg.h"
#include "ui/page_ids.h"
#include "ui/tab_ctrl_main.h"
#include "ui/window_state.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const wchar_t kTreeSelection[] = L"TreeSelectedApp";

std::wstring TextOf(HWND hwnd)
{
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

// Rectangle of `child` in the client coordinates of its parent.
RECT RectInParent(HWND child)
{
    RECT rc{};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

std::string Show(const RECT& rc)
{
    return "(" + std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom) + ")";
}


// Posts a left click at `pt` of `hwnd`.
void PostClick(HWND hwnd, POINT pt)
{
    const LPARAM at = MAKELPARAM(pt.x, pt.y);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

// A click on `item` as the tree reports it (NM_RCLICK, NM_DBLCLK) with the pointer over the
// node; the notification's result.
LRESULT ClickNotify(const Tree& tree, HTREEITEM item, int code)
{
    POINT screen = tree.LabelPoint(item);
    ClientToScreen(tree.hwnd, &screen);
    SetCursorPos(screen.x, screen.y);
    // The display reports pointer moves late: wait until the position has held for a while.
    POINT now{};
    for (int wait = 0, held = 0; wait < 400 && held < 10; ++wait) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        GetCursorPos(&now);
        held = now.x == screen.x && now.y == screen.y ? held + 1 : 0;
        if (held == 0)
            SetCursorPos(screen.x, screen.y);
        Sleep(5);
    }
    EXPECT_EQ(now.x, screen.x);
    EXPECT_EQ(now.y, screen.y);
    NMHDR hdr{tree.hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(tree.hwnd)), static_cast<UINT>(code)};
    return SendMessageW(GetParent(tree.hwnd), WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

void RightClick(const Tree& tree, HTREEITEM item) { ClickNotify(tree, item, NM_RCLICK); }

// A hook of this thread for the life of the object.
class ThreadHook {
public:
    ThreadHook(int kind, HOOKPROC proc) : m_hook(SetWindowsHookExW(kind, proc, nullptr, GetCurrentThreadId())) {}
    ~ThreadHook() { UnhookWindowsHookEx(m_hook); }
    ThreadHook(const ThreadHook&) = delete;
    ThreadHook& operator=(const ThreadHook&) = delete;

private:
    HHOOK m_hook;
};

// Counts Open and Help commands posted to the tab control, and what a tracked menu offered.
struct Observer {
    static Observer* current;
    HWND tab = nullptr;
    int opens = 0;
    int helps = 0;
    int menusShown = 0;
    std::vector<std::wstring> menuTexts;
    std::vector<UINT> menuStates;

    ThreadHook getMessage{WH_GETMESSAGE, &OnGetMessage};
    ThreadHook callWndProc{WH_CALLWNDPROC, &OnCallWndProc};

    explicit Observer(HWND tabCtrl) : tab(tabCtrl) { current = this; }
    ~Observer() { current = nullptr; }

    static LRESULT CALLBACK OnGetMessage(int code, WPARAM wp, LPARAM lp)
    {
        const MSG* msg = reinterpret_cast<const MSG*>(lp);
        if (code == HC_ACTION && wp == PM_REMOVE && msg->hwnd == current->tab && msg->message == WM_COMMAND) {
            if (msg->wParam == page::kOpenButtonId && msg->lParam == 0)
                ++current->opens;
            if (msg->wParam == page::kHelpButtonId && msg->lParam == 0)
                ++current->helps;
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static LRESULT CALLBACK OnCallWndProc(int code, WPARAM wp, LPARAM lp)
    {
        const CWPSTRUCT* msg = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && msg->message == WM_INITMENUPOPUP) {
            HMENU menu = reinterpret_cast<HMENU>(msg->wParam);
            ++current->menusShown;
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                wchar_t text[64] = {};
                MENUITEMINFOW info{};
                info.cbSize = sizeof(info);
                info.fMask = MIIM_STATE | MIIM_STRING | MIIM_ID;
                info.dwTypeData = text;
                info.cch = 64;
                GetMenuItemInfoW(menu, i, TRUE, &info);
                current->menuTexts.push_back(std::to_wstring(info.wID) + L" " + text);
                current->menuStates.push_back(info.fState);
            }
        }
        if (code == HC_ACTION && msg->message == WM_ENTERIDLE && msg->wParam == MSGF_MENU)
            EndMenu();  // seen what it offers: cancel it, as a user pressing Escape
        return CallNextHookEx(nullptr, code, wp, lp);
    }
};
Observer* Observer::current = nullptr;

class Page : public MainDialogFixture {
protected:
    static void Register(const wchar_t* id, const wchar_t* name, int category, const std::wstring& description = L"",
                         bool help = false)
    {
        ASSERT_TRUE(RegisterMinimalApp(id, name, category));
        const std::wstring key = AppKey(id);
        ASSERT_TRUE(description.empty() || SetRegString(HKEY_LOCAL_MACHINE, key, L"Description", description));
        ASSERT_TRUE(!help || SetRegString(HKEY_LOCAL_MACHINE, key, L"HelpPath", L"C:\\help.chm"));
    }

    // Runs a fresh main dialog with `start` and `steps`; the page's windows are found meanwhile.
    void Run(std::vector<ModalScript::Step> steps, StartRequest start = {}) { RunPage(std::move(steps), start, 10000); }
    void OnPageFound() override
    {
        m_page = dynamic_cast<CTabCtrlMain*>(win::Window::FromHandle(m_tab));
        m_treeView = Tree{m_tree};
    }

    int CurrentTab() const { return TabCtrl_GetCurSel(m_tab); }
    std::wstring CurrentTabText() const
    {
        wchar_t text[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        TabCtrl_GetItem(m_tab, CurrentTab(), &item);
        return text;
    }
    bool OpenEnabled() const { return IsWindowEnabled(m_open) != FALSE; }
    bool HelpEnabled() const { return IsWindowEnabled(m_help) != FALSE; }
    static std::wstring StoredTreeSelection() { return LoadSelectedApp(0); }

    // The pane's rectangles for `lines` lines, from its font, as a user measures them.
    RECT PaneRect(int lines) const
    {
        RECT client{};
        GetClientRect(m_tab, &client);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(m_pane, WM_GETFONT, 0, 0)), sizeof(font), &font);
        const int h = std::abs(font.lfHeight) + 2;
        const int top = client.top + 35, bottom = client.top + 92;
        int t = top + (bottom - top - lines * h) / 2, b = t + lines * h;
        return RECT{client.left + 10, std::max(t, top), client.right - 225, std::min(b, bottom)};
    }

    // A mouse click on tab `index` of the strip.
    void ClickTab(int index) const
    {
        RECT rc{};
        TabCtrl_GetItemRect(m_tab, index, &rc);
        PostClick(m_tab, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    }

    CTabCtrlMain* m_page = nullptr;
    Tree m_treeView{};
};

TEST_F(Page, FirstStartShowsCategoriesWithNothingSelected)
{
    Register(L"Mouse", L"Mouse", 3, L"Pointer speed");
    bool treeVisible = false, otherViewsHidden = false, openEnabled = true, helpEnabled = true;
    std::wstring tabText, paneText = L"?";
    RECT pane{}, expected{};
    std::vector<SIZE> tabSizes;
    Run({[&] {
        tabText = CurrentTabText();
        for (int i = 0; i < TabCtrl_GetItemCount(m_tab); ++i) {
            RECT rc{};
            TabCtrl_GetItemRect(m_tab, i, &rc);
            tabSizes.push_back(SIZE{rc.right - rc.left, rc.bottom - rc.top});
        }
        treeVisible = IsWindowVisible(m_treeView.hwnd) != FALSE;
        otherViewsHidden = !IsWindowVisible(GetDlgItem(m_tab, page::kAllListId)) && !IsWindowVisible(GetDlgItem(m_tab, page::kRecentListId));
        openEnabled = OpenEnabled();
        helpEnabled = HelpEnabled();
        paneText = TextOf(m_pane);
        pane = RectInParent(m_pane);
        expected = PaneRect(3);
    }});
    EXPECT_EQ(tabText, L"Categories");
    ASSERT_EQ(tabSizes.size(), 3u);
    for (const SIZE& size : tabSizes)  // every tab 100 x 22, whatever its text
        EXPECT_TRUE(size.cx == 100 && size.cy == 22) << size.cx << " x " << size.cy;
    EXPECT_TRUE(treeVisible);
    EXPECT_TRUE(otherViewsHidden);
    EXPECT_FALSE(openEnabled);
    EXPECT_FALSE(helpEnabled);
    EXPECT_EQ(paneText, L"");
    EXPECT_TRUE(SameRect(pane, expected)) << Show(pane) << " expected " << Show(expected);
}

TEST_F(Page, TreeListsOnlyUsedCategoriesAndSortsEntriesIgnoringCase)
{
    Register(L"B", L"Beta", 3);
    Register(L"O", L"Odd", 11);
    Register(L"A", L"alpha", 3);
    Register(L"N", L"Nameless category", 255);
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, kCatalogKey, L"OSItems", 0));
    std::vector<std::wstring> roots, keyboard, others;
    Run({[&] {
        roots = m_treeView.Texts(m_treeView.Root());
        // A category's applications are there once it is opened.
        for (HTREEITEM root = m_treeView.Root(); root; root = m_treeView.Next(root, TVGN_NEXT))
            TreeView_Expand(m_treeView.hwnd, root, TVE_EXPAND);
        if (roots.size() == 2) {
            keyboard = m_treeView.Texts(m_treeView.Next(m_treeView.Root(), TVGN_CHILD));
            others = m_treeView.Texts(m_treeView.Next(m_treeView.Next(m_treeView.Root(), TVGN_NEXT), TVGN_CHILD));
        }
    }});
    EXPECT_EQ(roots, (std::vector<std::wstring>{L"Keyboard and Mouse", L"Others"}));
    EXPECT_EQ(keyboard, (std::vector<std::wstring>{L"alpha", L"Beta"}));
    EXPECT_EQ(others, (std::vector<std::wstring>{L"Nameless category", L"Odd"}));
}

TEST_F(Page, HiddenEntriesAndUnselectedBuiltInItemsAreLeftOut)
{
    for (const wchar_t* id : {L"E0", L"E1", L"E2", L"E3", L"E4"})
        Register(id, id, 3);
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(L"E2"), L"AppHide", 1));
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, kCatalogKey, L"OSItems", 0x200));  // bit 9: no item
    std::vector<std::wstring> entries;
    int listed = -1;
    Run({[&] {
        entries = m_treeView.Texts(m_treeView.Next(m_treeView.Root(), TVGN_CHILD));
        listed = ListView_GetItemCount(GetDlgItem(m_tab, page::kAllListId));
    }});
    EXPECT_EQ(entries, (std::vector<std::wstring>{L"E0", L"E1", L"E3", L"E4"}));
    EXPECT_EQ(listed, 4);
}

TEST_F(Page, StartRequestAndSavedTabChooseTheFirstTab)
{
    Register(L"Mouse", L"Mouse", 3, L"Pointer speed");
    Register(L"Keys", L"Keys", 3);
    struct Case {
        const char* what;
        StartRequest start;
        int savedTab;  // -1: no window state
        const wchar_t* tab;
        const wchar_t* pane;  // null: not looked at
    } cases[] = {
        {"id with tab 0", {L"Mouse", 0}, 2, L"Categories", L"Pointer speed"},
        {"id alone", {L"Mouse", -1}, 2, L"List", L"Pointer speed"},
        {"id and tab 2", {L"Mouse", 2}, 0, L"Recent Settings", L""},
        {"saved tab 2", {L"", -1}, 2, L"Recent Settings", L""},
        {"saved tab 5", {L"", -1}, 5, L"Categories", L""},
        {"tab 7 asked, saved tab 1", {L"Mouse", 7}, 1, L"List", nullptr},
    };
    for (const Case& c : cases) {
        RegDeleteKeyW(HKEY_CURRENT_USER, kWindowStateKeyPath);
        ASSERT_TRUE(c.savedTab < 0 || SetRegDword(HKEY_CURRENT_USER, kWindowStateKeyPath, L"ActiveTabId", c.savedTab));
        std::wstring tab, selected, pane;
        bool expanded = false, open = false;
        int image = -1;
        Run({[&] {
                tab = CurrentTabText();
                if (HTREEITEM node = m_treeView.Selected()) {
                    selected = m_treeView.Text(node);
                    HTREEITEM category = m_treeView.Next(node, TVGN_PARENT);
                    expanded = m_treeView.Expanded(category);
                    image = m_treeView.Image(category);
                }
                pane = TextOf(m_pane);
                open = OpenEnabled();
            }},
            c.start);
        EXPECT_EQ(tab, c.tab) << c.what;
        EXPECT_EQ(pane, c.pane ? c.pane : pane) << c.what;
        if (c.start.tab == 0) {
            EXPECT_EQ(selected, L"Mouse") << c.what;
            EXPECT_TRUE(expanded) << c.what;
            EXPECT_EQ(image, 5) << c.what << ": open-folder image";
            EXPECT_TRUE(open) << c.what;
        }
    }
}

TEST_F(Page, OnlyAMouseTabSwitchIsSaved)
{
    Register(L"Mouse", L"Mouse", 3);
    int afterClick = -1, afterSelectTab = -1, shownAfterSelectTab = -1;
    Run({
        [&] { ClickTab(1); },
        [&] {
            LoadActiveTabId(afterClick);
            m_page->SelectTab(2);
        },
        [&] {
            LoadActiveTabId(afterSelectTab);
            shownAfterSelectTab = CurrentTab();
        },
    });
    EXPECT_EQ(afterClick, 1);
    EXPECT_EQ(shownAfterSelectTab, 2);
    EXPECT_EQ(afterSelectTab, 1);
}

TEST_F(Page, SwitchingTabsClearsThePaneAndButtonsUnlessTheNewViewHasASelection)
{
    Register(L"Mouse", L"Mouse", 3, L"Pointer speed");
    Register(L"Keys", L"Keys", 3, L"Repeat rate", true);
    struct Seen {
        std::wstring pane;
        bool open, help;
    };
    std::vector<Seen> seen;
    auto look = [&] { seen.push_back({TextOf(m_pane), OpenEnabled(), HelpEnabled()}); };
    Run({
            look,                    // Mouse selected by the request: no help
            [&] { ClickTab(2); },    // the recent view, empty: nothing selected
            look,
            [&] { ClickTab(0); },    // back to the tree, which still has Mouse
            look,
            [&] { TreeView_SelectItem(m_treeView.hwnd, m_treeView.Find(L"Keys")); },
            look,
        },
        StartRequest{L"Mouse", 0});
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].pane, L"Pointer speed");
    EXPECT_TRUE(seen[0].open);
    EXPECT_FALSE(seen[0].help) << "no help path";
    EXPECT_EQ(seen[1].pane, L"");
    EXPECT_FALSE(seen[1].open);
    EXPECT_FALSE(seen[1].help);
    EXPECT_EQ(seen[2].pane, L"Pointer speed");
    EXPECT_TRUE(seen[2].open);
    EXPECT_FALSE(seen[2].help);
    EXPECT_EQ(seen[3].pane, L"Repeat rate");
    EXPECT_TRUE(seen[3].open);
    EXPECT_TRUE(seen[3].help);
}

TEST_F(Page, RightClickSelectsACategoryWithoutMenuAndOffersOpenAndHelpOnAnEntry)
{
    Register(L"Mouse", L"Mouse", 3, L"Pointer speed");
    std::unique_ptr<Observer> observer;
    std::wstring storedBefore, storedAfterCategory, selectedAfterCategory, paneAfterCategory = L"?",
                                                                           selectedAfterEntry;
    int menusAfterCategory = -1;
    Run({
            [&] {
                observer = std::make_unique<Observer>(m_tab);
                storedBefore = StoredTreeSelection();
                RightClick(m_treeView, m_treeView.Find(L"Keyboard and Mouse"));
            },
            [&] {
                storedAfterCategory = StoredTreeSelection();
                selectedAfterCategory = m_treeView.Text(m_treeView.Selected());
                paneAfterCategory = TextOf(m_pane);
                menusAfterCategory = observer->menusShown;
                RightClick(m_treeView, m_treeView.Find(L"Mouse"));
            },
            [&] { selectedAfterEntry = m_treeView.Text(m_treeView.Selected()); },
        },
        StartRequest{L"Mouse", 0});
    EXPECT_EQ(storedBefore, L"Mouse");
    EXPECT_EQ(selectedAfterCategory, L"Keyboard and Mouse");
    EXPECT_EQ(storedAfterCategory, L"");
    EXPECT_EQ(paneAfterCategory, L"");
    EXPECT_EQ(menusAfterCategory, 0);
    EXPECT_EQ(selectedAfterEntry, L"Mouse");
    ASSERT_TRUE(observer);
    EXPECT_EQ(observer->menusShown, 1);
    EXPECT_EQ(observer->menuTexts, (std::vector<std::wstring>{L"57000 &Open", L"57001 &Help"}));
    ASSERT_EQ(observer->menuStates.size(), 2u);
    EXPECT_TRUE(observer->menuStates[0] & MFS_DEFAULT);
    EXPECT_FALSE(observer->menuStates[0] & MFS_GRAYED);
    EXPECT_TRUE(observer->menuStates[1] & MFS_GRAYED);
    EXPECT_EQ(observer->opens + observer->helps, 0) << "a cancelled menu opens nothing";
}

TEST_F(Page, DoubleClickOpensAnEntryOnceAndLeavesACategoryToTheControl)
{
    Register(L"Mouse", L"Mouse", 3);
    std::unique_ptr<Observer> observer;
    int opensAfterEntry = -1, opensAfterCategory = -1;
    LRESULT entryResult = -1, categoryResult = -1;
    Run({
            [&] {
                observer = std::make_unique<Observer>(m_tab);
                entryResult = ClickNotify(m_treeView, m_treeView.Find(L"Mouse"), NM_DBLCLK);
            },
            [&] {
                opensAfterEntry = observer->opens;
                categoryResult = ClickNotify(m_treeView, m_treeView.Find(L"Keyboard and Mouse"), NM_DBLCLK);
            },
            [&] { opensAfterCategory = observer->opens - opensAfterEntry; },
        },
        StartRequest{L"Mouse", 0});
    EXPECT_EQ(opensAfterEntry, 1);
    EXPECT_EQ(opensAfterCategory, 0);
    EXPECT_EQ(entryResult, 0);
    EXPECT_EQ(categoryResult, 0) << "the control still opens or closes the category";
}

TEST_F(Page, ExpandingAnotherCategoryKeepsTheSelectionButForgetsTheStoredOne)
{
    Register(L"Mouse", L"Mouse", 3);
    Register(L"Wallpaper", L"Wallpaper", 5);
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kWindowStateKeyPath, kTreeSelection, L"Mouse"));
    std::wstring storedBefore, selectedAfter, storedAfter = L"?";
    int imageAfter = -1;
    Run({
        [&] {
            storedBefore = StoredTreeSelection();
            PostClick(m_treeView.hwnd, m_treeView.ButtonPoint(m_treeView.Find(L"Display")));
        },
        [&] {
            selectedAfter = m_treeView.Text(m_treeView.Selected());
            storedAfter = StoredTreeSelection();
            imageAfter = m_treeView.Image(m_treeView.Find(L"Display"));
        },
    });
    EXPECT_EQ(storedBefore, L"Mouse") << "restored from the stored selection";
    EXPECT_EQ(selectedAfter, L"Mouse");
    EXPECT_EQ(imageAfter, 5);
    EXPECT_EQ(storedAfter, L"");
}

TEST(DescriptionPane, LineRectanglesCentreInTheBandAndStayInsideIt)
{
    ASSERT_TRUE(LoadResourceLibrary());  // line spacing "2"
    struct Case {
        int font;
        RECT one, two, three;
    } cases[] = {
        {11, {10, 57, 400, 70}, {10, 50, 400, 76}, {10, 44, 400, 83}},
        {30, {10, 47, 400, 79}, {10, 35, 400, 92}, {10, 35, 400, 92}},
    };
    for (const Case& c : cases) {
        CDescriptionEdit pane;
        pane.m_rcThreeLines = RECT{10, 35, 400, 92};
        pane.CalcLineRects(c.font);
        EXPECT_TRUE(SameRect(pane.m_rcOneLine, c.one)) << c.font << Show(pane.m_rcOneLine);
        EXPECT_TRUE(SameRect(pane.m_rcTwoLines, c.two)) << c.font << Show(pane.m_rcTwoLines);
        EXPECT_TRUE(SameRect(pane.m_rcThreeLines, c.three)) << c.font << Show(pane.m_rcThreeLines);
    }
}

TEST_F(Page, PaneFollowsTheSelectedDescription)
{
    Register(L"A", L"A", 3, L"Pointer speed");
    Register(L"B", L"B", 3);
    Register(L"C", L"C", 3, L"one\\ntwo\\nthree\\nfour");  // the catalogue writes line breaks as "\n"
    Register(L"E", L"E", 3, L"one\\ntwo");
    struct Seen {
        std::wstring text;
        RECT rect;
    };
    std::vector<Seen> seen;
    RECT one{}, two{}, three{};
    std::wstring afterCaseOnly, afterOther;
    auto select = [&](const wchar_t* name) {
        return [&, name] {
            TreeView_SelectItem(m_treeView.hwnd, m_treeView.Find(name));
            seen.push_back({TextOf(m_pane), RectInParent(m_pane)});
        };
    };
    Run({
        [&] {
            one = PaneRect(1);
            two = PaneRect(2);
            three = PaneRect(3);
        },
        select(L"B"),  // empty, as at start: stays at three lines
        select(L"A"),
        [&] {  // a text that differs only in case keeps the first one
            auto* pane = dynamic_cast<CDescriptionEdit*>(win::Window::FromHandle(m_pane));
            ASSERT_NE(pane, nullptr);
            CAppInfo shouting, other;
            shouting.m_strDescription = L"POINTER SPEED";
            other.m_strDescription = L"Pointer";
            pane->SetApp(&shouting);
            afterCaseOnly = TextOf(m_pane);
            pane->SetApp(&other);
            afterOther = TextOf(m_pane);
        },
        select(L"B"),  // empty after a text: one line
        select(L"C"),  // four lines: three-line rectangle
        select(L"E"),
    });
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].text, L"");
    EXPECT_TRUE(SameRect(seen[0].rect, three)) << Show(seen[0].rect);
    EXPECT_EQ(seen[1].text, L"Pointer speed");
    EXPECT_TRUE(SameRect(seen[1].rect, one)) << Show(seen[1].rect);
    EXPECT_EQ(afterCaseOnly, L"Pointer speed");
    EXPECT_EQ(afterOther, L"Pointer");
    EXPECT_EQ(seen[2].text, L"");
    EXPECT_TRUE(SameRect(seen[2].rect, one)) << Show(seen[2].rect);
    EXPECT_EQ(seen[3].text, L"one\r\ntwo\r\nthree\r\nfour");
    EXPECT_TRUE(SameRect(seen[3].rect, three)) << Show(seen[3].rect);
    EXPECT_TRUE(SameRect(seen[4].rect, two)) << Show(seen[4].rect);
}

// Holds Ctrl and C down, or lets them go, in this thread's key state.
void HoldCtrlC(bool down)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = keys['C'] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

TEST_F(Page, PaneSwallowsCtrlCAndTabLeavesItForTheStrip)
{
    Register(L"Mouse", L"Mouse", 3, L"Pointer speed");
    bool swallowedCtrlC = false, swallowedPlainC = true;
    HWND focusAfterTab = nullptr;
    Run({
            [&] {
                auto* pane = dynamic_cast<CDescriptionEdit*>(win::Window::FromHandle(m_pane));
                ASSERT_NE(pane, nullptr);
                MSG keyC{m_pane, WM_KEYDOWN, 'C', 1, 0, {}};
                HoldCtrlC(true);
                swallowedCtrlC = pane->PreTranslateMessage(&keyC);
                HoldCtrlC(false);
                swallowedPlainC = pane->PreTranslateMessage(&keyC);
                SetFocus(m_pane);
                PostMessageW(m_pane, WM_KEYDOWN, VK_TAB, 1);
            },
            [&] { focusAfterTab = GetFocus(); },
        },
        StartRequest{L"Mouse", 0});
    EXPECT_TRUE(swallowedCtrlC) << "the pane never sees Ctrl+C, so it copies nothing";
    EXPECT_FALSE(swallowedPlainC);
    EXPECT_EQ(focusAfterTab, m_tab) << "Tab in the pane goes to the tab strip";
}

// The region each window is asked to paint while the dialog is resized.
struct PaintRecorder {
    static PaintRecorder* current;
    HWND tab, tree;
    RECT tabPainted{}, treePainted{};
    int tabPaints = 0, treePaints = 0;

    ThreadHook before{WH_CALLWNDPROC, &OnCall};
    ThreadHook after{WH_CALLWNDPROCRET, &OnReturn};

    PaintRecorder(HWND t, HWND v) : tab(t), tree(v) { current = this; }
    ~PaintRecorder() { current = nullptr; }
    // The controls invalidate themselves when resized; drop that so only the page's own
    // repainting is left to see.
    static LRESULT CALLBACK OnReturn(int code, WPARAM wp, LPARAM lp)
    {
        const CWPRETSTRUCT* msg = reinterpret_cast<const CWPRETSTRUCT*>(lp);
        if (code == HC_ACTION && (msg->message == WM_SIZE || msg->message == WM_WINDOWPOSCHANGED) &&
            (msg->hwnd == current->tab || msg->hwnd == current->tree))
            ValidateRect(msg->hwnd, nullptr);
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static LRESULT CALLBACK OnCall(int code, WPARAM wp, LPARAM lp)
    {
        const CWPSTRUCT* msg = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && msg->message == WM_PAINT) {
            RECT box{};
            GetUpdateRect(msg->hwnd, &box, FALSE);
            if (msg->hwnd == current->tab && current->tabPaints++ == 0)
                current->tabPainted = box;
            if (msg->hwnd == current->tree && current->treePaints++ == 0)
                current->treePainted = box;
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
};
PaintRecorder* PaintRecorder::current = nullptr;

TEST_F(Page, ResizingRepaintsTheBottomStripsAtOnce)
{
    Register(L"Mouse", L"Mouse", 3);
    RECT tabClient{}, treeClient{}, tabGrown{}, treeGrown{}, tabShrunk{};
    int treePaintsShrinking = -1;
    Run({[&] {
        RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT rc{};
        GetWindowRect(m_hwnd, &rc);
        {
            PaintRecorder recorder(m_tab, m_treeView.hwnd);
            SetWindowPos(m_hwnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top + 50,
                         SWP_NOMOVE | SWP_NOZORDER);
            tabGrown = recorder.tabPainted;
            treeGrown = recorder.treePainted;
        }
        GetClientRect(m_tab, &tabClient);
        GetClientRect(m_treeView.hwnd, &treeClient);
        RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        {
            PaintRecorder recorder(m_tab, m_treeView.hwnd);
            SetWindowPos(m_hwnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top + 20,
                         SWP_NOMOVE | SWP_NOZORDER);
            tabShrunk = recorder.tabPainted;
            treePaintsShrinking = recorder.treePaints;
        }
    }});
    const RECT tabStrip{tabClient.left, tabClient.bottom - 51, tabClient.right, tabClient.bottom};
    const RECT treeStrip{treeClient.left, treeClient.bottom - 50, treeClient.right, treeClient.bottom};
    EXPECT_TRUE(SameRect(tabGrown, tabStrip)) << Show(tabGrown) << " expected " << Show(tabStrip);
    EXPECT_TRUE(SameRect(treeGrown, treeStrip)) << Show(treeGrown) << " expected " << Show(treeStrip);
    const RECT bottomRow{tabClient.left, tabClient.bottom - 30 - 1, tabClient.right, tabClient.bottom - 30};
    EXPECT_TRUE(SameRect(tabShrunk, bottomRow)) << Show(tabShrunk) << " expected " << Show(bottomRow);
    EXPECT_EQ(treePaintsShrinking, 0);
}

}  // namespace

TEST_F(Page, ChecksThatCrashHangOrEndTheirProcessCostOnlyTheirEntries)
{
    CheckRecordsInSandbox records(m_sandbox);
    const std::wstring good = FixturePath(L"check_fixture.dll") + L",CheckCdecl,1";
    const std::wstring faulty = FixturePath(L"faulty_checks.dll");
    const std::pair<const wchar_t*, std::wstring> entries[] = {
        {L"Crash", faulty + L",CrashNull,1"}, {L"Good1", good},         {L"Hang", faulty + L",SleepLong,1"},
        {L"Good2", good},                     {L"Exit", faulty + L",EndProcess,0"},
    };
    for (const auto& entry : entries) {
        Register(entry.first, entry.first, 3);
        ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(entry.first), L"AppCheck", 1));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(entry.first), L"AppCheckFunc", entry.second));
    }
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, kCatalogKey, L"OSItems", 0));
    CheckSession checks(3000);  // the page's build uses it: a shorter wait for the hanging check
    std::vector<std::wstring> roots, listed;
    Run({[&] {
        roots = m_treeView.Texts(m_treeView.Root());
        if (!roots.empty())
            listed = m_treeView.Texts(m_treeView.Next(m_treeView.Root(), TVGN_CHILD));
    }});
    EXPECT_EQ(roots, std::vector<std::wstring>{L"Keyboard and Mouse"});
    EXPECT_EQ(listed, (std::vector<std::wstring>{L"Good1", L"Good2"}));
    EXPECT_EQ(CheckCalls(L"CheckCdecl"), 2u);
}
