#include "ui/list_ctrl_all.h"

#include "ui/entry_list.h"

namespace {

const page::View kView = page::View::All;

}  // namespace

bool CListCtrlAll::InitView(const ViewContext& context, const RECT& placement)
{
    if (!CreateView(page::kAllListId, context, placement))
        return false;
    FinishFill(InsertEntries(context.EntriesOf(kView), context.SelectionToRestore(kView)));
    SetFocus();
    return true;
}

bool CListCtrlAll::RefreshView(const EntryList& entries)
{
    if (!m_hWnd)
        return false;
    DeleteAllItems();
    m_imageList.SetImageCount(0);
    InsertEntries(entries, std::wstring());
    return true;
}

const CAppInfo* CListCtrlAll::InsertEntries(const EntryList& entries, const std::wstring& wanted)
{
    const CAppInfo* match = nullptr;
    for (CAppInfo* entry : entry_list::InsertionOrder(entries)) {
        const int image = entry_list::PutIcon(m_imageList, *entry);
        entry_list::InsertEntry(*this, *entry, image);
        if (!wanted.empty() && entry->m_strId == wanted)
            match = entry;
    }
    return match;
}
