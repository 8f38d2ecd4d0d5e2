// Thin wrappers of the common and standard controls the views use. Each is a Window, so it
// can be created or bound to a template control and receive its reflected messages.
#pragma once
#include "win/handles.h"
#include "win/window.h"

#include <commctrl.h>
#include <string>

namespace win {

class Button : public Window {
public:
    bool Create(const std::wstring& text, DWORD style, const RECT& rc, HWND parent, UINT id)
    {
        return Window::Create(L"BUTTON", text, style, 0, rc, parent, id);
    }
    // Whether the button is drawn pushed in (the mouse or the space bar holds it).
    bool IsPushed() const { return (SendMessage(BM_GETSTATE) & BST_PUSHED) != 0; }
    // A click posted to the button: it arrives after the caller has returned.
    void PostClick() const { PostMessage(BM_CLICK); }
};

class Edit : public Window {
public:
    bool Create(DWORD style, DWORD exStyle, const RECT& rc, HWND parent, UINT id)
    {
        return Window::Create(L"EDIT", L"", style, exStyle, rc, parent, id);
    }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    void SelectAll() const { SendMessage(EM_SETSEL, 0, -1); }
    // Pixels between the text and the left and right edges of the client area.
    void SetMargins(int left, int right) const
    {
        SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(left, right));
    }
    // Where the text is drawn, in client coordinates.
    RECT GetFormattingRect() const
    {
        RECT rc{0, 0, 0, 0};
        SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rc));
        return rc;
    }
};

class TabCtrl : public Window {
public:
    bool Create(DWORD style, DWORD exStyle, const RECT& rc, HWND parent, UINT id)
    {
        return Window::Create(WC_TABCONTROLW, L"", style, exStyle, rc, parent, id);
    }
    // Index of the new tab, or -1.
    int InsertItem(int index, const std::wstring& text);
    std::wstring GetItemText(int index) const;
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    // The previously selected tab, or -1.
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(TCM_SETCURSEL, index)); }
    // Moves the focus to a tab; a strip without TCS_BUTTONS also makes it the current one, with
    // the notifications a click sends.
    void SetCurFocus(int index) const { SendMessage(TCM_SETCURFOCUS, index); }
    void SetItemSize(int width, int height) const { SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(width, height)); }
    bool GetItemRect(int index, RECT& rc) const { return SendMessage(TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc)) != 0; }

protected:
    // The strip's own notifications, reflected back to it; true when handled, with `result`.
    bool OnReflectedNotify(NMHDR* hdr, LRESULT& result) override;

    // TCN_SELCHANGE: the user made another tab current (mouse or the strip's own keys).
    virtual bool OnSelChange(LRESULT& result);
};

class TreeCtrl : public Window {
public:
    bool Create(DWORD style, DWORD exStyle, const RECT& rc, HWND parent, UINT id)
    {
        return Window::Create(WC_TREEVIEWW, L"", style, exStyle, rc, parent, id);
    }
    // Appends a node under `parent` (TVI_ROOT for the root) after `after`; null on failure. An
    // image below 0 leaves the node without images, but I_IMAGECALLBACK has the control ask for
    // them when it first needs them (TVN_GETDISPINFO).
    HTREEITEM InsertItem(const std::wstring& text, int image, int selectedImage, LPARAM data,
                         HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST) const;
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    bool SelectItem(HTREEITEM item) const { return SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0; }
    bool DeleteItem(HTREEITEM item) const { return SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)) != 0; }
    bool SortChildren(HTREEITEM item) const { return SendMessage(TVM_SORTCHILDREN, FALSE, reinterpret_cast<LPARAM>(item)) != 0; }
    // Sorts the children of `item` (not deeper) by `compare` over their item data.
    bool SortChildren(HTREEITEM item, PFNTVCOMPARE compare, LPARAM context) const;
    bool EnsureVisible(HTREEITEM item) const { return SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)) != 0; }
    // TVE_EXPAND or TVE_COLLAPSE.
    bool Expand(HTREEITEM item, UINT action) const { return SendMessage(TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)) != 0; }
    bool IsExpanded(HTREEITEM item) const { return (SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0; }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    // Scrolls so that `item` is the first node in view.
    bool SetFirstVisible(HTREEITEM item) const { return SendMessage(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(item)) != 0; }
    LPARAM GetItemData(HTREEITEM item) const;
    std::wstring GetItemText(HTREEITEM item) const;
    bool ItemHasChildren(HTREEITEM item) const;
    bool SetItemImage(HTREEITEM item, int image, int selectedImage) const;
    // Shows the node as one with children (an expand button) before any are inserted.
    bool SetHasChildren(HTREEITEM item) const;
    // The node's image index, or -1.
    int GetItemImage(HTREEITEM item) const;
    // The node at a point in client coordinates, or null.
    HTREEITEM HitTest(POINT pt, UINT* flags = nullptr) const;
    void SetItemHeight(int height) const { SendMessage(TVM_SETITEMHEIGHT, height); }
    void SetImageList(HIMAGELIST list, int which = TVSIL_NORMAL) const { SendMessage(TVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list)); }

