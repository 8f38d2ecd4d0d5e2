// One catalogue entry: a registered settings application or a built-in control-panel item.
#pragma once
#include "catalog/drop_reason.h"
#include "catalog/icon_group_name.h"
#include "win/handles.h"
#include "win/registry_key.h"

#include <windows.h>

#include <string>
#include <vector>

class CAppInfo;
struct IconImage;

// What loading one entry gave. The loads return it as the number their callers have always known
// (1 loaded, 0 dropped, 2 no subkey at the index); LoadResultOf names a returned number.
enum class LoadResult : int { Dropped = 0, Loaded = 1, NoMoreEntries = 2 };

constexpr int AsNumber(LoadResult result) { return static_cast<int>(result); }
// Any number other than 0 and 2 counts as loaded.
constexpr LoadResult LoadResultOf(int number)
{
    return number == 0 ? LoadResult::Dropped : number == 2 ? LoadResult::NoMoreEntries : LoadResult::Loaded;
}

// The size an entry's icon is tested at when it is loaded: an entry without one is left out.
constexpr int kTestedIconSize = 32;

// Longest catalogue subkey name read, in UTF-16 units with the terminator.
constexpr DWORD kCatalogSubkeyNameUnits = 1024;

// Icon-group enumeration callback: counts groups until the entry's position, then keeps that
// group's name in the entry and stops. `entry` is the CAppInfo.
BOOL CALLBACK EnumIconGroupProc(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR entry);

class CAppInfo {
public:
    CAppInfo();
    virtual ~CAppInfo();
    CAppInfo(const CAppInfo&) = delete;
    CAppInfo& operator=(const CAppInfo&) = delete;

    // Fills the entry from the catalogue subkey `name`: Loaded (to be shown) or Dropped (fields
    // read before the drop keep their values), as a LoadResult number.
    virtual int LoadRegisteredApp(std::wstring name);
    // NoMoreEntries when there is no subkey at `index` (or the catalogue key cannot be opened),
    // otherwise the result of LoadRegisteredApp for that subkey.
    virtual int LoadRegisteredAppAt(int index);
    // The entry's icon at size x size pixels, owned by the caller; null when none can be made.
    virtual HICON CreateAppIcon(int size);
    // Whether CreateAppIcon(size) gives an icon; the page's icon store or the start-up cache
    // answers without making one when it can.
    bool HasAppIcon(int size);
    // The icon's images at each of `sizes` (an empty image: none at that size), from the start-up
    // cache where it keeps them and the rest from one read of the icon file.
    std::vector<IconImage> AppIconImages(const std::vector<int>& sizes);
    // Removes enclosing quotation marks from m_strIconPath for good.
    void UnquoteIconPath();
    // Line 0, 1 or 2 of the description; empty for any other line.
    virtual std::wstring GetDescriptionLine(int line);
    // Fills the entry as built-in item 0-8: Loaded, or Dropped when it is not available.
    virtual int LoadOsItem(int item);

    // Value reads from the entry's open subkey; registry status, field unchanged on failure.
    LONG ReadStringValue(const CRegistryKey& key, const wchar_t* name, std::wstring& field);
    LONG ReadDwordValue(const CRegistryKey& key, const wchar_t* name, int& field);

    // From now on each load stores in *sink why it dropped the entry (None when it did not).
    // Only observes: the loads behave and return exactly the same. Null stops the reports.
    void ReportDropReasonTo(DropReason* sink) { m_pDropReasonSink = sink; }

    std::wstring m_strId;
    std::wstring m_strAppName;
    std::wstring m_strAppPath;
    std::wstring m_strAppOption;
    std::wstring m_strFolder;
    int m_nCategory = 255;
    std::wstring m_strDescription;
    std::wstring m_strIconPath;
    int m_nIconIndex = 0;
    std::wstring m_strHelpPath;
    int m_nHelpOption1 = 0;
    int m_nHelpOption2 = 0;
    int m_nAppHide = 0;
    int m_nAppCheck = 0;
    std::wstring m_strAppCheckFunc;
    int m_nIconEnumPos = 0;            // working counter of the icon-group enumeration
    IconGroupName m_pIconGroupName;    // working result of the icon-group enumeration

private:
    // The icons at each of `sizes` (null: none) from one read of the icon file, after the path
    // is unquoted; `sources`, when given, receives for each the image resource it was made from,
    // if it was made from one.
    std::vector<win::UniqueIcon> ResolveAppIcons(const std::vector<int>& sizes, std::vector<IconImage>* sources);
    int Drop(DropReason reason);
    void Report(DropReason reason);

    DropReason* m_pDropReasonSink = nullptr;
};
