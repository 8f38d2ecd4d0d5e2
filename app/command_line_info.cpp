#include "app/command_line_info.h"

#include "app/command_line_split.h"

#include <windows.h>
#include <cstdlib>

void CHubCommandLineInfo::ParseParam(const wchar_t* param, bool isSwitch, bool isLast)
{
    if (!isSwitch || !param)
        return;
    if (lstrcmpiW(param, L"halt") == 0)
        m_bHalt = true;
    if (lstrcmpiW(param, L"haltAll") == 0)
        m_bHaltAll = true;
    // The first switch is the start name; the last one, if not also the first, the start tab.
    if (isLast && m_bHaveStartName)
        m_nStartTab = _wtoi(param);
    if (!m_bHaveStartName) {
        m_strStartName = param;
        m_bHaveStartName = true;
    }
}

void ParseCommandLine(const std::wstring& commandLine, CHubCommandLineInfo& info)
{
    const std::vector<std::wstring> params = SplitCommandLineParameters(commandLine);
    for (size_t i = 0; i < params.size(); ++i) {
        const std::wstring& param = params[i];
        const bool isSwitch = !param.empty() && (param[0] == L'/' || param[0] == L'-');
        info.ParseParam(param.c_str() + (isSwitch ? 1 : 0), isSwitch, i + 1 == params.size());
    }
}
