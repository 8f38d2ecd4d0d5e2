#include "ui/list_ctrl_recent.h"

#include "ui/entry_list.h"

namespace {

const page::View kView = page::View::Recent;

}  // namespace

bool CListCtrlRecent::InitView(const ViewContext& context, const RECT& placement)
{
    if (!CreateView(page::kRecentListId, context, placement))
        return false;
    const EntryList entries = context.EntriesOf(kView);
    const std::wstring wanted = context.SelectionToRestore(kView);
    const CAppInfo* match = nullptr;
    for (CAppInfo* entry : entries) {
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

bool CListCtrlRecent::RefreshView(const EntryList& entries)
{
    if (!m_hWnd)
        return false;
    DeleteAllItems();
    // One image slot per recent name, whether or not it is still catalogued.
    const int count = static_cast<int>(entries.size());
    if (count > 0)
        m_imageList.SetImageCount(count);
    for (int i = 0; i < count; ++i) {
        if (!entries[i])
            continue;
        entry_list::PutIcon(m_imageList, *entries[i], i);
        entry_list::InsertEntry(*this, *entries[i], i);
    }
    return true;
}
