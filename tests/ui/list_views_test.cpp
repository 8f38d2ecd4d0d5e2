// The all-applications list and the recent list over a registered catalogue, in a test dialog that
// stands in for the tab control: what they list, what they select, what they tell their owner,
// and what a user's clicks and keys make them do.
#include "app/resource_library.h"
#include "catalog/app_info.h"
#include "recent/recent_app_list.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/catalog/icon_probe.h"
#include "tests/ui/memory_template.h"
#include "tests/ui/modal_script.h"
#include "ui/category_tree.h"
#include "ui/list_ctrl_all.h"
#include "ui/list_ctrl_recent.h"
#include "ui/page_ids.h"
#include "ui/page_layout.h"
#include "ui/page_view.h"
#include "ui/start_request.h"
#include "win/dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The page's stand-in: records what the views report and the commands posted to it.
class OwnerDialog : public win::Dialog, public IViewOwner {
public:
    OwnerDialog()
        : win::Dialog(0, nullptr),
          m_template(MakeDialogTemplate(L"List views", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 300, 200))
    {
        SetTemplateIndirect(reinterpret_cast<const DLGTEMPLATE*>(m_template.data()));
    }

    void OnSelectionChanged(CAppInfo* entry) override { reports.push_back(entry); }
    void OnEntryCommand(EntryCommand command, CAppInfo* entry) override
    {
        if (command == EntryCommand::Open) {
            ++opens;
            opened.push_back(entry);
        }
    }

    std::vector<CAppInfo*> reports;
    int opens = 0;
    std::vector<CAppInfo*> opened;  // the entry each Open was asked for
    int oks = 0;  // Enter that no view consumed reaches the dialog as IDOK
    int imageRequests = 0;  // a view asked its owner for an image (TVN_GETDISPINFO)

protected:
    void OnOK() override { ++oks; }
    bool OnNotify(NMHDR* hdr, LRESULT& result) override
    {
        if (hdr->code == TVN_GETDISPINFOW)
            ++imageRequests;
        return win::Dialog::OnNotify(hdr, result);
    }

private:
    std::vector<WORD> m_template;
};

// Dispatches this thread's messages until `done` holds or `ms` have passed (idle waits included).
void PumpUntil(const std::function<bool()>& done, DWORD ms = 2000)
{
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

void SendKey(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(INPUT));
}

