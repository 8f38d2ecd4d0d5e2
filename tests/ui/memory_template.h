// A dialog template built in memory: caption, Tahoma 8, no controls (tests create their own).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

inline std::vector<WORD> MakeDialogTemplate(const std::wstring& caption, DWORD style, short cx = 200, short cy = 100)
{
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
    header->style = style | DS_SETFONT;
    header->cx = cx;
    header->cy = cy;
    words.push_back(0);  // menu
    words.push_back(0);  // class
    for (wchar_t c : caption)
        words.push_back(c);
    words.push_back(0);
    words.push_back(8);
    for (const wchar_t* p = L"Tahoma"; *p; ++p)
        words.push_back(*p);
    words.push_back(0);
    return words;
}
