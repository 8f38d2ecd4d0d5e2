// The "Recent Settings" view: the recently started entries still in the catalogue, as 32-pixel
// icons with their names, in the shown order (not the order of their starts). It selects the
// requested entry when the request names this view, else the stored one, and leaves the keyboard
// focus where it is. A start made while it is hidden lists the recent entries afresh.
#pragma once
#include "ui/entry_list_view.h"
#include "ui/page_ids.h"

class CListCtrlRecent : public CEntryListView {
public:
    CListCtrlRecent() : CEntryListView(page::View::Recent, page::kRecentListId, false) {}
};
