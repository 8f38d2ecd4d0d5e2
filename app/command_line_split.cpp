#include "app/command_line_split.h"

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// Index just past the program name and the blanks after it.
size_t SkipProgramName(const std::wstring& s)
{
    size_t i = 0;
    if (i < s.size() && s[i] == L'"') {
        ++i;
        while (i < s.size() && s[i] != L'"')
            ++i;
        if (i < s.size())
            ++i;  // the closing quote
    } else {
        while (i < s.size() && !IsBlank(s[i]))
            ++i;
    }
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    return i;
}

}  // namespace

std::vector<std::wstring> SplitCommandLineParameters(const std::wstring& s)
{
    std::vector<std::wstring> result;
    size_t i = SkipProgramName(s);
    while (i < s.size()) {
        std::wstring arg;
        size_t backslashes = 0;
        // Quotes seen in the current group; 1 = inside a group, 0 = outside.
        int quotes = 0;
        while (i < s.size() && !(quotes == 0 && IsBlank(s[i]))) {
            const wchar_t c = s[i];
            if (c == L'\\') {
                arg.push_back(c);
                ++backslashes;
                ++i;
                continue;
            }
            if (c != L'"') {
                arg.push_back(c);
                backslashes = 0;
                ++i;
                continue;
            }
            if (backslashes % 2 == 0) {
                arg.erase(arg.size() - backslashes / 2);
                ++quotes;
            } else {
                arg.erase(arg.size() - backslashes / 2 - 1);
                arg.push_back(L'"');
            }
            backslashes = 0;
            ++i;
            // A run of quotes: every third one (counting the group's opening one) is literal.
            while (i < s.size() && s[i] == L'"') {
                if (++quotes == 3) {
                    arg.push_back(L'"');
                    quotes = 0;
                }
                ++i;
            }
            if (quotes == 2)
                quotes = 0;
        }
        result.push_back(arg);
        while (i < s.size() && IsBlank(s[i]))
            ++i;
    }
    return result;
}
