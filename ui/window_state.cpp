#include "ui/window_state.h"

#include "res/registry_paths.h"
#include "ui/page_ids.h"
#include "win/registry_key.h"

namespace {

// At most 1024 characters of an entry id, plus the terminator.
constexpr std::size_t kSelectionCapacity = 1025;

const wchar_t* const kEdgeNames[] = {L"left", L"top", L"right", L"bottom"};
const wchar_t kActiveTabValue[] = L"ActiveTabId";
const wchar_t kTreeSelectionValue[] = L"TreeSelectedApp";

// The values holding the views' selections, by page::View.
const wchar_t* const kSelectionValues[page::kViewCount] = {kTreeSelectionValue, L"AllSelectedApp",
                                                           L"RecentSelectedApp"};

// Value holding the selection of view 0, 1 or 2; null for any other number.
const wchar_t* SelectionValueName(int view)
{
    page::View known = page::View::Tree;
    return page::ViewFromIndex(view, known) ? kSelectionValues[page::IndexOf(known)] : nullptr;
}

}  // namespace

void SaveWindowRect(int left, int top, int right, int bottom)
{
    CRegistryKey key;
    if (!key.Create(HKEY_CURRENT_USER, kWindowStateKeyPath))
        return;
    const int edges[] = {left, top, right, bottom};
    for (int i = 0; i < 4; ++i)
        key.WriteDword(kEdgeNames[i], static_cast<DWORD>(edges[i]));
}

bool LoadWindowRect(int& left, int& top, int& right, int& bottom)
{
    CRegistryKey key;
    if (!key.OpenForRead(HKEY_CURRENT_USER, kWindowStateKeyPath))
        return false;
    DWORD edges[4] = {};
    for (int i = 0; i < 4; ++i) {
        if (!key.ReadDword(kEdgeNames[i], edges[i]))
            return false;
    }
    left = static_cast<int>(edges[0]);
    top = static_cast<int>(edges[1]);
    right = static_cast<int>(edges[2]);
    bottom = static_cast<int>(edges[3]);
    return true;
}

bool LoadActiveTabId(int& tabIndex)
{
    CRegistryKey key;
    if (!key.OpenForRead(HKEY_CURRENT_USER, kWindowStateKeyPath))
        return false;
    DWORD value = 0;
    tabIndex = key.ReadDword(kActiveTabValue, value) ? static_cast<int>(value) : 0;
    return true;
}

std::wstring LoadSelectedApp(int view)
{
    const wchar_t* name = SelectionValueName(view);
    CRegistryKey key;
    if (!name || !key.OpenForRead(HKEY_CURRENT_USER, kWindowStateKeyPath))
        return std::wstring();
    std::wstring id;
    if (!key.ReadString(name, kSelectionCapacity, id))
        return std::wstring();
    return id;
}

void SaveViewState(int tabIndex, const std::wstring& id)
{
    const wchar_t* selectionName = SelectionValueName(tabIndex);
    if (!id.empty() && !selectionName)
        return;  // an unknown view has no selection to record
    CRegistryKey key;
    if (!key.Create(HKEY_CURRENT_USER, kWindowStateKeyPath))
        return;
    if (id.empty())
        key.WriteDword(kActiveTabValue, static_cast<DWORD>(tabIndex));
    else
        key.WriteString(selectionName, id);
}

void ClearTreeSelectedApp()
{
    CRegistryKey key;
    if (!key.Create(HKEY_CURRENT_USER, kWindowStateKeyPath))
        return;
    std::wstring id;
    if (key.ReadString(kTreeSelectionValue, kSelectionCapacity, id))
        key.DeleteValue(kTreeSelectionValue);
}
