// What the all-applications list and the recent list share: the control they are, how an entry
// becomes an item, how a selection reaches the owner, the Enter key, and how an item is drawn.
#pragma once
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

// Creates `list` hidden as control `id` of `parent` at `placement`, hooks its scroll bars, and
// makes `images` (32 x 32 at 96 DPI, at the scale's size otherwise; room for one, growing by
// `grow`) its small-image list.
bool Create(win::ListCtrl& list, UINT id, const RECT& placement, HWND parent, sable::AbstractScrollBarPaintHook& hook,
            win::ImageList& images, int grow, const win::DpiScale& scale);

// Puts the entry's icon, at the size of `images`, into slot `slot` (-1: appends); the slot used, or -1.
int PutIcon(const win::ImageList& images, CAppInfo& entry, int slot = -1);

// A new image list for `list` at the scale's size, with each item's icon in the slot the item
// names; it replaces `images` as the list's small-image list.
void RebuildImages(const win::ListCtrl& list, win::ImageList& images, const win::DpiScale& scale);

// Inserts `entry` labelled "\r\n" + its name, with `image`, requested at position `image`;
// the sorted control puts it at its place in label order.
void InsertEntry(const win::ListCtrl& list, CAppInfo& entry, int image);

// `entries` (nulls left out) in the order that lets the sorted control place each new item at its
// front: descending label order, catalogue order among equal labels. The control keeps sorting;
// this only spares it comparing each new label with every label already inserted.
EntryList InsertionOrder(const EntryList& entries);

// The entry of an item, or null.
CAppInfo* EntryAt(const win::ListCtrl& list, int item);

// The last position whose entry is `entry`; 0 without one.
int PositionOf(const win::ListCtrl& list, const CAppInfo* entry);

// The end of a fill: selects and focuses `item` and sets column 0 to half the client width.
void FinishFill(const win::ListCtrl& list, int item);

// The selected item's entry: the focused item when it is selected, else the first selected; or null.
CAppInfo* SelectedEntry(const win::ListCtrl& list);

// Tells the owner of an item that became selected (its entry) or unselected (none).
void ReportStateChange(const ViewContext& context, UINT oldState, UINT newState, LPARAM data);

// Shows or hides the view; on showing, restores the selection from the control's anchor.
void Show(const win::ListCtrl& list, const ViewContext& context, bool show);

// A key-down of Enter while at least one item is selected.
bool IsEnterOnSelection(const win::ListCtrl& list, const MSG& msg);

// Paints the items: the icon, and the name beside it without the label's leading line break.
LRESULT CustomDraw(const win::ListCtrl& list, const NMLVCUSTOMDRAW& draw, HIMAGELIST images);

}  // namespace entry_list
