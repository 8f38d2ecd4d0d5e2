#include "ui/list_ctrl_all.h"

#include "ui/entry_list.h"
#include "ui/page_ids.h"
#include "ui/start_request.h"
#include "ui/view_common.h"
#include "ui/view_owner.h"
#include "ui/window_state.h"

#include <cstdlib>

CListCtrlAll::CListCtrlAll() = default;

CListCtrlAll::~CListCtrlAll()
{
    DestroyWindow();
}

bool CListCtrlAll::InitView(const RECT& ownerClient, win::Window& owner, IViewOwner& sink, const StartRequest& start)
{
    m_pOwner = &sink;
    const int catalogueSize = m_pAppList ? static_cast<int>(m_pAppList->size()) : 0;
    if (!entry_list::Create(*this, page::kAllListId, ownerClient, owner, m_scrollHook, m_imageList, catalogueSize))
        return true;

    // A request without a tab (-1) is this list's to restore; one naming a tab only when it is this one.
    const bool requested = !start.name.empty() && std::abs(start.tab) == page::IndexOf(page::View::All);
    const std::wstring wanted = requested ? start.name : LoadSelectedApp(page::IndexOf(page::View::All));
    const CAppInfo* match = nullptr;
    if (m_pAppList) {
        for (const auto& entry : *m_pAppList) {
            const int image = entry_list::PutIcon(m_imageList, *entry);
            entry_list::InsertEntry(*this, *entry, image);
            if (entry->m_strId == wanted)
                match = entry.get();
        }
    }
    entry_list::FinishFill(*this, entry_list::PositionOf(*this, match));
    m_bFilled = true;
    SetFocus();
    return true;
}

bool CListCtrlAll::ShowView(bool show)
{
    entry_list::Show(*this, m_pOwner, show);
    return true;
}

void CListCtrlAll::MoveView(const RECT& ownerClient, int grow)
{
    view::Move(m_hWnd, ownerClient, grow);
}

bool CListCtrlAll::PreTranslateMessage(MSG* msg)
{
    if (!entry_list::IsEnterOnSelection(*this, *msg))
        return false;
    OnCommand(page::kMenuOpenCommand, 0, nullptr);
    return true;
}

bool CListCtrlAll::OnCommand(UINT id, UINT code, HWND source)
{
    view::TranslateCommand(m_hWnd, id);
    return win::ListCtrl::OnCommand(id, code, source);
}

void CListCtrlAll::OnDestroy()
{
    // The control would destroy its image list with itself; m_imageList owns it.
    SetImageList(nullptr, LVSIL_SMALL);
}

bool CListCtrlAll::OnItemChanged(int, UINT oldState, UINT newState, LPARAM data, LRESULT& result)
{
    result = 0;
    if (m_bFilled && data && m_pOwner)
        entry_list::ReportStateChange(*m_pOwner, oldState, newState, data);
    return true;
}

bool CListCtrlAll::OnDblClk(int item, LRESULT& result)
{
    result = 0;
    if (item >= 0)
        view::PostOpen(m_hWnd);
    return true;
}

bool CListCtrlAll::OnRClick(int item, LRESULT& result)
{
    result = 0;
    if (item >= 0) {
        if (const CAppInfo* entry = entry_list::EntryAt(*this, item))
            view::ShowEntryMenu(m_hWnd, *entry);
    }
    return true;
}

bool CListCtrlAll::OnCustomDraw(NMLVCUSTOMDRAW* draw, LRESULT& result)
{
    result = entry_list::CustomDraw(*this, *draw, m_imageList.GetSafeHandle());
    return true;
}
