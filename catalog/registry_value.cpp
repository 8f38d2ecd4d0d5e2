#include "catalog/registry_value.h"
#include "catalog/registry_text.h"

#include <vector>

namespace {

// The expansion of `raw`, or false when it does not fit the expansion buffer.
bool Expand(const std::wstring& raw, std::wstring& expanded)
{
    std::vector<wchar_t> buffer(kExpandedStringUnits, L'\0');
    DWORD needed = ExpandEnvironmentStringsW(raw.c_str(), buffer.data(), kExpandedStringUnits);
    if (needed == 0 || needed > kExpandedStringUnits)
        return false;
    buffer.back() = L'\0';
    expanded = buffer.data();
    return true;
}

}  // namespace

LONG ReadRegistryString(const CRegistryKey& key, const wchar_t* name, std::wstring& out)
{
    // Read as stored and expanded here: the shell's read of an expandable value reports a
    // length that can cut off the tail its expansion added.
    std::vector<BYTE> data(kRegistryStringBytes, 0);
    DWORD type = REG_NONE;
    DWORD bytes = kRegistryStringBytes;
    LONG status = key.QueryValue(name, type, data.data(), bytes);
    if (status != ERROR_SUCCESS)
        return status;
    if (bytes > kRegistryStringBytes)  // never trust a size larger than the buffer we gave
        bytes = kRegistryStringBytes;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring expanded;
        if (!Expand(TextFromStringData(data.data(), bytes), expanded))
            return ERROR_MORE_DATA;  // an expansion that does not fit counts as too long
        out = expanded;
    } else if (type == REG_MULTI_SZ) {
        out = TextFromMultiStringData(data.data(), bytes);
    }
    return ERROR_SUCCESS;
}

LONG ReadRegistryDword(const CRegistryKey& key, const wchar_t* name, int& out)
{
    DWORD value = 0;
    DWORD type = REG_NONE;
    DWORD bytes = sizeof(value);
    LONG status = key.QueryValue(name, type, &value, bytes);
    if (status == ERROR_SUCCESS && bytes > 0)
        out = static_cast<int>(value);
    return status;
}

LONG ReadRegistryString(HKEY root, const std::wstring& subkey, const std::wstring& name, std::wstring& out)
{
    CRegistryKey key;
    if (!key.OpenForRead(root, subkey.c_str()))
        return ERROR_FILE_NOT_FOUND;
    return ReadRegistryString(key, name.c_str(), out);
}

LONG ReadRegistryDword(HKEY root, const std::wstring& subkey, const std::wstring& name, int& out)
{
    CRegistryKey key;
    if (!key.OpenForRead(root, subkey.c_str()))
        return ERROR_FILE_NOT_FOUND;
    return ReadRegistryDword(key, name.c_str(), out);
}
