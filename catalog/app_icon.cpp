#include "catalog/app_info.h"
#include "catalog/catalog_cache.h"
#include "catalog/group_icon.h"
#include "catalog/icon_file.h"
#include "catalog/icon_image.h"
#include "catalog/icon_store.h"
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
    if (IconStore* store = IconStore::Current())
        return store->Has(*this, size);
    UnquoteIconPath();
    IconImage kept;
    if (CatalogCache* cache = CatalogCache::Current(); cache && cache->FindImage(m_strIconPath, m_nIconIndex, size, kept))
        return !kept.empty();
    const win::UniqueIcon icon(CreateAppIcon(size));
    return static_cast<bool>(icon);
}

HICON CAppInfo::CreateAppIcon(int size)
{
    UnquoteIconPath();
    const auto make = [this, size](IconImage& source) {
        std::vector<IconImage> sources;
        std::vector<win::UniqueIcon> icons = ResolveAppIcons({size}, &sources);
        source = std::move(sources.front());
        return icons.front().release();
    };
    if (CatalogCache* cache = CatalogCache::Current())
        return cache->Icon(m_strIconPath, m_nIconIndex, size, make);
    IconImage unused;
    return make(unused);
}

std::vector<IconImage> CAppInfo::AppIconImages(const std::vector<int>& sizes)
{
    UnquoteIconPath();
    std::vector<IconImage> images(sizes.size());
    std::vector<int> unknown;
    std::vector<std::size_t> unknownAt;
    CatalogCache* cache = CatalogCache::Current();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (!cache || !cache->FindImage(m_strIconPath, m_nIconIndex, sizes[i], images[i])) {
            unknown.push_back(sizes[i]);
            unknownAt.push_back(i);
        }
    }
    if (unknown.empty())
        return images;
    std::vector<IconImage> sources;
    const std::vector<win::UniqueIcon> icons = ResolveAppIcons(unknown, &sources);
    for (std::size_t j = 0; j < unknown.size(); ++j) {
        IconImage image = sources[j].empty() && icons[j] ? IconImageOf(icons[j].get()) : std::move(sources[j]);
        // An icon whose image cannot be read back counts as none: the views draw only images.
        if (cache)
            cache->KeepImage(m_strIconPath, m_nIconIndex, unknown[j], image);
        images[unknownAt[j]] = std::move(image);
    }
    return images;
}

std::vector<win::UniqueIcon> CAppInfo::ResolveAppIcons(const std::vector<int>& sizes, std::vector<IconImage>* sources)
{
    const std::size_t count = sizes.size();
    std::vector<win::UniqueIcon> icons(count);
    if (sources)
        sources->assign(count, IconImage());
    // The icon made at sizes[i], with the image resource it came from when it came from one.
    const auto made = [&](std::size_t i, HICON icon, const IconResourceData& resource) {
        icons[i].reset(icon);
        if (icon && sources && resource.data)
            (*sources)[i] = IconImageFromResource(resource.data, resource.size, sizes[i], sizes[i]);
    };

    if (EqualsIgnoringAsciiCase(FileExtension(m_strIconPath), L".ico")) {
        IconFile file;
        if (!file.Read(m_strIconPath))
            return icons;
        for (std::size_t i = 0; i < count; ++i) {
            IconResourceData resource;
            made(i, file.Make(sizes[i], &resource), resource);
        }
        return icons;
    }

    if (m_nIconIndex < 0) {
        // Resource ids are 16 bits; a larger id names no resource (and must not wrap onto one).
        unsigned int id = 0u - static_cast<unsigned int>(m_nIconIndex);
        if (id > 0xFFFF)
            return icons;
        const win::DataFileModule module(m_strIconPath);
        for (std::size_t i = 0; module && i < count; ++i) {
            IconResourceData resource;
            made(i, LoadGroupIcon(module.get(), MAKEINTRESOURCEW(id), sizes[i], sizes[i], kMaxIconBitCount, nullptr,
                                  &resource),
                 resource);
        }
        return icons;
    }

    std::vector<bool> rejected(count, false);
    {
        const win::DataFileModule module(m_strIconPath);
        if (module) {
            m_nIconEnumPos = 0;
            m_pIconGroupName.Clear();
            EnumResourceNamesW(module.get(), RT_GROUP_ICON, EnumIconGroupProc, reinterpret_cast<LONG_PTR>(this));
            for (std::size_t i = 0; m_pIconGroupName.IsSet() && i < count; ++i) {
                IconResourceData resource;
                bool refused = false;
                made(i, LoadGroupIcon(module.get(), m_pIconGroupName.Get(), sizes[i], sizes[i], kMaxIconBitCount,
                                      &refused, &resource),
                     resource);
                rejected[i] = refused;
            }
            m_pIconGroupName.Clear();
        }
    }
    // The platform's extraction for the sizes still without an icon: the large icon for 32 and
    // up, the small one below (asked for alone: asked together, the small one comes out of the
    // large image). It would read a damaged group we refused, past its data, so not for those.
    for (bool large : {true, false}) {
        win::UniqueIcon extracted;
        bool tried = false;
        for (std::size_t i = 0; i < count; ++i) {
            if (icons[i] || rejected[i] || (sizes[i] >= 32) != large)
                continue;
            if (!tried) {
                HICON icon = nullptr;
                ExtractIconExW(m_strIconPath.c_str(), m_nIconIndex, large ? &icon : nullptr, large ? nullptr : &icon, 1);
                extracted.reset(icon);
                tried = true;
            }
            if (extracted)
                icons[i].reset(CopyIcon(extracted.get()));
        }
    }
    return icons;
}
