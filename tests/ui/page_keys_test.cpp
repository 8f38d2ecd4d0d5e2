// The page from the keyboard and its Open and Help commands, through the main dialog's modal
// loop: where Tab and Shift+Tab go, Ctrl+Tab between the tabs, Enter on the buttons, and what a
// start does to the recent list and its view. The recording program stands in for the started
// programs and for the help viewer.
#include "res/registry_paths.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/catalog/icon_probe.h"
#include "tests/support/launch_record.h"
#include "tests/ui/main_dialog_fixture.h"
#include "tests/ui/modal_script.h"
#include "tests/ui/tree_reader.h"
#include "ui/page_ids.h"
#include "ui/type_ahead.h"
#include "ui/tab_ctrl_main.h"
#include "ui/window_state.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

bool EndsWith(const std::wstring& text, const std::wstring& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Posts a key-down of `key` to the focused window with the keyboard state a user holding it
// (and Shift, Ctrl as asked) gives; ReleaseKeys puts the state back once it was handled.
void Press(UINT key, bool shift = false, bool ctrl = false)
{
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[key] = 0x80;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
}

void ReleaseKeys()
{
    BYTE state[256] = {};
    SetKeyboardState(state);
}

std::wstring ReadRecentName(int position)
{
    wchar_t name[256] = {};
    DWORD bytes = sizeof(name) - sizeof(wchar_t);
    SHGetValueW(HKEY_CURRENT_USER, kRecentListKeyPath, (L"Name" + std::to_wstring(position)).c_str(), nullptr, name,
                &bytes);
    return name;
}

DWORD ReadRecentTime(int position)
{
    DWORD time = 0;
    DWORD bytes = sizeof(time);
    SHGetValueW(HKEY_CURRENT_USER, kRecentListKeyPath, (L"Time" + std::to_wstring(position)).c_str(), nullptr, &time,
                &bytes);
    return time;
}

// Item texts of a list view, in their order, and the selected ones.
std::vector<std::wstring> ItemTexts(HWND list, bool selectedOnly = false)
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        if (selectedOnly && !(ListView_GetItemState(list, i, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        wchar_t text[256] = {};
        ListView_GetItemText(list, i, 0, text, 256);
        std::wstring label(text);
        if (label.compare(0, 2, L"\r\n") == 0)  // the views put the name on a line of its own
            label.erase(0, 2);
        texts.push_back(label);
    }
    return texts;
}

class PageKeys : public MainDialogFixture {
protected:
    void SetUp() override
    {
        MainDialogFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_helpFile = m_temp.path() + L"help file.chm";
        HANDLE file = CreateFileW(m_helpFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }

    void TearDown() override { ReleaseKeys(); }

    // An entry that starts the recording program with `option`; with help at topic 77 if asked.
    void Register(const wchar_t* id, const wchar_t* name, int category, const std::wstring& option, bool help = false)
    {
        ASSERT_TRUE(RegisterMinimalApp(id, name, category));
        const std::wstring key = AppKey(id);
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, key, L"AppPath", L"\"" + LaunchRecord::Program() + L"\""));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, key, L"AppOption", option));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, key, L"Description", L"Starts the recorder: " + option));
        if (help) {
            ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, key, L"HelpPath", m_helpFile));
            ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, key, L"HelpOption1", 1));
            ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, key, L"HelpOption2", 77));
        }
    }

    static void SetRecent(int position, const wchar_t* id, DWORD time)
    {
        ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kRecentListKeyPath, (L"Name" + std::to_wstring(position)).c_str(), id));
        ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, kRecentListKeyPath, (L"Time" + std::to_wstring(position)).c_str(), time));
    }

    // Runs a fresh main dialog with `start` and `steps`; the page's windows are found meanwhile.
    void Run(std::vector<ModalScript::Step> steps, StartRequest start = {}) { RunPage(std::move(steps), start, 15000); }

    // A step that presses `key` with the focus on `target` first (null: where it is).
    ModalScript::Step PressOn(HWND* target, UINT key, bool shift = false, bool ctrl = false)
    {
        return [=] {
            if (target)
                SetFocus(*target);
            Press(key, shift, ctrl);
        };
    }
    // A step that notes where the focus went.
    ModalScript::Step NoteFocus(std::vector<HWND>& seen)
    {
        return [&seen] {
            ReleaseKeys();
            seen.push_back(GetFocus());
        };
    }

    int CurrentTab() const { return TabCtrl_GetCurSel(m_tab); }

    // Proves that nothing else was started: one more start must come next in the record.
    void ExpectNextStartIsTheFence(size_t before)
    {
        ASSERT_EQ(RunProcess(L"\"" + LaunchRecord::Program() + L"\" fence", 10000), 0);
        const auto records = m_record.WaitFor(before + 1);
        ASSERT_EQ(records.size(), before + 1);
        EXPECT_TRUE(EndsWith(records.back().commandLine, L" fence")) << Narrow(records.back().commandLine);
    }

    TempDirectory m_temp;
    LaunchRecord m_record;
    std::wstring m_helpFile;  // an existing help file with a space in its path
};

