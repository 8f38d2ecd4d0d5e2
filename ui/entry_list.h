// What the all-applications list and the recent list share: the control they are, how an entry
// becomes a row, how a selection reaches the owner, the Enter key, and how a row is drawn.
#pragma once
#include "ui/entry_images.h"
#include "ui/page_view.h"
#include "win/controls.h"
#include "win/dpi.h"

#include <windows.h>

#include <string>
#include <vector>

namespace sable {
class AbstractScrollBarPaintHook;
}

namespace entry_list {

// Creates `list` hidden as control `id` of `parent` at `placement`: one row per entry, one column
// as wide as the control. Hooks its scroll bars and makes `images` (32 x 32 at 96 DPI, at the
// scale's size otherwise; room for one, growing by `grow`) its small-image list.
bool Create(win::ListCtrl& list, UINT id, const RECT& placement, HWND parent, sable::AbstractScrollBarPaintHook& hook,
            win::ImageList& images, int grow, const win::DpiScale& scale);

// A new, empty image list for `list` at the scale's size in place of `images`, the slots `known`
// forgotten; each row asks for its icon again when it is next drawn.
void RebuildImages(const win::ListCtrl& list, win::ImageList& images, EntryImages& known, const win::DpiScale& scale);

// Appends `entry` as the last row, labelled "\r\n" + its name; its icon is asked for when the row
// is first drawn (LVN_GETDISPINFO).
void AppendEntry(const win::ListCtrl& list, CAppInfo& entry);

// `entries` (nulls left out) in the order the views show them.
EntryList InShownOrder(const EntryList& entries);

// The entry of a row, or null.
CAppInfo* EntryAt(const win::ListCtrl& list, int item);

// The last row whose entry is `entry`; 0 without one.
int PositionOf(const win::ListCtrl& list, const CAppInfo* entry);

// The names of the rows, in their order.
std::vector<std::wstring> Names(const win::ListCtrl& list);

// Keeps column 0 as wide as the client area, so that no row reaches past its right edge and
// nothing scrolls the list sideways.
void FitColumn(const win::ListCtrl& list);

// Makes `item` the only selected row, focused and the anchor of the next selection, and scrolls
// it into view.
void SelectOnly(const win::ListCtrl& list, int item);

// The selected row's entry: the focused row when it is selected, else the first selected; or null.
CAppInfo* SelectedEntry(const win::ListCtrl& list);

// After a row's selection changed: true with the entry the owner is to hear of, that is the row
// that became selected, or after a deselection what stays selected (see SelectedEntry) or none.
bool EntryToReport(const win::ListCtrl& list, UINT oldState, UINT newState, LPARAM data, CAppInfo*& entry);

// Shows or hides the view; on showing, restores the selection from the control's anchor and
// scrolls the selected row into view.
void Show(const win::ListCtrl& list, const ViewContext& context, bool show);

// A key-down of Enter while at least one row is selected.
bool IsEnterOnSelection(const win::ListCtrl& list, const MSG& msg);

// Whether row `item` shows its name cut short (ended with an ellipsis).
bool NameCutShort(const win::ListCtrl& list, int item);

// Paints the rows: the icon, and the name beside it without the label's leading line break,
// ended with an ellipsis where the row is too narrow for it.
LRESULT CustomDraw(const win::ListCtrl& list, const NMLVCUSTOMDRAW& draw, HIMAGELIST images);

}  // namespace entry_list
