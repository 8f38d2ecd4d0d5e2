// The page as a screen reader reads it: every control's name, role and state through the
// accessibility interface, in this process and from another one, and the tabs and buttons
// worked from that interface.
#include "res/resource.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/ui/main_dialog_fixture.h"
#include "ui/window_state.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// What the accessibility interface says of one item of a window's client object (0: the window).
struct Heard {
    std::wstring name, value, shortcut;
    long role = -1;
    long state = 0;
    HRESULT found = E_FAIL;  // of reading the name
};

VARIANT Item(long item)
{
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = item;
    return child;
}

std::wstring TakeText(BSTR text)
{
    std::wstring taken = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return taken;
}

// The client object of `window`, as a screen reader asks for it; released by the caller.
IAccessible* ClientObject(HWND window)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

Heard Hear(IAccessible* object, long item)
{
    Heard heard;
    if (!object)
        return heard;
    BSTR text = nullptr;
    heard.found = object->get_accName(Item(item), &text);
    heard.name = TakeText(text);
    text = nullptr;
    object->get_accValue(Item(item), &text);
    heard.value = TakeText(text);
    text = nullptr;
    object->get_accKeyboardShortcut(Item(item), &text);
    heard.shortcut = TakeText(text);
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    if (SUCCEEDED(object->get_accRole(Item(item), &role)) && role.vt == VT_I4)
        heard.role = role.lVal;
    if (SUCCEEDED(object->get_accState(Item(item), &state)) && state.vt == VT_I4)
        heard.state = state.lVal;
    return heard;
}

Heard Hear(HWND window, long item = CHILDID_SELF)
{
    IAccessible* object = ClientObject(window);
    const Heard heard = Hear(object, item);
    if (object)
        object->Release();
    return heard;
}

long ChildCount(HWND window)
{
    IAccessible* object = ClientObject(window);
    long count = -1;
    if (object) {
        object->get_accChildCount(&count);
        object->Release();
    }
    return count;
}

// Runs `commandLine` while this thread goes on answering its windows' messages (a reader in
// another process asks them through sent messages); its exit code, or -1.
int RunAnswering(const std::wstring& commandLine, DWORD timeoutMs)
{
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    PROCESS_INFORMATION process{};
    std::wstring command = commandLine;
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process))
        return -1;
    CloseHandle(process.hThread);
    const DWORD end = GetTickCount() + timeoutMs;
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           GetTickCount() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, code);
    else
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

class Accessibility : public MainDialogFixture {
protected:
    void SetUp() override
    {
        MainDialogFixture::SetUp();
        ASSERT_TRUE(RegisterMinimalApp(L"Mouse", L"Mouse settings", 2));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"Mouse"), L"Description", L"Pointer speed and buttons."));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(L"Mouse"), L"HelpPath", L"C:\\mouse.chm"));
    }
    // The page opens on "Categories" with the entry selected: both buttons enabled.
    void Run(std::vector<ModalScript::Step> steps) { RunPage(std::move(steps), StartRequest{L"Mouse", 0}, 15000); }
};

TEST_F(Accessibility, EveryControlOfThePageHasTheNameAndRoleAScreenReaderAnnounces)
{
    Heard open, help, strip, pane, tree, all, recent;
    std::vector<Heard> tabs;
    long tabCount = -1;
    Run({[&] {
        open = Hear(m_open);
        help = Hear(m_help);
        strip = Hear(m_tab);
        tabCount = ChildCount(m_tab);
        IAccessible* object = ClientObject(m_tab);
        for (long item = 1; item <= tabCount; ++item)
            tabs.push_back(Hear(object, item));
        if (object)
            object->Release();
        pane = Hear(m_pane);
        tree = Hear(m_tree);
        all = Hear(m_all);
        recent = Hear(m_recent);
    }});
    EXPECT_EQ(open.name, L"Open");
    EXPECT_EQ(open.role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(open.shortcut, L"Alt+O");
    EXPECT_EQ(open.state & STATE_SYSTEM_UNAVAILABLE, 0) << "enabled for the selected entry";
    EXPECT_EQ(help.name, L"Help");
    EXPECT_EQ(help.role, ROLE_SYSTEM_PUSHBUTTON);

    EXPECT_EQ(strip.role, ROLE_SYSTEM_PAGETABLIST);
    ASSERT_EQ(tabCount, 3);
    ASSERT_EQ(tabs.size(), 3u);
    const wchar_t* names[] = {L"Categories", L"List", L"Recent Settings"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tabs[i].name, names[i]);
        EXPECT_EQ(tabs[i].role, ROLE_SYSTEM_PAGETAB);
        EXPECT_EQ((tabs[i].state & STATE_SYSTEM_SELECTED) != 0, i == 0) << "only the current tab is selected";
    }

    EXPECT_EQ(pane.name, L"Description");
    EXPECT_EQ(pane.role, ROLE_SYSTEM_TEXT);
    EXPECT_NE(pane.state & STATE_SYSTEM_READONLY, 0);
    EXPECT_EQ(pane.value, L"Pointer speed and buttons.");

    EXPECT_EQ(tree.name, L"Categories");
    EXPECT_EQ(tree.role, ROLE_SYSTEM_OUTLINE);
    EXPECT_EQ(all.name, L"List");
    EXPECT_EQ(all.role, ROLE_SYSTEM_LIST);
    EXPECT_EQ(recent.name, L"Recent Settings");
    EXPECT_EQ(recent.role, ROLE_SYSTEM_LIST);
}

