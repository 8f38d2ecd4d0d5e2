// Windows as objects: a non-owning handle wrapper, and the owning base that routes a window's
// messages (its own and those reflected from its parent) to virtual handlers.
//
// One style everywhere: a window handles a message by overriding its typed hook (OnCommand with
// id, code and source; OnSize; a control's named notification handlers), never by decoding
// WPARAM/LPARAM in a switch of its own. The framework decodes each message once, in
// Window::WindowProc, so a handler cannot get the packing wrong and a class shows by its
// overrides what it handles. WindowProc stays overridable only for painting and hooks of the
// skin layer, which must see messages before and after the control's own procedure.
#pragma once
#include "win/accessible.h"
#include "win/subclass.h"

#include <windows.h>
#include <string>

namespace win {

// A plain, copyable view of a window handle; it never destroys the window.
class WindowRef {
public:
    WindowRef() noexcept = default;
    WindowRef(HWND hwnd) noexcept : m_hWnd(hwnd) {}  // implicit on purpose: a handle is a reference

    HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    operator HWND() const noexcept { return m_hWnd; }
    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    std::wstring GetWindowText() const;
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
    bool MoveWindow(const RECT& rc, bool repaint = true) const;
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    bool SetDlgItemText(int id, const std::wstring& text) const;
    std::wstring GetDlgItemText(int id) const;
    bool ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd) != FALSE; }
    bool EnableWindow(bool enable) const { return ::EnableWindow(m_hWnd, enable) != FALSE; }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    bool IsIconic() const { return ::IsIconic(m_hWnd) != FALSE; }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::PostMessageW(m_hWnd, msg, wp, lp) != FALSE; }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT font, bool redraw = true) const { SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }
    LONG_PTR GetStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    bool Invalidate(bool erase = true) const { return ::InvalidateRect(m_hWnd, nullptr, erase) != FALSE; }

    // Centres the window on its owner when that is visible and not minimised, else on the work
    // area of the owner's monitor (the window's own when it has no owner); the result is kept
    // inside that work area.
    void CenterWindow() const;

protected:
    HWND m_hWnd = nullptr;
};

// Acts after each message that a window's own procedure (the control underneath the object)
// has handled: a skin that paints over a control. One tap per window.
class MessageTap {
public:
    virtual void AfterMessage(UINT msg) = 0;
    // The window went, or its object let go of it: no further calls come.
    virtual void OnTapReleased() = 0;

protected:
    ~MessageTap() = default;
};

// The object behind a window. It is attached by creating the window through Create, by
// subclassing an existing window, or (dialogs) by the dialog machinery. It owns its window:
// when the object goes first, the window is destroyed with it; when the window goes first
// (its parent was destroyed), the object is merely detached. A window has at most one such
// object; further win::Subclass links may sit in front of it (see win/subclass.h for how
// messages reach them and how they leave).
class Window : public WindowRef {
public:
    Window() noexcept = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The framework object attached to `hwnd`, or null when the window is not one of ours.
    // A look-up in this process's own table: no call to the window system.
    static Window* FromHandle(HWND hwnd);

    // Creates a child or top-level window of an existing class and attaches this object to it.
    bool Create(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                const RECT& rc, HWND parent, UINT id);
    // Attaches this object to an existing window by replacing its window procedure.
    bool SubclassWindow(HWND hwnd);
    // Attaches this object to the control `id` of `parent` (controls of a dialog template).
    bool SubclassDlgItem(int id, HWND parent);
    // Gives the window its own procedure back and forgets it; the window stays.
    HWND UnsubclassWindow();
    // Destroys the window (the object stays, detached).
    void DestroyWindow();

    // Attaches `tap` to the attached window (null detaches the current one); false when a
    // tap is attached already or there is no window.
    bool SetMessageTap(MessageTap* tap);
    MessageTap* GetMessageTap() const { return m_pTap; }

    // Called by the modal loop for the focus window and its parents, innermost first, until
    // one returns true (consumed). The default consumes nothing.
    virtual bool PreTranslateMessage(MSG* msg);

