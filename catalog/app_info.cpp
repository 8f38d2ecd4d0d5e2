#include "res/registry_paths.h"
#include "catalog/app_info.h"
#include "catalog/check_function.h"
#include "catalog/description_text.h"
#include "catalog/indirect_string.h"
#include "win/privileges.h"
#include "catalog/registry_reference.h"
#include "catalog/registry_value.h"

CAppInfo::CAppInfo() = default;

CAppInfo::~CAppInfo() = default;

LONG CAppInfo::ReadStringValue(const CRegistryKey& key, const wchar_t* name, std::wstring& field)
{
    return ReadRegistryString(key, name, field);
}

LONG CAppInfo::ReadDwordValue(const CRegistryKey& key, const wchar_t* name, int& field)
{
    return ReadRegistryDword(key, name, field);
}

void CAppInfo::Report(DropReason reason)
{
    if (m_pDropReasonSink)
        *m_pDropReasonSink = reason;
}

int CAppInfo::Drop(DropReason reason)
{
    Report(reason);
    return AsNumber(LoadResult::Dropped);
}

int CAppInfo::LoadRegisteredAppAt(int index)
{
    CRegistryKey catalog;
    if (!catalog.OpenForRead(HKEY_LOCAL_MACHINE, kCatalogKeyPath))
        return AsNumber(LoadResult::NoMoreEntries);
    std::wstring name;
    LONG status = catalog.EnumSubkeyName(static_cast<DWORD>(index), kCatalogSubkeyNameUnits, name);
    catalog.Close();
    if (status != ERROR_SUCCESS)
        return AsNumber(LoadResult::NoMoreEntries);
    return LoadRegisteredApp(name);
}

int CAppInfo::LoadRegisteredApp(std::wstring name)
{
    Report(DropReason::None);
    const std::wstring path = std::wstring(kCatalogKeyPath) + L"\\" + name;
    m_strId = name;
    // Every value is read through this one key; a subkey that cannot be opened reads as empty.
    CRegistryKey key;
    key.OpenForRead(HKEY_LOCAL_MACHINE, path.c_str());

    if (ReadDwordValue(key, L"AppHide", m_nAppHide) == ERROR_SUCCESS) {
        if (m_nAppHide == 1)
            return Drop(DropReason::Hidden);
        if (m_nAppHide == 2 && !IsAdministratorOrUntested())
            return Drop(DropReason::AdminOnly);
    }

    // The check runs before anything else is looked at, even for a subkey dropped later on.
    if (ReadDwordValue(key, L"AppCheck", m_nAppCheck) == ERROR_SUCCESS && m_nAppCheck == 1 &&
        ReadStringValue(key, L"AppCheckFunc", m_strAppCheckFunc) == ERROR_SUCCESS &&
        EvaluateAppCheckFunc(m_strAppCheckFunc) == 0)
        return Drop(DropReason::CheckFailed);

    if (ReadStringValue(key, L"AppName", m_strAppName) != ERROR_SUCCESS)
        return Drop(DropReason::NoName);
    if (!ApplyIndirectString(m_strAppName))
        return Drop(DropReason::BadNameReference);

    if (ReadStringValue(key, L"AppPath", m_strAppPath) != ERROR_SUCCESS)
        return Drop(DropReason::NoPath);
    ReadStringValue(key, L"AppOption", m_strAppOption);
    ReadStringValue(key, L"Folder", m_strFolder);

    if (ReadDwordValue(key, L"Category", m_nCategory) != ERROR_SUCCESS)
        return Drop(DropReason::NoCategory);

    if (ReadStringValue(key, L"Description", m_strDescription) != ERROR_SUCCESS ||
        !ApplyIndirectString(m_strDescription))
        m_strDescription.clear();
    NormaliseLineBreaks(m_strDescription);

    ReadStringValue(key, L"IconPath", m_strIconPath);
    if (m_strIconPath.empty())
        m_strIconPath = m_strAppPath;
    else if (IsRegistryReference(m_strIconPath))
        m_strIconPath = ResolveRegistryReference(m_strIconPath);
    ReadDwordValue(key, L"IconIndex", m_nIconIndex);

    // Only whether the icon can be made counts here; the views make their own.
    if (!HasAppIcon(kTestedIconSize))
        return Drop(DropReason::NoIcon);

    if (ReadStringValue(key, L"HelpPath", m_strHelpPath) != ERROR_SUCCESS)
        return AsNumber(LoadResult::Loaded);
    ReadDwordValue(key, L"HelpOption1", m_nHelpOption1);
    if (m_nHelpOption1 == 1)
        ReadDwordValue(key, L"HelpOption2", m_nHelpOption2);
    return AsNumber(LoadResult::Loaded);
}

std::wstring CAppInfo::GetDescriptionLine(int line)
{
    return DescriptionLine(m_strDescription, line);
}
