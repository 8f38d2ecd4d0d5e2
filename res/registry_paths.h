// Where Brindle's data lives in the registry: the makers' catalogue under HKEY_LOCAL_MACHINE
// and the user's own state under HKEY_CURRENT_USER, both below the product key.
#pragma once

#define BRINDLE_PRODUCT_KEY L"SOFTWARE\\Marbeck\\Quillon"

// HKEY_LOCAL_MACHINE: one subkey per registered application, and the value "OSItems".
inline constexpr wchar_t kCatalogKeyPath[] = BRINDLE_PRODUCT_KEY;
// HKEY_CURRENT_USER: "Name%d" and "Time%d" of the recent list.
inline constexpr wchar_t kRecentListKeyPath[] = BRINDLE_PRODUCT_KEY L"\\RecentApplication";
// HKEY_CURRENT_USER: the window rectangle, the active tab and each view's selection.
inline constexpr wchar_t kWindowStateKeyPath[] = BRINDLE_PRODUCT_KEY L"\\WindowState";