    // What the window tells a screen reader beyond the system's standard object, or null for
    // nothing (the system's object then answers alone). The default: the label below, if set.
    virtual AccessibleParts* GetAccessibleParts() { return m_bLabelled ? &m_accessibleLabel : nullptr; }
    // Gives a window the standard object leaves unnamed a name and a role (ROLE_SYSTEM_*).
    void SetAccessibleLabel(const std::wstring& name, long role);

protected:
    // Every message of the window. The default handles reflection and the virtual hooks below,
    // and passes the rest to Default.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // The window procedure that was in place before this object attached (for the current
    // message); the message tap, if any, acts after it.
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);

    // WM_COMMAND that no child took by reflection: the command or control id, the notification
    // code (0 for menus and posted commands) and the control that sent it (null for menus and
    // posted commands). True when handled.
    virtual bool OnCommand(UINT id, UINT code, HWND source);
    // WM_NOTIFY that no child took by reflection. True when handled; `result` is returned.
    virtual bool OnNotify(NMHDR* hdr, LRESULT& result);
    // WM_CTLCOLOR* of a child that did not answer it itself; true with the brush in `brush`.
    virtual bool OnCtlColor(HDC dc, HWND child, UINT ctlType, HBRUSH& brush);

    // Messages of this window reflected back from its parent. True when handled.
    virtual bool OnReflectedCommand(UINT id, UINT code, LRESULT& result);
    virtual bool OnReflectedNotify(NMHDR* hdr, LRESULT& result);
    virtual bool OnReflectedCtlColor(HDC dc, UINT ctlType, HBRUSH& brush);
    virtual bool OnReflectedDrawItem(DRAWITEMSTRUCT* item);
    virtual bool OnReflectedMeasureItem(MEASUREITEMSTRUCT* item);
    // WM_VSCROLL / WM_HSCROLL of a scroll-bar or track-bar control: the SB_* code and position.
    virtual bool OnReflectedScroll(bool vertical, UINT code, int position);

    // The window's own messages. Each returns true when it handled the message (the window's
    // previous procedure is then not called) unless stated otherwise.
    // WM_SIZE: SIZE_RESTORED, SIZE_MINIMIZED... and the new client size. Runs after the previous
    // procedure, which always sees the message.
    virtual void OnSize(UINT type, int width, int height);
    // WM_DESTROY, after the previous procedure has seen it; the window still exists.
    virtual void OnDestroy() {}
    // WM_PAINT.
    virtual bool OnPaint() { return false; }
    // WM_ERASEBKGND with the device context; true when the background counts as erased.
    virtual bool OnEraseBkgnd(HDC dc) { (void)dc; return false; }
    // WM_CLOSE; true when handled (the window then stays, whatever the previous procedure does).
    virtual bool OnClose() { return false; }
    // WM_MOUSEMOVE and the button messages of the client area (WM_LBUTTONDOWN...), at a point in
    // client coordinates, before the previous procedure, which always sees them too.
    virtual void OnMouseEvent(UINT msg, POINT client) { (void)msg; (void)client; }
    // WM_SYSCOMMAND with the command (low four bits cleared).
    virtual bool OnSysCommand(UINT command) { (void)command; return false; }
    // WM_GETMINMAXINFO: adjust `info`; the previous procedure has filled it first.
    virtual void OnGetMinMaxInfo(MINMAXINFO* info) { (void)info; }
    // WM_NCHITTEST: `hit` holds the previous procedure's answer and may be changed.
    virtual void OnNcHitTest(POINT screen, LRESULT& hit) { (void)screen; (void)hit; }
    // WM_QUERYDRAGICON: the icon to drag, or null for the default.
    virtual HICON OnQueryDragIcon() { return nullptr; }
    // WM_DPICHANGED: the window's new DPI and the window rectangle the system suggests for it.
    virtual bool OnDpiChanged(int dpi, const RECT& suggested) { (void)dpi; (void)suggested; return false; }

    // The object has just been attached to its window (by Create or by subclassing).
    virtual void OnAttached() {}
    // The window is being destroyed for good (WM_NCDESTROY); the object is detached after this.
    virtual void OnFinalMessage() {}

private:
    // The window's procedure link; it hands every message to WindowProc.
    class Link : public Subclass {
    public:
        explicit Link(Window& window) noexcept : m_window(window) {}
        using Subclass::CallPrevious;

    protected:
        LRESULT OnSubclassMessage(UINT msg, WPARAM wp, LPARAM lp) override;
        void OnFinalMessage() override;

    private:
        Window& m_window;
    };

    // Forgets the window after its last message (the link leaves by itself).
    void ForgetWindow();
    void ReleaseTap();

    Link m_link{*this};
    MessageTap* m_pTap = nullptr;
    AccessibleLabel m_accessibleLabel;
    bool m_bLabelled = false;
};

}  // namespace win
