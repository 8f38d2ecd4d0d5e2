#include "ui/entry_order.h"

#include "catalog/app_info.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

// The user's sort order (the one the controls' own sorting uses); `flags` 0 or NORM_IGNORECASE.
int CompareNames(const std::wstring& a, const std::wstring& b, DWORD flags)
{
    const int result = ::CompareStringW(LOCALE_USER_DEFAULT, flags, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                        static_cast<int>(b.size()));
    return result == 0 ? 0 : result - CSTR_EQUAL;
}

// The user's sort key of `name` (flags 0 or NORM_IGNORECASE): comparing two keys byte by byte
// orders the names as CompareNames does.
std::string SortKey(const std::wstring& name, DWORD flags)
{
    const int length = static_cast<int>(name.size());
    const int bytes = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | flags, name.c_str(), length, nullptr, 0);
    if (bytes <= 0)
        return std::string();
    std::string key(static_cast<std::size_t>(bytes), '\0');
    ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | flags, name.c_str(), length, reinterpret_cast<LPWSTR>(&key[0]),
                   bytes);
    return key;
}

}  // namespace

void SortInShownOrder(std::vector<CAppInfo*>& entries)
{
    struct Keyed {
        std::string byName;
        std::string byCase;
        CAppInfo* entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (CAppInfo* entry : entries)
        keyed.push_back({SortKey(entry->m_strAppName, NORM_IGNORECASE), SortKey(entry->m_strAppName, 0), entry});
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (const int byName = a.byName.compare(b.byName))
            return byName < 0;
        if (const int byCase = a.byCase.compare(b.byCase))
            return byCase < 0;
        return a.entry->m_strId < b.entry->m_strId;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        entries[i] = keyed[i].entry;
}

int CompareInShownOrder(const CAppInfo& a, const CAppInfo& b)
{
    if (const int byName = CompareNames(a.m_strAppName, b.m_strAppName, NORM_IGNORECASE))
        return byName;
    if (const int byCase = CompareNames(a.m_strAppName, b.m_strAppName, 0))
        return byCase;
    return a.m_strId.compare(b.m_strId);
}
