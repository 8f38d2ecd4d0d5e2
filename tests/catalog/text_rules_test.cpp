// Text rules that need no registry: comma lists, the '@' marker, integers, descriptions,
// registry data conversion and the reference text form.
#include "description_text.h"
#include "reference_text.h"
#include "registry_text.h"
#include "text_fields.h"

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

TEST(TextFields, StripIndirectMarker)
{
    struct Case {
        const wchar_t* text;
        bool reference;
        const wchar_t* after;
    } cases[] = {
        {L"Plain", false, L"Plain"},       {L"", false, L""},
        {L"@lib.dll,-1", true, L"lib.dll,-1"}, {L"@@word", false, L"@word"},
        {L"@", true, L""},                 {L"@@", false, L"@"},
        {L" @x", false, L" @x"},
    };
    for (const Case& c : cases) {
        std::wstring text = c.text;
        EXPECT_EQ(StripIndirectMarker(text), c.reference) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(text, c.after);
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

TEST(RegistryText, StringDataIsReadWithinItsBytes)
{
    const wchar_t terminated[] = L"abc";
    EXPECT_EQ(TextFromStringData(terminated, sizeof(terminated)), L"abc");
    EXPECT_EQ(TextFromStringData(terminated, 6), L"abc");   // unterminated: stops at the data's end
    EXPECT_EQ(TextFromStringData(terminated, 5), L"ab");    // odd length: the half unit is ignored
    EXPECT_EQ(TextFromStringData(terminated, 1), L"");
    EXPECT_EQ(TextFromStringData(terminated, 0), L"");
    const wchar_t embedded[] = {L'x', 0, L'y', 0};
    EXPECT_EQ(TextFromStringData(embedded, sizeof(embedded)), L"x");
}

TEST(RegistryText, MultiStringJoinsAllButTheLastTwoUnits)
{
    const wchar_t two[] = {L'A', 0, L'B', 0, 0};
    EXPECT_EQ(TextFromMultiStringData(two, sizeof(two)), L"A\nB");
    const wchar_t one[] = {L'A', 0, 0};
    EXPECT_EQ(TextFromMultiStringData(one, sizeof(one)), L"A");
    const wchar_t empty[] = {0, 0};
    EXPECT_EQ(TextFromMultiStringData(empty, sizeof(empty)), L"");
    EXPECT_EQ(TextFromMultiStringData(empty, 0), L"");
    const wchar_t twoUnits[] = {L'Q', 0};
    EXPECT_EQ(TextFromMultiStringData(twoUnits, sizeof(twoUnits)), L"Q");
    const wchar_t middleEmpty[] = {L'A', 0, 0, L'B', 0, 0};
    EXPECT_EQ(TextFromMultiStringData(middleEmpty, sizeof(middleEmpty)), L"A\n\nB");
    const wchar_t unterminated[] = {L'A', 0, L'B', L'C'};
    EXPECT_EQ(TextFromMultiStringData(unterminated, sizeof(unterminated)), L"A\nBC");
    EXPECT_EQ(TextFromMultiStringData(two, 9), L"A\nB");  // odd length: four whole units
    EXPECT_EQ(TextFromMultiStringData(two, 7), L"A");     // three units: the NUL is among the last two
}

TEST(ReferenceText, RecognisesAndSplitsReferences)
{
    EXPECT_TRUE(IsRegistryReference(L"HKEY_"));
    EXPECT_TRUE(IsRegistryReference(L"HKEY_LOCAL_MACHINE\\a\\b"));
    EXPECT_FALSE(IsRegistryReference(L"HKEY"));
    EXPECT_FALSE(IsRegistryReference(L"hkey_local_machine\\a\\b"));
    EXPECT_FALSE(IsRegistryReference(L" HKEY_LOCAL_MACHINE\\a\\b"));

    struct Case {
        const wchar_t* text;
        const wchar_t* root;
        const wchar_t* subkey;
        const wchar_t* value;
    } cases[] = {
        {L"HKEY_LOCAL_MACHINE\\Software\\Vendor\\Path", L"HKEY_LOCAL_MACHINE", L"Software\\Vendor", L"Path"},
        {L"HKEY_CURRENT_USER\\Key\\", L"HKEY_CURRENT_USER", L"Key", L""},          // default value
        {L"HKEY_CURRENT_USER\\Value", L"HKEY_CURRENT_USER", L"HKEY_CURRENT_USER", L"Value"},  // single backslash
        {L"HKEY_USERS\\", L"HKEY_USERS", L"HKEY_USERS", L""},
        {L"HKEY_X\\\\v", L"HKEY_X", L"", L"v"},
    };
    for (const Case& c : cases) {
        std::wstring subkey = L"unchanged";
        std::wstring value = L"unchanged";
        EXPECT_EQ(ReferenceRootName(c.text), c.root);
        ASSERT_TRUE(SplitRegistryReference(c.text, subkey, value)) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(subkey, c.subkey);
        EXPECT_EQ(value, c.value);
    }
    std::wstring subkey = L"unchanged";
    std::wstring value = L"unchanged";
    EXPECT_FALSE(SplitRegistryReference(L"HKEY_LOCAL_MACHINE", subkey, value));
    EXPECT_EQ(subkey, L"unchanged");
    EXPECT_EQ(ReferenceRootName(L"HKEY_LOCAL_MACHINE"), L"");
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
