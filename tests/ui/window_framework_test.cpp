// The window framework: handle owners, attachment and lifetime, reflection, and the modal loop.
#include "win/window_messages.h"
#include "win/controls.h"
#include "win/dialog.h"
#include "win/handles.h"
#include "tests/ui/fake_monitors.h"
#include "tests/ui/memory_template.h"
#include "tests/ui/modal_script.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

const UINT kProbe = WM_APP + 17;

TEST(Handles, OwnersCloseExactlyOnceAndMoveOwnership)
{
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(raw, nullptr);
    DWORD flags = 0;
    {
        win::UniqueHandle first(raw);
        win::UniqueHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), raw);
        win::UniqueHandle third;
        third = std::move(second);
        EXPECT_EQ(third.get(), raw);
        EXPECT_TRUE(GetHandleInformation(raw, &flags)) << "still open while owned";
    }
    EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "closed when the last owner ended";

    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    win::UniqueBrush owner(brush);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    HBRUSH released = owner.release();
    EXPECT_FALSE(owner);
    owner.reset();  // owns nothing: must not delete the released brush
    EXPECT_EQ(GetObjectType(released), static_cast<DWORD>(OBJ_BRUSH));
    owner.reset(released);
    owner.reset();
    EXPECT_EQ(GetObjectType(released), 0u);

    win::UniqueFile noFile;  // INVALID_HANDLE_VALUE is this kind's empty value
    EXPECT_FALSE(noFile);
    EXPECT_EQ(noFile.get(), INVALID_HANDLE_VALUE);
}

// A window that logs what reaches it and can be told to consume or decline.
class Probe : public win::Window {
public:
    explicit Probe(std::vector<std::string>* log, const char* name) : m_log(log), m_name(name) {}
    bool consumePreTranslate = false;
    bool takeReflected = false;

    bool PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == kProbe)
            m_log->push_back(std::string("pre:") + m_name);
        return msg->message == kProbe && consumePreTranslate;
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == kProbe)
            m_log->push_back(std::string("dispatch:") + m_name);
        return win::Window::WindowProc(msg, wp, lp);
    }
    bool OnCommand(UINT id, UINT code, HWND) override
    {
        if (code != BN_CLICKED)
            return false;  // the edit's focus notifications
        m_log->push_back(std::string("command:") + m_name + ":" + std::to_string(id));
        return true;
    }
    bool OnReflectedCommand(UINT, UINT code, LRESULT&) override
    {
        if (takeReflected)
            m_log->push_back(std::string("reflected-command:") + m_name + ":" + std::to_string(code));
        return takeReflected;
    }
    bool OnReflectedNotify(NMHDR* hdr, LRESULT& result) override
    {
        if (!takeReflected)
            return false;
        m_log->push_back(std::string("reflected-notify:") + m_name + ":" + std::to_string(hdr->code));
        result = 42;
        return true;
    }
    bool OnReflectedCtlColor(HDC, UINT ctlType, HBRUSH& brush) override
    {
        if (!takeReflected || ctlType != CTLCOLOR_STATIC)
            return false;
        brush = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        return true;
    }

private:
    std::vector<std::string>* m_log;
    const char* m_name;
};

// A dialog from an in-memory template holding a container with an edit inside it.
class NestingDialog : public win::Dialog {
public:
    explicit NestingDialog(std::vector<std::string>* log, HWND parent = nullptr)
        : win::Dialog(0, parent), container(log, "container"), edit(log, "edit"), m_log(log),
          m_template(MakeDialogTemplate(L"Nesting", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE))
    {
        SetTemplateIndirect(reinterpret_cast<const DLGTEMPLATE*>(m_template.data()));
    }
    Probe container;
    Probe edit;
    bool consumeAtDialog = false;
    std::function<void(HWND)> onInit;

    bool PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == kProbe)
            m_log->push_back("pre:dialog");
        return msg->message == kProbe && consumeAtDialog;
    }

