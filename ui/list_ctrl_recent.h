// The "Recent Settings" view: the recently started entries still in the catalogue, as 32-pixel
// icons with their names, in label order.
#pragma once
#include "ui/entry_list_view.h"

class CListCtrlRecent : public CEntryListView {
public:
    // Creates the hidden control and fills it from the recent list; the selection goes to the
    // requested entry when the request names this view, else to the stored one. Leaves the
    // keyboard focus where it is.
    bool InitView(const ViewContext& context, const RECT& placement) override;
    // Lists the recent entries afresh (`entries` in recent-list order, null for a name no longer
    // catalogued), nothing selected; showing the view selects the first.
    bool RefreshView(const EntryList& entries) override;
};
