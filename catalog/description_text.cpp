#include "catalog/description_text.h"

namespace {

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    for (size_t pos = text.find(from); pos != std::wstring::npos; pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
}

}  // namespace

void NormaliseLineBreaks(std::wstring& text)
{
    ReplaceAll(text, L"\n", L"\\n");
    ReplaceAll(text, L"\\n", L"\r\n");
}

std::wstring DescriptionLine(const std::wstring& text, int line)
{
    if (line < 0 || line > 2)
        return std::wstring();
    size_t start = 0;
    for (int i = 0; i < line; ++i) {
        size_t lf = text.find(L'\n', start);
        if (lf == std::wstring::npos)
            return std::wstring();
        start = lf + 1;
    }
    size_t lf = text.find(L'\n', start);
    if (lf == std::wstring::npos)
        return text.substr(start);
    size_t end = lf;
    if (end > start && text[end - 1] == L'\r')
        --end;
    return text.substr(start, end - start);
}
