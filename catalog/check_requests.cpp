#include "catalog/check_requests.h"

#include "catalog/app_info.h"
#include "catalog/registry_reference.h"
#include "catalog/registry_value.h"
#include "catalog/text_fields.h"
#include "res/registry_paths.h"
#include "win/privileges.h"
#include "win/registry_key.h"

bool CheckRequestFromSpec(const std::wstring& spec, CheckRequest& request)
{
    std::vector<std::wstring> fields;
    SplitCommaList(spec, fields);
    if (fields.size() != 3 && fields.size() != 4)
        return false;
    // References are resolved here: the helper does not share this process's view of the registry.
    request.library = IsRegistryReference(fields[0]) ? ResolveRegistryReference(fields[0]) : fields[0];
    request.function = fields[1];
    request.first = ParseLeadingInt(fields[2]);
    request.second = fields.size() == 4 ? ParseLeadingInt(fields[3]) : 0;
    return true;
}

std::vector<CheckRequest> CatalogCheckRequests()
{
    std::vector<CheckRequest> requests;
    CRegistryKey catalog;
    if (!catalog.OpenForRead(HKEY_LOCAL_MACHINE, kCatalogKeyPath))
        return requests;
    for (DWORD index = 0;; ++index) {
        std::wstring name;
        if (catalog.EnumSubkeyName(index, kCatalogSubkeyNameUnits, name) != ERROR_SUCCESS)
            return requests;
        CRegistryKey entry;
        entry.OpenForRead(HKEY_LOCAL_MACHINE, (std::wstring(kCatalogKeyPath) + L"\\" + name).c_str());
        int check = 0;
        int hide = 0;
        std::wstring spec;
        CheckRequest request;
        if (ReadRegistryDword(entry, L"AppCheck", check) != ERROR_SUCCESS || check != 1)
            continue;
        if (ReadRegistryDword(entry, L"AppHide", hide) == ERROR_SUCCESS &&
            (hide == 1 || (hide == 2 && !IsAdministratorOrUntested())))
            continue;
        if (ReadRegistryString(entry, L"AppCheckFunc", spec) == ERROR_SUCCESS && CheckRequestFromSpec(spec, request))
            requests.push_back(request);
    }
}
