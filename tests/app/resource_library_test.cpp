#include "test_process.h"
#include "resource_library.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <vector>

TEST(ResourceLibrary, LoadsFromProgramDirectoryAndServesItsStrings)
{
    ASSERT_TRUE(LoadResourceLibrary());
    EXPECT_NE(GetResourceModule(), GetProgramModule());
    EXPECT_EQ(LoadResString(IDS_APP_TITLE), L"Brindle");
    EXPECT_EQ(LoadResString(IDS_ERR_SYSTEM),
              L"System error has occurred. Please make sure Brindle is correctly installed.");
    EXPECT_EQ(LoadResString(1009), L"Television and Teleclick");
    EXPECT_EQ(LoadResString(12345), L"");  // an id the table lacks
    EXPECT_TRUE(LoadResourceLibrary());    // a second call keeps the first load
}

TEST(ResourceLibrary, LoadLibraryStringReadsAnyModuleAsData)
{
    std::wstring dll = TestBinDirectory() + L"QclRes.dll";
    EXPECT_EQ(LoadLibraryString(dll, IDS_TAB_RECENT), L"Recent Settings");
    EXPECT_EQ(LoadLibraryString(dll, 4242), L"");
    EXPECT_EQ(LoadLibraryString(TestBinDirectory() + L"missing.dll", IDS_TAB_RECENT), L"");
}

namespace {

// A string value of the version resource of `file`; empty when it is missing.
std::wstring VersionString(const std::wstring& file, const std::wstring& subBlock)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0)
        return std::wstring();
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data()))
        return std::wstring();
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), subBlock.c_str(), &value, &length) || !value || length == 0)
        return std::wstring();
    return std::wstring(static_cast<const wchar_t*>(value));
}

}  // namespace

TEST(ResourceLibrary, AboutTextsAreReadableFromTheProgramsVersionResource)
{
    const std::wstring exe = TestBinDirectory() + L"Brindle.exe";
    EXPECT_EQ(VersionString(exe, L"\\StringFileInfo\\000004b0\\ProductVersion"), BRINDLE_EXPECTED_VERSION);
    const std::wstring legal = VersionString(exe, L"\\StringFileInfo\\000004b0\\LegalCopyright");
    EXPECT_EQ(legal.rfind(L"Copyright", 0), 0u) << std::string(legal.begin(), legal.end());
    EXPECT_EQ(VersionString(exe, L"\\StringFileInfo\\000004b0\\NoSuchValue"), L"");
}
