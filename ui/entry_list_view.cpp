#include "ui/entry_list_view.h"

#include "ui/entry_list.h"
#include "ui/view_common.h"

CEntryListView::~CEntryListView()
{
    DestroyWindow();
}

bool CEntryListView::CreateView(UINT id, const ViewContext& context, const RECT& placement)
{
    m_context = context;
    const int catalogueSize = context.catalogue ? static_cast<int>(context.catalogue->size()) : 0;
    const HWND parent = context.parent ? context.parent->GetSafeHwnd() : nullptr;
    return entry_list::Create(*this, id, placement, parent, m_scrollHook, m_imageList, catalogueSize, context.scale);
}

void CEntryListView::FinishFill(const CAppInfo* match)
{
    entry_list::FinishFill(*this, entry_list::PositionOf(*this, match));
    m_bFilled = true;
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
    entry_list::RebuildImages(*this, m_imageList, scale);
    // The items' places were worked out for the old sizes.
    const RECT client = GetClientRect();
    SetColumnWidth(0, (client.right - client.left) / 2);
    Arrange();
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
    if (!entry_list::IsEnterOnSelection(*this, *msg))
        return false;
    m_context.Request(EntryCommand::Open, SelectedEntry());
    return true;
}

bool CEntryListView::OnCommand(UINT id, UINT code, HWND source)
{
    EntryCommand command = EntryCommand::Open;
    if (view::MenuCommand(id, command))
        m_context.Request(command, m_pMenuEntry);
    return win::ListCtrl::OnCommand(id, code, source);
}

void CEntryListView::OnDestroy()
{
    // The control would destroy its image list with itself; m_imageList owns it.
    SetImageList(nullptr, LVSIL_SMALL);
}

bool CEntryListView::OnItemChanged(int, UINT oldState, UINT newState, LPARAM data, LRESULT& result)
{
    result = 0;
    if (m_bFilled && data)
        entry_list::ReportStateChange(m_context, oldState, newState, data);
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
            m_pMenuEntry = entry;
            view::ShowEntryMenu(m_hWnd, *entry);
        }
    }
    return true;
}

bool CEntryListView::OnCustomDraw(NMLVCUSTOMDRAW* draw, LRESULT& result)
{
    result = entry_list::CustomDraw(*this, *draw, m_imageList.GetSafeHandle());
    return true;
}
