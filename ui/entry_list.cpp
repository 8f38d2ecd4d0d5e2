#include "ui/entry_list.h"

#include "catalog/app_info.h"
#include "sable/sable_colors.h"
#include "sable/sable_scrollbar.h"
#include "ui/entry_order.h"
#include "ui/page_ids.h"
#include "win/handles.h"
#include "win/key_event.h"

#include <algorithm>

namespace entry_list {

namespace {

// Pixels around the name inside its highlight, at any DPI: the label cell the control works out
// leaves only a few pixels beside the text, which it does not scale.
const int kTextMargin = 2;
const wchar_t kLabelPrefix[] = L"\r\n";  // part of the stored label, as the catalogue's views always had it

// Child, hidden, tab stop, group start, one row per entry in one column without a header,
// selection shown without focus; several rows may be selected. The rows keep the order they are
// inserted in: the views insert them in the one shown order of every view.
const DWORD kListStyle =
    WS_CHILD | WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS;

std::wstring NameAt(const win::ListCtrl& list, int item)
{
    const CAppInfo* entry = EntryAt(list, item);
    return entry ? entry->m_strAppName : std::wstring();
}

// Where the name of a row stands: from the label's left edge, as wide as the name (with its
// margins) but no wider than the label.
RECT NameBand(HDC dc, const RECT& label, const std::wstring& name, bool* cutShort = nullptr)
{
    RECT measured{0, 0, 0, 0};
    ::DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    const int left = label.left + kTextMargin;  // a little air between the icon and the name
    const int fitted = left + (measured.right - measured.left) + 2 * kTextMargin;
    if (cutShort)
        *cutShort = fitted > label.right;
    return RECT{left, label.top, std::min<LONG>(fitted, label.right), label.bottom};
}

void DrawItem(const win::ListCtrl& list, HDC dc, int item, HIMAGELIST images)
{
    RECT row{}, icon{}, label{};
    if (!list.GetItemRect(item, row, LVIR_BOUNDS) || !list.GetItemRect(item, icon, LVIR_ICON) ||
        !list.GetItemRect(item, label, LVIR_LABEL))
        return;
    const UINT state = list.GetItemState(item, LVIS_SELECTED | LVIS_FOCUSED);
    const bool focused = ::GetFocus() == list.GetSafeHwnd();

    const COLORREF back = list.GetBkColor();
    if (back != CLR_NONE)
        sable::FillSolid(dc, row, back);
    const int image = list.GetItemImage(item);
    int iconWidth = 0;
    int iconHeight = 0;
    if (images && image >= 0 && ::ImageList_GetIconSize(images, &iconWidth, &iconHeight)) {
        const int x = icon.left + (icon.right - icon.left - iconWidth) / 2;
        const int y = icon.top + (icon.bottom - icon.top - iconHeight) / 2;
        ::ImageList_Draw(images, image, dc, x, y, ILD_TRANSPARENT);
    }

    const std::wstring name = NameAt(list, item);
    const RECT band = NameBand(dc, label, name);
    COLORREF text = list.GetTextColor();
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
    const RECT client = list.GetClientRect();
    list.InsertColumn(0, std::wstring(), client.right - client.left);
    hook.HookWindow(list.GetSafeHwnd());
    hook.SetDpi(scale.Dpi());
    const int size = scale.ImageSize(page::kListIconSize);
    if (images.Create(size, size, ILC_COLOR32 | ILC_MASK, 1, grow))
        list.SetImageList(images.GetSafeHandle(), LVSIL_SMALL);
    return true;
}

void RebuildImages(const win::ListCtrl& list, win::ImageList& images, EntryImages& known, const win::DpiScale& scale)
{
    const int size = scale.ImageSize(page::kListIconSize);
    const int count = list.GetItemCount();
    win::ImageList rebuilt;
    if (!rebuilt.Create(size, size, ILC_COLOR32 | ILC_MASK, 1, count > 0 ? count : 1))
        return;
    known.Forget(rebuilt, 0);
    list.SetImageList(rebuilt.GetSafeHandle(), LVSIL_SMALL);
    images = std::move(rebuilt);
    // Each row asks again, at the new size, when it is next drawn.
    for (int item = 0; item < count; ++item)
        list.SetItemImage(item, I_IMAGECALLBACK);
}

void AppendEntry(const win::ListCtrl& list, CAppInfo& entry)
{
    list.InsertItem(list.GetItemCount(), kLabelPrefix + entry.m_strAppName, I_IMAGECALLBACK,
                    reinterpret_cast<LPARAM>(&entry));
}

EntryList InShownOrder(const EntryList& entries)
{
    EntryList ordered;
    ordered.reserve(entries.size());
    for (CAppInfo* entry : entries) {
        if (entry)
            ordered.push_back(entry);
    }
    // A search hands its matches over in this order already: each comparison costs.
    if (!std::is_sorted(ordered.begin(), ordered.end(), &ShownBefore))
        SortInShownOrder(ordered);
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

std::vector<std::wstring> Names(const win::ListCtrl& list)
{
    std::vector<std::wstring> names;
    const int count = list.GetItemCount();
    names.reserve(count);
    for (int item = 0; item < count; ++item)
        names.push_back(NameAt(list, item));
    return names;
}

void FitColumn(const win::ListCtrl& list)
{
    const RECT client = list.GetClientRect();
    if (client.right > 0 && list.GetColumnWidth(0) != client.right)
        list.SetColumnWidth(0, client.right);
}

void SelectOnly(const win::ListCtrl& list, int item)
{
    if (item < 0 || item >= list.GetItemCount())
        return;
    for (int other = list.GetSelectedItem(); other >= 0; other = list.GetNextItem(other, LVNI_SELECTED)) {
        if (other != item)
            list.SetItemState(other, 0, LVIS_SELECTED);
    }
    list.SelectItem(item);
    list.SetSelectionMark(item);
    list.EnsureVisible(item);
}

CAppInfo* SelectedEntry(const win::ListCtrl& list)
{
    int item = list.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED);
    if (item < 0)
        item = list.GetSelectedItem();
    return item >= 0 ? EntryAt(list, item) : nullptr;
}

bool EntryToReport(const win::ListCtrl& list, UINT oldState, UINT newState, LPARAM data, CAppInfo*& entry)
{
    const bool was = (oldState & LVIS_SELECTED) != 0;
    const bool is = (newState & LVIS_SELECTED) != 0;
    if (is && !was && data) {
        entry = reinterpret_cast<CAppInfo*>(data);
        return true;
    }
    if (was && !is) {
        // The rows that stay selected are still the user's choice.
        entry = SelectedEntry(list);
        return true;
    }
    return false;
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
        list.SetSelectionMark(0);
    } else if (list.GetItemState(anchor, LVIS_SELECTED) & LVIS_SELECTED) {
        list.SelectItem(anchor);  // already selected: no state change, so tell the owner here
        context.ReportSelection(EntryAt(list, anchor));
    }
    const int shown = list.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED);
    list.EnsureVisible(shown >= 0 ? shown : 0);
}

bool IsEnterOnSelection(const win::ListCtrl& list, const MSG& msg)
{
    return win::KeyEvent::FromMessage(msg).Is(VK_RETURN) && list.GetSelectedCount() > 0;
}

bool NameCutShort(const win::ListCtrl& list, int item)
{
    RECT label{};
    if (item < 0 || !list.GetItemRect(item, label, LVIR_LABEL))
        return false;
    win::WindowDC dc(list.GetSafeHwnd());
    const win::SelectedObject font(dc.get(), list.GetFont());
    bool cutShort = false;
    NameBand(dc.get(), label, NameAt(list, item), &cutShort);
    return cutShort;
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
