#include "catalog/app_info.h"
#include "catalog/os_items.h"
#include "catalog/catalog_cache.h"
#include "win/resource_module.h"

#include <vector>

const OsItemRow kOsItems[kOsItemCount] = {
    {L"powercfg.cpl", L"powercfg.cpl", 90, 91, 202, 1},
    {L"main.cpl", L"main.cpl", 100, 101, 100, 3},
    {L"main.cpl @1", L"main.cpl", 102, 103, 200, 3},
    {L"Ncpa.cpl", L"netshell.dll", 1200, 1201, 5, 4},
    {L"telephon.cpl", L"telephon.cpl", 1, 2, 100, 4},
    {L"desk.cpl", L"desk.cpl", 41, 42, 100, 5},
    {L"Mmsys.cpl", L"Mmsys.cpl", 5771, 5772, 3004, 7},
    {L"Nusrmgr.cpl", L"Nusrmgr.cpl", 101, 102, 200, 8},
    {L"wscui.cpl", L"xpsp2res.dll", 6103, 6104, 6105, 8},
};

namespace {

constexpr DWORD kWindowsDirectoryUnits = 256;

}  // namespace

int CAppInfo::LoadOsItem(int item)
{
    Report(DropReason::None);
    if (item < 0 || item >= kOsItemCount)
        return AsNumber(LoadResult::Dropped);
    const OsItemRow& row = kOsItems[item];
    m_strId = L"OSApp" + std::to_wstring(item);
    m_strAppOption = std::wstring(L"shell32.dll,Control_RunDLL ") + row.controlPanelArgument;
    m_nCategory = row.category;

    std::vector<wchar_t> windows(kWindowsDirectoryUnits);
    DWORD needed = ExpandEnvironmentStringsW(L"%windir%", windows.data(), kWindowsDirectoryUnits);
    if (needed == 0 || needed > kWindowsDirectoryUnits)
        return Drop(DropReason::NoName);  // no usable Windows directory: nothing can be loaded
    const std::wstring directory = windows.data();
    m_strIconPath = directory + L"\\system32\\" + row.resourceFile;
    m_strAppPath = directory + L"\\system32\\rundll32.exe";

    m_strAppName = CachedLibraryString(m_strIconPath, row.nameId);
    if (m_strAppName.empty())
        return Drop(DropReason::NoName);
    m_strDescription = CachedLibraryString(m_strIconPath, row.descriptionId);
    if (m_strDescription.empty())
        return Drop(DropReason::NoDescription);
    m_nIconIndex = -row.iconId;
    return AsNumber(LoadResult::Loaded);
}