// Presses and releases a mouse button `times` times at a point of `list` (client coordinates).
// Every event carries its position, so none can land where the pointer was before.
void Click(HWND list, POINT client, DWORD down, DWORD up, int times = 1)
{
    ClientToScreen(list, &client);
    const LONG x = MulDiv(client.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    const LONG y = MulDiv(client.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    std::vector<INPUT> inputs;
    for (int i = 0; i < times; ++i) {
        for (DWORD button : {down, up}) {
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dx = x;
            input.mi.dy = y;
            input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
            inputs.push_back(input);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

int RowOf(const win::ListCtrl& list, const CAppInfo* entry)
{
    for (int i = 0; i < list.GetItemCount(); ++i)
        if (reinterpret_cast<CAppInfo*>(list.GetItemData(i)) == entry)
            return i;
    return -1;
}

POINT IconCentre(const win::ListCtrl& list, int item)
{
    RECT rc{};
    list.GetItemRect(item, rc, LVIR_ICON);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// Below every item: the list is tall enough for three rows of icons.
POINT EmptySpace(const win::ListCtrl& list)
{
    RECT client = list.GetClientRect();
    return POINT{client.right - 10, client.bottom - 10};
}

// Counts the popup menus that open while it lives, and closes each at once.
int* g_menusShown = nullptr;

LRESULT CALLBACK CountMenu(int code, WPARAM wp, LPARAM lp)
{
    if (code == HC_ACTION && g_menusShown && reinterpret_cast<CWPSTRUCT*>(lp)->message == WM_INITMENUPOPUP)
        ++*g_menusShown;
    return CallNextHookEx(nullptr, code, wp, lp);
}

// The window whose menu's Open is chosen (null: the menu is dismissed without a choice).
HWND g_chooseOpenFor = nullptr;

LRESULT CALLBACK DismissMenu(int code, WPARAM wp, LPARAM lp)
{
    if (code == MSGF_MENU) {
        EndMenu();
        if (g_chooseOpenFor)  // what the menu sends its owner when Open is chosen
            PostMessageW(std::exchange(g_chooseOpenFor, nullptr), WM_COMMAND, page::kMenuOpenCommand, 0);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

class MenuWatcher {
public:
    explicit MenuWatcher(int& shown, HWND chooseOpenFor = nullptr)
    {
        g_chooseOpenFor = chooseOpenFor;
        g_menusShown = &shown;
        m_call = SetWindowsHookExW(WH_CALLWNDPROC, &CountMenu, nullptr, GetCurrentThreadId());
        m_filter = SetWindowsHookExW(WH_MSGFILTER, &DismissMenu, nullptr, GetCurrentThreadId());
    }
    ~MenuWatcher()
    {
        UnhookWindowsHookEx(m_call);
        UnhookWindowsHookEx(m_filter);
        g_menusShown = nullptr;
    }
    MenuWatcher(const MenuWatcher&) = delete;
    MenuWatcher& operator=(const MenuWatcher&) = delete;

private:
    HHOOK m_call = nullptr;
    HHOOK m_filter = nullptr;
};

// One catalogue entry to register: its id, its name and the fixture icon file it shows.
struct Registration {
    std::wstring id;
    std::wstring name;
    const wchar_t* icon = L"fixture.ico";
};

class ListViews : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(LoadResourceLibrary()); }
    void SetUp() override { ASSERT_TRUE(m_sandbox.ok()); }

    // Registers and loads entries in this catalogue order.
    void Catalogue(const std::vector<Registration>& entries)
    {
        for (const auto& [id, name, icon] : entries) {
            ASSERT_TRUE(RegisterMinimalApp(id, name));
            ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"IconPath", FixturePath(icon)));
            auto entry = std::make_unique<CAppInfo>();
            ASSERT_EQ(entry->LoadRegisteredApp(id), 1) << id.c_str();
            m_catalogue.push_back(std::move(entry));
        }
    }
    CAppInfo* Entry(const std::wstring& id) const
    {
        for (const auto& entry : m_catalogue)
            if (entry->m_strId == id)
                return entry.get();
        return nullptr;
    }
    // An empty id removes the value.
    void StoreSelection(const wchar_t* value, const std::wstring& id)
    {
        if (id.empty())
            SHDeleteValueW(HKEY_CURRENT_USER, kWindowStateKeyPath, value);
        else
            ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kWindowStateKeyPath, value, id));
    }

    // Runs the owner dialog; `steps` run in its modal loop, the first right after it opened.
    void Run(std::vector<ModalScript::Step> steps)
    {
        steps.push_back([this] { m_owner.EndDialog(IDCANCEL); });
        ModalScript script(std::move(steps), 20000);
        m_owner.DoModal();
        EXPECT_TRUE(script.AllStepsRan());
        EXPECT_FALSE(script.TimedOut());
    }
    // What the page gives a view: this catalogue and recent list, `start`, the stand-in as owner.
    ViewContext Context(const StartRequest& start = {}) { return ViewContext{&m_owner, &m_owner, &m_catalogue, &m_recent, start, win::DpiScale()}; }
    // Where the page puts a view in the stand-in's client area.
    RECT Placement() const { return page::LayoutOf(m_owner.GetClientRect()).view; }

    static std::vector<std::wstring> Labels(const win::ListCtrl& list)
    {
        std::vector<std::wstring> labels;
        for (int i = 0; i < list.GetItemCount(); ++i)
            labels.push_back(list.GetItemText(i));
        return labels;
    }
    // Every item shows its own entry's icon: the colour of its image list slot is the file's.
    static void ExpectOwnIcons(const win::ListCtrl& list)
    {
        HIMAGELIST images = reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
        for (int i = 0; i < list.GetItemCount(); ++i) {
            LVITEMW item{};
            item.mask = LVIF_IMAGE;
            item.iItem = i;
            list.SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            if (item.iImage < 0)
                continue;  // a row without an icon shows none
            HICON icon = ImageList_GetIcon(images, item.iImage, ILD_NORMAL);
            const IconFacts shown = Inspect(icon);
            DestroyIcon(icon);
            const auto* entry = reinterpret_cast<CAppInfo*>(list.GetItemData(i));
            const IconFacts own = InspectIconFile(entry->m_strIconPath, 32);
            ASSERT_TRUE(shown.ok && own.ok) << i;
            EXPECT_EQ(shown.width, 32);
            EXPECT_EQ(RGB(shown.red, shown.green, shown.blue), RGB(own.red, own.green, own.blue))
                << "item " << i << " image " << item.iImage;
        }
    }
    static std::vector<int> Selected(const win::ListCtrl& list)
    {
        std::vector<int> items;
        for (int i = list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = list.GetNextItem(i, LVNI_SELECTED))
            items.push_back(i);
        return items;
    }

    RegistrySandbox m_sandbox;
    CAppList m_catalogue;
    OwnerDialog m_owner;
    std::int32_t m_clock = 1000;
    CRecentAppList m_recent{RecentListSeams{[this] { return ++m_clock; }, nullptr}};
};

const std::vector<Registration> kThree = {
    {L"GammaId", L"gamma"}, {L"BetaId", L"Beta"}, {L"AlphaId", L"alpha"}};

TEST_F(ListViews, AllListSortsIgnoringCaseAndRestoresTheRequestedOrStoredEntry)
{
    Catalogue(kThree);
    struct Case {
        StartRequest start;
        const wchar_t* stored;    // "AllSelectedApp"; empty: none
        const wchar_t* expected;  // selected entry after filling
    } cases[] = {
        {{L"", -1}, L"", L"AlphaId"},             // nothing asked or stored: the first item
        {{L"BetaId", -1}, L"GammaId", L"BetaId"},  // a request without a tab is this list's
        {{L"BetaId", 1}, L"GammaId", L"BetaId"},
        {{L"BetaId", 0}, L"GammaId", L"GammaId"},  // another view's request: the stored entry
        {{L"BetaId", 2}, L"GammaId", L"GammaId"},
        {{L"", 1}, L"GammaId", L"GammaId"},
        {{L"betaid", -1}, L"", L"AlphaId"},        // exact comparisons: no match, the first item
        {{L"", -1}, L"GAMMAID", L"AlphaId"},
    };
    Run({[&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.start.name.c_str() << " tab " << c.start.tab);
            StoreSelection(L"AllSelectedApp", c.stored);
            m_owner.reports.clear();
            CListCtrlAll list;
            ASSERT_TRUE(list.InitView(Context(c.start), Placement()));
            EXPECT_EQ(Labels(list), (std::vector<std::wstring>{L"\r\nalpha", L"\r\nBeta", L"\r\ngamma"}));
            EXPECT_FALSE(list.IsWindowVisible());
            EXPECT_EQ(GetFocus(), list.GetSafeHwnd());
            ASSERT_EQ(Selected(list).size(), 1u);
            const int selected = Selected(list)[0];
            EXPECT_EQ(reinterpret_cast<CAppInfo*>(list.GetItemData(selected)), Entry(c.expected));
            EXPECT_TRUE(list.GetItemState(selected, LVIS_FOCUSED));
            EXPECT_TRUE(m_owner.reports.empty()) << "filling tells the owner nothing";

            list.ShowView(true);
            EXPECT_TRUE(list.IsWindowVisible());
            EXPECT_EQ(m_owner.reports, (std::vector<CAppInfo*>{Entry(c.expected)})) << "showing reports it";
            UpdateWindow(list);  // the rows drawn make their icons
            list.ShowView(false);
            EXPECT_FALSE(list.IsWindowVisible());

            // The view's image list outlives the control's window: the view alone destroys it.
            HIMAGELIST images = reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
            list.DestroyWindow();
            EXPECT_EQ(ImageList_GetImageCount(images), 3);
        }
    }});
}

