// The "List" view: every catalogue entry once, as its 32-pixel icon with its name, in label order.
#pragma once
#include "ui/entry_list_view.h"

class IViewOwner;
struct StartRequest;

class CListCtrlAll : public CEntryListView {
public:
    // Creates the hidden control in `owner` (the tab control) and fills it; the selection goes to
    // the requested entry when the request names no tab or this one, else to the stored one.
    // Takes the keyboard focus. `sink` hears of selection changes from then on.
    bool InitView(const RECT& ownerClient, win::Window& owner, IViewOwner& sink, const StartRequest& start);
};
