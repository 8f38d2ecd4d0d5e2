#include "win/controls.h"

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

bool TabCtrl::OnReflectedNotify(NMHDR* hdr, LRESULT& result)
{
    return hdr->code == TCN_SELCHANGE ? OnSelChange(result) : false;
}

bool TabCtrl::OnSelChange(LRESULT&) { return false; }

HTREEITEM TreeCtrl::InsertItem(const std::wstring& text, int image, int selectedImage, LPARAM data,
                               HTREEITEM parent, HTREEITEM after) const
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    // Without an image the node carries no image flags: -1 would have the control ask its parent.
    const bool hasImage = image >= 0 || image == I_IMAGECALLBACK;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | (hasImage ? TVIF_IMAGE | TVIF_SELECTEDIMAGE : 0);
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

int TreeCtrl::GetItemImage(HTREEITEM node) const
{
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_HANDLE;
    item.hItem = node;
    return SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
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

bool TreeCtrl::SetHasChildren(HTREEITEM node) const
{
    TVITEMW item{};
    item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = node;
    item.cChildren = 1;
    return SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

bool TreeCtrl::SortChildren(HTREEITEM item, PFNTVCOMPARE compare, LPARAM context) const
{
    TVSORTCB sort{};
    sort.hParent = item;
    sort.lpfnCompare = compare;
    sort.lParam = context;
    return SendMessage(TVM_SORTCHILDRENCB, FALSE, reinterpret_cast<LPARAM>(&sort)) != 0;
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
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;  // I_IMAGECALLBACK: asked for when first needed
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

int ListCtrl::GetItemImage(int index) const
{
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
}

bool ListCtrl::SetItemImage(int index, int image) const
{
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = image;
    return SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
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

bool TreeCtrl::OnReflectedNotify(NMHDR* hdr, LRESULT& result)
{
    result = 0;
    switch (hdr->code) {
    case TVN_SELCHANGEDW: {
        auto* tv = reinterpret_cast<NMTREEVIEWW*>(hdr);
        return OnSelChanged(tv->itemNew.hItem, tv->itemOld.hItem, result);
    }
    case TVN_ITEMEXPANDINGW: {
        auto* tv = reinterpret_cast<NMTREEVIEWW*>(hdr);
        return OnItemExpanding(tv->itemNew.hItem, tv->action, result);
    }
    case TVN_ITEMEXPANDEDW: {
        auto* tv = reinterpret_cast<NMTREEVIEWW*>(hdr);
        return OnItemExpanded(tv->itemNew.hItem, tv->action, result);
    }
    case TVN_GETDISPINFOW:
        return OnGetDispInfo(reinterpret_cast<NMTVDISPINFOW*>(hdr)->item, result);
    case NM_DBLCLK:
        return OnDblClk(result);
    case NM_RCLICK:
        return OnRClick(result);
    case NM_RETURN:
        return OnReturn(result);
    case TVN_KEYDOWN:
        return OnKeyDown(reinterpret_cast<NMTVKEYDOWN*>(hdr)->wVKey, result);
    default:
        return false;
    }
}

bool TreeCtrl::OnSelChanged(HTREEITEM, HTREEITEM, LRESULT&) { return false; }
bool TreeCtrl::OnItemExpanding(HTREEITEM, UINT, LRESULT&) { return false; }
bool TreeCtrl::OnItemExpanded(HTREEITEM, UINT, LRESULT&) { return false; }
bool TreeCtrl::OnGetDispInfo(TVITEMW&, LRESULT&) { return false; }
bool TreeCtrl::OnDblClk(LRESULT&) { return false; }
bool TreeCtrl::OnRClick(LRESULT&) { return false; }
bool TreeCtrl::OnReturn(LRESULT&) { return false; }
bool TreeCtrl::OnKeyDown(WORD, LRESULT&) { return false; }

bool ListCtrl::OnReflectedNotify(NMHDR* hdr, LRESULT& result)
{
    result = 0;
    switch (hdr->code) {
    case LVN_ITEMCHANGED: {
        auto* lv = reinterpret_cast<NMLISTVIEW*>(hdr);
        if (!(lv->uChanged & LVIF_STATE))
            return false;
        return OnItemChanged(lv->iItem, lv->uOldState, lv->uNewState, lv->lParam, result);
    }
    case NM_DBLCLK:
        return OnDblClk(reinterpret_cast<NMITEMACTIVATE*>(hdr)->iItem, result);
    case NM_RCLICK:
        return OnRClick(reinterpret_cast<NMITEMACTIVATE*>(hdr)->iItem, result);
    case LVN_KEYDOWN:
        return OnKeyDown(reinterpret_cast<NMLVKEYDOWN*>(hdr)->wVKey, result);
    case LVN_GETDISPINFOW:
        return OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(hdr)->item, result);
    case NM_CUSTOMDRAW:
        return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(hdr), result);
    default:
        return false;
    }
}

bool ListCtrl::OnItemChanged(int, UINT, UINT, LPARAM, LRESULT&) { return false; }
bool ListCtrl::OnDblClk(int, LRESULT&) { return false; }
bool ListCtrl::OnRClick(int, LRESULT&) { return false; }
bool ListCtrl::OnKeyDown(WORD, LRESULT&) { return false; }
bool ListCtrl::OnGetDispInfo(LVITEMW&, LRESULT&) { return false; }
bool ListCtrl::OnCustomDraw(NMLVCUSTOMDRAW*, LRESULT&) { return false; }

bool PopupMenu::Track(HWND owner, POINT screen, UINT flags) const
{
    if (!m_menu)
        return false;
    ::SetForegroundWindow(owner);
    const BOOL shown = ::TrackPopupMenu(m_menu.get(), flags, screen.x, screen.y, 0, owner, nullptr);
    ::PostMessageW(owner, WM_NULL, 0, 0);
    return shown != FALSE;
}

namespace {

TTTOOLINFOW ToolOf(HWND control)
{
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = control;
    tool.uId = 1;
    return tool;
}

}  // namespace

bool ToolTip::Create(HWND control)
{
    Destroy();
    m_hWnd = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0,
                               0, 0, control, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!m_hWnd)
        return false;
    m_control = control;
    TTTOOLINFOW tool = ToolOf(control);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::GetClientRect(control, &tool.rect);
    ::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    return true;
}

void ToolTip::Destroy()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    m_control = nullptr;
}

