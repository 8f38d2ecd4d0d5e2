#include "app_info.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

namespace {

bool HasIcoExtension(const std::wstring& path)
{
    const wchar_t* extension = PathFindExtensionW(path.c_str());
    return lstrcmpiW(extension, L".ico") == 0;
}

}  // namespace

HICON CAppInfo::CreateAppIcon(int size)
{
    std::vector<wchar_t> unquoted(m_strIconPath.begin(), m_strIconPath.end());
    unquoted.resize(std::max<size_t>(unquoted.size() + 1, MAX_PATH), 0);
    PathUnquoteSpacesW(unquoted.data());
    m_strIconPath = unquoted.data();

    if (HasIcoExtension(m_strIconPath))
        return static_cast<HICON>(LoadImageW(nullptr, m_strIconPath.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));

    HICON icon = nullptr;
    if (size >= 32)
        ExtractIconExW(m_strIconPath.c_str(), m_nIconIndex, &icon, nullptr, 1);
    else
        ExtractIconExW(m_strIconPath.c_str(), m_nIconIndex, nullptr, &icon, 1);
    return icon;
}

// Built-in items are not offered yet.
int CAppInfo::LoadOsItem(int)
{
    return 0;
}
