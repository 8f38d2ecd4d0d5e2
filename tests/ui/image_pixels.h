// Pixels of images as a user sees them: drawn on white into a bitmap of their size.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

// Image `index` of `list` drawn at its size (transparent parts white); empty on failure.
std::vector<COLORREF> ImagePixels(HIMAGELIST list, int index);
// `icon` drawn at `size` x `size` (DrawIconEx; transparent parts white).
std::vector<COLORREF> IconPixels(HICON icon, int size);
// How many colours the pixels hold.
int DistinctColours(const std::vector<COLORREF>& pixels);
