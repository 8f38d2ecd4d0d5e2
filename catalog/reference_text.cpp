#include "catalog/reference_text.h"
#include "catalog/text_fields.h"

bool IsRegistryReference(const std::wstring& text)
{
    return StartsWith(text, L"HKEY_");
}

std::wstring ReferenceRootName(const std::wstring& text)
{
    size_t first = text.find(L'\\');
    return first == std::wstring::npos ? std::wstring() : text.substr(0, first);
}

bool SplitRegistryReference(const std::wstring& text, std::wstring& subkey, std::wstring& valueName)
{
    size_t first = text.find(L'\\');
    if (first == std::wstring::npos)
        return false;
    size_t last = text.rfind(L'\\');
    subkey = first == last ? text.substr(0, first) : text.substr(first + 1, last - first - 1);
    valueName = text.substr(last + 1);
    return true;
}
