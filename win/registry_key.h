// Owning holder of one open registry key, with readers that check type and size.
#pragma once
#include "win/handles.h"

#include <windows.h>

#include <cstddef>
#include <string>

class CRegistryKey {
public:
    CRegistryKey() = default;

    // Opens for reading and writing, creating the key and missing parents. Closes any held key first.
    bool Create(HKEY root, const wchar_t* path);
    // Opens an existing key read-only. Closes any held key first.
    bool OpenForRead(HKEY root, const wchar_t* path);
    // Opens an existing key for reading and writing, creating nothing. Closes any held key first.
    bool OpenForWrite(HKEY root, const wchar_t* path);
    void Close() { m_key.reset(); }
    bool IsOpen() const { return static_cast<bool>(m_key); }
    HKEY Get() const { return m_key.get(); }

    // True only for an existing REG_DWORD of at most 4 bytes; `value` is unchanged otherwise.
    bool ReadDword(const wchar_t* name, DWORD& value) const;
    // `capacity` counts UTF-16 units including the terminator. True only for an existing
    // REG_SZ or REG_EXPAND_SZ (not expanded) that fits, has an even byte length and ends in a
    // zero unit; zero bytes read as empty. `value` is unchanged on failure.
    bool ReadString(const wchar_t* name, std::size_t capacity, std::wstring& value) const;

    // Name of the subkey at `index`, at most `capacity` units with the terminator. Returns the
    // registry status: non-zero at and past the end, and for a name that does not fit.
    LONG EnumSubkeyName(DWORD index, DWORD capacity, std::wstring& name) const;
    // The value as stored, neither checked nor expanded: `bytes` gives the room of `data` and
    // receives the value's size. Returns the registry status (ERROR_MORE_DATA when it does not fit).
    LONG QueryValue(const wchar_t* name, DWORD& type, void* data, DWORD& bytes) const;

    bool WriteDword(const wchar_t* name, DWORD value) const;
    // Stored as REG_SZ with its terminator.
    bool WriteString(const wchar_t* name, const std::wstring& value) const;
    bool WriteValue(const wchar_t* name, DWORD type, const void* data, DWORD bytes) const;
    bool DeleteValue(const wchar_t* name) const;

private:
    win::UniqueKey m_key;  // closes the key when destroyed; move-only
};
