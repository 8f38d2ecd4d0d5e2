// Registration files as regedit writes them ("Windows Registry Editor Version 5.00" or
// "REGEDIT4"), parsed into keys and values without touching the registry.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct RegFileValue {
    std::wstring name;  // empty for the default value ("@")
    bool remove = false;  // "name"=-
    DWORD type = REG_NONE;
    std::vector<BYTE> data;  // exactly as RegSetValueExW takes it
    int line = 0;
};

struct RegFileKey {
    std::wstring path;  // as written, root included
    bool remove = false;  // [-path]
    int line = 0;
    std::vector<RegFileValue> values;
};

struct RegFileError {
    int line = 0;  // 0: the file as a whole (cannot be read)
    std::string message;
};

// The file's text: UTF-16 LE with its byte-order mark, UTF-8 (with or without one), else the
// ANSI code page.
std::wstring DecodeRegFileText(const std::string& bytes);

// Parses the whole text; on the first line it cannot read, fills `error` and returns false
// (`keys` is then incomplete and must not be used).
bool ParseRegFile(const std::wstring& text, std::vector<RegFileKey>& keys, RegFileError& error);

// Reads and parses `path`.
bool ReadRegFile(const std::wstring& path, std::vector<RegFileKey>& keys, RegFileError& error);
