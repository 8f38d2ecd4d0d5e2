#include "ui/entry_list.h"

#include "catalog/app_info.h"
#include "sable/sable_colors.h"
#include "sable/sable_scrollbar.h"
#include "win/handles.h"
#include "win/key_event.h"

#include <algorithm>
#include <utility>

namespace entry_list {

namespace {

const int kIconSize = 32;  // at 96 DPI
// Pixels around the name inside its highlight, at any DPI: the label cell the control works out
// leaves only a few pixels beside the text, which it does not scale.
const int kTextMargin = 2;
const wchar_t kLabelPrefix[] = L"\r\n";  // part of the stored label, so the sort sees it too

// Child, hidden, tab stop, group start, small icons, selection shown without focus, sorted
// ascending; several items may be selected.
const DWORD kListStyle =
    WS_CHILD | WS_TABSTOP | WS_GROUP | LVS_SMALLICON | LVS_SHOWSELALWAYS | LVS_SORTASCENDING;

// The label as a user reads it: the leading line break is the stored label's, not the name's.
std::wstring ShownName(const std::wstring& label)
{
    const std::size_t start = label.find_first_not_of(kLabelPrefix);
    return start == std::wstring::npos ? std::wstring() : label.substr(start);
}

void DrawItem(const win::ListCtrl& list, HDC dc, int item, HIMAGELIST images)
{
    RECT icon{}, label{};
    if (!list.GetItemRect(item, icon, LVIR_ICON) || !list.GetItemRect(item, label, LVIR_LABEL))
        return;
    const UINT state = list.GetItemState(item, LVIS_SELECTED | LVIS_FOCUSED);
    const bool focused = ::GetFocus() == list.GetSafeHwnd();

    const int image = list.GetItemImage(item);
    int iconWidth = 0;
    int iconHeight = 0;
    if (images && image >= 0 && ::ImageList_GetIconSize(images, &iconWidth, &iconHeight)) {
        const int x = icon.left + (icon.right - icon.left - iconWidth) / 2;
        const int y = icon.top + (icon.bottom - icon.top - iconHeight) / 2;
        ::ImageList_Draw(images, image, dc, x, y, ILD_TRANSPARENT);
    }

    // The control measured the label with its line break; the highlight fits the name alone.
    const std::wstring name = ShownName(list.GetItemText(item));
    RECT measured{0, 0, 0, 0};
    ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    const int left = label.left + kTextMargin;  // a little air between the icon and the name
    const int fitted = left + (measured.right - measured.left) + 2 * kTextMargin;
    RECT band{left, label.top, fitted < label.right ? fitted : label.right, label.bottom};

    COLORREF text = list.GetTextColor();
    const COLORREF back = list.GetBkColor();
    if (back != CLR_NONE)
        sable::FillSolid(dc, label, back);
    if (state & LVIS_SELECTED) {
        sable::FillSolid(dc, band, ::GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        text = ::GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    }
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, text);
    RECT textRect{band.left + kTextMargin, band.top, band.right - kTextMargin, band.bottom};
    ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &textRect,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    if ((state & LVIS_FOCUSED) && focused)
        ::DrawFocusRect(dc, &band);
}

}  // namespace

bool Create(win::ListCtrl& list, UINT id, const RECT& placement, HWND parent, sable::AbstractScrollBarPaintHook& hook,
            win::ImageList& images, int grow, const win::DpiScale& scale)
{
    if (!list.Create(kListStyle, 0, placement, parent, id))
        return false;
    hook.HookWindow(list.GetSafeHwnd());
    hook.SetDpi(scale.Dpi());
    const int size = scale.ImageSize(kIconSize);
    if (images.Create(size, size, ILC_COLOR32 | ILC_MASK, 1, grow))
        list.SetImageList(images.GetSafeHandle(), LVSIL_SMALL);
    return true;
}

int PutIcon(const win::ImageList& images, CAppInfo& entry, int slot)
{
    win::UniqueIcon icon(entry.CreateAppIcon(images.GetIconSize()));
    if (slot < 0)
        return images.AddIcon(icon.get());
    return images.ReplaceIcon(slot, icon.get()) ? slot : -1;
}

void RebuildImages(const win::ListCtrl& list, win::ImageList& images, const win::DpiScale& scale)
{
    const int size = scale.ImageSize(kIconSize);
    const int count = list.GetItemCount();
    win::ImageList rebuilt;
    if (!rebuilt.Create(size, size, ILC_COLOR32 | ILC_MASK, 1, count > 0 ? count : 1))
        return;
    rebuilt.SetImageCount(images.GetImageCount());
    for (int item = 0; item < count; ++item) {
        const int image = list.GetItemImage(item);
        if (CAppInfo* entry = EntryAt(list, item); entry && image >= 0)
            PutIcon(rebuilt, *entry, image);
    }
    list.SetImageList(rebuilt.GetSafeHandle(), LVSIL_SMALL);
    images = std::move(rebuilt);
}

void InsertEntry(const win::ListCtrl& list, CAppInfo& entry, int image)
{
    const int position = image >= 0 ? image : list.GetItemCount();  // the sort places it anyway
    list.InsertItem(position, kLabelPrefix + entry.m_strAppName, image, reinterpret_cast<LPARAM>(&entry));
}

EntryList InsertionOrder(const EntryList& entries)
{
    std::vector<std::pair<std::wstring, CAppInfo*>> labelled;
    labelled.reserve(entries.size());
    for (CAppInfo* entry : entries) {
        if (entry)
            labelled.emplace_back(kLabelPrefix + entry->m_strAppName, entry);
    }
    std::stable_sort(labelled.begin(), labelled.end(), [](const auto& a, const auto& b) {
        return ::lstrcmpW(a.first.c_str(), b.first.c_str()) > 0;
    });
    EntryList ordered;
    ordered.reserve(labelled.size());
    for (const auto& item : labelled)
        ordered.push_back(item.second);
    return ordered;
}

CAppInfo* EntryAt(const win::ListCtrl& list, int item)
{
    return reinterpret_cast<CAppInfo*>(list.GetItemData(item));
}

int PositionOf(const win::ListCtrl& list, const CAppInfo* entry)
{
    int position = 0;
    if (!entry)
        return position;
    const int count = list.GetItemCount();
    for (int item = 0; item < count; ++item) {
        if (EntryAt(list, item) == entry)
            position = item;
    }
    return position;
}

void FinishFill(const win::ListCtrl& list, int item)
{
    list.SelectItem(item);
    const RECT client = list.GetClientRect();
    list.SetColumnWidth(0, (client.right - client.left) / 2);
}

CAppInfo* SelectedEntry(const win::ListCtrl& list)
{
    int item = list.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED);
    if (item < 0)
        item = list.GetSelectedItem();
    return item >= 0 ? EntryAt(list, item) : nullptr;
}

