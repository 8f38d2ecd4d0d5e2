#include "catalog/registry_reference.h"
#include "catalog/registry_value.h"

namespace {

struct RootName {
    const wchar_t* name;
    HKEY key;
};

// HKEY_PERFORMANCE_DATA is deliberately absent: it is not a store of settings.
const RootName kRoots[] = {
    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},     {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},   {L"HKEY_USERS", HKEY_USERS},
    {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}, {L"HKEY_DYN_DATA", HKEY_DYN_DATA},
};

}  // namespace

HKEY RootKeyFromReference(const std::wstring& text)
{
    std::wstring root = ReferenceRootName(text);
    for (const RootName& r : kRoots) {
        if (root == r.name)
            return r.key;
    }
    return nullptr;
}

std::wstring ResolveRegistryReference(const std::wstring& text)
{
    HKEY root = RootKeyFromReference(text);
    std::wstring subkey;
    std::wstring valueName;
    if (!root || !SplitRegistryReference(text, subkey, valueName))
        return std::wstring();
    std::wstring value;
    if (ReadRegistryString(root, subkey, valueName, value) != ERROR_SUCCESS)
        return std::wstring();
    return value;
}
