#include "tools/scratch_machine_key.h"
#include "catalog/text_fields.h"
#include "win/handles.h"

#include <shlwapi.h>

namespace {

const wchar_t kMachineRoot[] = L"HKEY_LOCAL_MACHINE";
const wchar_t kWowPrefix[] = L"SOFTWARE\\WOW6432Node\\";
const wchar_t kProbeValue[] = L"BrindleScratchProbe";

bool StartsWithIgnoringCase(const std::wstring& text, const wchar_t* prefix)
{
    return EqualsIgnoringAsciiCase(text.substr(0, wcslen(prefix)), prefix);
}

// The subkey under HKEY_LOCAL_MACHINE for a file's key path; false when it lies under another root.
bool MachineSubkey(const std::wstring& path, std::wstring& subkey)
{
    std::wstring root = path.substr(0, path.find(L'\\'));
    if (!EqualsIgnoringAsciiCase(root, kMachineRoot))
        return false;
    subkey = root.size() < path.size() ? path.substr(root.size() + 1) : std::wstring();
    if (StartsWithIgnoringCase(subkey, kWowPrefix))
        subkey = L"SOFTWARE\\" + subkey.substr(wcslen(kWowPrefix));
    else if (EqualsIgnoringAsciiCase(subkey, L"SOFTWARE\\WOW6432Node"))
        subkey = L"SOFTWARE";
    return true;
}

bool LoadValues(HKEY key, const RegFileKey& block)
{
    for (const RegFileValue& value : block.values) {
        const wchar_t* name = value.name.empty() ? nullptr : value.name.c_str();
        LONG status = value.remove ? RegDeleteValueW(key, name)
                                   : RegSetValueExW(key, name, 0, value.type, value.data.data(),
                                                    static_cast<DWORD>(value.data.size()));
        if (status != ERROR_SUCCESS && !(value.remove && status == ERROR_FILE_NOT_FOUND))
            return false;
    }
    return true;
}

}  // namespace

ScratchMachineKey::ScratchMachineKey()
    : m_strPath(L"Software\\BrindleCatalogScratch-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount()))
{
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, m_strPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created,
                        nullptr) != ERROR_SUCCESS)
        return;
    m_hKey.reset(created);
    if (RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_hKey.get()) != ERROR_SUCCESS)
        return;
    // Proof that writes through HKEY_LOCAL_MACHINE land in the stand-in before anything is loaded.
    DWORD one = 1;
    DWORD type = REG_NONE;
    DWORD seen = 0;
    DWORD bytes = sizeof(seen);
    m_bOk = RegSetValueExW(HKEY_LOCAL_MACHINE, kProbeValue, 0, REG_DWORD, reinterpret_cast<BYTE*>(&one),
                           sizeof(one)) == ERROR_SUCCESS &&
            RegQueryValueExW(m_hKey.get(), kProbeValue, nullptr, &type, reinterpret_cast<BYTE*>(&seen), &bytes) ==
                ERROR_SUCCESS &&
            seen == 1;
    RegDeleteValueW(m_hKey.get(), kProbeValue);
}

ScratchMachineKey::~ScratchMachineKey()
{
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (m_hKey) {
        m_hKey.reset();
        SHDeleteKeyW(HKEY_CURRENT_USER, m_strPath.c_str());
    }
}

bool LoadIntoMachineKey(const std::vector<RegFileKey>& keys, std::vector<int>& skipped)
{
    for (const RegFileKey& block : keys) {
        std::wstring subkey;
        if (!MachineSubkey(block.path, subkey)) {
            skipped.push_back(block.line);
            continue;
        }
        if (block.remove) {
            LONG status = subkey.empty() ? ERROR_ACCESS_DENIED : SHDeleteKeyW(HKEY_LOCAL_MACHINE, subkey.c_str());
            if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
                return false;
            continue;
        }
        HKEY created = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created,
                            nullptr) != ERROR_SUCCESS)
            return false;
        win::UniqueKey key(created);
        if (!LoadValues(key.get(), block))
            return false;
    }
    return true;
}
