// Data-file modules kept open while a batch of icons and strings is made (the catalogue and its
// page), so that each file is opened once however many requests name it.
#pragma once
#include "win/data_file.h"

#include <windows.h>

#include <map>
#include <string>

namespace win {

// While one exists it is the current cache of its thread's requests; it closes every module it
// opened when it ends, and the cache that was current before becomes current again.
class DataFileCache {
public:
    DataFileCache();
    ~DataFileCache();
    DataFileCache(const DataFileCache&) = delete;
    DataFileCache& operator=(const DataFileCache&) = delete;

    // The module of `path`, opened as a data file at the first request; null, also remembered,
    // when the file cannot be opened.
    HMODULE Open(const std::wstring& path);
    // Distinct paths requested so far.
    std::size_t Size() const { return m_modules.size(); }

    static DataFileCache* Current();

private:
    std::map<std::wstring, UniqueDataFile> m_modules;
    DataFileCache* m_pPrevious;
};

// One use of a data-file module: borrowed from the current cache, else opened for this use and
// released with this object.
class DataFileModule {
public:
    explicit DataFileModule(const std::wstring& path);
    HMODULE get() const { return m_module; }
    explicit operator bool() const { return m_module != nullptr; }

private:
    UniqueDataFile m_owned;
    HMODULE m_module = nullptr;
};

}  // namespace win
