#include "ui/entry_list_view.h"

#include "ui/entry_list.h"
#include "ui/view_common.h"
#include "win/buffered_paint.h"
#include "win/window_messages.h"

#include <unordered_map>

CEntryListView::~CEntryListView()
{
    DestroyWindow();
}

bool CEntryListView::InitView(const ViewContext& context, const RECT& placement)
{
    m_context = context;
    const int catalogueSize = context.catalogue ? static_cast<int>(context.catalogue->size()) : 0;
    const HWND parent = context.parent ? context.parent->GetSafeHwnd() : nullptr;
    if (!entry_list::Create(*this, m_id, placement, parent, m_scrollHook, m_imageList, catalogueSize, context.scale))
        return false;
    m_nameTip.Attach(*this);
    const CAppInfo* match = Fill(context.EntriesOf(m_view), context.SelectionToRestore(m_view));
    // Selected while the notifications are still ignored: the owner hears of it when the view is shown.
    entry_list::SelectOnly(*this, entry_list::PositionOf(*this, match));
    m_bFilled = true;
    if (m_bTakesFocus)
        SetFocus();
    return true;
}

bool CEntryListView::RefreshView(const EntryList& entries)
{
    if (!m_hWnd)
        return false;
    m_beforeSearch.reset();
    m_images.Forget(m_imageList, 0);  // a refresh makes every icon afresh
    Fill(entries, std::wstring());
    return true;
}

void CEntryListView::ShowMatches(const EntryList& matches)
{
    if (!m_hWnd)
        return;
    if (!m_beforeSearch)
        m_beforeSearch = WhatIsShown();
    const CAppInfo* selected = SelectedEntry();
    const win::RedrawLock noRedraw(m_hWnd);
    m_bFilled = false;  // the owner hears nothing of the refill
    const CAppInfo* kept = Fill(matches, selected ? selected->m_strId : std::wstring());
    entry_list::SelectOnly(*this, entry_list::PositionOf(*this, kept));  // else the first row
    m_bFilled = true;
    Invalidate(true);
}

void CEntryListView::EndSearch(const EntryList& entries)
{
    if (!m_hWnd || !m_beforeSearch)
        return;
    const Shown shown = *m_beforeSearch;
    m_beforeSearch.reset();
    const win::RedrawLock noRedraw(m_hWnd);
    m_bFilled = false;
    Fill(entries, std::wstring());
    ShowAgain(shown);
    m_bFilled = true;
    Invalidate(true);
}

bool CEntryListView::SelectFirstEntry()
{
    if (GetItemCount() == 0)
        return false;
    entry_list::SelectOnly(*this, 0);
    m_context.ReportSelection(entry_list::EntryAt(*this, 0));  // also when it was selected already
    return true;
}

CEntryListView::Shown CEntryListView::WhatIsShown() const
{
    const auto entryAt = [this](int item) { return item >= 0 ? entry_list::EntryAt(*this, item) : nullptr; };
    Shown shown;
    for (int item = GetSelectedItem(); item >= 0; item = GetNextItem(item, LVNI_SELECTED))
        shown.selected.push_back(entryAt(item));
    shown.focused = entryAt(GetNextItem(-1, LVNI_FOCUSED));
    shown.anchor = entryAt(GetSelectionMark());
    shown.top = entryAt(GetItemCount() > 0 ? GetTopIndex() : -1);
    return shown;
}

void CEntryListView::ShowAgain(const Shown& shown)
{
    const int count = GetItemCount();
    std::unordered_map<const CAppInfo*, int> rowOf;
    for (int item = 0; item < count; ++item)
        rowOf.emplace(entry_list::EntryAt(*this, item), item);
    const auto row = [&rowOf](const CAppInfo* entry) {
        const auto found = entry ? rowOf.find(entry) : rowOf.end();
        return found != rowOf.end() ? found->second : -1;
    };
    for (const CAppInfo* entry : shown.selected) {
        if (row(entry) >= 0)
            SetItemState(row(entry), LVIS_SELECTED, LVIS_SELECTED);
    }
    if (row(shown.focused) >= 0)
        SetItemState(row(shown.focused), LVIS_FOCUSED, LVIS_FOCUSED);
    SetSelectionMark(row(shown.anchor));
    if (row(shown.top) >= 0) {
        // Scrolled to the end first, the row then comes into view at the top.
        EnsureVisible(count - 1);
        EnsureVisible(row(shown.top));
    }
}

const CAppInfo* CEntryListView::Fill(const EntryList& entries, const std::wstring& wanted)
{
    const bool filled = m_bFilled;
    m_bFilled = false;  // emptying the list tells the owner nothing
    DeleteAllItems();
    m_bFilled = filled;
    const CAppInfo* match = nullptr;
    const win::RedrawLock noRedraw(m_hWnd);  // no scroll bars and layout worked out per row
    for (CAppInfo* entry : entry_list::InShownOrder(entries)) {
        entry_list::AppendEntry(*this, *entry);
        if (!wanted.empty() && entry->m_strId == wanted)
            match = entry;
    }
    entry_list::FitColumn(*this);
    return match;
}

bool CEntryListView::ShowView(bool show)
{
    entry_list::Show(*this, m_context, show);
    return true;
}