protected:
    BOOL OnInitDialog() override
    {
        win::Dialog::OnInitDialog();
        container.Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, WS_EX_CONTROLPARENT, RECT{5, 5, 150, 80}, m_hWnd, 100);
        edit.Create(L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, RECT{5, 5, 100, 25}, container, 101);
        edit.SetFocus();
        if (onInit)
            onInit(m_hWnd);
        return FALSE;
    }
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == kProbe)
            m_log->push_back("dispatch:dialog");
        return win::Dialog::WindowProc(msg, wp, lp);
    }

private:
    std::vector<std::string>* m_log;
    std::vector<WORD> m_template;
};

TEST(ModalLoop, PreTranslateRunsFromTheFocusUpToTheDialogAndStopsAtTheFirstConsumer)
{
    struct Case {
        const char* consumer;  // "", "edit", "container" or "dialog"
        std::vector<std::string> expected;
    } cases[] = {
        {"", {"pre:edit", "pre:container", "pre:dialog", "dispatch:dialog"}},
        {"edit", {"pre:edit"}},
        {"container", {"pre:edit", "pre:container"}},
        {"dialog", {"pre:edit", "pre:container", "pre:dialog"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> log;
        NestingDialog dialog(&log);
        dialog.edit.consumePreTranslate = std::string(c.consumer) == "edit";
        dialog.container.consumePreTranslate = std::string(c.consumer) == "container";
        dialog.consumeAtDialog = std::string(c.consumer) == "dialog";
        ModalScript script({
            [&] { PostMessageW(dialog, kProbe, 0, 0); },
            [&] { PostMessageW(dialog, WM_CLOSE, 0, 0); },
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(log, c.expected) << "consumer: " << c.consumer;
    }
}

TEST(ModalLoop, OwnerIsDisabledWhileANestedDialogRunsAndEnabledAfter)
{
    std::vector<std::string> log;
    NestingDialog outer(&log);
    HWND innerOwner = nullptr, outerWindow = nullptr;
    bool outerDisabledMeanwhile = false, outerEnabledAfter = false;
    INT_PTR innerResult = 0;
    ModalScript script({
        [&] {
            outerWindow = outer;
            NestingDialog inner(&log);  // no parent: owned by the running modal dialog
            inner.onInit = [&](HWND hwnd) {
                innerOwner = GetWindow(hwnd, GW_OWNER);
                outerDisabledMeanwhile = !IsWindowEnabled(outer);
                PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
            };
            innerResult = inner.DoModal();
            outerEnabledAfter = IsWindowEnabled(outer) != FALSE;
        },
        [&] { PostMessageW(outer, WM_CLOSE, 0, 0); },
    });
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(innerResult, IDCANCEL);
    EXPECT_NE(innerOwner, nullptr);
    EXPECT_EQ(innerOwner, outerWindow);
    EXPECT_TRUE(outerDisabledMeanwhile);
    EXPECT_TRUE(outerEnabledAfter);
}

TEST(ModalLoop, QuitMessageEndsTheRunAndIsPassedOn)
{
    std::vector<std::string> log;
    NestingDialog dialog(&log);
    ModalScript script({[&] { PostQuitMessage(7); }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(dialog.GetSafeHwnd());
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(ModalLoop, MissingTemplateGivesMinusOneAndLeavesTheOwnerEnabled)
{
    win::Window owner;
    ASSERT_TRUE(owner.Create(L"STATIC", L"Owner", WS_POPUP | WS_VISIBLE, 0, RECT{0, 0, 100, 100}, nullptr, 0));
    win::Dialog dialog(54321, owner);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.IsModalRunning());
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST(Reflection, ChildrenAnswerTheirOwnCommandsNotificationsAndColoursOrLetTheParentHaveThem)
{
    for (bool childTakes : {true, false}) {
        std::vector<std::string> log;
        Probe parent(&log, "parent");
        Probe child(&log, "child");
        ASSERT_TRUE(parent.Create(L"STATIC", L"", WS_POPUP, 0, RECT{0, 0, 100, 100}, nullptr, 0));
        ASSERT_TRUE(child.Create(L"BUTTON", L"x", WS_CHILD | BS_PUSHBUTTON, 0, RECT{0, 0, 50, 20}, parent, 77));
        child.takeReflected = childTakes;

        SendMessageW(child, BM_CLICK, 0, 0);
        NMHDR hdr{child, 77, static_cast<UINT>(NM_CLICK)};
        LRESULT notifyResult = SendMessageW(parent, WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&hdr));
        HDC dc = GetDC(child);
        LRESULT brush = SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child.GetSafeHwnd()));
        ReleaseDC(child, dc);

        if (childTakes) {
            EXPECT_EQ(log, (std::vector<std::string>{"reflected-command:child:0",
                                                     "reflected-notify:child:" + std::to_string(static_cast<UINT>(NM_CLICK))}));
            EXPECT_EQ(notifyResult, 42);
            EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH)));
        } else {
            EXPECT_EQ(log, (std::vector<std::string>{"command:parent:77"}));
            EXPECT_EQ(notifyResult, 0);
            EXPECT_NE(brush, reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH)));
        }
    }
}

