// The "List" view: every catalogue entry once, as its 32-pixel icon with its name, in label order.
#pragma once
#include "ui/entry_list_view.h"

#include <string>

class CListCtrlAll : public CEntryListView {
public:
    // Creates the hidden control and fills it; the selection goes to the requested entry when the
    // request names no tab or this one, else to the stored one. Takes the keyboard focus.
    bool InitView(const ViewContext& context, const RECT& placement) override;
    bool RefreshView(const EntryList& entries) override;

private:
    // Inserts the entries with their icons; the entry whose id is `wanted`, or null.
    const CAppInfo* InsertEntries(const EntryList& entries, const std::wstring& wanted);
};
