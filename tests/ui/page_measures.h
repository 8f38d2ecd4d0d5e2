// What the DPI tests measure of the page's windows, as a user would see it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

// Rectangle of `child` in the client coordinates of its parent.
inline RECT InParent(HWND child)
{
    RECT rc{};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// The height in pixels of the font `window` draws its text with.
inline int FontHeight(HWND window)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return std::abs(font.lfHeight);
}

// The width of the images of `list`, or 0.
inline int ImageSize(HIMAGELIST list)
{
    int cx = 0, cy = 0;
    return list && ImageList_GetIconSize(list, &cx, &cy) ? cx : 0;
}