void CEntryListView::MoveView(const RECT& placement, int grow)
{
    view::Move(m_hWnd, placement, grow);
}

void CEntryListView::ChangeDpi(const win::DpiScale& scale, HFONT font)
{
    m_context.scale = scale;
    SetFont(font, false);
    m_scrollHook.SetDpi(scale.Dpi());
    entry_list::RebuildImages(*this, m_imageList, m_images, scale);
    entry_list::FitColumn(*this);
    Invalidate(true);
}

CAppInfo* CEntryListView::EntryAt(POINT screen) const
{
    ::ScreenToClient(m_hWnd, &screen);
    const int item = HitTest(screen);
    return item >= 0 ? entry_list::EntryAt(*this, item) : nullptr;
}

CAppInfo* CEntryListView::SelectedEntry() const
{
    return entry_list::SelectedEntry(*this);
}

bool CEntryListView::PreTranslateMessage(MSG* msg)
{
    if (TypeToFind(*msg))
        return true;
    if (!entry_list::IsEnterOnSelection(*this, *msg))
        return false;
    m_context.Request(EntryCommand::Open, SelectedEntry());
    return true;
}

bool CEntryListView::TypeToFind(const MSG& msg)
{
    // The stored labels begin with a line break, so the control's own search never matches.
    if (msg.message != WM_CHAR || msg.hwnd != m_hWnd || msg.wParam < L' ' || msg.wParam == 0x7F)
        return false;
    const int current = GetNextItem(-1, LVNI_FOCUSED);
    const int found = m_typeAhead.Type(static_cast<wchar_t>(msg.wParam), msg.time, entry_list::Names(*this), current);
    if (found >= 0)
        entry_list::SelectOnly(*this, found);
    return true;
}

bool CEntryListView::OnCommand(UINT id, UINT code, HWND source)
{
    EntryCommand command = EntryCommand::Open;
    if (view::MenuCommand(id, command))
        m_context.Request(command, m_pMenuEntry);
    return win::ListCtrl::OnCommand(id, code, source);
}

bool CEntryListView::OnNotify(NMHDR* hdr, LRESULT& result)
{
    if (!m_nameTip.OnNotify(*this, hdr))
        return win::ListCtrl::OnNotify(hdr, result);
    result = 0;
    return true;
}

void CEntryListView::OnSize(UINT, int, int)
{
    // Also when a scroll bar came or went: the column keeps to the new width.
    entry_list::FitColumn(*this);
    m_nameTip.OnSize(*this);
}

void CEntryListView::OnDestroy()
{
    m_nameTip.Detach();
    // The control would destroy its image list with itself; m_imageList owns it.
    SetImageList(nullptr, LVSIL_SMALL);
}

bool CEntryListView::OnEraseBkgnd(HDC)
{
    return true;  // OnPaint fills the background with the rows
}

bool CEntryListView::OnPaint()
{
    win::BufferedPaint paint(m_hWnd);
    const COLORREF back = GetBkColor();
    win::UniqueBrush brush(::CreateSolidBrush(back == CLR_NONE ? ::GetSysColor(COLOR_WINDOW) : back));
    ::FillRect(paint.dc(), &paint.area(), brush.get());
    Default(WM_PAINT, reinterpret_cast<WPARAM>(paint.dc()), 0);
    return true;
}

void CEntryListView::OnMouseEvent(UINT msg, POINT client)
{
    m_nameTip.OnMouseEvent(*this, msg, client);
}

bool CEntryListView::OnItemChanged(int, UINT oldState, UINT newState, LPARAM data, LRESULT& result)
{
    result = 0;
    CAppInfo* entry = nullptr;
    if (m_bFilled && entry_list::EntryToReport(*this, oldState, newState, data, entry))
        m_context.ReportSelection(entry);
    return true;
}

bool CEntryListView::OnDblClk(int item, LRESULT& result)
{
    result = 0;
    if (item >= 0)
        m_context.Request(EntryCommand::Open, entry_list::EntryAt(*this, item));
    return true;
}

bool CEntryListView::OnRClick(int item, LRESULT& result)
{
    result = 0;
    if (item >= 0) {
        if (CAppInfo* entry = entry_list::EntryAt(*this, item)) {
            // The row the menu is for is the one the page describes and acts on, also when it was
            // selected among others already (the control then reports nothing).
            m_pMenuEntry = entry;
            m_context.ReportSelection(entry);
            view::ShowEntryMenu(m_hWnd, *entry);
        }
    }
    return true;
}

bool CEntryListView::OnGetDispInfo(LVITEMW& item, LRESULT& result)
{
    result = 0;
    if (!(item.mask & LVIF_IMAGE))
        return false;
    // A row's icon is made when the row is first drawn, and kept in the row from then on.
    CAppInfo* entry = entry_list::EntryAt(*this, item.iItem);
    const int slot = entry ? m_images.SlotOf(m_imageList, *entry, m_context) : -1;
    item.iImage = slot >= 0 ? slot : I_IMAGENONE;
    item.mask |= LVIF_DI_SETITEM;
    return true;
}

bool CEntryListView::OnCustomDraw(NMLVCUSTOMDRAW* draw, LRESULT& result)
{
    result = entry_list::CustomDraw(*this, *draw, m_imageList.GetSafeHandle());
    return true;
}
