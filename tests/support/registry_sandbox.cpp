#include "tests/support/registry_sandbox.h"

#include <shlwapi.h>

namespace {

LONG g_sandboxCounter = 0;
const wchar_t kScratchParent[] = L"Software\\BrindleTestScratch";

}  // namespace

RegistrySandbox::RegistrySandbox()
{
    root_ = std::wstring(kScratchParent) + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(InterlockedIncrement(&g_sandboxCounter));
    if (RegCreateKeyExW(HKEY_CURRENT_USER, (root_ + L"\\HKLM").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &machine_, nullptr) != ERROR_SUCCESS)
        return;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, (root_ + L"\\HKCU").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &user_, nullptr) != ERROR_SUCCESS)
        return;
    ok_ = RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_) == ERROR_SUCCESS &&
          RegOverridePredefKey(HKEY_CURRENT_USER, user_) == ERROR_SUCCESS;
}

RegistrySandbox::~RegistrySandbox()
{
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (machine_)
        RegCloseKey(machine_);
    if (user_)
        RegCloseKey(user_);
    SHDeleteKeyW(HKEY_CURRENT_USER, root_.c_str());
    SHDeleteEmptyKeyW(HKEY_CURRENT_USER, kScratchParent);
}

namespace {

bool SetValue(HKEY root, const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    HKEY k = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExW(k, name, 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

}  // namespace

bool SetRegString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value, DWORD type)
{
    return SetValue(root, key, name, type, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool SetRegDword(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value)
{
    return SetValue(root, key, name, REG_DWORD, &value, sizeof(value));
}

bool SetRegBinary(HKEY root, const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    return SetValue(root, key, name, type, data, bytes);
}

bool RegValueExists(HKEY root, const std::wstring& key, const wchar_t* name)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return false;
    LONG rc = RegQueryValueExW(k, name, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

bool RegKeyExists(HKEY root, const std::wstring& key)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}
