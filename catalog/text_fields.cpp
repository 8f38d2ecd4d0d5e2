#include "catalog/text_fields.h"

#include <climits>
#include <cwchar>

bool StripIndirectMarker(std::wstring& text)
{
    if (text.empty() || text[0] != L'@')
        return false;
    text.erase(0, 1);
    return text.empty() || text[0] != L'@';
}

void SplitCommaList(const std::wstring& text, std::vector<std::wstring>& list)
{
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(L',', start);
        size_t end = comma == std::wstring::npos ? text.size() : comma;
        size_t first = start;
        size_t last = end;
        while (first < last && text[first] == L' ')
            ++first;
        while (last > first && text[last - 1] == L' ')
            --last;
        list.push_back(text.substr(first, last - first));
        if (comma == std::wstring::npos)
            return;
        start = comma + 1;
    }
}

int ParseLeadingInt(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        if (value <= static_cast<long long>(INT_MAX) + 1)  // stop growing once it is out of range
            value = value * 10 + (text[i] - L'0');
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix)
{
    size_t n = std::wcslen(prefix);
    return text.size() >= n && text.compare(0, n, prefix) == 0;
}

std::wstring FileExtension(const std::wstring& path)
{
    size_t nameStart = path.find_last_of(L"\\/:");
    nameStart = nameStart == std::wstring::npos ? 0 : nameStart + 1;
    size_t dot = path.rfind(L'.');
    return dot == std::wstring::npos || dot < nameStart ? std::wstring() : path.substr(dot);
}

bool EqualsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i] >= L'A' && a[i] <= L'Z' ? a[i] - L'A' + L'a' : a[i];
        wchar_t y = b[i] >= L'A' && b[i] <= L'Z' ? b[i] - L'A' + L'a' : b[i];
        if (x != y)
            return false;
    }
    return true;
}
