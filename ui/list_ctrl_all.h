// The "List" view: every catalogue entry once, as its 32-pixel icon with its name, in the shown
// order. It selects the requested entry when the request names no tab or this one, else the
// stored one, and takes the keyboard focus once filled.
#pragma once
#include "ui/entry_list_view.h"
#include "ui/page_ids.h"

class CListCtrlAll : public CEntryListView {
public:
    CListCtrlAll() : CEntryListView(page::View::All, page::kAllListId, true) {}
};