// A tree that reports its selection changes through the named handler only.
class SelectionTree : public win::TreeCtrl {
public:
    explicit SelectionTree(std::vector<std::string>* log) : m_log(log) {}

protected:
    bool OnSelChanged(HTREEITEM newItem, HTREEITEM oldItem, LRESULT&) override
    {
        auto text = [this](HTREEITEM item) {
            const std::wstring wide = item ? GetItemText(item) : L"-";
            return std::string(wide.begin(), wide.end());
        };
        m_log->push_back("selchanged:" + text(oldItem) + ">" + text(newItem));
        return true;
    }

private:
    std::vector<std::string>* m_log;
};

// A dialog with a push button and a tree, hearing both only through the typed hooks.
class TypedHookDialog : public win::Dialog {
public:
    static const UINT kButtonId = 300;
    explicit TypedHookDialog(std::vector<std::string>* log)
        : win::Dialog(0, nullptr), tree(log), m_log(log),
          m_template(MakeDialogTemplate(L"Typed", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE))
    {
        SetTemplateIndirect(reinterpret_cast<const DLGTEMPLATE*>(m_template.data()));
    }
    win::Button button;
    SelectionTree tree;
    HTREEITEM second = nullptr;

protected:
    BOOL OnInitDialog() override
    {
        win::Dialog::OnInitDialog();
        button.Create(L"Go", WS_CHILD | WS_VISIBLE | WS_TABSTOP, RECT{5, 5, 85, 29}, m_hWnd, kButtonId);
        tree.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_SHOWSELALWAYS, 0, RECT{5, 35, 195, 135}, m_hWnd, 301);
        tree.SelectItem(tree.InsertItem(L"First", 0, 0, 1));
        second = tree.InsertItem(L"Second", 0, 0, 2);
        return TRUE;
    }
    bool OnCommand(UINT id, UINT code, HWND source) override
    {
        if (id == kButtonId)
            m_log->push_back("command:" + std::to_string(id) + ":" + std::to_string(code) +
                             (source == button.GetSafeHwnd() ? ":button" : ":?"));
        return win::Dialog::OnCommand(id, code, source);
    }

private:
    std::vector<std::string>* m_log;
    std::vector<WORD> m_template;
};

// Presses and releases the left button over the middle of `rc` (client coordinates of `target`).
void Click(HWND target, const RECT& rc)
{
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(target, WM_LBUTTONUP, 0, at);
}

TEST(TypedHooks, AClickedButtonArrivesAsItsCommandAndAClickedTreeNodeAsASelectionChange)
{
    std::vector<std::string> log;
    TypedHookDialog dialog(&log);
    ModalScript script({
        [&] {
            log.clear();  // what the set-up selected is not the user's
            Click(dialog.button, dialog.button.GetClientRect());
        },
        [&] {
            RECT item{};
            std::memcpy(&item, &dialog.second, sizeof(dialog.second));  // TVM_GETITEMRECT takes the node in
            SendMessageW(dialog.tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item));
            Click(dialog.tree, item);
        },
        [&] { PostMessageW(dialog, WM_CLOSE, 0, 0); },
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.AllStepsRan());
    EXPECT_EQ(log, (std::vector<std::string>{"command:300:" + std::to_string(BN_CLICKED) + ":button",
                                             "selchanged:First>Second"}));
}

