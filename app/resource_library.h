// Loading the resource library (QclRes.dll) that carries the program's translated texts.
#pragma once
#include <string>

// Loads QclRes.dll from the program's own directory as a resource-only module and
// makes it the current resource module. True when loaded (now or before).
bool LoadResourceLibrary();

// Same, for a library at an explicit full path (tests). Fails when one is loaded already.
bool LoadResourceLibraryFrom(const std::wstring& fullPath);
