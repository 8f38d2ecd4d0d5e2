#include "win/data_file_cache.h"

namespace win {

namespace {

DataFileCache* g_current = nullptr;  // the catalogue and the page are built on one thread

}  // namespace

DataFileCache::DataFileCache() : m_pPrevious(g_current)
{
    g_current = this;
}

DataFileCache::~DataFileCache()
{
    g_current = m_pPrevious;
}

DataFileCache* DataFileCache::Current()
{
    return g_current;
}

HMODULE DataFileCache::Open(const std::wstring& path)
{
    auto found = m_modules.find(path);
    if (found == m_modules.end())
        found = m_modules.emplace(path, UniqueDataFile(OpenDataFile(path))).first;
    return found->second.get();
}

DataFileModule::DataFileModule(const std::wstring& path)
{
    if (DataFileCache* cache = DataFileCache::Current()) {
        m_module = cache->Open(path);
    } else {
        m_owned.reset(OpenDataFile(path));
        m_module = m_owned.get();
    }
}

}  // namespace win