TEST(WindowLifetime, ObjectAndWindowMayEachGoFirst)
{
    std::vector<std::string> log;
    HWND hwnd = nullptr;
    {
        Probe object(&log, "a");
        ASSERT_TRUE(object.Create(L"STATIC", L"", WS_POPUP, 0, RECT{0, 0, 10, 10}, nullptr, 0));
        hwnd = object;
        EXPECT_EQ(win::Window::FromHandle(hwnd), &object);
        Probe second(&log, "b");
        EXPECT_FALSE(second.SubclassWindow(hwnd)) << "one object per window";
    }
    EXPECT_FALSE(IsWindow(hwnd)) << "the object took its window with it";

    Probe parentObject(&log, "parent");
    Probe childObject(&log, "child");
    ASSERT_TRUE(parentObject.Create(L"STATIC", L"", WS_POPUP, 0, RECT{0, 0, 10, 10}, nullptr, 0));
    ASSERT_TRUE(childObject.Create(L"STATIC", L"", WS_CHILD, 0, RECT{0, 0, 5, 5}, parentObject, 1));
    HWND child = childObject;
    DestroyWindow(parentObject);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(childObject.GetSafeHwnd(), nullptr) << "detached when its window went";
    EXPECT_EQ(parentObject.GetSafeHwnd(), nullptr);

    // A plain window that is not ours has no object.
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(win::Window::FromHandle(plain), nullptr);
    Probe late(&log, "late");
    ASSERT_TRUE(late.SubclassWindow(plain));
    EXPECT_EQ(late.UnsubclassWindow(), plain);
    EXPECT_EQ(win::Window::FromHandle(plain), nullptr);
    EXPECT_TRUE(IsWindow(plain)) << "unsubclassing leaves the window";
    DestroyWindow(plain);
}

// A link in front of a window's procedure that logs the probe message and passes it on.
class LoggingLink : public win::Subclass {
public:
    LoggingLink(std::vector<std::string>* log, const char* name) : m_log(log), m_name(name) {}
    int finalMessages = 0;

protected:
    LRESULT OnSubclassMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == kProbe)
            m_log->push_back(std::string("link:") + m_name);
        return CallPrevious(msg, wp, lp);
    }
    void OnFinalMessage() override { ++finalMessages; }

private:
    std::vector<std::string>* m_log;
    const char* m_name;
};

BOOL CALLBACK CountProperty(HWND, LPWSTR, HANDLE, ULONG_PTR count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST(ProcedureChain, LinksInFrontSeeMessagesFirstAndTheObjectKeepsItsReflectionsWithoutProperties)
{
    std::vector<std::string> log;
    Probe parent(&log, "parent");
    Probe child(&log, "child");
    ASSERT_TRUE(parent.Create(L"STATIC", L"", WS_POPUP, 0, RECT{0, 0, 100, 100}, nullptr, 0));
    ASSERT_TRUE(child.Create(L"BUTTON", L"x", WS_CHILD | BS_PUSHBUTTON, 0, RECT{0, 0, 50, 20}, parent, 77));
    child.takeReflected = true;
    LoggingLink inner(&log, "inner");
    LoggingLink outer(&log, "outer");
    ASSERT_TRUE(inner.AttachTo(child));
    ASSERT_TRUE(outer.AttachTo(child));
    EXPECT_FALSE(outer.AttachTo(parent)) << "one window per link";

    SendMessageW(child, kProbe, 0, 0);
    SendMessageW(child, BM_CLICK, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"link:outer", "link:inner", "dispatch:child", "reflected-command:child:0"}));
    EXPECT_EQ(win::Window::FromHandle(child), &child) << "links in front leave the object found";
    EXPECT_EQ(win::Window::FromHandle(parent), &parent);

    // No property beyond those the platform gives a plain window of the same kind.
    HWND plainParent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND plainChild = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20, plainParent,
                                      reinterpret_cast<HMENU>(78), nullptr, nullptr);
    int properties = 0;
    int plainProperties = 0;
    EnumPropsExW(child, CountProperty, reinterpret_cast<LPARAM>(&properties));
    EnumPropsExW(parent, CountProperty, reinterpret_cast<LPARAM>(&properties));
    EnumPropsExW(plainChild, CountProperty, reinterpret_cast<LPARAM>(&plainProperties));
    EnumPropsExW(plainParent, CountProperty, reinterpret_cast<LPARAM>(&plainProperties));
    DestroyWindow(plainParent);
    EXPECT_EQ(properties, plainProperties) << "a window property costs a server round trip per message";
    EXPECT_EQ(GetWindowLongPtrW(child, GWLP_USERDATA), 0) << "the window's user data stays its owner's";
}

