// The resource library (QclRes.dll) and the program's texts.
#pragma once
#include <windows.h>
#include <string>

// Loads QclRes.dll from the program's own directory as a resource-only module and
// makes it the current resource module. True when loaded (now or before).
bool LoadResourceLibrary();

// Same, for a library at an explicit full path (tests). Fails when one is loaded already.
bool LoadResourceLibraryFrom(const std::wstring& fullPath);

// Module of strings, dialog templates and menus: the library once loaded, else the program.
HINSTANCE GetResourceModule();

// The program's own module (icon 135, folder strips, version information).
HINSTANCE GetProgramModule();

// String `id` of the current resource module; empty when the module lacks it.
std::wstring LoadResString(UINT id);

// String `id` of `module`; empty when missing. Reads the table within its resource size.
std::wstring LoadModuleString(HMODULE module, UINT id);

// Opens `path` as a data file, loads string `id`, releases it; empty when file or string is missing.
std::wstring LoadLibraryString(const std::wstring& path, UINT id);

// Directory of the running program, with a trailing backslash.
std::wstring GetProgramDirectory();
