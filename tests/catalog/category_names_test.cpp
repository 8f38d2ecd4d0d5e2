// Category captions and the mapping of category numbers onto them.
#include "catalog/category_names.h"
#include "app/resource_library.h"
#include "win/resource_module.h"
#include "tests/support/test_process.h"

#include <gtest/gtest.h>

TEST(CategoryModel, NumbersOutsideZeroToTenAreOthers)
{
    for (int n = 0; n <= 10; ++n)
        EXPECT_EQ(CategoryPosition(n), n);
    for (int n : {11, -1, 255, 1000, -2147483647 - 1})
        EXPECT_EQ(CategoryPosition(n), kOthersPosition) << n;
}

TEST(CategoryNames, TwelveCaptionsFromTheResourceLibrary)
{
    ASSERT_TRUE(LoadResourceLibraryFrom(TestBinDirectory() + L"QclRes.dll") || LoadResourceLibrary());
    CCategoryNames names;
    EXPECT_EQ(names.Caption(0), L"System Information");
    EXPECT_EQ(names.Caption(1), L"Power Management");
    EXPECT_EQ(names.Caption(10), L"Special Buttons");
    EXPECT_EQ(names.Caption(11), L"Others");
    EXPECT_EQ(names.CaptionOfCategory(255), L"Others");
    EXPECT_EQ(names.CaptionOfCategory(-1), L"Others");
    EXPECT_EQ(names.CaptionOfCategory(3), L"Keyboard and Mouse");
    EXPECT_EQ(names.Caption(12), L"");
    EXPECT_EQ(names.Caption(-1), L"");
    for (int position = 0; position < kCategoryCaptionCount; ++position)
        EXPECT_FALSE(names.Caption(position).empty()) << position;
}
