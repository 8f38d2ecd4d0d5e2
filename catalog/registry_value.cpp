#include "catalog/registry_value.h"
#include "catalog/registry_text.h"

#include <shlwapi.h>

#include <vector>

LONG ReadRegistryString(HKEY root, const std::wstring& subkey, const std::wstring& name, std::wstring& out)
{
    std::vector<BYTE> data(kRegistryStringBytes);
    DWORD type = REG_NONE;
    DWORD bytes = kRegistryStringBytes;
    LONG status = static_cast<LONG>(SHGetValueW(root, subkey.c_str(), name.c_str(), &type, data.data(), &bytes));
    if (status != ERROR_SUCCESS)
        return status;
    if (bytes > kRegistryStringBytes)  // never trust a size larger than the buffer we gave
        bytes = kRegistryStringBytes;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring raw = TextFromStringData(data.data(), bytes);
        std::vector<wchar_t> expanded(kExpandedStringUnits);
        DWORD needed = ExpandEnvironmentStringsW(raw.c_str(), expanded.data(), kExpandedStringUnits);
        if (needed == 0 || needed > kExpandedStringUnits)
            return ERROR_MORE_DATA;  // an expansion that does not fit counts as too long
        expanded.back() = 0;
        out = expanded.data();
    } else if (type == REG_MULTI_SZ) {
        out = TextFromMultiStringData(data.data(), bytes);
    }
    return ERROR_SUCCESS;
}

LONG ReadRegistryDword(HKEY root, const std::wstring& subkey, const std::wstring& name, int& out)
{
    DWORD value = 0;
    DWORD type = REG_NONE;
    DWORD bytes = sizeof(value);
    LONG status = static_cast<LONG>(SHGetValueW(root, subkey.c_str(), name.c_str(), &type, &value, &bytes));
    if (status == ERROR_SUCCESS)
        out = static_cast<int>(value);
    return status;
}