void ReportStateChange(const ViewContext& context, UINT oldState, UINT newState, LPARAM data)
{
    const bool was = (oldState & LVIS_SELECTED) != 0;
    const bool is = (newState & LVIS_SELECTED) != 0;
    if (is && !was)
        context.ReportSelection(reinterpret_cast<CAppInfo*>(data));
    else if (was && !is)
        context.ReportSelection(nullptr);
}

void Show(const win::ListCtrl& list, const ViewContext& context, bool show)
{
    if (!show) {
        list.ShowWindow(SW_HIDE);
        return;
    }
    list.ShowWindow(SW_SHOW);
    const int anchor = list.GetSelectionMark();
    if (anchor < 0) {
        list.SelectItem(0);  // the owner hears of it through the state change
    } else if (list.GetItemState(anchor, LVIS_SELECTED) & LVIS_SELECTED) {
        list.SelectItem(anchor);  // already selected: no state change, so tell the owner here
        context.ReportSelection(EntryAt(list, anchor));
    }
}

bool IsEnterOnSelection(const win::ListCtrl& list, const MSG& msg)
{
    return win::KeyEvent::FromMessage(msg).Is(VK_RETURN) && list.GetSelectedCount() > 0;
}

LRESULT CustomDraw(const win::ListCtrl& list, const NMLVCUSTOMDRAW& draw, HIMAGELIST images)
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        DrawItem(list, draw.nmcd.hdc, static_cast<int>(draw.nmcd.dwItemSpec), images);
        return CDRF_SKIPDEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

}  // namespace entry_list
