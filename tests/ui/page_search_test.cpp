// The search box on the page, through the main dialog's modal loop: how each view narrows to the
// entries that match and comes back exactly as it was, the note for a search that finds nothing,
// the keys that reach the box and leave it, and what is stored meanwhile.
#include "res/registry_paths.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/ui/main_dialog_fixture.h"
#include "tests/ui/modal_script.h"
#include "tests/ui/tree_reader.h"
#include "ui/page_ids.h"
#include "ui/tab_ctrl_main.h"
#include "ui/window_state.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::wstring>;

std::string Narrow(const Rows& rows)
{
    std::string out;
    for (const std::wstring& row : rows)
        out += std::string(row.begin(), row.end()) + " | ";
    return out;
}

std::wstring TextOf(HWND hwnd)
{
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

// The tree as the user reads it: each category with "+" (closed) or "-" (open), the entries of
// open ones indented, "*" on the selected node and "^" on the first one in view.
Rows TreeRows(HWND hwnd)
{
    const Tree tree{hwnd};
    const HTREEITEM selected = tree.Selected();
    const HTREEITEM top = TreeView_GetFirstVisible(hwnd);
    Rows rows;
    const auto row = [&](HTREEITEM item, const std::wstring& lead) {
        rows.push_back(lead + tree.Text(item) + (item == selected ? L" *" : L"") + (item == top ? L" ^" : L""));
    };
    for (HTREEITEM category = tree.Root(); category; category = tree.Next(category, TVGN_NEXT)) {
        const bool open = tree.Expanded(category);
        row(category, open ? L"- " : L"+ ");
        for (HTREEITEM entry = open ? tree.Next(category, TVGN_CHILD) : nullptr; entry; entry = tree.Next(entry, TVGN_NEXT))
            row(entry, L"    ");
    }
    return rows;
}

// A list as the user reads it: each row's name with "*" selected, "f" focused, "a" the anchor
// of the next selection and "^" the first row in view.
Rows ListRows(HWND list)
{
    Rows rows;
    const int anchor = ListView_GetSelectionMark(list);
    const int top = ListView_GetTopIndex(list);
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        wchar_t text[256] = {};
        ListView_GetItemText(list, i, 0, text, 256);
        std::wstring line(text);
        if (line.compare(0, 2, L"\r\n") == 0)
            line.erase(0, 2);
        const UINT state = ListView_GetItemState(list, i, LVIS_SELECTED | LVIS_FOCUSED);
        if (state & LVIS_SELECTED)
            line += L" *";
        if (state & LVIS_FOCUSED)
            line += L" f";
        if (i == anchor)
            line += L" a";
        if (i == top)
            line += L" ^";
        rows.push_back(line);
    }
    return rows;
}

void Press(UINT key, bool ctrl = false)
{
    BYTE state[256] = {};
    state[key] = 0x80;
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
}

void ReleaseKeys()
{
    BYTE state[256] = {};
    SetKeyboardState(state);
}

class PageSearch : public MainDialogFixture {
protected:
    void SetUp() override
    {
        MainDialogFixture::SetUp();
        if (HasFatalFailure())
            return;
        Register(L"Clock", L"Clock", 3, L"Date and time.");
        Register(L"Mouse", L"Mouse", 3, L"Pointer speed and buttons.");
        Register(L"Keys", L"Keyboard", 3, L"Repeat speed and layout.");
        Register(L"Sound", L"Sound", 7, L"Speakers and volume.");
        Register(L"Display", L"Display", 5, L"Resolution and colours.");
        Register(L"Speech", L"Speech", 7, L"Voice and SPEED of speech.");
        const wchar_t* recent[] = {L"Sound", L"Mouse", L"Display"};
        for (int i = 0; i < 3; ++i) {
            const std::wstring n = std::to_wstring(i);
            ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kRecentListKeyPath, (L"Name" + n).c_str(), recent[i]));
            ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, kRecentListKeyPath, (L"Time" + n).c_str(), 1000 - i));
        }
    }
    void TearDown() override { ReleaseKeys(); }

    static void Register(const wchar_t* id, const wchar_t* name, int category, const wchar_t* description)
    {
        ASSERT_TRUE(RegisterMinimalApp(id, name, category));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"Description", description));
    }

    void OnPageFound() override
    {
        m_box = GetDlgItem(m_tab, page::kSearchBoxId);
        m_note = FindWindowExW(m_tab, nullptr, L"Static", nullptr);
    }
    CTabCtrlMain& Page() const { return *dynamic_cast<CTabCtrlMain*>(win::Window::FromHandle(m_tab)); }
    // Types into the box as a user does: the box hears of each change.
    ModalScript::Step Type(const wchar_t* text)
    {
        return [this, text] { SetWindowTextW(m_box, text); };
    }
    void Run(std::vector<ModalScript::Step> steps, StartRequest start = {}) { RunPage(std::move(steps), start, 15000); }

    HWND m_box = nullptr;
    HWND m_note = nullptr;
};

