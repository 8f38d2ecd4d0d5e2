// Single registry value reads with the catalogue's type and size rules.
#pragma once
#include "win/registry_key.h"

#include <windows.h>

#include <string>

// Largest value data accepted, in bytes (1024 UTF-16 units with the terminator).
constexpr DWORD kRegistryStringBytes = 2048;
// Units of the buffer that environment references are expanded into.
constexpr DWORD kExpandedStringUnits = 1024;

// Reads a string value of an open key. REG_SZ and REG_EXPAND_SZ are read as stored and their
// %NAME% references expanded once; REG_MULTI_SZ is stored with its strings joined by LF,
// unexpanded. Another type succeeds and leaves `out` unchanged. Returns the registry status
// (0 = success); on failure (missing, more than 2048 bytes, expansion longer than 1023 units)
// `out` is unchanged.
LONG ReadRegistryString(const CRegistryKey& key, const wchar_t* name, std::wstring& out);

// Reads up to four bytes into `out` whatever the value's type. Returns the registry status;
// on failure (missing, more than four bytes) `out` is unchanged, and so it is for a value of no
// bytes. Shorter data is zero-extended.
LONG ReadRegistryDword(const CRegistryKey& key, const wchar_t* name, int& out);

// The same reads for `root`\`subkey`, which is opened for the one read.
LONG ReadRegistryString(HKEY root, const std::wstring& subkey, const std::wstring& name, std::wstring& out);
LONG ReadRegistryDword(HKEY root, const std::wstring& subkey, const std::wstring& name, int& out);
