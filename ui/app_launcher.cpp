#include "ui/app_launcher.h"

#include "catalog/app_info.h"
#include "res/resource.h"
#include "sable/sable_message_box.h"
#include "win/resource_module.h"

#include <shellapi.h>
#include <shlwapi.h>
#include <io.h>

#include <cwchar>

namespace {

const wchar_t kHelpViewer[] = L"hh.exe";
const int kCompiledHelpAtTopic = 1;  // help option 1: the viewer opens the file at a topic id

// Shell results up to 32 are errors.
bool ShellStarted(HINSTANCE result)
{
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void ShowLaunchError(UINT textId)
{
    // The caption is the program's own title, whatever language the resource library has.
    const std::wstring caption = LoadModuleString(GetProgramModule(), IDS_APP_TITLE);
    sable::SableMessageBox(textId, caption.c_str(), MB_ICONHAND, nullptr);
}

}  // namespace

std::wstring StripEnclosingQuotes(const std::wstring& path)
{
    const size_t first = path.find_first_not_of(L'"');
    if (first == std::wstring::npos)
        return std::wstring();
    const size_t last = path.find_last_not_of(L'"');
    return path.substr(first, last - first + 1);
}

OpenResult OpenApp(const CAppInfo& app)
{
    const std::wstring file = StripEnclosingQuotes(app.m_strAppPath);
    if (file.empty())
        return OpenResult::NothingToStart;
    HINSTANCE result = ::ShellExecuteW(nullptr, L"open", file.c_str(), app.m_strAppOption.c_str(),
                                       app.m_strFolder.c_str(), SW_SHOW);
    if (ShellStarted(result))
        return OpenResult::Started;
    ShowLaunchError(IDS_ERR_PROGRAM_NOT_FOUND);
    return OpenResult::NotFound;
}

void OpenHelp(const CAppInfo& app)
{
    if (app.m_strHelpPath.empty())
        return;
    // A path the buffer cannot hold is not cut into another path: it counts as missing.
    if (app.m_strHelpPath.size() >= MAX_PATH) {
        ShowLaunchError(IDS_ERR_HELP_NOT_FOUND);
        return;
    }
    wchar_t buffer[MAX_PATH] = {};
    app.m_strHelpPath.copy(buffer, app.m_strHelpPath.size());
    ::PathUnquoteSpacesW(buffer);
    if (_waccess(buffer, 0) != 0) {
        ShowLaunchError(IDS_ERR_HELP_NOT_FOUND);
        return;
    }
    ::PathQuoteSpacesW(buffer);
    // So does one whose quotation marks no longer fit: the viewer would get it split at its blanks.
    if (buffer[0] != L'"' && std::wcschr(buffer, L' ')) {
        ShowLaunchError(IDS_ERR_HELP_NOT_FOUND);
        return;
    }

    if (app.m_nHelpOption1 == kCompiledHelpAtTopic) {
        const std::wstring parameters = L"-mapid " + std::to_wstring(app.m_nHelpOption2) + L" " + buffer;
        ::ShellExecuteW(nullptr, L"open", kHelpViewer, parameters.c_str(), nullptr, SW_SHOWNORMAL);
    } else {
        ::ShellExecuteW(nullptr, L"open", buffer, nullptr, nullptr, SW_SHOWNORMAL);
    }
}
