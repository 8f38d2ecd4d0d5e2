// The one interface of the page's three views, and what each is given when it is created.
#pragma once
#include "ui/app_list.h"
#include "ui/page_ids.h"
#include "ui/start_request.h"
#include "ui/view_owner.h"
#include "win/dpi.h"

#include <windows.h>

#include <string>
#include <vector>

class CRecentAppList;
class IconStore;

namespace win {
class Window;
}

// Entries for a view to list, in the order of their source; a null stands for a recent name that
// has no catalogue entry (the recent view keeps its place).
using EntryList = std::vector<CAppInfo*>;

// A view's dependencies, handed over once at creation; the view keeps a copy.
struct ViewContext {
    win::Window* parent = nullptr;           // the window the view is a child of (the tab control)
    IViewOwner* owner = nullptr;             // hears of selections and of Open and Help
    const CAppList* catalogue = nullptr;     // owned by the page
    const CRecentAppList* recent = nullptr;  // the recent view's source
    StartRequest start;
    win::DpiScale scale;  // the DPI the page is laid out at
    IconStore* icons = nullptr;  // the page's icons; without it entries make their own

    // The icon of `entry` at `size` pixels (the caller destroys it), or null.
    HICON Icon(CAppInfo& entry, int size) const;

    // What `view` lists: the catalogue, or (the recent view) the recent list's entries.
    EntryList EntriesOf(page::View view) const;
    // The entry id `view` selects once filled: the requested one when the start request names
    // it for this view, else the one stored for it.
    std::wstring SelectionToRestore(page::View view) const;

    void ReportSelection(CAppInfo* entry) const;
    void Request(EntryCommand command, CAppInfo* entry) const;
};

class IPageView {
public:
    // Creates the view in the context's parent at `placement` and fills it from its source,
    // selecting the entry to restore. False (and no window) when the control cannot be created.
    virtual bool InitView(const ViewContext& context, const RECT& placement) = 0;
    // Hides, or shows and reports the selected entry to the owner.
    virtual bool ShowView(bool show) = 0;
    // Moves to `placement` without repainting; a visible view repaints at once the strip of
    // `grow` pixels (when positive) at its bottom.
    virtual void MoveView(const RECT& placement, int grow) = 0;
    virtual void FocusView() = 0;
    // Lists `entries` afresh with nothing selected; the owner hears of it when the view is shown.
    // What a search remembered goes: these are the entries to come back to.
    virtual bool RefreshView(const EntryList& entries) = 0;
    // The entry shown at a point of the screen, or null.
    virtual CAppInfo* EntryAt(POINT screen) const = 0;
    // The selected entry (with several, the focused one or else the first), or null.
    virtual CAppInfo* SelectedEntry() const = 0;
    // The page moved to another DPI (and the view to its new placement): images, rows and
    // scroll bars at the new scale, text in `font`.
    virtual void ChangeDpi(const win::DpiScale& scale, HFONT font) = 0;

    // A search: lists only `matches` (the tree with every category open), keeping the selected
    // entry when it is among them, else as a fresh fill would select; the owner hears nothing.
    // The first call since the view last listed everything remembers what it showed.
    virtual void ShowMatches(const EntryList& matches) = 0;
    // The search is over: lists `entries` and shows again what the first ShowMatches remembered
    // (selection, open categories, first row in view); the owner hears nothing. Nothing when the
    // view was not narrowed since.
    virtual void EndSearch(const EntryList& entries) = 0;
    // Selects the first entry listed, as the user's selection (the owner hears of it); false when
    // the view lists none.
    virtual bool SelectFirstEntry() = 0;

protected:
    ~IPageView() = default;
};