TEST_F(PageKeys, TabAndShiftTabPutTheTabStripBetweenTheVisibleViewAndOpen)
{
    Register(L"Mouse", L"Mouse", 3, L"mouse");
    std::vector<HWND> seen;
    bool openEnabled = false;
    Run({
            [&] { openEnabled = IsWindowEnabled(m_open) != FALSE; },
            PressOn(&m_all, VK_TAB), NoteFocus(seen),         // would wrap to Open: the strip
            PressOn(&m_open, VK_TAB, true), NoteFocus(seen),  // Shift+Tab on Open: the strip
            PressOn(nullptr, VK_TAB), NoteFocus(seen),        // from the strip on as usual: Open
            PressOn(nullptr, VK_TAB), NoteFocus(seen),        // Help is disabled: the view
            PressOn(&m_all, VK_TAB, true), NoteFocus(seen),   // back from the view: Open
            PressOn(&m_pane, VK_TAB), NoteFocus(seen),        // the pane hands over to the strip
        },
        StartRequest{L"Mouse", 1});
    ASSERT_TRUE(openEnabled);
    const std::vector<HWND> expected{m_tab, m_tab, m_open, m_all, m_open, m_tab};
    EXPECT_EQ(seen, expected);
}

TEST_F(PageKeys, WithNoButtonEnabledTabAndShiftTabFromTheViewLandOnTheTabStrip)
{
    Register(L"Mouse", L"Mouse", 3, L"mouse");
    std::vector<HWND> seen;
    bool anyEnabled = true;
    Run({
            [&] { anyEnabled = IsWindowEnabled(m_open) || IsWindowEnabled(m_help); },
            PressOn(&m_tree, VK_TAB), NoteFocus(seen),
            PressOn(&m_tree, VK_TAB, true), NoteFocus(seen),
            PressOn(&m_pane, VK_TAB), NoteFocus(seen),
        },
        StartRequest{L"", 0});  // the tree, nothing selected
    EXPECT_FALSE(anyEnabled);
    const std::vector<HWND> expected{m_tab, m_tab, m_tab};
    EXPECT_EQ(seen, expected);
}

TEST_F(PageKeys, CtrlTabAndCtrlShiftTabWrapAroundTheTabsAndAreNotSaved)
{
    Register(L"Mouse", L"Mouse", 3, L"mouse");
    SaveViewState(1, L"");
    std::vector<int> tabs;
    std::vector<bool> shown;
    auto look = [&] {
        ReleaseKeys();
        tabs.push_back(CurrentTab());
        const HWND views[] = {m_tree, m_all, m_recent};
        shown.push_back(IsWindowVisible(views[CurrentTab()]) != FALSE);
    };
    Run({
            PressOn(&m_recent, VK_TAB, false, true), look,  // tab 2: on to tab 0
            PressOn(&m_tab, VK_TAB, false, true), look,     // from the strip as well: tab 1
            PressOn(&m_tab, VK_TAB, true, true), look,      // back to tab 0
            PressOn(&m_tree, VK_TAB, true, true), look,     // tab 0: round to tab 2
        },
        StartRequest{L"", 2});
    EXPECT_EQ(tabs, (std::vector<int>{0, 1, 0, 2}));
    EXPECT_EQ(shown, (std::vector<bool>{true, true, true, true}));
    int saved = -1;
    ASSERT_TRUE(LoadActiveTabId(saved));
    EXPECT_EQ(saved, 1);
}

