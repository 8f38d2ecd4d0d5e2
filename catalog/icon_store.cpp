#include "catalog/icon_store.h"

#include "catalog/app_info.h"

#include <algorithm>

namespace {

IconStore* g_current = nullptr;  // the catalogue and its page are built on one thread

}  // namespace

IconStore::Use::Use(IconStore& store) : m_pPrevious(g_current)
{
    g_current = &store;
}

IconStore::Use::~Use()
{
    g_current = m_pPrevious;
}

IconStore* IconStore::Current()
{
    return g_current;
}

HICON IconStore::Icon(CAppInfo& entry, int size)
{
    const IconImage& image = Image(entry, size);
    return image.empty() ? nullptr : IconFromImage(image);
}

const IconImage& IconStore::Image(CAppInfo& entry, int size)
{
    entry.UnquoteIconPath();
    std::map<int, IconImage>& images = m_images[std::make_pair(entry.m_strIconPath, entry.m_nIconIndex)];
    auto found = images.find(size);
    if (found != images.end())
        return found->second;

    // Every size the page shows that is not held yet, read together with the one asked for.
    std::vector<int> wanted{size};
    for (int other : m_sizes) {
        if (images.find(other) == images.end() && std::find(wanted.begin(), wanted.end(), other) == wanted.end())
            wanted.push_back(other);
    }
    std::vector<IconImage> read = entry.AppIconImages(wanted);
    for (std::size_t i = 0; i < wanted.size(); ++i)
        images[wanted[i]] = std::move(read[i]);
    return images[size];
}
