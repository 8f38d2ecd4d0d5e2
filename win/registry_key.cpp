#include "win/registry_key.h"

#include <shlwapi.h>

#include <vector>

bool CRegistryKey::Create(HKEY root, const wchar_t* path)
{
    Close();
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    m_key.reset(key);
    return true;
}

bool CRegistryKey::OpenForRead(HKEY root, const wchar_t* path)
{
    Close();
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    m_key.reset(key);
    return true;
}

bool CRegistryKey::OpenForWrite(HKEY root, const wchar_t* path)
{
    Close();
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return false;
    m_key.reset(key);
    return true;
}

LONG CRegistryKey::EnumSubkeyName(DWORD index, DWORD capacity, std::wstring& name) const
{
    if (!IsOpen() || capacity == 0)
        return ERROR_INVALID_HANDLE;
    std::vector<wchar_t> buffer(capacity, L'\0');
    DWORD units = capacity;
    LONG status = static_cast<LONG>(SHEnumKeyExW(Get(), index, buffer.data(), &units));
    if (status != ERROR_SUCCESS)
        return status;
    buffer.back() = L'\0';
    name = buffer.data();
    return ERROR_SUCCESS;
}

LONG CRegistryKey::QueryValue(const wchar_t* name, DWORD& type, void* data, DWORD& bytes) const
{
    if (!IsOpen())
        return ERROR_INVALID_HANDLE;
    type = REG_NONE;
    return RegQueryValueExW(Get(), name, nullptr, &type, static_cast<BYTE*>(data), &bytes);
}

bool CRegistryKey::ReadDword(const wchar_t* name, DWORD& value) const
{
    if (!IsOpen())
        return false;
    DWORD data = 0;  // a short value leaves the high bytes zero
    DWORD type = REG_NONE;
    DWORD bytes = sizeof(data);
    if (QueryValue(name, type, &data, bytes) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || bytes > sizeof(data))
        return false;
    value = data;
    return true;
}

bool CRegistryKey::ReadString(const wchar_t* name, std::size_t capacity, std::wstring& value) const
{
    if (!IsOpen() || capacity == 0)
        return false;
    std::vector<wchar_t> buffer(capacity, L'\0');
    DWORD type = REG_NONE;
    DWORD bytes = static_cast<DWORD>(capacity * sizeof(wchar_t));
    if (QueryValue(name, type, buffer.data(), bytes) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    if (bytes > capacity * sizeof(wchar_t) || bytes % sizeof(wchar_t) != 0)
        return false;
    const std::size_t units = bytes / sizeof(wchar_t);
    if (units == 0) {
        value.clear();
        return true;
    }
    if (buffer[units - 1] != L'\0')
        return false;
    value.assign(buffer.data(), wcsnlen(buffer.data(), units));
    return true;
}

bool CRegistryKey::WriteDword(const wchar_t* name, DWORD value) const
{
    return WriteValue(name, REG_DWORD, &value, sizeof(value));
}

bool CRegistryKey::WriteString(const wchar_t* name, const std::wstring& value) const
{
    return WriteValue(name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool CRegistryKey::WriteValue(const wchar_t* name, DWORD type, const void* data, DWORD bytes) const
{
    return IsOpen() && RegSetValueExW(Get(), name, 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
}

bool CRegistryKey::DeleteValue(const wchar_t* name) const
{
    return IsOpen() && RegDeleteValueW(Get(), name) == ERROR_SUCCESS;
}
