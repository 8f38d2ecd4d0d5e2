// An icon kept as bytes: the image of one icon in the form of an icon resource (a bitmap header
// with twice the height, 32-bit colour rows and the 1-bit mask rows, bottom-up), so that it can
// be stored and made into an icon again that draws as the original did.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

using IconImage = std::vector<std::uint8_t>;

// The image of `icon`; empty when it cannot be read.
IconImage IconImageOf(HICON icon);

// A new icon from an image made by IconImageOf (the caller destroys it); null for an image that
// is not one (an empty or damaged one).
HICON IconFromImage(const IconImage& image);
