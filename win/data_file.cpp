#include "win/data_file.h"

#include "win/module_span.h"

#include <algorithm>
#include <map>

namespace win {

namespace {

// Modules opened by OpenDataFile and the bytes each maps, counted per opening (a system may hand
// out one module for two openings of a file). Guarded: any thread may read resources.
class DataFileRecords {
public:
    DataFileRecords() { InitializeCriticalSection(&m_lock); }
    ~DataFileRecords() { DeleteCriticalSection(&m_lock); }
    DataFileRecords(const DataFileRecords&) = delete;
    DataFileRecords& operator=(const DataFileRecords&) = delete;

    void Add(HMODULE module, UINT_PTR bytes)
    {
        EnterCriticalSection(&m_lock);
        Record& record = m_records[module];
        record.bytes = record.openings ? std::min(record.bytes, bytes) : bytes;
        ++record.openings;
        LeaveCriticalSection(&m_lock);
    }
    void Remove(HMODULE module)
    {
        EnterCriticalSection(&m_lock);
        auto found = m_records.find(module);
        if (found != m_records.end() && --found->second.openings == 0)
            m_records.erase(found);
        LeaveCriticalSection(&m_lock);
    }
    bool Find(HMODULE module, UINT_PTR& bytes)
    {
        EnterCriticalSection(&m_lock);
        auto found = m_records.find(module);
        const bool known = found != m_records.end();
        if (known)
            bytes = found->second.bytes;
        LeaveCriticalSection(&m_lock);
        return known;
    }

private:
    struct Record {
        UINT_PTR bytes = 0;
        int openings = 0;
    };
    CRITICAL_SECTION m_lock;
    std::map<HMODULE, Record> m_records;
};

DataFileRecords& Records()
{
    static DataFileRecords records;
    return records;
}

// A bare file name is found by the loader's search, which CreateFileW does not share.
bool NamesAFolder(const std::wstring& path)
{
    return path.find_first_of(L"\\/:") != std::wstring::npos;
}

}  // namespace

HMODULE OpenDataFile(const std::wstring& path)
{
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return nullptr;
    // The mapped pages bound what can be read at all; the file's size (which the system keeps from
    // shrinking while it is mapped) bounds it exactly. Should another file have been put in its
    // place meanwhile, the smaller of the two still keeps every read inside the mapping.
    UINT_PTR bytes = ReadableModuleBytes(module);
    WIN32_FILE_ATTRIBUTE_DATA file{};
    if (NamesAFolder(path) && GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &file)) {
        const ULONGLONG size = (static_cast<ULONGLONG>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
        if (size < bytes)
            bytes = static_cast<UINT_PTR>(size);
    }
    Records().Add(module, bytes);
    return module;
}

void CloseDataFile(HMODULE module)
{
    if (!module)
        return;
    Records().Remove(module);
    FreeLibrary(module);
}

bool DataFileBytes(HMODULE module, UINT_PTR& bytes)
{
    return Records().Find(module, bytes);
}

}  // namespace win