TEST_F(PageKeys, CtrlTabLeavesTheFocusOnAWindowThatTakesKeys)
{
    Register(L"Keys", L"Keys", 3, L"keys", true);  // selected in the List: Open and Help enabled
    struct Case {
        const char* what;
        HWND* focus;  // where the focus is before the switch
        bool backwards;
        int tab;      // the switch reaches it
        HWND* after;  // where the focus is after it
    } cases[] = {
        {"Open, disabled by the switch", &m_open, false, 2, &m_recent},
        {"Help, disabled by the switch", &m_help, false, 2, &m_recent},
        {"Open, to a view without a selection", &m_open, true, 0, &m_tree},
        {"the view, hidden by the switch", &m_all, false, 2, &m_recent},
        {"the tab strip keeps it", &m_tab, true, 0, &m_tab},
    };
    std::vector<std::pair<int, HWND>> seen;
    std::vector<ModalScript::Step> steps;
    for (const Case& c : cases) {
        steps.push_back([this, c] {
            dynamic_cast<CTabCtrlMain*>(win::Window::FromHandle(m_tab))->SelectTab(1);
            SetFocus(*c.focus);
            Press(VK_TAB, c.backwards, true);
        });
        steps.push_back([this, &seen] {
            ReleaseKeys();
            seen.push_back({CurrentTab(), GetFocus()});
        });
    }
    Run(std::move(steps), StartRequest{L"Keys", 1});
    ASSERT_EQ(seen.size(), std::size(cases));
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].first, cases[i].tab) << cases[i].what;
        EXPECT_EQ(seen[i].second, *cases[i].after) << cases[i].what;
    }
}

