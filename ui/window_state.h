// Per-user window state: the main dialog's rectangle, the active tab and each view's selection.
#pragma once
#include <string>


void SaveWindowRect(int left, int top, int right, int bottom);
// True only when all four edges were read; the arguments are usable only then.
bool LoadWindowRect(int& left, int& top, int& right, int& bottom);
// False (index untouched) when the key cannot be opened; a missing or non-DWORD value gives 0.
bool LoadActiveTabId(int& tabIndex);
// The stored entry id of view 0 (tree), 1 (all list) or 2 (recent list); empty when none.
std::wstring LoadSelectedApp(int view);
// Empty id: records the active tab; otherwise the selected entry of view `tabIndex` (0..2).
void SaveViewState(int tabIndex, const std::wstring& id);
void ClearTreeSelectedApp();
