// Counting the files this process has mapped, which is how a data-file module shows (the
// platform lists only executable modules, and under Wine handle counts answer 0).
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

// Distinct mapped-file views in the address space.
inline int CountMappedViews()
{
    int views = 0;
    const BYTE* address = nullptr;
    const void* lastBase = nullptr;
    MEMORY_BASIC_INFORMATION info;
    while (VirtualQuery(address, &info, sizeof(info)) == sizeof(info)) {
        if (info.State != MEM_FREE && (info.Type == MEM_MAPPED || info.Type == MEM_IMAGE) &&
            info.AllocationBase != lastBase) {
            ++views;
            lastBase = info.AllocationBase;
        }
        const BYTE* next = static_cast<const BYTE*>(info.BaseAddress) + info.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    return views;
}

// Notes the views at construction; first proves it sees one data-file module left open.
class DataFileModuleProbe {
public:
    explicit DataFileModuleProbe(const std::wstring& anyDataFile)
    {
        const int before = CountMappedViews();
        HMODULE leaked = LoadLibraryExW(anyDataFile.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        EXPECT_NE(leaked, nullptr);
        EXPECT_EQ(CountMappedViews(), before + 1) << "the probe cannot see a leaked data-file module";
        FreeLibrary(leaked);
        views_ = CountMappedViews();
        EXPECT_EQ(views_, before);
    }
    void ExpectUnchanged() const { EXPECT_EQ(CountMappedViews(), views_); }

private:
    int views_ = 0;
};
