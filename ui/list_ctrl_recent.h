// The "Recent Settings" view: the recently started entries still in the catalogue, as 32-pixel
// icons with their names, in label order.
#pragma once
#include "ui/entry_list_view.h"

#include <string>

class CRecentAppList;
class IViewOwner;
struct StartRequest;

class CListCtrlRecent : public CEntryListView {
public:
    CRecentAppList* m_pRecentList = nullptr;  // the owner's recent list; set before InitView

    // Creates the hidden control in `owner` (the tab control) and fills it from the recent list;
    // the selection goes to the requested entry when the request names this view, else to the
    // stored one. Leaves the keyboard focus where it is.
    bool InitView(const RECT& ownerClient, win::Window& owner, IViewOwner& sink, const StartRequest& start);
    // Lists the recent list's entries afresh, nothing selected; showing the view selects the first.
    bool RefreshView();

private:
    // The first catalogue entry whose id is `name` ignoring case, or null.
    CAppInfo* FindEntry(const std::wstring& name) const;
};
