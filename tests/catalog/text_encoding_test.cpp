// The inspector's UTF-8 and JSON text.
#include "tools/catalog_report.h"
#include "tools/text_encoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, Utf8FromUtf16)
{
    EXPECT_EQ(Utf8FromUtf16(L""), "");
    EXPECT_EQ(Utf8FromUtf16(L"abc"), "abc");
    EXPECT_EQ(Utf8FromUtf16(L"\u00e9\u2713"), "\xc3\xa9\xe2\x9c\x93");
    EXPECT_EQ(Utf8FromUtf16(L"\xd83d\xde00"), "\xf0\x9f\x98\x80");       // a surrogate pair
    EXPECT_EQ(Utf8FromUtf16(L"a\xd83d"), "a\xef\xbf\xbd");              // high surrogate at the end
    EXPECT_EQ(Utf8FromUtf16(L"\xde00x"), "\xef\xbf\xbdx");              // lone low surrogate
    EXPECT_EQ(Utf8FromUtf16(L"\xd83dx"), "\xef\xbf\xbdx");              // high surrogate before a non-surrogate
    EXPECT_EQ(Utf8FromUtf16(std::wstring(L"a\0b", 3)), std::string("a\0b", 3));
}

TEST(TextEncoding, JsonStringEscapes)
{
    EXPECT_EQ(JsonString(L""), "\"\"");
    EXPECT_EQ(JsonString(L"say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(JsonString(L"C:\\dir\\"), "\"C:\\\\dir\\\\\"");
    EXPECT_EQ(JsonString(L"a\r\nb\tc"), "\"a\\r\\nb\\tc\"");
    EXPECT_EQ(JsonString(std::wstring(L"\x01\x1f\0", 3)), "\"\\u0001\\u001f\\u0000\"");
    EXPECT_EQ(JsonString(L"\u00e9/"), "\"\xc3\xa9/\"");
}

TEST(TextEncoding, IconFileNamesHoldOnlyFileNameCharacters)
{
    EXPECT_EQ(IconFileName(L"AcmePower"), L"AcmePower.ico");
    EXPECT_EQ(IconFileName(L"a/b\\c:d*e?f\"g<h>i|j"), L"a_b_c_d_e_f_g_h_i_j.ico");
    EXPECT_EQ(IconFileName(L"tab\there"), L"tab_here.ico");
    EXPECT_EQ(IconFileName(L""), L"_.ico");
    EXPECT_EQ(IconFileName(L".."), L"_...ico");
    EXPECT_EQ(IconFileName(L"Caf\u00e9"), L"Caf\u00e9.ico");
    // Ids that Windows would open as devices rather than files.
    for (std::wstring device : {L"CON", L"nul", L"Aux", L"PRN", L"COM1", L"lpt9", L"CON.Panel", L"NUL  .x"})
        EXPECT_EQ(IconFileName(device), L"_" + device + L".ico") << testing::PrintToString(device);
    for (std::wstring ordinary : {L"CONSOLE", L"COM0", L"COM10", L"LPT", L"NULL", L"xCON", L"Con_Panel"})
        EXPECT_EQ(IconFileName(ordinary), ordinary + L".ico") << testing::PrintToString(ordinary);
}
