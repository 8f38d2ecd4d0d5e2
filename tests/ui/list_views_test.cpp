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
#include "ui/list_ctrl_all.h"
#include "ui/list_ctrl_recent.h"
#include "ui/page_layout.h"
#include "ui/page_view.h"
#include "ui/start_request.h"
#include "win/dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
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
    void OnEntryCommand(EntryCommand command, CAppInfo*) override
    {
        if (command == EntryCommand::Open)
            ++opens;
    }

    std::vector<CAppInfo*> reports;
    int opens = 0;
    int oks = 0;  // Enter that no view consumed reaches the dialog as IDOK

protected:
    void OnOK() override { ++oks; }

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

LRESULT CALLBACK DismissMenu(int code, WPARAM wp, LPARAM lp)
{
    if (code == MSGF_MENU)
        EndMenu();
    return CallNextHookEx(nullptr, code, wp, lp);
}

class MenuWatcher {
public:
    explicit MenuWatcher(int& shown)
    {
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
            list.ShowView(false);
            EXPECT_FALSE(list.IsWindowVisible());

            // The view's image list outlives the control's window: the view alone destroys it.
            HIMAGELIST images = reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
            list.DestroyWindow();
            EXPECT_EQ(ImageList_GetImageCount(images), 3);
        }
    }});
}

TEST_F(ListViews, AllListOrdersEntriesAsTheSortedControlDoesForCatalogueOrder)
{
    // Equal names (in either case), digits and letters: the items of equal labels are where the
    // control puts them when the entries arrive in catalogue order.
    Catalogue({{L"S1", L"Same"}, {L"Z", L"Zed"}, {L"S2", L"same"}, {L"S3", L"Same"}, {L"A", L"alpha"},
               {L"N10", L"10"}, {L"N9", L"9"}, {L"S4", L"Same"}, {L"B", L"beta"}});
    Run({[&] {
        CListCtrlAll list;
        ASSERT_TRUE(list.InitView(Context(), Placement()));

        win::ListCtrl reference;
        ASSERT_TRUE(reference.Create(WS_CHILD | LVS_SMALLICON | LVS_SORTASCENDING, 0, RECT{0, 0, 200, 100},
                                     m_owner.GetSafeHwnd(), 999));
        for (const auto& entry : m_catalogue)
            reference.InsertItem(reference.GetItemCount(), L"\r\n" + entry->m_strAppName, -1,
                                 reinterpret_cast<LPARAM>(entry.get()));
        ASSERT_EQ(list.GetItemCount(), reference.GetItemCount());
        for (int i = 0; i < list.GetItemCount(); ++i)
            EXPECT_EQ(list.GetItemData(i), reference.GetItemData(i)) << "item " << i;
        EXPECT_EQ(Labels(list), Labels(reference));
    }});
}

TEST_F(ListViews, CtrlClickingAnItemTwiceReportsItThenNoneAndEnterOpensOnlyWithASelection)
{
    Catalogue(kThree);
    CListCtrlAll list;
    Run({
        [&] {
            ASSERT_TRUE(list.InitView(Context(), Placement()));
            list.ShowView(true);
            SetForegroundWindow(m_owner);
            m_owner.reports.clear();
            for (int click = 0; click < 2; ++click) {
                SendKey(VK_CONTROL, false);
                Click(list, IconCentre(list, 1), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
                SendKey(VK_CONTROL, true);
                const size_t before = m_owner.reports.size();
                PumpUntil([&] { return m_owner.reports.size() > before; });
                PumpFor(GetDoubleClickTime() + 100);  // two clicks, not a double-click
            }
            EXPECT_EQ(m_owner.reports, (std::vector<CAppInfo*>{Entry(L"BetaId"), nullptr}));
            EXPECT_EQ(Selected(list), std::vector<int>{0}) << "alpha stays selected";
            list.SetFocus();
            list.PostMessage(WM_KEYDOWN, VK_RETURN, 1);
        },
        [&] {
            PumpFor(100);  // the posted Open arrives
            EXPECT_EQ(m_owner.opens, 1) << "Enter with alpha selected";
            EXPECT_EQ(m_owner.oks, 0) << "and consumed by the list";
            list.SelectItem(-1);
            list.PostMessage(WM_KEYDOWN, VK_RETURN, 1);
        },
        [&] {
            PumpFor(100);
            EXPECT_EQ(m_owner.opens, 1) << "Enter with nothing selected opens nothing";
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

TEST_F(RecentView, RefreshListsTheNewSetUnselectedAndShowingSelectsTheFirst)
{
    CListCtrlRecent view;
    Run({[&] {
        ASSERT_TRUE(view.InitView(Context(), Placement()));
        ExpectOwnIcons(view);
        m_recent.Add(L"betaid");
        m_owner.reports.clear();
        ASSERT_TRUE(view.RefreshView(Context().EntriesOf(page::View::Recent)));
        EXPECT_EQ(Labels(view), (std::vector<std::wstring>{L"\r\nalpha", L"\r\nBeta", L"\r\nZeta"}));
        EXPECT_TRUE(Selected(view).empty());
        EXPECT_TRUE(m_owner.reports.empty());
        HIMAGELIST images = reinterpret_cast<HIMAGELIST>(view.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
        EXPECT_EQ(ImageList_GetImageCount(images), 4) << "one slot per recent name";
        ExpectOwnIcons(view);

        view.ShowView(true);
        EXPECT_EQ(Selected(view), std::vector<int>{0});
        EXPECT_EQ(m_owner.reports, (std::vector<CAppInfo*>{Entry(L"alphaId")}));
    }});
}

}  // namespace