TEST_F(PageSearch, EveryViewNarrowsToTheMatchesAndComesBackAsItWas)
{
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kWindowStateKeyPath, L"TreeSelectedApp", L"Sound"));
    Rows tree, all, recent;         // before the search
    Rows treeFound, allFound, recentFound;
    Rows treeAfter, allAfter, recentAfter;
    std::wstring boxOnRecent;
    Run({
            [&] {
                ASSERT_NE(m_box, nullptr);
                // The user opened a second category and selected two rows of the List, Mouse last.
                TreeView_Expand(m_tree, TreeView_GetRoot(m_tree), TVE_EXPAND);
                // Clock, Display, Keyboard, Mouse, Sound, Speech: Sound, then Mouse.
                ListView_SetItemState(m_all, 4, LVIS_SELECTED, LVIS_SELECTED);
                ListView_SetItemState(m_all, 3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
                ListView_SetSelectionMark(m_all, 3);
                tree = TreeRows(m_tree);
                all = ListRows(m_all);
                recent = ListRows(m_recent);
            },
            Type(L"speed"),
            [&] { treeFound = TreeRows(m_tree); },
            [&] { Page().SelectTab(1); },  // as Ctrl+Tab does
            [&] { allFound = ListRows(m_all); },
            [&] { Page().SelectTab(2); },
            [&] {
                recentFound = ListRows(m_recent);
                boxOnRecent = TextOf(m_box);
            },
            Type(L""),
            [&] {
                treeAfter = TreeRows(m_tree);
                allAfter = ListRows(m_all);
                recentAfter = ListRows(m_recent);
            },
        },
        StartRequest{L"", 0});
    // Only the categories with a match, open; Sound, selected before, is not among them.
    EXPECT_EQ(treeFound, (Rows{L"- Keyboard and Mouse ^", L"    Keyboard", L"    Mouse", L"- Sounds", L"    Speech"}))
        << Narrow(treeFound);
    // Mouse, the List's current row, still selected; Sound gone.
    EXPECT_EQ(allFound, (Rows{L"Keyboard ^", L"Mouse * f a", L"Speech"})) << Narrow(allFound);
    // Of the recent starts only Mouse matches: the view selects it as its first row.
    EXPECT_EQ(recentFound, (Rows{L"Mouse * f a ^"})) << Narrow(recentFound);
    EXPECT_EQ(boxOnRecent, L"speed");  // the tab switches keep the filter
    // Cleared: each view exactly as before, the ones left hidden as well.
    EXPECT_EQ(treeAfter, tree) << Narrow(treeAfter) << " vs " << Narrow(tree);
    EXPECT_EQ(allAfter, all) << Narrow(allAfter) << " vs " << Narrow(all);
    EXPECT_EQ(recentAfter, recent) << Narrow(recentAfter) << " vs " << Narrow(recent);
    EXPECT_EQ(all.size(), 6u);
    EXPECT_EQ(tree.front(), L"- Keyboard and Mouse ^");
}

TEST_F(PageSearch, NothingFoundShowsOneLineInPlaceOfTheViewWithOpenAndHelpOff)
{
    struct Seen {
        bool noteShown, viewShown, openOn;
        std::wstring note;
        HWND focus;
    };
    std::vector<Seen> seen;
    auto look = [&](HWND* view) -> ModalScript::Step {
        return [&, view] {
            ReleaseKeys();
            seen.push_back({IsWindowVisible(m_note) != FALSE, IsWindowVisible(*view) != FALSE,
                            IsWindowEnabled(m_open) != FALSE, TextOf(m_note), GetFocus()});
        };
    };
    Run({
            [&] { SetFocus(m_box); },
            Type(L"printer"), look(&m_all),
            [&] { Press(VK_DOWN); }, look(&m_all),        // nothing to go to: the box keeps the focus
            [&] { Press(VK_TAB, true); }, look(&m_recent),  // Ctrl+Tab on: still nothing
            Type(L"mouse"), look(&m_recent),
        },
        StartRequest{L"Mouse", 1});
    ASSERT_EQ(seen.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(seen[i].noteShown);
        EXPECT_FALSE(seen[i].viewShown);
        EXPECT_FALSE(seen[i].openOn);
        EXPECT_EQ(seen[i].note, L"No settings match 'printer'.");
        EXPECT_EQ(seen[i].focus, m_box);
    }
    EXPECT_FALSE(seen[3].noteShown);
    EXPECT_TRUE(seen[3].viewShown);
}