TEST(ProcedureChain, LinksLeaveInAnyOrderAndTheWindowKeepsWorkingUntilItGoes)
{
    const long before = win::LiveProcedureLinks();
    std::vector<std::string> log;
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"text", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    {
        Probe object(&log, "object");
        LoggingLink front(&log, "front");
        ASSERT_TRUE(object.SubclassWindow(hwnd));
        ASSERT_TRUE(front.AttachTo(hwnd));

        // The object leaves from behind the link: its procedure stays in the chain, forwarding.
        EXPECT_EQ(object.UnsubclassWindow(), hwnd);
        EXPECT_EQ(win::Window::FromHandle(hwnd), nullptr);
        SendMessageW(hwnd, kProbe, 0, 0);
        EXPECT_EQ(win::WindowRef(hwnd).GetWindowText(), L"text") << "the control's own procedure still answers";
        EXPECT_EQ(win::LiveProcedureLinks(), before + 2);

        // A new object may take the window; the old links go when the window does.
        Probe second(&log, "second");
        ASSERT_TRUE(second.SubclassWindow(hwnd));
        EXPECT_EQ(front.DetachFrom(), hwnd);
        SendMessageW(hwnd, kProbe, 0, 0);
        EXPECT_EQ(log, (std::vector<std::string>{"link:front", "dispatch:second"}));
        EXPECT_EQ(second.UnsubclassWindow(), hwnd);
    }
    EXPECT_TRUE(IsWindow(hwnd)) << "objects and links that leave leave the window";
    EXPECT_EQ(win::WindowRef(hwnd).GetWindowText(), L"text");
    DestroyWindow(hwnd);
    EXPECT_EQ(win::LiveProcedureLinks(), before) << "a link left behind goes with its window";

    // A window made after another went takes its link again: the platform keeps every distinct
    // window procedure it has seen.
    Probe first(&log, "first");
    ASSERT_TRUE(first.Create(L"STATIC", L"", WS_POPUP, 0, RECT{0, 0, 5, 5}, nullptr, 0));
    const LONG_PTR procedure = GetWindowLongPtrW(first, GWLP_WNDPROC);
    first.DestroyWindow();
    Probe next(&log, "next");
    ASSERT_TRUE(next.Create(L"STATIC", L"", WS_POPUP, 0, RECT{0, 0, 5, 5}, nullptr, 0));
    EXPECT_EQ(GetWindowLongPtrW(next, GWLP_WNDPROC), procedure);
}

// Sends the probe to itself once more from inside its handler, and destroys its own window
// on WM_USER; counts its last messages.
class ReentrantWindow : public win::Window {
public:
    std::vector<int> depths;
    int finalMessages = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == kProbe) {
            depths.push_back(static_cast<int>(wp));
            if (wp < 2)
                SendMessage(kProbe, wp + 1);
            return 0;
        }
        if (msg == WM_USER) {
            DestroyWindow();
            return Default(msg, wp, lp);  // after its window went: must not reach a dead one
        }
        return win::Window::WindowProc(msg, wp, lp);
    }
    void OnFinalMessage() override { finalMessages += m_hWnd ? 1 : 100; }
};

