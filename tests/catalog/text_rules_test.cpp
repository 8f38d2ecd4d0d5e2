// Text rules that need no registry: comma lists, integers, descriptions and file extensions.
#include "catalog/description_text.h"
#include "catalog/text_fields.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using Fields = std::vector<std::wstring>;

TEST(TextFields, SplitCommaListTrimsSpacesOnlyAndKeepsEmptyFields)
{
    struct Case {
        const wchar_t* text;
        Fields fields;
    } cases[] = {
        {L"", {L""}},
        {L"a", {L"a"}},
        {L"  lib.dll ,  -5  ", {L"lib.dll", L"-5"}},
        {L"a,,b,", {L"a", L"", L"b", L""}},
        {L",", {L"", L""}},
        {L"\ta ,b\t", {L"\ta", L"b\t"}},  // tabs are not trimmed
        {L"a b, c d", {L"a b", L"c d"}},
    };
    for (const Case& c : cases) {
        Fields fields{L"kept"};
        SplitCommaList(c.text, fields);
        Fields expected{L"kept"};
        expected.insert(expected.end(), c.fields.begin(), c.fields.end());
        EXPECT_EQ(fields, expected) << "text: " << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(TextFields, ParseLeadingIntFollowsTheUsualStringToIntegerRule)
{
    struct Case {
        const wchar_t* text;
        int value;
    } cases[] = {
        {L"0", 0},          {L"-5", -5},        {L"+7", 7},          {L"  \t42", 42},
        {L"12abc", 12},     {L"abc", 0},        {L"", 0},            {L"-", 0},
        {L"- 5", 0},        {L"2147483647", INT_MAX}, {L"-2147483648", INT_MIN},
        {L"99999999999999999999", INT_MAX}, {L"-99999999999999999999", INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseLeadingInt(c.text), c.value) << testing::PrintToString(std::wstring(c.text));
}

TEST(DescriptionText, LineFeedsAndTypedEscapesBothBecomeCrLf)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* normalised;
    } cases[] = {
        {L"A\nB", L"A\r\nB"},
        {L"A\\nB", L"A\r\nB"},
        {L"A\r\nB", L"A\r\r\nB"},  // a CR already there is kept
        {L"\n\n", L"\r\n\r\n"},
        {L"no breaks", L"no breaks"},
        {L"back\\slash", L"back\\slash"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        std::wstring text = c.text;
        NormaliseLineBreaks(text);
        EXPECT_EQ(text, c.normalised) << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(DescriptionText, LinesZeroToTwoWithoutTheirCarriageReturns)
{
    const std::wstring text = L"one\r\ntwo\nthree\r\nfour";
    EXPECT_EQ(DescriptionLine(text, 0), L"one");
    EXPECT_EQ(DescriptionLine(text, 1), L"two");
    EXPECT_EQ(DescriptionLine(text, 2), L"three");
    EXPECT_EQ(DescriptionLine(text, 3), L"");
    EXPECT_EQ(DescriptionLine(text, -1), L"");

    EXPECT_EQ(DescriptionLine(L"only", 0), L"only");
    EXPECT_EQ(DescriptionLine(L"only", 1), L"");
    EXPECT_EQ(DescriptionLine(L"a\r\nb", 1), L"b");
    EXPECT_EQ(DescriptionLine(L"a\r\nb", 2), L"");
    EXPECT_EQ(DescriptionLine(L"a\r\n", 1), L"");
    EXPECT_EQ(DescriptionLine(L"", 0), L"");
    EXPECT_EQ(DescriptionLine(L"\r\n\r\nx", 2), L"x");
    EXPECT_EQ(DescriptionLine(L"ends with cr\r", 0), L"ends with cr\r");  // no LF after it
}

TEST(TextFields, FileExtensionOfTheFileNamePart)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* extension;
    } cases[] = {
        {L"C:\\dir\\app.ICO", L".ICO"}, {L"app.tar.ico", L".ico"},      {L"C:\\dir.v2\\app", L""},
        {L"C:\\dir\\.ico", L".ico"},    {L"C:/a.b/c", L""},             {L"noext", L""},
        {L"C:x.ico", L".ico"},          {L"C:\\dir\\app.", L"."},       {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileExtension(c.path), c.extension) << testing::PrintToString(std::wstring(c.path));
    EXPECT_TRUE(EqualsIgnoringAsciiCase(L".ICO", L".ico"));
    EXPECT_TRUE(EqualsIgnoringAsciiCase(L".IcO", L".iCo"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(L".icon", L".ico"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(L".ic", L".ico"));
}
