// Redirects this process's HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER to fresh scratch
// keys for the life of the object, and deletes them afterwards. Child processes
// do not see the redirection.
#pragma once
#include <windows.h>
#include <string>

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    bool ok() const { return ok_; }
    // Where the redirected HKEY_CURRENT_USER really is, under the real HKEY_CURRENT_USER: a child
    // process that is told this path can write where the sandboxed process reads.
    std::wstring UserKeyPath() const { return root_ + L"\\HKCU"; }

private:
    std::wstring root_;  // under the real HKEY_CURRENT_USER
    HKEY machine_ = nullptr;
    HKEY user_ = nullptr;
    bool ok_ = false;
};

// Small writers for arranging registry state in tests (true on success).
bool SetRegString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value,
                  DWORD type = REG_SZ);
bool SetRegDword(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value);
bool SetRegBinary(HKEY root, const std::wstring& key, const wchar_t* name, DWORD type, const void* data,
                  DWORD bytes);
bool RegValueExists(HKEY root, const std::wstring& key, const wchar_t* name);
bool RegKeyExists(HKEY root, const std::wstring& key);
