// Finding a row by typing the start of its name, as the tree does: letters typed without a pause
// build one prefix; typing one letter again and again steps through the names that begin with it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class TypeAhead {
public:
    // A pause longer than this starts a new prefix.
    static constexpr DWORD kPauseMs = 1000;

    // Takes character `typed` at message time `time` and answers the row to select among `names`
    // (in their shown order), given the row `current` that has the focus (-1: none); -1 when no
    // name matches, and the focus then stays.
    int Type(wchar_t typed, DWORD time, const std::vector<std::wstring>& names, int current);

private:
    std::wstring m_typed;
    DWORD m_lastTime = 0;
};

// The first row at `from` or after it, wrapping round, whose name begins with `prefix` ignoring
// letter case; -1 when none does.
int FindNameByPrefix(const std::vector<std::wstring>& names, int from, const std::wstring& prefix);
