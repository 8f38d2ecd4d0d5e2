// The best image of one icon group of an opened module.
#pragma once
#include <windows.h>

// `group` is MAKEINTRESOURCEW(id) or a text name. Picks the platform's best size for
// width x height, then among images of that size the deepest colour not above maxBitCount
// (maxBitCount <= 0: the depth of the platform's choice), the first in directory order on a
// tie. Returns an icon the caller destroys, or null when the group is missing or its data is
// malformed (a directory or image that does not fit its resource, or lies past the end of a file
// cut short). `rejected`, when given, is set when the group exists but failed those checks: such
// a group must reach no other reader. `source`, when given, receives the image resource the icon
// was made from (it stays valid while the module is loaded), or nothing when the icon came from
// elsewhere.
struct IconResourceData {
    const BYTE* data = nullptr;
    DWORD size = 0;
};
HICON LoadGroupIcon(HMODULE module, LPCWSTR group, int width, int height, int maxBitCount, bool* rejected = nullptr,
                    IconResourceData* source = nullptr);

// True when an image resource holds everything its bitmap header announces, so that making an
// icon of it reads nothing beyond it. PNG images are left to the platform, which is given their size.
bool IconImageFits(const BYTE* data, DWORD size);
