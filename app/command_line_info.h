// The command line of the program: halt switches, start name and start tab.
#pragma once
#include <string>

class CHubCommandLineInfo {
public:
    // One parameter, in order. `isSwitch`: it began with "/" or "-" (already removed from
    // `param`); `isLast`: it is the last parameter. Non-switches are ignored.
    void ParseParam(const wchar_t* param, bool isSwitch, bool isLast);

    bool m_bHalt = false;
    bool m_bHaltAll = false;
    bool m_bHaveStartName = false;
    std::wstring m_strStartName;
    int m_nStartTab = -1;
};

// Feeds every parameter of `commandLine` (a full command line, program name first) to `info`.
void ParseCommandLine(const std::wstring& commandLine, CHubCommandLineInfo& info);
