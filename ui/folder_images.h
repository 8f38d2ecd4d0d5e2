// The category tree's folder pictures at the size of its images: the strip drawn at that size
// where the program carries one, else the largest smaller one centred in frames of that size.
// Never a stretched picture.
#pragma once
#include "win/controls.h"

namespace folder_images {

// Appends the five frames of the closed or the open folder strip to `list`, at its image size.
// The number of images added (0 when the strip could not be had).
int AddStrip(const win::ImageList& list, bool open);

}  // namespace folder_images
