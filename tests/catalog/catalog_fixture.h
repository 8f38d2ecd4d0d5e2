// Arranging a catalogue in the sandboxed registry, and reading what the check fixture recorded.
#pragma once
#include "res/registry_paths.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_process.h"

#include <shlwapi.h>

#include <string>

const wchar_t* const kCatalogKey = kCatalogKeyPath;
const wchar_t kCheckFixtureKey[] = L"Software\\BrindleCheckFixture";

inline std::wstring AppKey(const std::wstring& id)
{
    return std::wstring(kCatalogKey) + L"\\" + id;
}

inline std::wstring FixturePath(const wchar_t* file)
{
    return TestBinDirectory() + file;
}

// Registers the three required values and an icon file, so the entry loads as it is.
inline bool RegisterMinimalApp(const std::wstring& id, const std::wstring& name = L"Name", int category = 2)
{
    return SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppName", name) &&
           SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"AppPath", L"C:\\app.exe") &&
           SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), L"Category", static_cast<DWORD>(category)) &&
           SetRegString(HKEY_LOCAL_MACHINE, AppKey(id), L"IconPath", FixturePath(L"fixture.ico"));
}

// The check fixture runs in the check helper, which does not see the sandbox: while this object
// lives, it records its calls in the real key behind the sandboxed HKEY_CURRENT_USER, where
// CheckCalls and CheckArgument read them.
class CheckRecordsInSandbox {
public:
    explicit CheckRecordsInSandbox(const RegistrySandbox& sandbox)
    {
        SetEnvironmentVariableW(L"BRINDLE_CHECK_FIXTURE_KEY", (sandbox.UserKeyPath() + L"\\" + kCheckFixtureKey).c_str());
    }
    ~CheckRecordsInSandbox() { SetEnvironmentVariableW(L"BRINDLE_CHECK_FIXTURE_KEY", nullptr); }
    CheckRecordsInSandbox(const CheckRecordsInSandbox&) = delete;
    CheckRecordsInSandbox& operator=(const CheckRecordsInSandbox&) = delete;
};

// Calls of a check-fixture function counted so far (the counter lives under HKEY_CURRENT_USER).
inline DWORD CheckCalls(const wchar_t* function)
{
    DWORD calls = 0;
    DWORD size = sizeof(calls);
    std::wstring name = std::wstring(function) + L"Calls";
    if (SHGetValueW(HKEY_CURRENT_USER, kCheckFixtureKey, name.c_str(), nullptr, &calls, &size) != ERROR_SUCCESS)
        return 0;
    return calls;
}

inline int CheckArgument(const wchar_t* function, const wchar_t* which)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    std::wstring name = std::wstring(function) + which;
    SHGetValueW(HKEY_CURRENT_USER, kCheckFixtureKey, name.c_str(), nullptr, &value, &size);
    return static_cast<int>(value);
}