TEST_F(PageKeys, EscapeInTheDescriptionPaneCancelsTheDialogAndThePageIgnoresWmClose)
{
    Register(L"Keys", L"Keys", 3, L"keys");
    bool pageAfterClose = false;
    const INT_PTR result = RunMainDialog(
        {
            [&] {
                m_tab = GetDlgItem(m_hwnd, page::kTabCtrlId);
                m_pane = FindWindowExW(m_tab, nullptr, L"Edit", nullptr);
                PostMessageW(m_tab, WM_CLOSE, 0, 0);  // what the pane's edit posts on Escape
            },
            [&] {
                pageAfterClose = IsWindow(m_tab) && IsWindowVisible(m_tab) && GetDlgItem(m_tab, page::kAllListId);
                SetFocus(m_pane);  // the pane takes the focus by a click
                Press(VK_ESCAPE);
            },
        },
        StartRequest{L"Keys", 1}, 10000);
    EXPECT_TRUE(pageAfterClose) << "WM_CLOSE left the page as it was";
    EXPECT_TRUE(m_allStepsRan);
    EXPECT_FALSE(m_timedOut) << "Escape in the pane ended the dialog";
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(PageKeys, EnterOnAFocusedButtonActsAsItsClick)
{
    HelpViewerStandIn viewer;
    ASSERT_TRUE(viewer.ok());
    Register(L"Keys", L"Keys", 3, L"keys-started", true);
    std::vector<LaunchRecordLine> afterClick, afterEnter, afterHelp;
    Run({
            [&] { SendMessageW(m_open, BM_CLICK, 0, 0); },
            [&] { afterClick = m_record.WaitFor(1); },
            PressOn(&m_open, VK_RETURN),
            [&] {
                ReleaseKeys();
                afterEnter = m_record.WaitFor(2);
            },
            PressOn(&m_help, VK_RETURN),
            [&] {
                ReleaseKeys();
                afterHelp = m_record.WaitFor(3);
            },
        },
        StartRequest{L"Keys", 1});
    ASSERT_EQ(afterClick.size(), 1u);
    ASSERT_EQ(afterEnter.size(), 2u);
    EXPECT_EQ(afterEnter[1].commandLine, afterClick[0].commandLine);
    EXPECT_EQ(afterEnter[1].directory, afterClick[0].directory);
    EXPECT_TRUE(EndsWith(afterClick[0].commandLine, L" keys-started")) << Narrow(afterClick[0].commandLine);
    ASSERT_EQ(afterHelp.size(), 3u);
    EXPECT_TRUE(EndsWith(afterHelp[2].commandLine, L" -mapid 77 \"" + m_helpFile + L"\""))
        << Narrow(afterHelp[2].commandLine);
    EXPECT_EQ(ReadRecentName(0), L"Keys");
    EXPECT_EQ(ReadRecentName(1), L"") << "two starts of one entry make one place";
}

TEST_F(PageKeys, EnterOnASelectedCategoryOpensNothing)
{
    Register(L"Keys", L"Keys", 3, L"keys-started");
    bool categorySelected = false;
    Run({
            [&] {
                const HTREEITEM category = TreeView_GetRoot(m_tree);
                TreeView_SelectItem(m_tree, category);
                categorySelected = TreeView_GetChild(m_tree, category) != nullptr;
            },
            PressOn(&m_tree, VK_RETURN),
            [&] { ReleaseKeys(); },
        },
        StartRequest{L"", 0});
    EXPECT_TRUE(categorySelected);
    ExpectNextStartIsTheFence(0);
    EXPECT_EQ(ReadRecentName(0), L"");
}

TEST_F(PageKeys, CtrlCInThePaneLeavesTheClipboardAsItWas)
{
    Register(L"Keys", L"Keys", 3, L"keys-started");
    const std::wstring before = L"what the user copied before";
    auto setClipboard = [&] {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (before.size() + 1) * sizeof(wchar_t));
        memcpy(GlobalLock(block), before.c_str(), (before.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(block);
        SetClipboardData(CF_UNICODETEXT, block);
        CloseClipboard();
    };
    std::wstring pane, after;
    Run({
            [&] {
                setClipboard();
                SetFocus(m_pane);
                SendMessageW(m_pane, EM_SETSEL, 0, -1);
                wchar_t text[128] = {};
                GetWindowTextW(m_pane, text, 128);
                pane = text;
                Press('C', false, true);
            },
            [&] { ReleaseKeys(); },  // a character the key made comes after this step
            [&] {
                if (OpenClipboard(nullptr)) {
                    HANDLE data = GetClipboardData(CF_UNICODETEXT);
                    if (data) {
                        after = static_cast<const wchar_t*>(GlobalLock(data));
                        GlobalUnlock(data);
                    }
                    CloseClipboard();
                }
            },
        },
        StartRequest{L"Keys", 1});
    EXPECT_EQ(pane, L"Starts the recorder: keys-started");
    EXPECT_EQ(after, before);
}

TEST_F(PageKeys, AStartFromListIsAtOnceInTheHiddenRecentView)
{
    Register(L"Alpha", L"Alpha", 3, L"alpha-started");
    Register(L"Beta", L"Beta", 3, L"beta-started");
    std::vector<std::wstring> before, after;
    bool hidden = false;
    Run({
            [&] {
                before = ItemTexts(m_recent);
                hidden = !IsWindowVisible(m_recent);
                SendMessageW(m_open, BM_CLICK, 0, 0);
            },
            [&] { after = ItemTexts(m_recent); },
        },
        StartRequest{L"Beta", 1});
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(before.empty());
    EXPECT_EQ(after, std::vector<std::wstring>{L"Beta"});
    ASSERT_EQ(m_record.WaitFor(1).size(), 1u);
    EXPECT_EQ(ReadRecentName(0), L"Beta");
}

TEST_F(PageKeys, AStartFromRecentSettingsChangesTheRegistryButNotTheVisibleView)
{
    Register(L"Alpha", L"Alpha", 3, L"alpha-started");
    Register(L"Beta", L"Beta", 3, L"beta-started");
    SetRecent(0, L"Alpha", 2000);
    SetRecent(1, L"Beta", 1000);
    std::vector<std::wstring> itemsBefore, itemsAfter, selectedAfter;
    Run({
            [&] {
                ListView_SetItemState(m_recent, -1, 0, LVIS_SELECTED);
                const int beta = ItemTexts(m_recent)[0] == L"Beta" ? 0 : 1;
                ListView_SetItemState(m_recent, beta, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            },
            [&] {
                itemsBefore = ItemTexts(m_recent);
                SendMessageW(m_open, BM_CLICK, 0, 0);
            },
            [&] {
                itemsAfter = ItemTexts(m_recent);
                selectedAfter = ItemTexts(m_recent, true);
            },
        },
        StartRequest{L"", 2});
    const auto records = m_record.WaitFor(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(EndsWith(records[0].commandLine, L" beta-started"));
    EXPECT_EQ(ReadRecentName(0), L"Beta");
    EXPECT_GT(ReadRecentTime(0), 2000u);
    EXPECT_EQ(ReadRecentName(1), L"Alpha");
    EXPECT_EQ(itemsAfter, itemsBefore);
    EXPECT_EQ(selectedAfter, std::vector<std::wstring>{L"Beta"}) << "not rebuilt: the selection stays";
}

TEST_F(PageKeys, AProgramNotFoundLeavesTheRecentListAndItsValuesAlone)
{
    Register(L"Alpha", L"Alpha", 3, L"alpha-started");
    ASSERT_TRUE(RegisterMinimalApp(L"Missing", L"Missing", 3));
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"Missing"), L"AppPath", m_temp.path() + L"missing.exe"));
    SetRecent(0, L"Alpha", 2000);
    std::wstring message;
    std::vector<std::wstring> recentItems;
    bool openEnabledAfter = false;
    Run({
            [&] { PostMessageW(m_open, BM_CLICK, 0, 0); },  // the message box's loop runs the next step
            [&] {
                HWND box = FindThreadDialog(L"Brindle");
                wchar_t text[128] = {};
                if (box && box != m_hwnd)
                    GetDlgItemTextW(box, 0xFFFF, text, 128);
                message = text;
                PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
            },
            [&] {
                recentItems = ItemTexts(m_recent);
                openEnabledAfter = IsWindowEnabled(m_open) != FALSE;
            },
        },
        StartRequest{L"Missing", 1});
    EXPECT_EQ(message, L"Program not found.");
    EXPECT_EQ(recentItems, std::vector<std::wstring>{L"Alpha"});
    EXPECT_TRUE(openEnabledAfter);
    EXPECT_EQ(ReadRecentName(0), L"Alpha");
    EXPECT_EQ(ReadRecentTime(0), 2000u);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kRecentListKeyPath, L"Name1"));
}

}  // namespace

