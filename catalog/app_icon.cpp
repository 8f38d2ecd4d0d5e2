#include "catalog/app_info.h"
#include "catalog/catalog_cache.h"
#include "catalog/group_icon.h"
#include "catalog/icon_image.h"
#include "win/data_file_cache.h"
#include "win/handles.h"
#include "catalog/text_fields.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace {

// Images deeper than this are passed over when a 256-colour image of the same size exists.
constexpr int kMaxIconBitCount = 8;

HICON ExtractAtPosition(const std::wstring& path, int position, int size)
{
    HICON icon = nullptr;
    if (size >= 32)
        ExtractIconExW(path.c_str(), position, &icon, nullptr, 1);
    else
        ExtractIconExW(path.c_str(), position, nullptr, &icon, 1);
    return icon;
}

}  // namespace

BOOL CALLBACK EnumIconGroupProc(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR entry)
{
    CAppInfo* app = reinterpret_cast<CAppInfo*>(entry);
    if (app->m_nIconEnumPos != app->m_nIconIndex) {
        ++app->m_nIconEnumPos;
        return TRUE;
    }
    app->m_pIconGroupName.Assign(name);
    return FALSE;
}

void CAppInfo::UnquoteIconPath()
{
    // Unquote in place: the entry keeps the plain path from now on.
    std::vector<wchar_t> unquoted(m_strIconPath.begin(), m_strIconPath.end());
    unquoted.resize(std::max<size_t>(unquoted.size() + 1, MAX_PATH), 0);
    PathUnquoteSpacesW(unquoted.data());
    m_strIconPath = unquoted.data();
}

bool CAppInfo::HasAppIcon(int size)
{
    UnquoteIconPath();
    bool exists = false;
    if (CatalogCache* cache = CatalogCache::Current(); cache && cache->KnowsIcon(m_strIconPath, m_nIconIndex, size, exists))
        return exists;
    const win::UniqueIcon icon(CreateAppIcon(size));
    return static_cast<bool>(icon);
}

HICON CAppInfo::CreateAppIcon(int size)
{
    UnquoteIconPath();
    if (CatalogCache* cache = CatalogCache::Current())
        return cache->Icon(m_strIconPath, m_nIconIndex, size,
                           [this, size](IconImage& source) { return ResolveAppIcon(size, &source); });
    return ResolveAppIcon(size, nullptr);
}

HICON CAppInfo::ResolveAppIcon(int size, IconImage* source)
{
    IconResourceData resource;
    const auto keep = [&](HICON icon) {
        if (icon && source)
            *source = IconImageFromResource(resource.data, resource.size, size, size);
        return icon;
    };

    if (EqualsIgnoringAsciiCase(FileExtension(m_strIconPath), L".ico"))
        return static_cast<HICON>(LoadImageW(nullptr, m_strIconPath.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));

    if (m_nIconIndex < 0) {
        // Resource ids are 16 bits; a larger id names no resource (and must not wrap onto one).
        unsigned int id = 0u - static_cast<unsigned int>(m_nIconIndex);
        if (id > 0xFFFF)
            return nullptr;
        const win::DataFileModule module(m_strIconPath);
        if (!module)
            return nullptr;
        return keep(LoadGroupIcon(module.get(), MAKEINTRESOURCEW(id), size, size, kMaxIconBitCount, nullptr, &resource));
    }

    HICON icon = nullptr;
    bool rejected = false;
    {
        const win::DataFileModule module(m_strIconPath);
        if (module) {
            m_nIconEnumPos = 0;
            m_pIconGroupName.Clear();
            EnumResourceNamesW(module.get(), RT_GROUP_ICON, EnumIconGroupProc, reinterpret_cast<LONG_PTR>(this));
            if (m_pIconGroupName.IsSet())
                icon = keep(LoadGroupIcon(module.get(), m_pIconGroupName.Get(), size, size, kMaxIconBitCount,
                                          &rejected, &resource));
            m_pIconGroupName.Clear();
        }
    }
    // The platform's extraction would read the damaged group we refused, past its data.
    if (rejected)
        return nullptr;
    if (!icon)
        icon = ExtractAtPosition(m_strIconPath, m_nIconIndex, size);
    return icon;
}
