#include "catalog/registry_text.h"

#include <cstring>
#include <vector>

namespace {

std::vector<wchar_t> Units(const void* data, size_t bytes)
{
    std::vector<wchar_t> units(bytes / sizeof(wchar_t));
    if (!units.empty())
        std::memcpy(units.data(), data, units.size() * sizeof(wchar_t));
    return units;
}

std::wstring UpToFirstNul(const std::vector<wchar_t>& units)
{
    size_t n = 0;
    while (n < units.size() && units[n] != 0)
        ++n;
    return n == 0 ? std::wstring() : std::wstring(units.data(), n);
}

}  // namespace

std::wstring TextFromStringData(const void* data, size_t bytes)
{
    return UpToFirstNul(Units(data, bytes));
}

std::wstring TextFromMultiStringData(const void* data, size_t bytes)
{
    std::vector<wchar_t> units = Units(data, bytes);
    for (size_t i = 0; i + 2 < units.size(); ++i) {
        if (units[i] == 0)
            units[i] = L'\n';
    }
    return UpToFirstNul(units);
}
