#include "controls.h"

#include <vector>

namespace win {

namespace {

const int kTextCapacity = 1025;  // longest label the views ask for, plus the terminator

}  // namespace

int TabCtrl::InsertItem(int index, const std::wstring& text)
{
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return static_cast<int>(SendMessage(TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item)));
}

std::wstring TabCtrl::GetItemText(int index) const
{
    std::vector<wchar_t> buffer(kTextCapacity, L'\0');
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer.data();
    item.cchTextMax = kTextCapacity;
    if (!SendMessage(TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item)))
        return std::wstring();
    buffer.back() = L'\0';
    return std::wstring(item.pszText);
}

HTREEITEM TreeCtrl::InsertItem(const std::wstring& text, int image, int selectedImage, LPARAM data,
                               HTREEITEM parent, HTREEITEM after) const
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

LPARAM TreeCtrl::GetItemData(HTREEITEM node) const
{
    TVITEMW item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = node;
    return SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

std::wstring TreeCtrl::GetItemText(HTREEITEM node) const
{
    std::vector<wchar_t> buffer(kTextCapacity, L'\0');
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = node;
    item.pszText = buffer.data();
    item.cchTextMax = kTextCapacity;
    if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return std::wstring();
    buffer.back() = L'\0';
    return std::wstring(item.pszText);
}

bool TreeCtrl::ItemHasChildren(HTREEITEM node) const
{
    return node && GetChildItem(node) != nullptr;
}

bool TreeCtrl::SetItemImage(HTREEITEM node, int image, int selectedImage) const
{
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    item.hItem = node;
    item.iImage = image;
    item.iSelectedImage = selectedImage;
    return SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

HTREEITEM TreeCtrl::HitTest(POINT pt, UINT* flags) const
{
    TVHITTESTINFO info{};
    info.pt = pt;
    HTREEITEM node = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags)
        *flags = info.flags;
    return node;
}

int ListCtrl::InsertColumn(int index, const std::wstring& heading, int width) const
{
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(heading.c_str());
    column.cx = width;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
}

int ListCtrl::InsertItem(int index, const std::wstring& text, int image, LPARAM data) const
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    item.lParam = data;
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

LPARAM ListCtrl::GetItemData(int index) const
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

std::wstring ListCtrl::GetItemText(int index, int column) const
{
    std::vector<wchar_t> buffer(kTextCapacity, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = kTextCapacity;
    SendMessage(LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    buffer.back() = L'\0';
    return std::wstring(buffer.data());
}

bool ListCtrl::SetItemState(int index, UINT state, UINT mask) const
{
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

bool ListCtrl::SelectItem(int index) const
{
    if (index < 0)
        return SetItemState(-1, 0, LVIS_SELECTED);
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    return SetItemState(index, both, both);
}

int ListCtrl::HitTest(POINT pt, UINT* flags) const
{
    LVHITTESTINFO info{};
    info.pt = pt;
    int index = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags)
        *flags = info.flags;
    return index;
}

bool ImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    m_list.reset(::ImageList_Create(cx, cy, flags, initial, grow));
    return static_cast<bool>(m_list);
}

}  // namespace win
