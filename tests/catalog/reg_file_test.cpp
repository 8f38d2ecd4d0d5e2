// Registration-file parsing: each data form as regedit writes it, and the line of the first error.
#include "tools/reg_file.h"

#include <gtest/gtest.h>

namespace {

std::vector<BYTE> Wide(const std::wstring& text, bool terminator = true)
{
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(bytes, bytes + (text.size() + (terminator ? 1 : 0)) * sizeof(wchar_t));
}

}  // namespace

TEST(RegFileParse, EveryDataFormBecomesTheRegistryData)
{
    const std::wstring text =
        L"Windows Registry Editor Version 5.00\r\n"
        L"\r\n"
        L"; a comment\r\n"
        L"[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Old]\r\n"
        L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon\\A]  \r\n"
        L"@=\"default\"\r\n"
        L"\"Quoted \\\"name\\\"\"=\"C:\\\\dir\\\\\"\r\n"
        L"\"Number\"=dword:0000002A\r\n"
        L"\"Expand\"=hex(2):25,00,41,00,\\\r\n"
        L"  25,00,00,00\r\n"
        L"\"Lines\"=hex(7):41,00,00,00,42,00,00,00,00,00\r\n"
        L"\"Bytes\"=hex:01,ff\r\n"
        L"\"Empty\"=hex:\r\n"
        L"\"Qword\"=hex(b):01,00,00,00,00,00,00,00\r\n"
        L"\"Gone\"=-\r\n";
    std::vector<RegFileKey> keys;
    RegFileError error;
    ASSERT_TRUE(ParseRegFile(text, keys, error)) << error.line << ": " << error.message;
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_TRUE(keys[0].remove);
    EXPECT_EQ(keys[0].path, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Old");
    EXPECT_FALSE(keys[1].remove);
    EXPECT_EQ(keys[1].line, 5);

    const DWORD fortyTwo = 42;
    const std::vector<BYTE> number(reinterpret_cast<const BYTE*>(&fortyTwo), reinterpret_cast<const BYTE*>(&fortyTwo) + 4);
    struct Expected {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    } expected[] = {
        {L"", REG_SZ, Wide(L"default")},
        {L"Quoted \"name\"", REG_SZ, Wide(L"C:\\dir\\")},
        {L"Number", REG_DWORD, number},
        {L"Expand", REG_EXPAND_SZ, Wide(L"%A%")},
        {L"Lines", REG_MULTI_SZ, Wide(std::wstring(L"A\0B\0", 4))},
        {L"Bytes", REG_BINARY, {0x01, 0xff}},
        {L"Empty", REG_BINARY, {}},
        {L"Qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}},
    };
    const std::vector<RegFileValue>& values = keys[1].values;
    ASSERT_EQ(values.size(), std::size(expected) + 1);
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(values[i].name, expected[i].name) << i;
        EXPECT_FALSE(values[i].remove) << i;
        EXPECT_EQ(values[i].type, expected[i].type) << i;
        EXPECT_EQ(values[i].data, expected[i].data) << i;
    }
    EXPECT_EQ(values.back().name, L"Gone");
    EXPECT_TRUE(values.back().remove);
}

TEST(RegFileParse, Regedit4TextBytesAreAnsiAndStoredAsUtf16)
{
    std::vector<RegFileKey> keys;
    RegFileError error;
    ASSERT_TRUE(ParseRegFile(L"REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\X]\n\"E\"=hex(2):25,41,25,00\n", keys, error))
        << error.message;
    ASSERT_EQ(keys.size(), 1u);
    ASSERT_EQ(keys[0].values.size(), 1u);
    EXPECT_EQ(keys[0].values[0].data, Wide(L"%A%"));
}

TEST(RegFileParse, TheFirstBadLineIsNamed)
{
    const std::pair<const wchar_t*, int> cases[] = {
        {L"Windows Registry Editor Version 4.00\n", 1},
        {L"\n\nREGEDIT5\n", 3},
        {L"REGEDIT4\n\"A\"=\"x\"\n", 2},                                      // value before any key
        {L"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X\n", 2},                             // unclosed key
        {L"REGEDIT4\n[SOFTWARE\\X]\n", 2},                                      // no root
        {L"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"A\"=\"open\n", 3},              // unclosed text
        {L"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"A\"=\"a\\qb\"\n", 3},           // unknown escape
        {L"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"A\"=\"a\" junk\n", 3},
        {L"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\n\"A\"=dword:123456789\n", 4},  // nine digits
        {L"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"A\"=hex:1,2g\n", 3},
        {L"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"A\"=hex:01,\n", 3},            // dangling comma
        {L"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"A\"=hex(z):01\n", 3},
        {L"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"A\" \"x\"\n", 3},
        {L"REGEDIT4\n[-HKEY_LOCAL_MACHINE\\X]\n\"A\"=\"x\"\n", 3},               // value of a deleted key
        {L"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"A\"=hex:01,\\\n  02,\\\n  zz\n", 3},  // continued value: its first line
    };
    for (const auto& c : cases) {
        std::vector<RegFileKey> keys;
        RegFileError error;
        EXPECT_FALSE(ParseRegFile(c.first, keys, error)) << c.first;
        EXPECT_EQ(error.line, c.second) << c.first;
        EXPECT_FALSE(error.message.empty()) << c.first;
    }
}

TEST(RegFileDecode, Utf16WithItsMarkUtf8AndAnsi)
{
    EXPECT_EQ(DecodeRegFileText(std::string("\xFF\xFE" "R\0" "\xE9\0", 6)), L"R\u00e9");
    EXPECT_EQ(DecodeRegFileText("\xEF\xBB\xBFR\xC3\xA9"), L"R\u00e9");
    EXPECT_EQ(DecodeRegFileText("R\xC3\xA9"), L"R\u00e9");
    wchar_t ansi = 0;
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xE9", 1, &ansi, 1), 1);
    EXPECT_EQ(DecodeRegFileText("R\xE9"), std::wstring(L"R") + ansi);  // not UTF-8: the ANSI code page
}
