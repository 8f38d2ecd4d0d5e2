#include "test_process.h"
#include "resource_library.h"
#include "resource.h"

#include <gtest/gtest.h>

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
