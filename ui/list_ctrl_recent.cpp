#include "ui/list_ctrl_recent.h"

#include "recent/recent_app_list.h"
#include "ui/entry_list.h"
#include "ui/page_ids.h"
#include "ui/start_request.h"
#include "ui/window_state.h"

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
    if (!CreateView(page::kRecentListId, ownerClient, owner, sink))
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
    FinishFill(match);
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
