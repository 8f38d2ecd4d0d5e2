// The current resource module (the framework's module state) and string loading from modules.
#pragma once
#include <windows.h>
#include <string>

// Makes `module` the module of strings, dialog templates and menus; null puts the program back.
// Set once at start-up by whoever loads the resource library.
void SetResourceModule(HMODULE module);

// Module of strings, dialog templates and menus: the one set, else the program.
HINSTANCE GetResourceModule();

// The program's own module (icon 135, folder strips, version information).
HINSTANCE GetProgramModule();

// String `id` of the current resource module; empty when the module lacks it. The program's own
// copy when the module's table is damaged (not wholly inside its file).
std::wstring LoadResString(UINT id);

// String `id` of `module` (cut to 16 bits, as ids are); empty when missing. Reads the table
// within its resource size, and only a table that lies wholly inside the module's file.
std::wstring LoadModuleString(HMODULE module, UINT id);

// Template `id` of the current resource module; the program's own copy when the module's is
// damaged (not wholly inside its file). Null when there is none.
const DLGTEMPLATE* FindDialogTemplate(UINT id);

// Opens `path` as a data file (or takes it from the current DataFileCache), loads string `id`,
// releases it; empty when file or string is missing.
std::wstring LoadLibraryString(const std::wstring& path, UINT id);

// Directory of the running program, with a trailing backslash.
std::wstring GetProgramDirectory();