void ToolTip::SetArea(const RECT& client) const
{
    if (!m_hWnd)
        return;
    TTTOOLINFOW tool = ToolOf(m_control);
    tool.rect = client;
    ::SendMessageW(m_hWnd, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTip::Relay(UINT msg, POINT client) const
{
    if (!m_hWnd)
        return;
    MSG relayed{m_control, msg, 0, MAKELPARAM(client.x, client.y), static_cast<DWORD>(::GetMessageTime()), client};
    ::ClientToScreen(m_control, &relayed.pt);
    ::SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void ToolTip::Pop() const
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, TTM_POP, 0, 0);
}

bool ImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    m_list.reset(::ImageList_Create(cx, cy, flags, initial, grow));
    return static_cast<bool>(m_list);
}

int ImageList::GetIconSize() const
{
    int cx = 0;
    int cy = 0;
    return m_list && ::ImageList_GetIconSize(m_list.get(), &cx, &cy) ? cx : 0;
}

int ImageList::AddIcon(HICON icon) const
{
    // Placing an icon makes a resized copy of it first, which costs several times more than the
    // placing itself; an icon that already has the list's size goes in through its own bitmaps.
    ICONINFO info{};
    if (icon && ::GetIconInfo(icon, &info)) {
        const UniqueBitmap colour(info.hbmColor);
        const UniqueBitmap mask(info.hbmMask);
        BITMAP bitmap{};
        int cx = 0;
        int cy = 0;
        if (colour && mask && ::ImageList_GetIconSize(m_list.get(), &cx, &cy) &&
            ::GetObjectW(colour.get(), sizeof(bitmap), &bitmap) == sizeof(bitmap) && bitmap.bmWidth == cx &&
            bitmap.bmHeight == cy)
            return ::ImageList_Add(m_list.get(), colour.get(), mask.get());
    }
    return ::ImageList_ReplaceIcon(m_list.get(), -1, icon);
}

}  // namespace win