protected:
    // The control's own notifications, reflected back to it and decoded into the handlers below.
    // Each handler returns true when it handled the notification; the notification's result is
    // then `result` (0 unless the handler sets it).
    bool OnReflectedNotify(NMHDR* hdr, LRESULT& result) override;

    // TVN_SELCHANGED: the newly selected node (null when none) and the one before.
    virtual bool OnSelChanged(HTREEITEM newItem, HTREEITEM oldItem, LRESULT& result);
    // TVN_ITEMEXPANDING: before the node opens (TVE_EXPAND) or closes; a result of TRUE stops it.
    virtual bool OnItemExpanding(HTREEITEM item, UINT action, LRESULT& result);
    // TVN_ITEMEXPANDED: the node and TVE_EXPAND or TVE_COLLAPSE (other actions as given).
    virtual bool OnItemExpanded(HTREEITEM item, UINT action, LRESULT& result);
    // TVN_GETDISPINFO: the control asks for what a node holds as a callback (item.mask says what).
    virtual bool OnGetDispInfo(TVITEMW& item, LRESULT& result);
    // NM_DBLCLK, NM_RCLICK, NM_RETURN: where the pointer is is the handler's to ask.
    virtual bool OnDblClk(LRESULT& result);
    virtual bool OnRClick(LRESULT& result);
    virtual bool OnReturn(LRESULT& result);
    // TVN_KEYDOWN with the virtual key.
    virtual bool OnKeyDown(WORD key, LRESULT& result);
};

class ListCtrl : public Window {
public:
    bool Create(DWORD style, DWORD exStyle, const RECT& rc, HWND parent, UINT id)
    {
        return Window::Create(WC_LISTVIEWW, L"", style, exStyle, rc, parent, id);
    }
    int InsertColumn(int index, const std::wstring& heading, int width) const;
    // Index of the new row (its place after sorting), or -1. I_IMAGECALLBACK has the control ask
    // for the image when it first needs it (LVN_GETDISPINFO); I_IMAGENONE gives the row none.
    int InsertItem(int index, const std::wstring& text, int image, LPARAM data) const;
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    LPARAM GetItemData(int index) const;
    std::wstring GetItemText(int index, int column = 0) const;
    // The row's image index, or -1 when the row has none (or does not exist).
    int GetItemImage(int index) const;
    bool SetItemImage(int index, int image) const;
    COLORREF GetTextColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR)); }
    // The background colour, or CLR_NONE for a transparent background.
    COLORREF GetBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR)); }
    // First row after `start` (-1: from the top) with the LVNI_* flags, or -1.
    int GetNextItem(int start, UINT flags) const { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, start, flags)); }
    int GetSelectedItem() const { return GetNextItem(-1, LVNI_SELECTED); }
    bool SetItemState(int index, UINT state, UINT mask) const;
    // Selects and focuses one row (-1: clears the selection).
    bool SelectItem(int index) const;
    bool EnsureVisible(int index) const { return SendMessage(LVM_ENSUREVISIBLE, index, FALSE) != 0; }
    // The first row in view.
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    bool DeleteAllItems() const { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    // Places the items afresh in index order (icon views).
    bool Arrange() const { return SendMessage(LVM_ARRANGE, LVA_DEFAULT) != 0; }
    void SetExtendedStyle(DWORD style) const { SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    void SetImageList(HIMAGELIST list, int which = LVSIL_SMALL) const { SendMessage(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list)); }
    // The row at a point in client coordinates, or -1.
    int HitTest(POINT pt, UINT* flags = nullptr) const;
    UINT GetItemState(int index, UINT mask) const { return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, index, mask)); }
    // The selection anchor (the item the user's last selection started from), or -1.
    int GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }
    void SetSelectionMark(int index) const { SendMessage(LVM_SETSELECTIONMARK, 0, index); }
    int GetSelectedCount() const { return static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    bool SetColumnWidth(int column, int width) const { return SendMessage(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0)) != 0; }
    int GetColumnWidth(int column) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, column)); }
    // A part of a row (LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL) in client coordinates.
    bool GetItemRect(int index, RECT& rc, int part) const
    {
        rc.left = part;
        return SendMessage(LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc)) != 0;
    }

