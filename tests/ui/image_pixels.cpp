#include "tests/ui/image_pixels.h"

#include <functional>
#include <set>

namespace {

// Runs `draw` on a white `size` x `size` bitmap and reads its pixels back.
std::vector<COLORREF> Drawn(int size, const std::function<void(HDC)>& draw)
{
    std::vector<COLORREF> pixels;
    if (size <= 0)
        return pixels;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw(dc);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

}  // namespace

std::vector<COLORREF> ImagePixels(HIMAGELIST list, int index)
{
    int cx = 0, cy = 0;
    if (!list || !ImageList_GetIconSize(list, &cx, &cy))
        return {};
    return Drawn(cx, [&](HDC dc) { ImageList_Draw(list, index, dc, 0, 0, ILD_TRANSPARENT); });
}

std::vector<COLORREF> IconPixels(HICON icon, int size)
{
    return Drawn(size, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL); });
}

int DistinctColours(const std::vector<COLORREF>& pixels)
{
    return static_cast<int>(std::set<COLORREF>(pixels.begin(), pixels.end()).size());
}