TEST(ProcedureChain, HandlersMayReenterAndDestroyTheirOwnWindow)
{
    const long before = win::LiveProcedureLinks();
    ReentrantWindow object;
    ASSERT_TRUE(object.Create(L"STATIC", L"", WS_POPUP, 0, RECT{0, 0, 5, 5}, nullptr, 0));
    std::vector<std::string> log;
    LoggingLink front(&log, "front");
    ASSERT_TRUE(front.AttachTo(object));
    const HWND hwnd = object;
    object.SendMessage(kProbe, 0);
    EXPECT_EQ(object.depths, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(log, (std::vector<std::string>{"link:front", "link:front", "link:front"}));

    SendMessageW(hwnd, WM_USER, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(object.GetSafeHwnd(), nullptr);
    EXPECT_EQ(object.finalMessages, 1) << "once, while still attached";
    EXPECT_EQ(front.finalMessages, 1);
    EXPECT_EQ(front.GetAttachedWindow(), nullptr);
    EXPECT_EQ(win::Window::FromHandle(hwnd), nullptr);
    EXPECT_EQ(win::LiveProcedureLinks(), before);
}

TEST(Controls, WrappersInsertAndReadBackItems)
{
    win::Window host;
    ASSERT_TRUE(host.Create(L"STATIC", L"", WS_POPUP, 0, RECT{0, 0, 300, 300}, nullptr, 0));
    win::TabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD, 0, RECT{0, 0, 300, 100}, host, 1));
    EXPECT_EQ(tabs.InsertItem(0, L"First"), 0);
    EXPECT_EQ(tabs.InsertItem(1, L"Second"), 1);
    EXPECT_EQ(tabs.GetItemCount(), 2);
    tabs.SetCurSel(1);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    EXPECT_EQ(tabs.GetItemText(1), L"Second");

    win::TreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD, 0, RECT{0, 0, 300, 200}, host, 2));
    HTREEITEM root = tree.InsertItem(L"Root", 0, 0, 11);
    HTREEITEM leafB = tree.InsertItem(L"beta", 1, 1, 22, root);
    HTREEITEM leafA = tree.InsertItem(L"Alpha", 1, 1, 33, root);
    EXPECT_TRUE(tree.ItemHasChildren(root));
    EXPECT_FALSE(tree.ItemHasChildren(leafA));
    EXPECT_EQ(tree.GetParentItem(leafB), root);
    EXPECT_TRUE(tree.SortChildren(root));
    EXPECT_EQ(tree.GetChildItem(root), leafA);
    EXPECT_EQ(tree.GetNextSiblingItem(leafA), leafB);
    EXPECT_EQ(tree.GetItemData(leafB), 22);
    EXPECT_EQ(tree.GetItemText(leafA), L"Alpha");
    EXPECT_TRUE(tree.SelectItem(leafB));
    EXPECT_EQ(tree.GetSelectedItem(), leafB);

    win::ListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT | LVS_SORTASCENDING, 0, RECT{0, 0, 300, 200}, host, 3));
    list.InsertColumn(0, L"Name", 200);
    list.InsertItem(0, L"zeta", -1, 1);
    list.InsertItem(1, L"Eta", -1, 2);
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(0), L"Eta");
    EXPECT_EQ(list.GetItemData(0), 2);
    EXPECT_EQ(list.GetSelectedItem(), -1);
    EXPECT_TRUE(list.SelectItem(1));
    EXPECT_EQ(list.GetSelectedItem(), 1);

    win::ImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 4));
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    EXPECT_EQ(images.AddIcon(icon), 0);
    EXPECT_EQ(images.AddIcon(icon), 1);
    EXPECT_EQ(images.GetImageCount(), 2);
}

namespace {

// A 16-pixel icon: with `alpha`, a 32-bit image whose alpha runs from clear to opaque; without,
// an opaque image whose mask leaves its left quarter transparent.
win::UniqueIcon MakeIcon(bool alpha)
{
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = 16;
    bmi.bmiHeader.biHeight = -16;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    win::UniqueBitmap colour(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const DWORD a = alpha ? static_cast<DWORD>(x * 17) : 0;
            const DWORD r = alpha ? (0xC0 * a) / 255 : 0xC0;  // premultiplied like the images of files
            pixels[y * 16 + x] = (a << 24) | (r << 16) | static_cast<DWORD>(y * 16);
        }
    }
    BYTE maskBits[16 * 2];
    for (int y = 0; y < 16; ++y) {
        maskBits[2 * y] = alpha ? 0x00 : 0xF0;
        maskBits[2 * y + 1] = 0x00;
    }
    win::UniqueBitmap mask(CreateBitmap(16, 16, 1, 1, maskBits));
    ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
    return win::UniqueIcon(CreateIconIndirect(&info));
}

