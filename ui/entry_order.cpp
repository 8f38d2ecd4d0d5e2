#include "ui/entry_order.h"

#include "catalog/app_info.h"

#include <windows.h>

namespace {

// The user's sort order (the one the controls' own sorting uses); `flags` 0 or NORM_IGNORECASE.
int CompareNames(const std::wstring& a, const std::wstring& b, DWORD flags)
{
    const int result = ::CompareStringW(LOCALE_USER_DEFAULT, flags, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                        static_cast<int>(b.size()));
    return result == 0 ? 0 : result - CSTR_EQUAL;
}

}  // namespace

int CompareInShownOrder(const CAppInfo& a, const CAppInfo& b)
{
    if (const int byName = CompareNames(a.m_strAppName, b.m_strAppName, NORM_IGNORECASE))
        return byName;
    if (const int byCase = CompareNames(a.m_strAppName, b.m_strAppName, 0))
        return byCase;
    return a.m_strId.compare(b.m_strId);
}