TEST_F(ListViews, TreeAndListShowEqualNamesInOneOrder)
{
    // Names equal but for case, and equal names: by name ignoring case, then by name, then by
    // id, whatever the catalogue order, in the tree as in the list.
    Catalogue({{L"S1", L"Same"}, {L"Z", L"Zed"}, {L"S2", L"same"}, {L"S3", L"Same"}, {L"A", L"alpha"},
               {L"N10", L"10"}, {L"N9", L"9"}, {L"S0", L"Same"}, {L"B", L"beta"}});
    const std::vector<std::wstring> expected{L"N10", L"N9", L"A", L"B", L"S2", L"S0", L"S1", L"S3", L"Z"};
    std::vector<std::wstring> listed, tree;
    Run({[&] {
        CListCtrlAll list;
        ASSERT_TRUE(list.InitView(Context(), Placement()));
        for (int i = 0; i < list.GetItemCount(); ++i)
            listed.push_back(reinterpret_cast<CAppInfo*>(list.GetItemData(i))->m_strId);
        CTreeCtrlCategory categories;
        ASSERT_TRUE(categories.InitView(Context(), Placement()));
        ASSERT_NE(categories.GetRootItem(), nullptr);
        for (HTREEITEM node = categories.GetChildItem(categories.GetRootItem()); node;
             node = categories.GetNextSiblingItem(node))
            tree.push_back(reinterpret_cast<CAppInfo*>(categories.GetItemData(node))->m_strId);
    }});
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(tree, expected);
}