// The views fill lazily: rows make their icons when first drawn, a category's applications come
// in when it is first opened or selected. Nothing a user or a caller relies on may notice.
class LazyViews : public PageKeys {
protected:
    // Thirty entries in "Keyboard and Mouse" fill the list far past its bottom; three more, each
    // alone in a category, come last in the list.
    void SetUp() override
    {
        PageKeys::SetUp();
        if (HasFatalFailure())
            return;
        for (int i = 0; i < 30; ++i) {
            const std::wstring name = L"Entry " + std::wstring(i < 10 ? L"0" : L"") + std::to_wstring(i);
            Register(name.c_str(), name.c_str(), 3, L"entry-started");
        }
        Register(L"Quartz", L"Quartz", 7, L"quartz-started");        // "Sounds"
        Register(L"Xylophone", L"Xylophone", 9, L"xylophone-started"); // "Television and Teleclick"
        Register(L"Yodel", L"Yodel", 1, L"yodel-started");             // "Power Management"
    }

    Tree TreeView() const { return Tree{m_tree}; }
    std::wstring TreeSelection() const { return TreeView().Text(TreeView().Selected()); }
    // Whether the tree's node lies wholly in its client area.
    bool NodeInView(HTREEITEM node) const
    {
        RECT item{}, client{};
        GetClientRect(m_tree, &client);
        return node && TreeView_GetItemRect(m_tree, node, &item, TRUE) && item.top >= 0 && item.bottom <= client.bottom;
    }
    bool RowInView(int row) const
    {
        RECT item{}, client{};
        GetClientRect(m_all, &client);
        return row >= 0 && ListView_GetItemRect(m_all, row, &item, LVIR_BOUNDS) && item.top >= 0 &&
               item.bottom <= client.bottom;
    }
    // Posts the characters of `text` to the focused window, as typed.
    static void Type(const wchar_t* text)
    {
        for (const wchar_t* c = text; *c; ++c)
            PostMessageW(GetFocus(), WM_CHAR, *c, 1);
    }
    std::wstring LastStart() const
    {
        const auto records = m_record.Read();
        return records.empty() ? std::wstring() : records.back().commandLine;
    }
};

