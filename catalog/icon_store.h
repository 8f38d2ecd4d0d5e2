// The icons of one page's entries. An entry's icon file is read once, at the first request of
// any size: for every size the page shows (the catalogue's test size and the views' sizes) at
// once, and the images are kept; the views make their icons from them when a row is first drawn.
#pragma once
#include "catalog/icon_image.h"

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

class CAppInfo;

class IconStore {
public:
    IconStore() = default;
    IconStore(const IconStore&) = delete;
    IconStore& operator=(const IconStore&) = delete;

    // The sizes read together at an entry's first request. A size asked later that is not among
    // them is read on its own (the first request for it reads the file again).
    void SetSizes(std::vector<int> sizes) { m_sizes = std::move(sizes); }
    const std::vector<int>& Sizes() const { return m_sizes; }

    // Whether the entry has an icon at `size` pixels.
    bool Has(CAppInfo& entry, int size) { return !Image(entry, size).empty(); }
    // The entry's icon at `size` pixels, owned by the caller; null when it has none.
    HICON Icon(CAppInfo& entry, int size);

    // While one lives, the catalogue's own icon test (CAppInfo::HasAppIcon) asks `store`.
    class Use {
    public:
        explicit Use(IconStore& store);
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

    private:
        IconStore* m_pPrevious;
    };
    static IconStore* Current();

private:
    const IconImage& Image(CAppInfo& entry, int size);

    std::vector<int> m_sizes;
    // By icon path and selector, then by size; an empty image: none at that size.
    std::map<std::pair<std::wstring, int>, std::map<int, IconImage>> m_images;
};