TEST_F(ListViews, ReportsWhatStaysSelectedAndActsOnTheRowsTheUserMeans)
{
    Catalogue(kThree);  // rows: alpha, Beta, gamma
    enum class Act { Click, CtrlClick, RightClickOpen, ClickEmpty };
    struct Case {
        const char* what;
        std::vector<std::pair<Act, int>> acts;  // with the row they act on
        const wchar_t* lastReport;              // null: none
        std::vector<int> selected;
        const wchar_t* enterOpens;              // the entry Enter (or the menu) asks to open
    } cases[] = {
        {"Ctrl+click Beta twice", {{Act::Click, 0}, {Act::CtrlClick, 1}, {Act::CtrlClick, 1}}, L"AlphaId", {0},
         L"AlphaId"},
        {"Ctrl+click alpha off", {{Act::Click, 0}, {Act::CtrlClick, 1}, {Act::CtrlClick, 0}}, L"BetaId", {1},
         L"BetaId"},
        {"menu of a row selected among others", {{Act::Click, 0}, {Act::CtrlClick, 2}, {Act::RightClickOpen, 0}},
         L"AlphaId", {0, 2}, L"AlphaId"},
        {"click on empty space", {{Act::Click, 0}, {Act::CtrlClick, 1}, {Act::ClickEmpty, -1}}, nullptr, {}, nullptr},
    };
    Run({[&] {
        SetForegroundWindow(m_owner);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            CListCtrlAll list;
            ASSERT_TRUE(list.InitView(Context(), Placement()));
            list.ShowView(true);
            m_owner.reports.clear();
            m_owner.opened.clear();
            for (const auto& [act, row] : c.acts) {
                const size_t before = m_owner.reports.size();
                const POINT at = row >= 0 ? IconCentre(list, row) : EmptySpace(list);
                int menus = 0;
                if (act == Act::RightClickOpen) {
                    MenuWatcher watcher(menus, list.GetSafeHwnd());
                    Click(list, at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
                    PumpUntil([&] { return !m_owner.opened.empty(); });
                } else {
                    SendKey(VK_CONTROL, act != Act::CtrlClick);
                    Click(list, at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
                    SendKey(VK_CONTROL, true);
                    PumpUntil([&] { return m_owner.reports.size() > before; }, 500);  // none for a row selected already
                }
                PumpFor(GetDoubleClickTime() + 100);  // clicks, not double-clicks
            }
            ASSERT_FALSE(m_owner.reports.empty());
            EXPECT_EQ(m_owner.reports.back(), c.lastReport ? Entry(c.lastReport) : nullptr);
            EXPECT_EQ(Selected(list), c.selected);
            if (m_owner.opened.empty()) {  // Enter asks for the entry the page was told of
                MSG enter{list.GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
                EXPECT_EQ(list.PreTranslateMessage(&enter), c.enterOpens != nullptr);
            }
            EXPECT_EQ(m_owner.opened, c.enterOpens ? std::vector<CAppInfo*>{Entry(c.enterOpens)}
                                                   : std::vector<CAppInfo*>{});
        }
    }});
    // Through the dialog's loop: Enter with nothing selected goes on to the dialog.
    CListCtrlAll list;
    Run({
        [&] {
            ASSERT_TRUE(list.InitView(Context(), Placement()));
            list.ShowView(true);
            list.SelectItem(-1);
            m_owner.opened.clear();
            list.SetFocus();
            list.PostMessage(WM_KEYDOWN, VK_RETURN, 1);
        },
        [&] {
            PumpFor(100);
            EXPECT_TRUE(m_owner.opened.empty()) << "Enter with nothing selected opens nothing";
            EXPECT_EQ(m_owner.oks, 1) << "and goes on to the dialog";
        },
    });
}

TEST_F(ListViews, DoubleAndRightClicksActOnlyOnAnItem)
{
    Catalogue(kThree);
    CListCtrlAll list;
    int menusOnItem = 0, menusOnEmpty = 0;
    int opensOnItem = 0, opensOnEmpty = 0;
    Run({[&] {
        ASSERT_TRUE(list.InitView(Context(), Placement()));
        list.ShowView(true);
        SetForegroundWindow(m_owner);
        const auto doubleClick = [&](POINT at) {
            const int before = m_owner.opens;
            Click(list, at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2);
            PumpUntil([&] { return m_owner.opens > before; }, 600);
            PumpFor(GetDoubleClickTime() + 100);  // the next click starts afresh
            return m_owner.opens - before;
        };
        opensOnItem = doubleClick(IconCentre(list, 2));
        opensOnEmpty = doubleClick(EmptySpace(list));

        const auto rightClick = [&](POINT at, int& shown) {
            MenuWatcher watcher(shown);
            Click(list, at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
            PumpUntil([&] { return shown > 0; }, 600);
            PumpFor(100);
        };
        rightClick(IconCentre(list, 1), menusOnItem);
        rightClick(EmptySpace(list), menusOnEmpty);
        PumpFor(100);
    }});
    EXPECT_EQ(opensOnItem, 1);
    EXPECT_EQ(opensOnEmpty, 0);
    EXPECT_EQ(menusOnItem, 1) << "an item's menu";
    EXPECT_EQ(menusOnEmpty, 0) << "no menu on empty space";
    EXPECT_EQ(m_owner.opens, 1) << "choosing nothing from the menu opens nothing";
}

BOOL CALLBACK FindShownTip(HWND window, LPARAM found)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (IsWindowVisible(window) && lstrcmpiW(name, TOOLTIPS_CLASSW) == 0)
        *reinterpret_cast<HWND*>(found) = window;
    return *reinterpret_cast<HWND*>(found) ? FALSE : TRUE;
}

// The tooltip this thread shows, or null.
HWND ShownTip()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindShownTip, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Moves the pointer onto a point of `list` (client coordinates), a few pixels at a time.
void Hover(HWND list, POINT client)
{
    for (int step = 3; step >= 0; --step) {
        POINT at{client.x + step * 2, client.y};
        ClientToScreen(list, &at);
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof(INPUT));
        PumpFor(30);
    }
}

TEST_F(ListViews, ScrollsOnlyToShowTheSelectedRowNeverSidewaysAndTipsACutName)
{
    std::vector<Registration> entries;
    for (int i = 1; i <= 29; ++i) {
        const std::wstring number = (i < 10 ? L"0" : L"") + std::to_wstring(i);
        entries.push_back({L"E" + number, L"Entry " + number});
    }
    const std::wstring longName = L"Entry 05 and a name much wider than the list, so that it cannot be shown whole on "
                                  L"one row of the list however the row is laid out";
    entries.push_back({L"Long", longName});  // the sixth row
    Catalogue(entries);
    const int longRow = 5;
    const auto rowInView = [](const win::ListCtrl& list, int row) {
        RECT item{};
        const RECT client = list.GetClientRect();
        return list.GetItemRect(row, item, LVIR_BOUNDS) && item.top >= client.top && item.bottom <= client.bottom &&
               item.left >= client.left && item.right <= client.right;
    };
    const auto topRow = [](const win::ListCtrl& list) { return static_cast<int>(list.SendMessage(LVM_GETTOPINDEX)); };
    const auto scrolledSideways = [](const win::ListCtrl& list) {
        return GetScrollPos(list, SB_HORZ) != 0 || (list.GetStyle() & WS_HSCROLL) != 0;
    };
    Run({[&] {
        SetForegroundWindow(m_owner);
        struct Case {
            const wchar_t* stored;  // "AllSelectedApp"
            int row;                // selected and in view
        } cases[] = {{L"", 0}, {L"E29", 29}, {L"E15", 15}, {L"Long", longRow}};
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "stored " << c.stored);
            StoreSelection(L"AllSelectedApp", c.stored);
            CListCtrlAll list;
            ASSERT_TRUE(list.InitView(Context(), Placement()));
            list.ShowView(true);
            EXPECT_EQ(Selected(list), std::vector<int>{c.row});
            EXPECT_TRUE(rowInView(list, c.row));
            if (c.row == 0) {
                EXPECT_EQ(topRow(list), 0) << "an unscrolled list starts at its first row";
            }
            EXPECT_FALSE(scrolledSideways(list));
        }

        StoreSelection(L"AllSelectedApp", L"");
        CListCtrlAll list;
        ASSERT_TRUE(list.InitView(Context(), Placement()));
        list.ShowView(true);
        for (int row = 0; rowInView(list, row); ++row) {  // every row in view, the long one too
            Click(list, IconCentre(list, row), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
            PumpUntil([&] { return Selected(list) == std::vector<int>{row}; });
            EXPECT_EQ(Selected(list), std::vector<int>{row});
            EXPECT_FALSE(scrolledSideways(list)) << "after a click on row " << row;
            EXPECT_EQ(topRow(list), 0);
        }
        EXPECT_TRUE(rowInView(list, longRow)) << "the long name's row ends at the list's edge";

        // Typing a name (its label begins with a line break) selects its row and brings it into view.
        DWORD time = GetTickCount();
        for (wchar_t typed : std::wstring(L"entry 29")) {
            MSG key{list.GetSafeHwnd(), WM_CHAR, typed, 1, time += 50, {}};
            EXPECT_TRUE(list.PreTranslateMessage(&key));
        }
        PumpFor(50);
        EXPECT_EQ(Selected(list), std::vector<int>{29});
        EXPECT_TRUE(rowInView(list, 29));
        list.EnsureVisible(0);

        // The pointer on the long name shows it whole; on a short one, no tip.
        RECT label{};
        list.GetItemRect(longRow, label, LVIR_LABEL);
        Hover(list, POINT{(label.left + label.right) / 2, (label.top + label.bottom) / 2});
        PumpUntil([&] { return ShownTip() != nullptr; }, 3000);
        EXPECT_NE(ShownTip(), nullptr) << "the long name's tip";
        Hover(list, IconCentre(list, 2));
        PumpFor(2000);
        EXPECT_EQ(ShownTip(), nullptr) << "no tip for a name shown whole";
    }});
}

