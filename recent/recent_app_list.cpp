#include "res/registry_paths.h"
#include "recent/recent_app_list.h"

#include <windows.h>
#include <shlwapi.h>

#include <ctime>

namespace {

// 1024 bytes: at most 511 characters and the terminator.
constexpr DWORD kNameBufferBytes = 1024;

std::wstring NameValue(int position) { return L"Name" + std::to_wstring(position); }
std::wstring TimeValue(int position) { return L"Time" + std::to_wstring(position); }

std::int32_t SystemNow() { return static_cast<std::int32_t>(std::time(nullptr)); }

bool RegistryWrite(const std::wstring& valueName, unsigned long type, const void* data, unsigned long bytes)
{
    return SHSetValueW(HKEY_CURRENT_USER, RecentListKeyPath().c_str(), valueName.c_str(), type, data, bytes) ==
           ERROR_SUCCESS;
}

// Any type is accepted as long as the data fits; the result is cut at the first zero unit
// and never reads past what was delivered.
bool ReadName(const std::wstring& keyPath, int position, std::wstring& name)
{
    wchar_t buffer[kNameBufferBytes / sizeof(wchar_t) + 1] = {};
    DWORD bytes = kNameBufferBytes;
    if (SHGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), NameValue(position).c_str(), nullptr, buffer, &bytes) !=
        ERROR_SUCCESS)
        return false;
    std::size_t units = bytes / sizeof(wchar_t);
    if (units > kNameBufferBytes / sizeof(wchar_t))
        units = kNameBufferBytes / sizeof(wchar_t);
    name.assign(buffer, wcsnlen(buffer, units));
    return true;
}

// Data shorter than four bytes leaves the missing high bytes zero.
bool ReadTime(const std::wstring& keyPath, int position, std::int32_t& time)
{
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (SHGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), TimeValue(position).c_str(), nullptr, &value, &bytes) !=
        ERROR_SUCCESS)
        return false;
    time = static_cast<std::int32_t>(value);
    return true;
}

}  // namespace

std::wstring RecentListKeyPath() { return kRecentListKeyPath; }

// Ordinal comparison ignoring letter case: ids are names, not words, so no linguistic rules.
bool RecentIdsEqual(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    std::wstring upperA = a;
    std::wstring upperB = b;
    if (!upperA.empty()) {
        CharUpperBuffW(&upperA[0], static_cast<DWORD>(upperA.size()));
        CharUpperBuffW(&upperB[0], static_cast<DWORD>(upperB.size()));
    }
    return upperA == upperB;
}

CRecentAppList::CRecentAppList() : CRecentAppList(RecentListSeams{}) {}

CRecentAppList::CRecentAppList(RecentListSeams seams) : m_seams(std::move(seams))
{
    if (!m_seams.now)
        m_seams.now = SystemNow;
    if (!m_seams.writeValue)
        m_seams.writeValue = RegistryWrite;
}

CRecentAppList::~CRecentAppList() = default;

int CRecentAppList::Load()
{
    const std::wstring keyPath = RecentListKeyPath();
    for (int position = 0; position < kRecentCapacity; ++position) {
        auto entry = std::make_unique<RecentAppEntry>();
        if (!ReadName(keyPath, position, entry->strName) || !ReadTime(keyPath, position, entry->tLastRun))
            break;
        m_entries.push_back(std::move(entry));
    }
    SortByTime();
    return 1;
}

void CRecentAppList::Add(std::wstring id)
{
    const std::int32_t now = m_seams.now();
    bool found = false;
    for (auto& entry : m_entries) {
        if (RecentIdsEqual(entry->strName, id)) {
            entry->tLastRun = now;
            found = true;
            break;
        }
    }
    if (!found) {
        auto entry = std::make_unique<RecentAppEntry>();
        entry->strName = std::move(id);
        entry->tLastRun = now;
        m_entries.push_back(std::move(entry));
    }
    SortByTime();
    while (m_entries.size() > static_cast<std::size_t>(kRecentCapacity))
        m_entries.pop_back();
    Save();
}

// Writes every position before deleting the unused ones, and writes from the last position
// up to position 0: a new entry shifts the others down, so each of them is written to its new
// position before its old one is overwritten. A save that stops part-way therefore leaves a
// readable list behind, instead of the empty one a delete-first save would leave.
int CRecentAppList::Save()
{
    const int count = static_cast<int>(m_entries.size());
    for (int position = count - 1; position >= 0; --position) {
        const RecentAppEntry& entry = *m_entries[position];
        const DWORD nameBytes = static_cast<DWORD>((entry.strName.size() + 1) * sizeof(wchar_t));
        m_seams.writeValue(NameValue(position), REG_SZ, entry.strName.c_str(), nameBytes);
        const DWORD time = static_cast<DWORD>(entry.tLastRun);
        m_seams.writeValue(TimeValue(position), REG_DWORD, &time, sizeof(time));
    }
    const std::wstring keyPath = RecentListKeyPath();
    for (int position = count; position < kRecentCapacity; ++position) {
        SHDeleteValueW(HKEY_CURRENT_USER, keyPath.c_str(), NameValue(position).c_str());
        SHDeleteValueW(HKEY_CURRENT_USER, keyPath.c_str(), TimeValue(position).c_str());
    }
    return 1;
}

void CRecentAppList::SortByTime()
{
    for (std::size_t i = m_entries.size(); i-- > 1;) {
        for (std::size_t j = 1; j <= i; ++j) {
            if (m_entries[j - 1]->tLastRun < m_entries[j]->tLastRun)
                std::swap(m_entries[j - 1], m_entries[j]);
        }
    }
}

int CRecentAppList::GetNames(std::wstring (&names)[kRecentCapacity]) const
{
    int count = 0;
    for (const auto& entry : m_entries) {
        if (count == kRecentCapacity)
            break;
        names[count++] = entry->strName;
    }
    return count;
}
