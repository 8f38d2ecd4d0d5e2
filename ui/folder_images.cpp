#include "ui/folder_images.h"

#include "res/resource.h"
#include "win/handles.h"
#include "win/resource_module.h"

namespace folder_images {

namespace {

const int kBaseSize = 16;
const int kLargerSizes[] = {BRINDLE_FOLDER_SIZES};
const int kFrames = 5;
const COLORREF kTransparent = RGB(255, 255, 255);

UINT StripId(bool open, int size)
{
    if (size == kBaseSize)
        return open ? IDB_FOLDER_OPEN : IDB_FOLDER_CLOSED;
    return (open ? IDB_FOLDER_OPEN_SIZED : IDB_FOLDER_CLOSED_SIZED) + static_cast<UINT>(size);
}

// The size of the strip drawn for `size`: that size itself, else the largest smaller one (the
// 16-pixel strip below that).
int DrawnSize(int size)
{
    int drawn = kBaseSize;
    for (int larger : kLargerSizes) {
        if (larger <= size && larger > drawn)
            drawn = larger;
    }
    return drawn;
}

win::UniqueBitmap LoadStrip(bool open, int size)
{
    return win::UniqueBitmap(::LoadBitmapW(GetProgramModule(), MAKEINTRESOURCEW(StripId(open, size))));
}

// The frames of `strip` (each `drawn` pixels square) centred, unscaled, in frames of `size`
// pixels on the transparent white.
win::UniqueBitmap CentredStrip(HBITMAP strip, int drawn, int size)
{
    const win::MemoryDC source;
    const win::MemoryDC target;
    HDC screen = ::GetDC(nullptr);
    win::UniqueBitmap centred(::CreateCompatibleBitmap(screen, kFrames * size, size));
    ::ReleaseDC(nullptr, screen);
    if (!source.get() || !target.get() || !centred)
        return win::UniqueBitmap();
    {
        const win::SelectedObject from(source.get(), strip);
        const win::SelectedObject to(target.get(), centred.get());
        const COLORREF old = ::SetBkColor(target.get(), kTransparent);
        RECT all{0, 0, kFrames * size, size};
        ::ExtTextOutW(target.get(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
        ::SetBkColor(target.get(), old);
        const int offset = (size - drawn) / 2;
        for (int frame = 0; frame < kFrames; ++frame)
            ::BitBlt(target.get(), frame * size + offset, offset, drawn, drawn, source.get(), frame * drawn, 0, SRCCOPY);
    }
    return centred;
}

}  // namespace

int AddStrip(const win::ImageList& list, bool open)
{
    const int size = list.GetIconSize();
    if (size <= 0)
        return 0;
    const int drawn = DrawnSize(size);
    win::UniqueBitmap strip = LoadStrip(open, drawn);
    if (strip && drawn != size)
        strip = CentredStrip(strip.get(), drawn, size);
    if (!strip)
        return 0;
    const int before = list.GetImageCount();
    return list.AddMasked(strip.get(), kTransparent) >= 0 ? list.GetImageCount() - before : 0;
}

}  // namespace folder_images
