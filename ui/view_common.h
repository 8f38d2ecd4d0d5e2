// What the three views share: how they follow a resize, their context menu, and what its
// commands ask of the owner.
#pragma once
#include "ui/view_owner.h"

#include <windows.h>

class CAppInfo;

namespace view {

// Moves `view` to `placement` without repainting; when it is visible and the owner grew by
// `grow` > 0 pixels, repaints at once the strip of that height at the bottom of its client area.
void Move(HWND view, const RECT& placement, int grow);

// Shows the context menu of `entry` at the pointer: "&Open" (default) and "&Help" (grayed without
// a help path). The chosen command arrives at the view as WM_COMMAND 57000 or 57001.
void ShowEntryMenu(HWND view, const CAppInfo& entry);

// The request of a context-menu command (Open for 57000, Help for 57001); false for any other.
bool MenuCommand(UINT id, EntryCommand& command);

}  // namespace view
