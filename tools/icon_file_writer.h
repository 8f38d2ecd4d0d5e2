// Saving icons as an .ico file, so a vendor can see which image the hub picked.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Writes every icon of `icons` (null ones are skipped) as a 32-bit image of one .ico file.
// False when no icon could be read or the file could not be written.
bool WriteIconFile(const std::vector<HICON>& icons, const std::wstring& path);