TEST_F(LazyViews, StartRequestAndStoredSelectionsReachEntriesInUnopenedCategoriesAndUndrawnRows)
{
    struct Seen {
        std::wstring selected;
        bool categoryExpanded = false;
        bool inView = false;
        bool openEnabled = false;
        std::vector<std::wstring> others;  // categories not asked for stay closed
    };
    // A start request into "Sounds", which nothing opened, in the tree; Enter opens it.
    Seen request;
    Run({
            [&] {
                const HTREEITEM node = TreeView().Selected();
                request.selected = TreeSelection();
                request.categoryExpanded = TreeView().Expanded(TreeView().Next(node, TVGN_PARENT));
                request.inView = NodeInView(node);
                request.openEnabled = IsWindowEnabled(m_open) != FALSE;
                for (HTREEITEM root = TreeView().Root(); root; root = TreeView().Next(root, TVGN_NEXT)) {
                    if (TreeView().Expanded(root))
                        request.others.push_back(TreeView().Text(root));
                }
            },
            PressOn(&m_tree, VK_RETURN),
            [&] { ReleaseKeys(); },  // the view's Open command, posted, is handled before the next step
            [&] { m_record.WaitFor(1); },
        },
        StartRequest{L"Quartz", 0});
    EXPECT_EQ(request.selected, L"Quartz");
    EXPECT_TRUE(request.categoryExpanded);
    EXPECT_TRUE(request.inView);
    EXPECT_TRUE(request.openEnabled);
    EXPECT_EQ(request.others, std::vector<std::wstring>{L"Sounds"});
    EXPECT_TRUE(EndsWith(LastStart(), L" quartz-started")) << Narrow(LastStart());

    // Stored selections: the list's on its last row, never drawn; the tree's in a category never
    // opened. Each view restores its own; the list's is scrolled into view and opens.
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kWindowStateKeyPath, L"AllSelectedApp", L"Yodel"));
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kWindowStateKeyPath, L"TreeSelectedApp", L"Xylophone"));
    ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, kWindowStateKeyPath, L"ActiveTabId", 1));
    std::vector<std::wstring> listSelection;
    bool rowInView = false;
    int rowImage = -1;
    std::wstring treeSelection;
    Run({
        [&] {
            listSelection = ItemTexts(m_all, true);
            const int row = ListView_GetNextItem(m_all, -1, LVNI_SELECTED);
            rowInView = RowInView(row);
            UpdateWindow(m_all);
            LVITEMW item{};
            item.mask = LVIF_IMAGE;
            item.iItem = row;
            ListView_GetItem(m_all, &item);
            rowImage = item.iImage;
            treeSelection = TreeSelection();
            SendMessageW(m_open, BM_CLICK, 0, 0);
        },
        [&] { m_record.WaitFor(2); },
    });
    EXPECT_EQ(listSelection, std::vector<std::wstring>{L"Yodel"});
    EXPECT_TRUE(rowInView);
    EXPECT_GE(rowImage, 0) << "the row drawn has its icon";
    EXPECT_EQ(treeSelection, L"Xylophone");
    EXPECT_TRUE(EndsWith(LastStart(), L" yodel-started")) << Narrow(LastStart());
}

