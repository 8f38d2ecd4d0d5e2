#include "ui/list_ctrl_all.h"

#include "ui/entry_list.h"
#include "ui/page_ids.h"
#include "ui/start_request.h"
#include "ui/window_state.h"

#include <cstdlib>
#include <vector>

bool CListCtrlAll::InitView(const RECT& ownerClient, win::Window& owner, IViewOwner& sink, const StartRequest& start)
{
    if (!CreateView(page::kAllListId, ownerClient, owner, sink))
        return true;

    // A request without a tab (-1) is this list's to restore; one naming a tab only when it is this one.
    const bool requested = !start.name.empty() && std::abs(start.tab) == page::IndexOf(page::View::All);
    const std::wstring wanted = requested ? start.name : LoadSelectedApp(page::IndexOf(page::View::All));
    const CAppInfo* match = nullptr;
    if (m_pAppList) {
        std::vector<CAppInfo*> entries;
        entries.reserve(m_pAppList->size());
        for (const auto& entry : *m_pAppList)
            entries.push_back(entry.get());
        for (CAppInfo* entry : entry_list::InsertionOrder(entries)) {
            const int image = entry_list::PutIcon(m_imageList, *entry);
            entry_list::InsertEntry(*this, *entry, image);
            if (entry->m_strId == wanted)
                match = entry;
        }
    }
    FinishFill(match);
    SetFocus();
    return true;
}
