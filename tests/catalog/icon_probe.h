// Reading back a created icon: its size and the colour of its centre pixel. The icon fixtures
// paint each image in one colour that names it: red = size, green = bit count, blue = tag.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct IconFacts {
    bool ok = false;
    int width = 0;
    int height = 0;
    int red = 0;    // the image's nominal size in the fixtures
    int green = 0;  // its bit count
    int blue = 0;   // its tag
};

inline IconFacts Inspect(HICON icon)
{
    IconFacts facts;
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return facts;
    BITMAP mask = {};
    GetObjectW(info.hbmMask, sizeof(mask), &mask);
    facts.width = mask.bmWidth;
    facts.height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    if (info.hbmColor && facts.width > 0 && facts.height > 0) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = facts.width;
        bi.bmiHeader.biHeight = -facts.height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        std::vector<DWORD> pixels(static_cast<size_t>(facts.width) * facts.height);
        HDC dc = GetDC(nullptr);
        if (GetDIBits(dc, info.hbmColor, 0, facts.height, pixels.data(), &bi, DIB_RGB_COLORS) == facts.height) {
            DWORD centre = pixels[static_cast<size_t>(facts.height / 2) * facts.width + facts.width / 2];
            facts.blue = centre & 0xFF;
            facts.green = (centre >> 8) & 0xFF;
            facts.red = (centre >> 16) & 0xFF;
            facts.ok = true;
        }
        ReleaseDC(nullptr, dc);
    }
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return facts;
}

// Loads the .ico file `path` at `size`, reads it back and destroys it.
inline IconFacts InspectIconFile(const std::wstring& path, int size)
{
    HICON icon = static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
    IconFacts facts = Inspect(icon);
    if (icon)
        DestroyIcon(icon);
    return facts;
}

// Creates the icon of `path`/`index` at `size` through a fresh entry, reads it back and destroys it.
// `pathAfter`, when given, receives the entry's path as left by the call.
template <typename Entry>
IconFacts IconOf(const std::wstring& path, int index, int size, std::wstring* pathAfter = nullptr)
{
    Entry entry;
    entry.m_strIconPath = path;
    entry.m_nIconIndex = index;
    HICON icon = entry.CreateAppIcon(size);
    IconFacts facts = Inspect(icon);
    if (icon)
        DestroyIcon(icon);
    if (pathAfter)
        *pathAfter = entry.m_strIconPath;
    return facts;
}

// Makes and destroys each entry's 16 and 32 pixel icons, as the views would; the number made.
template <typename Catalog>
int MakeEveryIcon(const Catalog& catalog)
{
    int icons = 0;
    for (const auto& entry : catalog) {
        for (int size : {16, 32}) {
            HICON icon = entry->CreateAppIcon(size);
            icons += icon != nullptr;
            if (icon)
                DestroyIcon(icon);
        }
    }
    return icons;
}
