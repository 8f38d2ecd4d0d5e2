#include "ui/entry_list_view.h"

#include "ui/entry_list.h"
#include "ui/page_ids.h"
#include "ui/view_common.h"
#include "ui/view_owner.h"

CEntryListView::~CEntryListView()
{
    DestroyWindow();
}

bool CEntryListView::CreateView(UINT id, const RECT& ownerClient, win::Window& owner, IViewOwner& sink)
{
    m_pOwner = &sink;
    const int catalogueSize = m_pAppList ? static_cast<int>(m_pAppList->size()) : 0;
    return entry_list::Create(*this, id, ownerClient, owner, m_scrollHook, m_imageList, catalogueSize);
}

void CEntryListView::FinishFill(const CAppInfo* match)
{
    entry_list::FinishFill(*this, entry_list::PositionOf(*this, match));
    m_bFilled = true;
}

bool CEntryListView::ShowView(bool show)
{
    entry_list::Show(*this, m_pOwner, show);
    return true;
}

void CEntryListView::MoveView(const RECT& ownerClient, int grow)
{
    view::Move(m_hWnd, ownerClient, grow);
}

bool CEntryListView::PreTranslateMessage(MSG* msg)
{
    if (!entry_list::IsEnterOnSelection(*this, *msg))
        return false;
    OnCommand(page::kMenuOpenCommand, 0, nullptr);
    return true;
}

bool CEntryListView::OnCommand(UINT id, UINT code, HWND source)
{
    view::TranslateCommand(m_hWnd, id);
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
    if (m_bFilled && data && m_pOwner)
        entry_list::ReportStateChange(*m_pOwner, oldState, newState, data);
    return true;
}

bool CEntryListView::OnDblClk(int item, LRESULT& result)
{
    result = 0;
    if (item >= 0)
        view::PostOpen(m_hWnd);
    return true;
}

bool CEntryListView::OnRClick(int item, LRESULT& result)
{
    result = 0;
    if (item >= 0) {
        if (const CAppInfo* entry = entry_list::EntryAt(*this, item))
            view::ShowEntryMenu(m_hWnd, *entry);
    }
    return true;
}

bool CEntryListView::OnCustomDraw(NMLVCUSTOMDRAW* draw, LRESULT& result)
{
    result = entry_list::CustomDraw(*this, *draw, m_imageList.GetSafeHandle());
    return true;
}
