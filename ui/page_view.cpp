#include "ui/page_view.h"

#include "catalog/icon_store.h"
#include "ui/page_model.h"
#include "ui/window_state.h"

EntryList ViewContext::EntriesOf(page::View view) const
{
    return catalogue ? CPageModel::EntriesOf(view, *catalogue, recent) : EntryList();
}

std::wstring ViewContext::SelectionToRestore(page::View view) const
{
    if (CPageModel::RequestNamesEntryFor(view, start))
        return start.name;
    return LoadSelectedApp(page::IndexOf(view));
}

HICON ViewContext::Icon(CAppInfo& entry, int size) const
{
    return icons ? icons->Icon(entry, size) : entry.CreateAppIcon(size);
}

void ViewContext::ReportSelection(CAppInfo* entry) const
{
    if (owner)
        owner->OnSelectionChanged(entry);
}

void ViewContext::Request(EntryCommand command, CAppInfo* entry) const
{
    if (owner)
        owner->OnEntryCommand(command, entry);
}