// An entry whose icon cannot be made.
class IconlessEntry : public CAppInfo {
public:
    HICON CreateAppIcon(int) override { return nullptr; }
};

TEST_F(ListViews, ViewsPaintInOnePieceAndNeverAskTheirOwnerForAnImage)
{
    Catalogue(kThree);
    auto iconless = std::make_unique<IconlessEntry>();
    iconless->m_strId = L"Iconless";
    iconless->m_strAppName = L"delta";
    iconless->m_nCategory = 2;
    CAppInfo* withoutIcon = iconless.get();
    m_catalogue.push_back(std::move(iconless));
    Run({[&] {
        CListCtrlAll list;
        ASSERT_TRUE(list.InitView(Context(), Placement()));
        list.ShowView(true);
        UpdateWindow(list);
        // Erasing the background paints nothing (it would show blank until the rows are drawn)...
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
        HGDIOBJ old = SelectObject(memory, bitmap);
        const COLORREF marker = RGB(1, 2, 3);
        SetPixel(memory, 4, 4, marker);
        EXPECT_NE(list.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory)), 0);
        EXPECT_EQ(GetPixel(memory, 4, 4), marker);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        // ...the painting draws background and rows at once: the first row's icon is on screen.
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        POINT icon = IconCentre(list, 0);
        ClientToScreen(list, &icon);
        const IconFacts own = InspectIconFile(FixturePath(L"fixture.ico"), 32);
        EXPECT_EQ(GetPixel(screen, icon.x, icon.y), RGB(own.red, own.green, own.blue));
        ReleaseDC(nullptr, screen);
        EXPECT_LT(list.GetItemImage(RowOf(list, withoutIcon)), 0) << "no image for delta";

        // The tree's node of an entry without an icon has no image, rather than one to ask for.
        CTreeCtrlCategory tree;
        ASSERT_TRUE(tree.InitView(Context(), Placement()));
        TreeView_Expand(tree, tree.GetRootItem(), TVE_EXPAND);
        RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        HTREEITEM node = tree.GetChildItem(tree.GetRootItem());
        while (node && reinterpret_cast<CAppInfo*>(tree.GetItemData(node)) != withoutIcon)
            node = tree.GetNextSiblingItem(node);
        ASSERT_NE(node, nullptr);
        TVITEMW item{};
        item.mask = TVIF_IMAGE | TVIF_HANDLE;
        item.hItem = node;
        TreeView_GetItem(tree, &item);
        EXPECT_NE(item.iImage, I_IMAGECALLBACK);
        EXPECT_EQ(m_owner.imageRequests, 0) << "the owner was asked for an image";
    }});
}

