#include "ui/list_ctrl_recent.h"

#include "recent/recent_app_list.h"
#include "ui/entry_list.h"
#include "ui/page_ids.h"
#include "ui/start_request.h"
#include "ui/view_common.h"
#include "ui/view_owner.h"
#include "ui/window_state.h"

CListCtrlRecent::CListCtrlRecent() = default;

CListCtrlRecent::~CListCtrlRecent()
{
    DestroyWindow();
}

CAppInfo* CListCtrlRecent::FindEntry(const std::wstring& name) const
{
    if (!m_pAppList)
        return nullptr;
    for (const auto& entry : *m_pAppList) {
        if (RecentIdsEqual(entry->m_strId, name))
            return entry.get();
    }
    return nullptr;
}

bool CListCtrlRecent::InitView(const RECT& ownerClient, win::Window& owner, IViewOwner& sink,
                               const StartRequest& start)
{
    m_pOwner = &sink;
    const int catalogueSize = m_pAppList ? static_cast<int>(m_pAppList->size()) : 0;
    if (!entry_list::Create(*this, page::kRecentListId, ownerClient, owner, m_scrollHook, m_imageList,
                            catalogueSize))
        return true;

    std::wstring names[kRecentCapacity];
    const int count = m_pRecentList ? m_pRecentList->GetNames(names) : 0;
    // Only a request naming this view exactly is restored here; otherwise the stored selection.
    const bool requested = !start.name.empty() && start.tab == page::IndexOf(page::View::Recent);
    const std::wstring wanted = requested ? start.name : LoadSelectedApp(page::IndexOf(page::View::Recent));
    const CAppInfo* match = nullptr;
    for (int i = 0; i < count; ++i) {
        CAppInfo* entry = FindEntry(names[i]);
        if (!entry)
            continue;
        const int image = entry_list::PutIcon(m_imageList, *entry);
        entry_list::InsertEntry(*this, *entry, image);
        if (entry->m_strId == wanted)
            match = entry;
    }
    entry_list::FinishFill(*this, entry_list::PositionOf(*this, match));
    m_bFilled = true;
    return true;
}

bool CListCtrlRecent::RefreshView()
{
    DeleteAllItems();
    std::wstring names[kRecentCapacity];
    const int count = m_pRecentList ? m_pRecentList->GetNames(names) : 0;
    if (count > 0)
        m_imageList.SetImageCount(count);
    for (int i = 0; i < count; ++i) {
        CAppInfo* entry = FindEntry(names[i]);
        if (!entry)
            continue;
        entry_list::PutIcon(m_imageList, *entry, i);
        entry_list::InsertEntry(*this, *entry, i);
    }
    return true;
}

bool CListCtrlRecent::ShowView(bool show)
{
    entry_list::Show(*this, m_pOwner, show);
    return true;
}

void CListCtrlRecent::MoveView(const RECT& ownerClient, int grow)
{
    view::Move(m_hWnd, ownerClient, grow);
}

bool CListCtrlRecent::PreTranslateMessage(MSG* msg)
{
    if (!entry_list::IsEnterOnSelection(*this, *msg))
        return false;
    OnCommand(page::kMenuOpenCommand, 0, nullptr);
    return true;
}

bool CListCtrlRecent::OnCommand(UINT id, UINT code, HWND source)
{
    view::TranslateCommand(m_hWnd, id);
    return win::ListCtrl::OnCommand(id, code, source);
}

void CListCtrlRecent::OnDestroy()
{
    // The control would destroy its image list with itself; m_imageList owns it.
    SetImageList(nullptr, LVSIL_SMALL);
}

bool CListCtrlRecent::OnItemChanged(int, UINT oldState, UINT newState, LPARAM data, LRESULT& result)
{
    result = 0;
    if (m_bFilled && data && m_pOwner)
        entry_list::ReportStateChange(*m_pOwner, oldState, newState, data);
    return true;
}

bool CListCtrlRecent::OnDblClk(int item, LRESULT& result)
{
    result = 0;
    if (item >= 0)
        view::PostOpen(m_hWnd);
    return true;
}

bool CListCtrlRecent::OnRClick(int item, LRESULT& result)
{
    result = 0;
    if (item >= 0) {
        if (const CAppInfo* entry = entry_list::EntryAt(*this, item))
            view::ShowEntryMenu(m_hWnd, *entry);
    }
    return true;
}

bool CListCtrlRecent::OnCustomDraw(NMLVCUSTOMDRAW* draw, LRESULT& result)
{
    result = entry_list::CustomDraw(*this, *draw, m_imageList.GetSafeHandle());
    return true;
}