// The pixels of image 0 of `images` drawn transparently over `background`.
std::vector<COLORREF> Drawn(HIMAGELIST images, COLORREF background)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    win::UniqueBitmap target(CreateCompatibleBitmap(screen, 16, 16));
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target.get());
    win::UniqueBrush brush(CreateSolidBrush(background));
    RECT all{0, 0, 16, 16};
    FillRect(dc, &all, brush.get());
    ImageList_Draw(images, 0, dc, 0, 0, ILD_TRANSPARENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    return pixels;
}

}  // namespace

TEST(ImageList, AnIconOfTheListsSizeDrawsAsTheSystemPlacesItAndOtherSizesAreScaled)
{
    for (const bool alpha : {true, false}) {
        SCOPED_TRACE(alpha ? "alpha channel" : "mask");
        const win::UniqueIcon icon = MakeIcon(alpha);
        ASSERT_TRUE(icon);
        win::ImageList ours;
        win::ImageList systems;
        ASSERT_TRUE(ours.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 4));
        ASSERT_TRUE(systems.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 4));
        EXPECT_EQ(ours.AddIcon(icon.get()), 0);
        ASSERT_EQ(ImageList_ReplaceIcon(systems.GetSafeHandle(), -1, icon.get()), 0);
        for (const COLORREF background : {RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 128, 255)}) {
            const std::vector<COLORREF> expected = Drawn(systems.GetSafeHandle(), background);
            EXPECT_EQ(Drawn(ours.GetSafeHandle(), background), expected) << std::hex << background;
            EXPECT_NE(expected.front(), expected.back()) << "the probe sees the transparent part";
        }
    }
    // A larger icon becomes one scaled image, not two side by side.
    win::ImageList images;
    ASSERT_TRUE(images.Create(8, 8, ILC_COLOR32 | ILC_MASK, 1, 4));
    const win::UniqueIcon icon = MakeIcon(true);
    EXPECT_EQ(images.AddIcon(icon.get()), 0);
    EXPECT_EQ(images.AddIcon(nullptr), -1);
    EXPECT_EQ(images.GetImageCount(), 1);
}

TEST(Centring, OnTheOwnersMonitorAndInsideItsWorkArea)
{
    // The primary monitor, and one to its right whose work area leaves 60 pixels on the left
    // and 40 at the bottom to bars.
    FakeMonitors monitors({{{0, 0, 1024, 768}, {0, 0, 1024, 768}}, {{1024, 0, 2048, 768}, {1084, 0, 2048, 728}}});
    const struct {
        const char* what;
        RECT owner;
        bool ownerVisible;
        RECT expected;
    } cases[] = {
        {"hidden owner: the middle of its monitor's work area", {1200, 100, 1400, 300}, false, {1466, 314, 1666, 414}},
        {"visible owner at the edge: on it, kept inside the work area", {1900, 100, 2100, 300}, true,
         {1848, 150, 2048, 250}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        win::Window owner;
        ASSERT_TRUE(owner.Create(L"STATIC", L"", WS_POPUP | (c.ownerVisible ? WS_VISIBLE : 0), 0, c.owner, nullptr, 0));
        win::Window owned;
        ASSERT_TRUE(owned.Create(L"STATIC", L"", WS_POPUP, 0, RECT{0, 0, 200, 100}, owner, 0));
        owned.CenterWindow();
        const RECT rc = owned.GetWindowRect();
        EXPECT_EQ(rc.left, c.expected.left);
        EXPECT_EQ(rc.top, c.expected.top);
        EXPECT_EQ(rc.right, c.expected.right);
        EXPECT_EQ(rc.bottom, c.expected.bottom);
    }
}

}  // namespace

TEST(RedrawLock, AWindowKeepsItsVisibilityThroughALock)
{
    for (bool visible : {false, true}) {
        HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 50, 50, nullptr,
                                      nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        {
            const win::RedrawLock lock(window);
            EXPECT_FALSE(IsWindowVisible(window)) << "redrawing off, as the system marks it";
        }
        EXPECT_EQ(IsWindowVisible(window) != FALSE, visible) << "visible before: " << visible;
        DestroyWindow(window);
    }
}