protected:
    // The control's own notifications, reflected back to it and decoded into the handlers below;
    // as for the tree, true when handled, with the notification's result in `result`.
    bool OnReflectedNotify(NMHDR* hdr, LRESULT& result) override;

    // LVN_ITEMCHANGED: the item (-1: all), its state before and after, and its item data.
    virtual bool OnItemChanged(int item, UINT oldState, UINT newState, LPARAM data, LRESULT& result);
    // NM_DBLCLK / NM_RCLICK: the item under the click, or -1 for empty space.
    virtual bool OnDblClk(int item, LRESULT& result);
    virtual bool OnRClick(int item, LRESULT& result);
    // LVN_KEYDOWN with the virtual key.
    virtual bool OnKeyDown(WORD key, LRESULT& result);
    // LVN_GETDISPINFO: the control asks for what a row holds as a callback (item.mask says what).
    virtual bool OnGetDispInfo(LVITEMW& item, LRESULT& result);
    // NM_CUSTOMDRAW: one stage of painting; `result` carries the CDRF_* answer.
    virtual bool OnCustomDraw(NMLVCUSTOMDRAW* draw, LRESULT& result);
};

// An owned image list.
class ImageList {
public:
    bool Create(int cx, int cy, UINT flags, int initial, int grow);
    HIMAGELIST GetSafeHandle() const { return m_list.get(); }
    // Index of the first image added, or -1.
    int AddMasked(HBITMAP bitmap, COLORREF mask) const { return ::ImageList_AddMasked(m_list.get(), bitmap, mask); }
    // Appends a copy of `icon`; its index, or -1.
    int AddIcon(HICON icon) const;
    // Puts a copy of `icon` into slot `index` (an existing slot); false on failure.
    bool ReplaceIcon(int index, HICON icon) const { return ::ImageList_ReplaceIcon(m_list.get(), index, icon) >= 0; }
    int GetImageCount() const { return ::ImageList_GetImageCount(m_list.get()); }
    // The width of its images (they are square here), or 0 without a list.
    int GetIconSize() const;
    // Grows or shrinks the list to `count` images; new slots are blank.
    bool SetImageCount(int count) const { return ::ImageList_SetImageCount(m_list.get(), count) != FALSE; }
    void Destroy() { m_list.reset(); }

private:
    UniqueImageList m_list;
};

// A tooltip window for one control: a single tool over the control's client area whose text the
// control gives when the tip is about to show (TTN_GETDISPINFOW, sent to the control).
class ToolTip {
public:
    ToolTip() = default;
    ~ToolTip() { Destroy(); }
    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;

    bool Create(HWND control);
    void Destroy();
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The tool's area: the control's client rectangle.
    void SetArea(const RECT& client) const;
    // Lets the tip time its showing from a mouse message of the control (client coordinates).
    void Relay(UINT msg, POINT client) const;
    // Hides a shown tip; the next pointer move over the control starts the wait again.
    void Pop() const;
    // Longer texts wrap at this width.
    void SetMaxWidth(int pixels) const { ::SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, pixels); }

private:
    HWND m_hWnd = nullptr;
    HWND m_control = nullptr;
};

// A popup menu built afresh for one showing and destroyed with this object.
class PopupMenu {
public:
    bool Create() { m_menu.reset(::CreatePopupMenu()); return static_cast<bool>(m_menu); }
    HMENU GetSafeHandle() const { return m_menu.get(); }
    bool AppendString(UINT command, const std::wstring& text) const
    {
        return ::AppendMenuW(m_menu.get(), MF_STRING, command, text.c_str()) != FALSE;
    }
    // The item shown in bold and chosen by a double-click; by command.
    bool SetDefaultItem(UINT command) const { return ::SetMenuDefaultItem(m_menu.get(), command, FALSE) != FALSE; }
    // Grays (or enables) an item by command.
    void EnableItem(UINT command, bool enable) const
    {
        ::EnableMenuItem(m_menu.get(), command, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    }
    // Shows the menu at `screen` for `owner`, which receives the chosen command as WM_COMMAND.
    // The owner is made the foreground window first and posted a WM_NULL after, so that the
    // menu closes when the user clicks elsewhere. False when nothing could be shown.
    bool Track(HWND owner, POINT screen, UINT flags = 0) const;

private:
    UniqueMenu m_menu;
};

}  // namespace win
