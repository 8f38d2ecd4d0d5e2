#include "ui/type_ahead.h"

namespace {

bool BeginsWith(const std::wstring& name, const std::wstring& prefix)
{
    if (name.size() < prefix.size())
        return false;
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.c_str(), static_cast<int>(prefix.size()),
                            prefix.c_str(), static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

// "ppp": one letter typed again and again.
bool OneLetterRepeated(const std::wstring& typed)
{
    return typed.find_first_not_of(typed[0]) == std::wstring::npos;
}

}  // namespace

int FindNameByPrefix(const std::vector<std::wstring>& names, int from, const std::wstring& prefix)
{
    const int count = static_cast<int>(names.size());
    if (count == 0 || prefix.empty())
        return -1;
    if (from < 0 || from >= count)
        from = 0;
    for (int step = 0; step < count; ++step) {
        const int row = (from + step) % count;
        if (BeginsWith(names[row], prefix))
            return row;
    }
    return -1;
}

int TypeAhead::Type(wchar_t typed, DWORD time, const std::vector<std::wstring>& names, int current)
{
    if (m_typed.empty() || time - m_lastTime > kPauseMs)
        m_typed.clear();
    m_lastTime = time;
    ::CharLowerBuffW(&typed, 1);  // "pP" is one letter typed twice
    m_typed += typed;
    // A prefix still matches the focused row; a letter typed again moves on to the next name.
    if (OneLetterRepeated(m_typed))
        return FindNameByPrefix(names, current + 1, m_typed.substr(0, 1));
    return FindNameByPrefix(names, current < 0 ? 0 : current, m_typed);
}
