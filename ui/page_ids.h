// The page's vocabulary: control ids, the views' menu commands, the message the main dialog
// posts to itself, and the views by name (their stored numbers stay 0, 1, 2).
#pragma once
#include <windows.h>

namespace page {

// Control ids, all children of the tab control except the tab control itself.
constexpr UINT kTabCtrlId = 10000;
constexpr UINT kTreeViewId = 10001;
constexpr UINT kAllListId = 10002;
constexpr UINT kRecentListId = 10003;
constexpr UINT kOpenButtonId = 10010;  // also the Open command a view posts to the tab control
constexpr UINT kHelpButtonId = 10011;  // also the Help command
constexpr UINT kSearchBoxId = 10012;   // in the tab strip's band, right of the tabs

// Commands of a view's context menu; the view asks its owner for Open or Help on their entry.
constexpr UINT kMenuOpenCommand = 57000;
constexpr UINT kMenuHelpCommand = 57001;

// Posted by the main dialog to itself at the end of its initialisation: focus the current view.
constexpr UINT kFocusViewMessage = WM_USER;

// The three views, in tab order; the numbers are what the window state stores.
enum class View : int { Tree = 0, All = 1, Recent = 2 };
constexpr int kViewCount = 3;

// The view of a stored or requested tab number, or false when the number names none.
inline bool ViewFromIndex(int index, View& view)
{
    if (index < 0 || index >= kViewCount)
        return false;
    view = static_cast<View>(index);
    return true;
}

constexpr int IndexOf(View view) { return static_cast<int>(view); }

// The views' icon sizes at 96 DPI: the tree's, and the lists'.
constexpr int kTreeIconSize = 16;
constexpr int kListIconSize = 32;

}  // namespace page
