#include "tools/registration_warnings.h"
#include "catalog/registry_reference.h"
#include "catalog/registry_value.h"
#include "catalog/text_fields.h"
#include "res/registry_paths.h"
#include "tools/text_encoding.h"
#include "win/handles.h"

#include <windows.h>

namespace {

enum class Kind { Text, TextOrLines, Number };

struct KnownValue {
    const wchar_t* name;
    Kind kind;
};

const KnownValue kKnownValues[] = {
    {L"AppName", Kind::Text},      {L"AppPath", Kind::Text},        {L"AppOption", Kind::Text},
    {L"Folder", Kind::Text},       {L"Category", Kind::Number},     {L"Description", Kind::TextOrLines},
    {L"IconPath", Kind::Text},     {L"IconIndex", Kind::Number},    {L"HelpPath", Kind::Text},
    {L"HelpOption1", Kind::Number}, {L"HelpOption2", Kind::Number}, {L"AppHide", Kind::Number},
    {L"AppCheck", Kind::Number},   {L"AppCheckFunc", Kind::Text},
};

std::string TypeName(DWORD type)
{
    switch (type) {
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_DWORD: return "REG_DWORD";
    case REG_BINARY: return "REG_BINARY";
    case REG_QWORD: return "REG_QWORD";
    default: return "type " + std::to_string(type);
    }
}

bool TypeFits(Kind kind, DWORD type)
{
    switch (kind) {
    case Kind::Text: return type == REG_SZ || type == REG_EXPAND_SZ;
    case Kind::TextOrLines: return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    case Kind::Number: return type == REG_DWORD;
    }
    return false;
}

const char* ExpectedTypes(Kind kind)
{
    switch (kind) {
    case Kind::Text: return "REG_SZ or REG_EXPAND_SZ";
    case Kind::TextOrLines: return "REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ";
    case Kind::Number: return "REG_DWORD";
    }
    return "";
}

void CheckNamesAndTypes(HKEY key, std::vector<std::string>& warnings)
{
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD length = ARRAYSIZE(name);
        DWORD type = REG_NONE;
        if (RegEnumValueW(key, index, name, &length, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
            return;
        const KnownValue* known = nullptr;
        for (const KnownValue& candidate : kKnownValues) {
            if (wcscmp(candidate.name, name) == 0)
                known = &candidate;
        }
        if (!known)
            warnings.push_back(length == 0 ? std::string("the default value (@) is not read by the hub")
                                           : "unknown value \"" + Utf8FromUtf16(name) + "\": the hub reads no value of that name");
        else if (!TypeFits(known->kind, type))
            warnings.push_back(Utf8FromUtf16(name) + " is " + TypeName(type) + ", the hub reads it as " +
                               ExpectedTypes(known->kind));
    }
}

std::wstring WithoutQuotes(std::wstring path)
{
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
        path = path.substr(1, path.size() - 2);
    return path;
}

// Whether `path` names a file here: a path as it is, a bare name the way the system searches it.
bool FileExists(const std::wstring& path, const wchar_t* defaultExtension)
{
    if (path.find_first_of(L"\\/:") != std::wstring::npos) {
        DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    wchar_t found[MAX_PATH];
    return !path.empty() && SearchPathW(nullptr, path.c_str(), defaultExtension, MAX_PATH, found, nullptr) > 0;
}

BOOL CALLBACK CountGroup(HMODULE, LPCWSTR, LPWSTR, LONG_PTR count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

class EntryCheck {
public:
    EntryCheck(const std::wstring& id, std::vector<std::string>& warnings)
        : m_strSubkey(std::wstring(kCatalogKeyPath) + L"\\" + id), m_warnings(warnings)
    {
    }

    bool Read(const wchar_t* name, std::wstring& text)
    {
        return ReadRegistryString(HKEY_LOCAL_MACHINE, m_strSubkey, name, text) == ERROR_SUCCESS && !text.empty();
    }

    // Warns when the file is missing; true when it exists.
    bool Exists(const char* what, const std::wstring& path, const wchar_t* defaultExtension = nullptr)
    {
        if (FileExists(path, defaultExtension))
            return true;
        m_warnings.push_back(std::string(what) + " names a file that does not exist on this machine: " + Utf8FromUtf16(path));
        return false;
    }

    void IconIndexFits(const std::wstring& iconFile)
    {
        int index = 0;
        if (ReadRegistryDword(HKEY_LOCAL_MACHINE, m_strSubkey, L"IconIndex", index) != ERROR_SUCCESS ||
            EqualsIgnoringAsciiCase(FileExtension(iconFile), L".ico"))
            return;
        win::UniqueLibrary module(LoadLibraryExW(iconFile.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        if (!module)
            return;
        if (index < 0) {
            if (!FindResourceW(module.get(), MAKEINTRESOURCEW(-index), RT_GROUP_ICON))
                m_warnings.push_back("IconIndex " + std::to_string(index) + ": " + Utf8FromUtf16(iconFile) +
                                     " has no icon group with the id " + std::to_string(-index));
            return;
        }
        int groups = 0;
        EnumResourceNamesW(module.get(), RT_GROUP_ICON, CountGroup, reinterpret_cast<LONG_PTR>(&groups));
        if (index >= groups)
            m_warnings.push_back("IconIndex " + std::to_string(index) + " is beyond the " + std::to_string(groups) +
                                 " icon group(s) of " + Utf8FromUtf16(iconFile));
    }

private:
    std::wstring m_strSubkey;
    std::vector<std::string>& m_warnings;
};

}  // namespace

std::vector<std::string> RegistrationWarnings(const std::wstring& id)
{
    std::vector<std::string> warnings;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kCatalogKeyPath) + L"\\" + id).c_str(), 0, KEY_READ,
                      &opened) != ERROR_SUCCESS)
        return warnings;
    win::UniqueKey key(opened);
    CheckNamesAndTypes(key.get(), warnings);

    EntryCheck entry(id, warnings);
    std::wstring appPath;
    bool appExists = entry.Read(L"AppPath", appPath) && entry.Exists("AppPath", WithoutQuotes(appPath), L".exe");
    std::wstring iconPath;
    if (entry.Read(L"IconPath", iconPath)) {
        if (StartsWith(iconPath, L"HKEY_"))
            iconPath = ResolveRegistryReference(iconPath);
        if (entry.Exists("IconPath", WithoutQuotes(iconPath)))
            entry.IconIndexFits(WithoutQuotes(iconPath));
    } else if (appExists) {
        entry.IconIndexFits(WithoutQuotes(appPath));
    }
    std::wstring helpPath;
    if (entry.Read(L"HelpPath", helpPath))
        entry.Exists("HelpPath", WithoutQuotes(helpPath));
    std::wstring check;
    std::vector<std::wstring> fields;
    if (entry.Read(L"AppCheckFunc", check))
        SplitCommaList(check, fields);
    if (fields.size() == 3 || fields.size() == 4) {
        if (StartsWith(fields[0], L"HKEY_"))
            fields[0] = ResolveRegistryReference(fields[0]);
        entry.Exists("the check library of AppCheckFunc", fields[0], L".dll");
    }
    return warnings;
}
