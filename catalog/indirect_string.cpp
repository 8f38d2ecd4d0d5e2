#include "catalog/indirect_string.h"
#include "catalog/registry_reference.h"
#include "catalog/catalog_cache.h"
#include "win/resource_module.h"
#include "catalog/text_fields.h"

#include <vector>

bool ApplyIndirectString(std::wstring& text)
{
    if (!StripIndirectMarker(text))
        return true;
    std::vector<std::wstring> fields;
    SplitCommaList(text, fields);
    if (fields.size() != 2)
        return false;
    int id = ParseLeadingInt(fields[1]);
    if (id >= 0)
        return false;
    std::wstring library = fields[0];
    if (IsRegistryReference(library))
        library = ResolveRegistryReference(library);
    // Negate in unsigned arithmetic: the most negative int has no positive counterpart.
    UINT stringId = 0u - static_cast<UINT>(id);
    text = CachedLibraryString(library, stringId);
    return true;
}
