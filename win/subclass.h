// One link of a window's procedure chain with an object behind it.
//
// Each link has a small code thunk of its own as its window procedure: the thunk hands the
// link to a shared procedure, so a message reaches its object without any lookup (a window
// property, the usual way, costs a server round trip per message under Wine) and without
// claiming the window's user data, which stays free for whoever owns the window (also
// GWLP_USERDATA of a subclassed system control and DWLP_USER of a dialog).
//
// Contract:
// - Any number of links may sit on one window; the last attached sees a message first, and
//   each passes it on by CallPrevious.
// - Messages sent before Attach (creation messages) go to the window's procedure of that time.
// - A link may leave in any order. When it is not the window's first procedure any more
//   (someone attached later), it stays in the chain, forwarding untouched, until the window is
//   destroyed; its object is free to go at once.
// - WM_NCDESTROY reaches OnFinalMessage while the object is still attached; then the link
//   leaves (whatever the handler did) and the message goes on.
// - Handlers may re-enter (send to their own window) and may detach or destroy their own
//   window; nothing touches the object after its handler has returned from such a call.
// Links are attached and detached on the window's own thread.
#pragma once
#include <windows.h>

namespace win {

namespace detail {
struct ProcedureLink;
}

class Subclass {
public:
    Subclass() noexcept = default;
    virtual ~Subclass();  // detaches
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;

    // Puts this object in front of the window's current procedure. False when this object is
    // attached already, or `hwnd` is no window of this process.
    bool AttachTo(HWND hwnd);
    // Leaves the window (see the contract above); returns it, or null when not attached.
    HWND DetachFrom();
    HWND GetAttachedWindow() const;

protected:
    // Every message of the attached window that reaches this link.
    virtual LRESULT OnSubclassMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
    // The window is being destroyed (WM_NCDESTROY); the link leaves right after.
    virtual void OnFinalMessage() {}
    // The procedure that was in place when this link attached; DefWindowProc once detached.
    LRESULT CallPrevious(UINT msg, WPARAM wp, LPARAM lp) const;

private:
    friend struct detail::ProcedureLink;
    void Forget();  // drops the link from this object and this object from the link

    detail::ProcedureLink* m_pLink = nullptr;
    HWND m_hAttached = nullptr;
    WNDPROC m_prevProc = nullptr;
};

// Links alive in this process, attached or left behind in a chain (for tests of their lifetime).
long LiveProcedureLinks();

}  // namespace win
