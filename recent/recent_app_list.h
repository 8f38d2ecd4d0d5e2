// The five most recently started catalogue entries, most recent first, kept per user.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

constexpr int kRecentCapacity = 5;

struct RecentAppEntry {
    std::wstring strName;      // catalogue id of the started entry
    std::int32_t tLastRun = 0; // seconds since 1970-01-01 UTC
};

// Replaceable pieces of the outside world, so tests can set the clock and make writes fail.
struct RecentListSeams {
    // Current time in seconds since 1970; default: the C library's time().
    std::function<std::int32_t()> now;
    // Writes one value under the list's key (type is a registry type); default: SHSetValueW.
    // The result is reported but the list does not act on it.
    std::function<bool(const std::wstring& valueName, unsigned long type, const void* data, unsigned long bytes)>
        writeValue;
};

class CRecentAppList {
public:
    CRecentAppList();
    explicit CRecentAppList(RecentListSeams seams);
    virtual ~CRecentAppList();
    CRecentAppList(const CRecentAppList&) = delete;
    CRecentAppList& operator=(const CRecentAppList&) = delete;

    // Appends the stored positions 0..4, stopping at the first unreadable one, then sorts. Always 1.
    int Load();
    // Records a start of `id` now: refreshes a case-insensitive match (keeping its spelling)
    // or appends a new entry, sorts, trims to five and saves.
    void Add(std::wstring id);
    // Rewrites the stored positions from the list. Always 1; write failures are ignored.
    int Save();
    // Largest time first; equal times keep their order.
    void SortByTime();
    // Copies the ids, position 0 first; returns how many were copied.
    int GetNames(std::wstring (&names)[kRecentCapacity]) const;

    std::size_t GetCount() const { return m_entries.size(); }
    const RecentAppEntry& GetEntry(std::size_t position) const { return *m_entries[position]; }

private:
    std::vector<std::unique_ptr<RecentAppEntry>> m_entries;
    RecentListSeams m_seams;
};

// Registry path of the list under HKEY_CURRENT_USER.
std::wstring RecentListKeyPath();

// How recent names and catalogue ids are compared: ordinally, ignoring letter case.
bool RecentIdsEqual(const std::wstring& a, const std::wstring& b);