class RecentView : public ListViews {
protected:
    void SetUp() override
    {
        ListViews::SetUp();
        Catalogue({{L"zetaId", L"Zeta", L"sizes.ico"}, {L"BetaId", L"Beta", L"depths.ico"}, {L"alphaId", L"alpha"}});
        // Most recent first: Zeta (spelt in another case), a name no longer catalogued, alpha.
        m_recent.Add(L"alphaId");
        m_recent.Add(L"goneId");
        m_recent.Add(L"ZETAID");
    }
};

TEST_F(RecentView, ListsCataloguedRecentNamesInLabelOrderAndRestoresOnlyAnExactId)
{
    struct Case {
        StartRequest start;
        const wchar_t* stored;    // "RecentSelectedApp"; empty: none
        const wchar_t* expected;
    } cases[] = {
        {{L"", -1}, L"zetaId", L"zetaId"},
        {{L"", -1}, L"ZETAID", L"alphaId"},       // differs only in case: not restored
        {{L"zetaId", 2}, L"", L"zetaId"},          // a request naming this view
        {{L"zetaId", -1}, L"", L"alphaId"},        // that is the all list's
        {{L"zetaId", 1}, L"alphaId", L"alphaId"},
    };
    Run({[&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.start.name.c_str() << " tab " << c.start.tab << " stored "
                                            << c.stored);
            StoreSelection(L"RecentSelectedApp", c.stored);
            m_owner.reports.clear();
            SetFocus(m_owner);
            const HWND before = GetFocus();
            CListCtrlRecent view;
            ASSERT_TRUE(view.InitView(Context(c.start), Placement()));
            EXPECT_EQ(GetFocus(), before) << "the recent view leaves the focus where it was";
            EXPECT_EQ(Labels(view), (std::vector<std::wstring>{L"\r\nalpha", L"\r\nZeta"}));
            ASSERT_EQ(Selected(view).size(), 1u);
            EXPECT_EQ(reinterpret_cast<CAppInfo*>(view.GetItemData(Selected(view)[0])), Entry(c.expected));
            EXPECT_TRUE(m_owner.reports.empty());
        }
    }});
}

