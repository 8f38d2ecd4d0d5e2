// Thin wrappers of the common and standard controls the views use. Each is a Window, so it
// can be created or bound to a template control and receive its reflected messages.
#pragma once
#include "handles.h"
#include "window.h"

#include <commctrl.h>
#include <string>

namespace win {

class Button : public Window {
public:
    bool Create(const std::wstring& text, DWORD style, const RECT& rc, HWND parent, UINT id)
    {
        return Window::Create(L"BUTTON", text, style, 0, rc, parent, id);
    }
};

class Edit : public Window {
public:
    bool Create(DWORD style, DWORD exStyle, const RECT& rc, HWND parent, UINT id)
    {
        return Window::Create(L"EDIT", L"", style, exStyle, rc, parent, id);
    }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
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
    void SetItemSize(int width, int height) const { SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(width, height)); }
    bool GetItemRect(int index, RECT& rc) const { return SendMessage(TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc)) != 0; }
};

class TreeCtrl : public Window {
public:
    bool Create(DWORD style, DWORD exStyle, const RECT& rc, HWND parent, UINT id)
    {
        return Window::Create(WC_TREEVIEWW, L"", style, exStyle, rc, parent, id);
    }
    // Appends a node under `parent` (TVI_ROOT for the root) after `after`; null on failure.
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
    LPARAM GetItemData(HTREEITEM item) const;
    std::wstring GetItemText(HTREEITEM item) const;
    bool ItemHasChildren(HTREEITEM item) const;
    bool SetItemImage(HTREEITEM item, int image, int selectedImage) const;
    // The node at a point in client coordinates, or null.
    HTREEITEM HitTest(POINT pt, UINT* flags = nullptr) const;
    void SetItemHeight(int height) const { SendMessage(TVM_SETITEMHEIGHT, height); }
    void SetImageList(HIMAGELIST list, int which = TVSIL_NORMAL) const { SendMessage(TVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list)); }
};

class ListCtrl : public Window {
public:
    bool Create(DWORD style, DWORD exStyle, const RECT& rc, HWND parent, UINT id)
    {
        return Window::Create(WC_LISTVIEWW, L"", style, exStyle, rc, parent, id);
    }
    int InsertColumn(int index, const std::wstring& heading, int width) const;
    // Index of the new row (its place after sorting), or -1.
    int InsertItem(int index, const std::wstring& text, int image, LPARAM data) const;
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    LPARAM GetItemData(int index) const;
    std::wstring GetItemText(int index, int column = 0) const;
    // First row after `start` (-1: from the top) with the LVNI_* flags, or -1.
    int GetNextItem(int start, UINT flags) const { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, start, flags)); }
    int GetSelectedItem() const { return GetNextItem(-1, LVNI_SELECTED); }
    bool SetItemState(int index, UINT state, UINT mask) const;
    // Selects and focuses one row (-1: clears the selection).
    bool SelectItem(int index) const;
    bool EnsureVisible(int index) const { return SendMessage(LVM_ENSUREVISIBLE, index, FALSE) != 0; }
    bool DeleteAllItems() const { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    void SetExtendedStyle(DWORD style) const { SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    void SetImageList(HIMAGELIST list, int which = LVSIL_SMALL) const { SendMessage(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list)); }
    // The row at a point in client coordinates, or -1.
    int HitTest(POINT pt, UINT* flags = nullptr) const;
};

// An owned image list.
class ImageList {
public:
    bool Create(int cx, int cy, UINT flags, int initial, int grow);
    HIMAGELIST GetSafeHandle() const { return m_list.get(); }
    // Index of the first image added, or -1.
    int AddMasked(HBITMAP bitmap, COLORREF mask) const { return ::ImageList_AddMasked(m_list.get(), bitmap, mask); }
    // Appends a copy of `icon`; its index, or -1.
    int AddIcon(HICON icon) const { return ::ImageList_ReplaceIcon(m_list.get(), -1, icon); }
    int GetImageCount() const { return ::ImageList_GetImageCount(m_list.get()); }
    void Destroy() { m_list.reset(); }

private:
    UniqueImageList m_list;
};

}  // namespace win