TEST_F(LazyViews, TypingReachesRowsNeverDrawnAndApplicationsOfACategoryNeverOpened)
{
    std::wstring listSelected, treeCategory, treeSelected;
    bool rowInView = false;
    bool categoryWasClosed = false;
    Run({
        [&] { SetFocus(m_all); },
        [&] { Type(L"xy"); },
        [&] {
            listSelected = ItemTexts(m_all, true).empty() ? L"" : ItemTexts(m_all, true).front();
            rowInView = RowInView(ListView_GetNextItem(m_all, -1, LVNI_SELECTED));
        },
        PressOn(&m_all, VK_RETURN),
        [&] { ReleaseKeys(); },
        [&] {
            m_record.WaitFor(1);
            TabCtrl_SetCurFocus(m_tab, 0);
            SetFocus(m_tree);
        },
        [&] { Type(L"P"); },  // "Power Management", a category nothing opened
        [&] {
            treeCategory = TreeSelection();
            categoryWasClosed = !TreeView().Expanded(TreeView().Selected());
            Press(VK_RIGHT);  // opens it
        },
        [&] {
            ReleaseKeys();
            Sleep(TypeAhead::kPauseMs + 200);  // a new search
            Type(L"y");
        },
        [&] { treeSelected = TreeSelection(); },
        PressOn(&m_tree, VK_RETURN),
        [&] { ReleaseKeys(); },
        [&] { m_record.WaitFor(2); },
    });
    EXPECT_EQ(listSelected, L"Xylophone");
    EXPECT_TRUE(rowInView);
    EXPECT_EQ(treeCategory, L"Power Management");
    EXPECT_TRUE(categoryWasClosed);
    EXPECT_EQ(treeSelected, L"Yodel");
    const auto records = m_record.Read();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(EndsWith(records[0].commandLine, L" xylophone-started")) << Narrow(records[0].commandLine);
    EXPECT_TRUE(EndsWith(records[1].commandLine, L" yodel-started")) << Narrow(records[1].commandLine);
}

// Each entry's icon file is read once, while the catalogue is built: gone after that, every row
// and node still gets its own icon, at the size of its view, when it is drawn.
TEST_F(LazyViews, EveryIconFileIsReadOnceForAllTheViews)
{
    TempDirectory icons;
    std::vector<std::wstring> files;
    for (const wchar_t* id : {L"Quartz", L"Xylophone", L"Yodel", L"Entry 29"}) {
        files.push_back(icons.path() + id + L".ico");
        ASSERT_TRUE(CopyFileW(FixturePath(L"sizes.ico").c_str(), files.back().c_str(), FALSE));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"IconPath", files.back()));
    }
    std::map<std::wstring, int> listSizes, treeSizes;  // by name: the red of its icon (its size)
    Run({
        [&] {
            for (const std::wstring& file : files)
                ASSERT_TRUE(DeleteFileW(file.c_str()));
            HIMAGELIST listImages = ListView_GetImageList(m_all, LVSIL_SMALL);
            for (int row = ListView_GetItemCount(m_all) - 1; row >= 0; --row) {
                ListView_EnsureVisible(m_all, row, FALSE);
                UpdateWindow(m_all);
                LVITEMW item{};
                item.mask = LVIF_IMAGE;
                item.iItem = row;
                ListView_GetItem(m_all, &item);
                HICON icon = item.iImage >= 0 ? ImageList_GetIcon(listImages, item.iImage, ILD_NORMAL) : nullptr;
                listSizes[ItemTexts(m_all)[row]] = Inspect(icon).red;
                if (icon)
                    DestroyIcon(icon);
            }
            HIMAGELIST treeImages = TreeView_GetImageList(m_tree, TVSIL_NORMAL);
            for (HTREEITEM root = TreeView().Root(); root; root = TreeView().Next(root, TVGN_NEXT)) {
                TreeView_Expand(m_tree, root, TVE_EXPAND);
                for (HTREEITEM node = TreeView().Next(root, TVGN_CHILD); node; node = TreeView().Next(node, TVGN_NEXT)) {
                    TreeView_EnsureVisible(m_tree, node);
                    UpdateWindow(m_tree);
                    const int image = TreeView().Image(node);
                    HICON icon = image >= 0 ? ImageList_GetIcon(treeImages, image, ILD_NORMAL) : nullptr;
                    treeSizes[TreeView().Text(node)] = Inspect(icon).red;
                    if (icon)
                        DestroyIcon(icon);
                }
            }
        },
    });
    ASSERT_EQ(listSizes.size(), 33u);
    ASSERT_EQ(treeSizes.size(), 33u);
    for (const wchar_t* id : {L"Quartz", L"Xylophone", L"Yodel", L"Entry 29"}) {
        EXPECT_EQ(listSizes[id], 32) << Narrow(id) << ": the 32-pixel image of its own file";
        EXPECT_EQ(treeSizes[id], 16) << Narrow(id) << ": the 16-pixel image of its own file";
    }
    EXPECT_NE(listSizes[L"Entry 00"], 0) << "the others keep theirs";
    EXPECT_NE(treeSizes[L"Entry 00"], 0);
}