TEST_F(PageSearch, KeysReachTheBoxFromAnywhereAndLeaveIt)
{
    // Ctrl+F, Ctrl+E and F3 from each kind of window in the page: the box, its text selected.
    struct Reach {
        const char* what;
        HWND* from;
        UINT key;
        bool ctrl;
    } reaches[] = {
        {"Ctrl+F in the List", &m_all, 'F', true},   {"Ctrl+E in the List", &m_all, 'E', true},
        {"F3 in the List", &m_all, VK_F3, false},    {"Ctrl+F on Open", &m_open, 'F', true},
        {"F3 on the tab strip", &m_tab, VK_F3, false}, {"Ctrl+E in the description", &m_pane, 'E', true},
        {"Ctrl+F in the box itself", &m_box, 'F', true},
    };
    std::vector<std::pair<HWND, DWORD>> reached;
    std::vector<ModalScript::Step> steps{Type(L"mou")};
    for (const Reach& r : reaches) {
        steps.push_back([this, r] {
            SetFocus(*r.from);
            SendMessageW(m_box, EM_SETSEL, 1, 1);
            Press(r.key, r.ctrl);
        });
        steps.push_back([&] {
            ReleaseKeys();
            reached.push_back({GetFocus(), static_cast<DWORD>(SendMessageW(m_box, EM_GETSEL, 0, 0))});
        });
    }
    // A click into the box from elsewhere does the same.
    steps.push_back([this] {
        SetFocus(m_all);
        SendMessageW(m_box, EM_SETSEL, 1, 1);
        PostMessageW(m_box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(m_box, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    });
    steps.push_back([&] { reached.push_back({GetFocus(), static_cast<DWORD>(SendMessageW(m_box, EM_GETSEL, 0, 0))}); });
    // Then the keys in the box: Down goes to the List with the first match (Mouse) selected;
    // Escape clears the text and Brindle stays; Escape in the empty box goes back to the List.
    HWND afterDown = nullptr, afterEscape = nullptr, afterSecondEscape = nullptr;
    Rows listAfterDown;
    std::wstring textAfterEscape = L"?";
    bool dialogStayed = false;
    steps.insert(steps.end(), {
                                  [&] {
                                      SetFocus(m_box);
                                      Press(VK_DOWN);
                                  },
                                  [&] {
                                      afterDown = GetFocus();
                                      listAfterDown = ListRows(m_all);
                                      SetFocus(m_box);
                                      Press(VK_ESCAPE);
                                  },
                                  [&] {
                                      afterEscape = GetFocus();
                                      textAfterEscape = TextOf(m_box);
                                      dialogStayed = IsWindow(m_hwnd) && IsWindowVisible(m_hwnd);
                                      Press(VK_ESCAPE);
                                  },
                                  [&] { afterSecondEscape = GetFocus(); },
                              });
    Run(std::move(steps), StartRequest{L"Keys", 1});
    ASSERT_EQ(reached.size(), std::size(reaches) + 1);
    for (size_t i = 0; i < reached.size(); ++i) {
        const char* what = i < std::size(reaches) ? reaches[i].what : "a click from the List";
        EXPECT_EQ(reached[i].first, m_box) << what;
        EXPECT_EQ(reached[i].second, static_cast<DWORD>(MAKELONG(0, 3))) << what;
    }
    EXPECT_EQ(afterDown, m_all);
    EXPECT_EQ(listAfterDown, (Rows{L"Mouse * f a ^"})) << Narrow(listAfterDown);
    EXPECT_EQ(afterEscape, m_box);
    EXPECT_EQ(textAfterEscape, L"");
    EXPECT_TRUE(dialogStayed);
    EXPECT_EQ(afterSecondEscape, m_all);
}

TEST_F(PageSearch, TheTextIsNotStoredAndASelectionMadeWhileFilteringIsStoredAsAnyIs)
{
    std::wstring storedWhileFiltering, storedAfter;
    Run({
            [&] { SetFocus(m_box); },
            Type(L"volume"),
            [&] { Press(VK_RETURN); },  // to the tree, Sound selected
            [&] {
                ReleaseKeys();
                storedWhileFiltering = LoadSelectedApp(0);
            },
            Type(L""),
            [&] { storedAfter = LoadSelectedApp(0); },
        },
        StartRequest{L"Clock", 0});
    EXPECT_EQ(storedWhileFiltering, L"Sound");
    // Cleared: the tree selects Clock again, and that is what is stored.
    EXPECT_EQ(storedAfter, L"Clock");
    // No value under the program's key holds the text.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kWindowStateKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS);
    for (DWORD i = 0;; ++i) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        wchar_t data[512] = {};
        DWORD bytes = sizeof(data) - sizeof(wchar_t);
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &bytes) !=
            ERROR_SUCCESS)
            break;
        EXPECT_EQ(std::wstring(data).find(L"volume"), std::wstring::npos) << i;
    }
    RegCloseKey(key);
}

}  // namespace
