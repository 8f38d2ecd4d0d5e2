// A modal message box in the skin.
#pragma once
#include <windows.h>

namespace sable {

// Shows string `textId` of the current resource module under `caption` and returns the id of the
// button chosen. The skin draws boxes with the single OK button (Escape and the close box also
// give IDOK); other button sets use the system's message box. `parent` may be null: the box is
// then owned by the running modal dialog. Returns 0 when no box could be shown, and IDCANCEL
// when the box ended because the modal run it was shown in ended.
int SableMessageBox(UINT textId, const wchar_t* caption, UINT style, HWND parent);

}  // namespace sable
