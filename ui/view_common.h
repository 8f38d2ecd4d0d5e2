// What the three views share: where they stand in the page, how they follow a resize, how their
// context-menu commands reach the tab control, and the context menu itself.
#pragma once
#include <windows.h>

class CAppInfo;

namespace view {

// A view's rectangle in its owner's client rectangle: 2 pixels free at the left, right and
// bottom, 100 at the top for the description and the buttons.
RECT Placement(const RECT& ownerClient);

// Moves `view` to its placement without repainting; when it is visible and the owner grew by
// `grow` > 0 pixels, repaints at once the strip of that height at the bottom of its client area.
void Move(HWND view, const RECT& ownerClient, int grow);

// Turns the menu commands Open (57000) and Help (57001) into WM_COMMAND 10010 / 10011 posted to
// the view's parent, the tab control. Any other command is left alone.
void TranslateCommand(HWND view, UINT command);

// Posts Open (WM_COMMAND 10010) to the view's parent.
void PostOpen(HWND view);

// Shows the context menu of `entry` at the pointer: "&Open" (default) and "&Help" (grayed without
// a help path). The chosen command arrives at the view as WM_COMMAND 57000 or 57001.
void ShowEntryMenu(HWND view, const CAppInfo& entry);

}  // namespace view