TEST_F(RecentView, RefreshListsTheNewSetAsAFreshFillWouldAndShowingSelectsTheFirst)
{
    CListCtrlRecent view;
    Run({[&] {
        ASSERT_TRUE(view.InitView(Context(), Placement()));
        ExpectOwnIcons(view);
        m_recent.Add(L"betaid");
        Entry(L"alphaId")->m_strIconPath = L"C:\\no such icon.ico";  // its icon cannot be made now
        m_owner.reports.clear();
        ASSERT_TRUE(view.RefreshView(Context().EntriesOf(page::View::Recent)));
        EXPECT_EQ(Labels(view), (std::vector<std::wstring>{L"\r\nalpha", L"\r\nBeta", L"\r\nZeta"}));
        EXPECT_TRUE(Selected(view).empty());
        EXPECT_TRUE(m_owner.reports.empty());
        EXPECT_LT(view.GetItemImage(0), 0) << "alpha without an icon shows none, not another entry's";
        ExpectOwnIcons(view);
        HIMAGELIST images = reinterpret_cast<HIMAGELIST>(view.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
        EXPECT_EQ(ImageList_GetImageCount(images), 2) << "one image per entry that has one";

        // As a fresh fill of the same recent list shows it: rows in label order down the view.
        CListCtrlRecent fresh;
        ASSERT_TRUE(fresh.InitView(Context(), Placement()));
        ASSERT_EQ(Labels(fresh), Labels(view));
        for (int i = 0; i < view.GetItemCount(); ++i) {
            RECT refreshed{}, filled{};
            view.GetItemRect(i, refreshed, LVIR_BOUNDS);
            fresh.GetItemRect(i, filled, LVIR_BOUNDS);
            EXPECT_TRUE(EqualRect(&refreshed, &filled)) << "row " << i;
            EXPECT_EQ(view.GetItemImage(i) < 0, fresh.GetItemImage(i) < 0) << "row " << i;
            if (i > 0) {
                RECT above{};
                view.GetItemRect(i - 1, above, LVIR_BOUNDS);
                EXPECT_GE(refreshed.top, above.bottom) << "row " << i << " stands below row " << i - 1;
            }
        }
        EXPECT_EQ(view.SendMessage(LVM_GETTOPINDEX), 0);

        view.ShowView(true);
        EXPECT_EQ(Selected(view), std::vector<int>{0});
        EXPECT_EQ(m_owner.reports, (std::vector<CAppInfo*>{Entry(L"alphaId")}));
    }});
}

}  // namespace
