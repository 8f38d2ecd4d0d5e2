// The catalogue's start-up cache. It keeps what a start resolved that is costly to resolve again
// (texts of string libraries, icon images at each size asked for) and gives a part back only
// while the file it was read from has the same size and last-write time. Everything else is
// read afresh at every start: every catalogue value and registry reference (so the exact
// library path, string id, icon path and selector a part is looked up by are this start's),
// what Brindle starts or loads, the availability checks and the administrator test.
//
// One cache per machine, in a folder only the system and administrators may change; a cache
// file or folder that anyone else may change is not read, and neither is a damaged one or one
// made for another program file, display or language. Only administrators write it, and only
// the parts this start used: nothing of an entry that left the catalogue stays in it.
#pragma once
#include "catalog/catalog_cache_format.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// Longer than the coarsest clock of a file system in use (FAT keeps 2-second write times).
constexpr std::uint64_t kSettleTime = 3ull * 10 * 1000 * 1000;

struct CatalogCacheSetup {
    std::wstring folder;         // holds the cache file
    bool administrator = false;  // this process may write the cache; its own account counts as an administrator
    // A part is kept only from a file last changed at least this long (FILETIME units) before
    // the start: a change within the same tick of the file system's clock would not show in
    // its stamp.
    std::uint64_t settleTime = kSettleTime;
};

// Brindle's folder in the machine's common application data, and the privilege test.
CatalogCacheSetup MachineCacheSetup();

class CatalogCache {
public:
    // Reads the cache of `setup`; from now until it ends this is the current cache of the thread
    // that builds the catalogue.
    explicit CatalogCache(CatalogCacheSetup setup);
    // Saves, and makes the cache that was current before current again.
    ~CatalogCache();
    CatalogCache(const CatalogCache&) = delete;
    CatalogCache& operator=(const CatalogCache&) = delete;

    static CatalogCache* Current();

    // String `id` of `library`: kept, or made by `load` (and kept when it may be).
    std::wstring Text(const std::wstring& library, UINT id, const std::function<std::wstring()>& load);
    // The icon of `path` and `index` at `size` pixels (the caller destroys it): kept, or made by
    // `make` (and kept when it may be). `make` may give the image resource it made the icon from;
    // else the icon's own bitmaps are kept.
    HICON Icon(const std::wstring& path, int index, int size, const std::function<HICON(IconImage& source)>& make);

    // The kept image of `path` and `index` at `size` pixels (empty: the file has no icon there);
    // false when none is kept for the file as it is now. Makes nothing.
    bool FindImage(const std::wstring& path, int index, int size, IconImage& image);
    // Keeps `image` (empty: none), just made from `path` as it was first seen in this start, when
    // it may be kept.
    void KeepImage(const std::wstring& path, int index, int size, IconImage image);

    // Writes the parts used so far when this process may write and they differ from what was
    // read. True when the file was written.
    bool Save();

    enum class FileState { Missing, Read, Damaged, Untrusted, OtherContext };
    FileState State() const { return m_state; }
    int Reused() const { return m_reused; }
    int Resolved() const { return m_resolved; }

    // The cache file in a place's folder.
    static std::wstring FilePath(const std::wstring& folder);

private:
    template <typename Record>
    struct Slot {
        Record record;
        bool used = false;
    };
    using TextKey = std::pair<std::wstring, UINT>;
    using IconKey = std::tuple<std::wstring, int, int>;

    // Reads the file of a trusted folder.
    void Read();
    PSID AdministratorAccount();
    // The stamp of `path` as first seen in this start.
    const win::FileStamp& StampSeen(const std::wstring& path);
    // Counts a made icon image and keeps it when `keepable` and the rules allow.
    void Record(const std::wstring& path, int index, int size, IconImage image, bool keepable);
    // Whether a part read from a file with stamp `before` may be kept (see settleTime).
    bool MayKeep(const win::FileStamp& before) const;

    CatalogCacheSetup m_setup;
    std::vector<BYTE> m_administratorAccount;  // the process's account when it is an administrator
    CacheContext m_context;
    std::uint64_t m_startTime;
    FileState m_state = FileState::Missing;
    std::map<TextKey, Slot<CachedText>> m_texts;
    std::map<IconKey, Slot<CachedIcon>> m_icons;
    std::map<std::wstring, win::FileStamp> m_stamps;
    std::size_t m_recordsRead = 0;
    bool m_mayWrite = false;  // an administrator, and the folder is missing or trusted
    bool m_changed = false;
    bool m_saved = false;
    int m_reused = 0;
    int m_resolved = 0;
    CatalogCache* m_pPrevious;
};

// LoadLibraryString through the current cache, when there is one.
std::wstring CachedLibraryString(const std::wstring& library, UINT id);