TEST_F(Accessibility, TabItemsSitWhereTheyAreDrawnAndSwitchTheViewAsAClickDoes)
{
    RECT drawn{};
    long left = 0, top = 0, width = 0, height = 0;
    VARIANT hit;
    VariantInit(&hit);
    HRESULT switched = E_FAIL, refused = S_OK;
    int tabAfter = -1, storedTab = -1;
    bool listShown = false;
    Heard openOnRecent;
    Run({
        [&] {
            IAccessible* object = ClientObject(m_tab);
            ASSERT_NE(object, nullptr);
            TabCtrl_GetItemRect(m_tab, 1, &drawn);
            MapWindowPoints(m_tab, nullptr, reinterpret_cast<POINT*>(&drawn), 2);
            object->accLocation(&left, &top, &width, &height, Item(2));
            RECT third{};
            TabCtrl_GetItemRect(m_tab, 2, &third);
            MapWindowPoints(m_tab, nullptr, reinterpret_cast<POINT*>(&third), 2);
            object->accHitTest((third.left + third.right) / 2, (third.top + third.bottom) / 2, &hit);
            switched = object->accDoDefaultAction(Item(2));
            object->Release();
        },
        [&] {
            tabAfter = TabCtrl_GetCurSel(m_tab);
            listShown = IsWindowVisible(m_all) != FALSE;
            LoadActiveTabId(storedTab);
            IAccessible* object = ClientObject(m_tab);
            ASSERT_NE(object, nullptr);
            object->accDoDefaultAction(Item(3));  // "Recent Settings": nothing there, nothing selected
            object->Release();
        },
        [&] {
            openOnRecent = Hear(m_open);
            IAccessible* object = ClientObject(m_open);
            ASSERT_NE(object, nullptr);
            refused = object->accDoDefaultAction(Item(CHILDID_SELF));
            object->Release();
        },
    });
    EXPECT_EQ(left, drawn.left);
    EXPECT_EQ(top, drawn.top);
    EXPECT_EQ(width, drawn.right - drawn.left);
    EXPECT_EQ(height, drawn.bottom - drawn.top);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, 3) << "the point on the third tab is its item";
    EXPECT_EQ(switched, S_OK);
    EXPECT_EQ(tabAfter, 1);
    EXPECT_TRUE(listShown);
    EXPECT_EQ(storedTab, 1) << "recorded as a switch by the user";
    EXPECT_NE(openOnRecent.state & STATE_SYSTEM_UNAVAILABLE, 0);
    EXPECT_TRUE(FAILED(refused)) << "a disabled button does nothing for the screen reader either";
}

TEST_F(Accessibility, AReaderInAnotherProcessHearsTheSameNamesAndRoles)
{
    TempDirectory scratch;
    const std::wstring strip = scratch.path() + L"strip.txt";
    const std::wstring open = scratch.path() + L"open.txt";
    int stripRead = -1, openRead = -1;
    Run({[&] {
        const std::wstring reader = L"\"" + TestBinDirectory() + L"accessible_reader.exe\" ";
        stripRead = RunAnswering(reader + std::to_wstring(reinterpret_cast<ULONG_PTR>(m_tab)) + L" \"" + strip + L"\"", 20000);
        openRead = RunAnswering(reader + std::to_wstring(reinterpret_cast<ULONG_PTR>(m_open)) + L" \"" + open + L"\"", 20000);
    }});
    ASSERT_EQ(stripRead, 0);
    ASSERT_EQ(openRead, 0);
    auto lines = [](const std::wstring& file) {
        std::ifstream in(file.c_str());
        std::vector<std::string> read;
        for (std::string line; std::getline(in, line);)
            read.push_back(line);
        return read;
    };
    // "item|role|name": a page tab list (60) of three page tabs (37); a push button (43).
    EXPECT_EQ(lines(strip), (std::vector<std::string>{"0|60|", "1|37|Categories", "2|37|List", "3|37|Recent Settings"}));
    EXPECT_EQ(lines(open), (std::vector<std::string>{"0|43|Open"}));
}

}  // namespace
