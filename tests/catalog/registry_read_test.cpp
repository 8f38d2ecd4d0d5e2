// Value reads and registry references over the real (sandboxed) registry.
#include "tests/catalog/catalog_fixture.h"
#include "catalog/registry_reference.h"
#include "catalog/registry_value.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const wchar_t kKey[] = L"Software\\ReadTest";

std::wstring Repeat(wchar_t c, size_t n)
{
    return std::wstring(n, c);
}

bool SetBytes(const wchar_t* name, DWORD type, const std::vector<wchar_t>& units, DWORD bytes)
{
    return SetRegBinary(HKEY_LOCAL_MACHINE, kKey, name, type, units.data(), bytes);
}

class RegistryRead : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sandbox_.ok()); }
    RegistrySandbox sandbox_;
};

}  // namespace

TEST_F(RegistryRead, StringTypesAndOtherTypes)
{
    SetEnvironmentVariableW(L"BRINDLE_READ_TEST", L"expanded");
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kKey, L"sz", L"plain %BRINDLE_READ_TEST%"));
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kKey, L"expand", L"x%BRINDLE_READ_TEST%x", REG_EXPAND_SZ));
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, kKey, L"dword", 7));
    const BYTE binary[] = {'a', 0, 'b', 0, 0, 0};
    ASSERT_TRUE(SetRegBinary(HKEY_LOCAL_MACHINE, kKey, L"binary", REG_BINARY, binary, sizeof(binary)));
    const wchar_t multi[] = {L'%', L'X', L'%', 0, L'B', 0, 0};
    ASSERT_TRUE(SetRegBinary(HKEY_LOCAL_MACHINE, kKey, L"multi", REG_MULTI_SZ, multi, sizeof(multi)));

    std::wstring out = L"before";
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"sz", out), ERROR_SUCCESS);
    EXPECT_EQ(out, L"plain expanded");
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"expand", out), ERROR_SUCCESS);
    EXPECT_EQ(out, L"xexpandedx");
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"multi", out), ERROR_SUCCESS);
    EXPECT_EQ(out, L"%X%\nB");  // joined, not expanded

    // Another type counts as read but leaves the text alone.
    out = L"before";
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"dword", out), ERROR_SUCCESS);
    EXPECT_EQ(out, L"before");
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"binary", out), ERROR_SUCCESS);
    EXPECT_EQ(out, L"before");

    EXPECT_NE(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"missing", out), ERROR_SUCCESS);
    EXPECT_NE(ReadRegistryString(HKEY_LOCAL_MACHINE, L"Software\\NoSuchKey", L"sz", out), ERROR_SUCCESS);
    EXPECT_EQ(out, L"before");
}

TEST_F(RegistryRead, ExpansionLongerThanTheRawTextIsKeptWhole)
{
    const wchar_t raw[] = L"%ProgramFiles%\\Common Files\\..\\..\\windows\\notepad.exe";
    wchar_t expanded[MAX_PATH] = {};
    ExpandEnvironmentStringsW(raw, expanded, MAX_PATH);
    ASSERT_GT(wcslen(expanded), wcslen(raw));
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kKey, L"expand", raw, REG_EXPAND_SZ));
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kKey, L"sz", raw));
    for (const wchar_t* name : {L"expand", L"sz"}) {
        std::wstring out;
        EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, name, out), ERROR_SUCCESS);
        EXPECT_EQ(out, expanded) << testing::PrintToString(std::wstring(name));
    }
    EXPECT_EQ(ResolveRegistryReference(std::wstring(L"HKEY_LOCAL_MACHINE\\") + kKey + L"\\expand"), expanded);
}

TEST_F(RegistryRead, SizeLimitIsTwoThousandFortyEightBytes)
{
    struct Case {
        size_t characters;  // plus the terminator
        bool read;
    } cases[] = {{1022, true}, {1023, true}, {1024, false}};  // 2046, 2048, 2050 bytes
    for (const Case& c : cases) {
        const std::wstring text = Repeat(L'a', c.characters);
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kKey, L"long", text));
        std::wstring out = L"before";
        LONG status = ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"long", out);
        EXPECT_EQ(status == ERROR_SUCCESS, c.read) << c.characters;
        EXPECT_EQ(out, c.read ? text : L"before") << c.characters;
    }
}

TEST_F(RegistryRead, UnterminatedAndOddLengthDataStaysWithinWhatWasReturned)
{
    // 1024 unterminated units fill the buffer: with no room for a terminator the value is too long.
    std::vector<wchar_t> full(1024, L'z');
    ASSERT_TRUE(SetBytes(L"full", REG_SZ, full, 2048));
    std::wstring out = L"before";
    EXPECT_NE(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"full", out), ERROR_SUCCESS);
    EXPECT_EQ(out, L"before");
    ASSERT_TRUE(SetBytes(L"almostFull", REG_SZ, full, 2046));
    ASSERT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"almostFull", out), ERROR_SUCCESS);
    EXPECT_EQ(out, Repeat(L'z', 1023));

    std::vector<wchar_t> abc = {L'a', L'b', L'c'};
    ASSERT_TRUE(SetBytes(L"odd", REG_SZ, abc, 5));
    ASSERT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"odd", out), ERROR_SUCCESS);
    EXPECT_EQ(out, L"ab");
    ASSERT_TRUE(SetBytes(L"unterminated", REG_SZ, abc, 6));
    ASSERT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"unterminated", out), ERROR_SUCCESS);
    EXPECT_EQ(out, L"abc");
    ASSERT_TRUE(SetBytes(L"oneByte", REG_MULTI_SZ, abc, 1));
    ASSERT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"oneByte", out), ERROR_SUCCESS);
    EXPECT_EQ(out, L"");
}

TEST_F(RegistryRead, MultiStringOfZeroOneAndTwoUnits)
{
    std::vector<wchar_t> units = {L'A', 0, L'B', 0, 0};
    struct Case {
        DWORD bytes;
        const wchar_t* text;
    } cases[] = {{0, L""}, {2, L"A"}, {4, L"A"}, {10, L"A\nB"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(SetBytes(L"multi", REG_MULTI_SZ, units, c.bytes));
        std::wstring out = L"before";
        ASSERT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kKey, L"multi", out), ERROR_SUCCESS) << c.bytes;
        EXPECT_EQ(out, c.text) << c.bytes;
    }
}

TEST_F(RegistryRead, DwordReadsUpToFourBytesOfAnyType)
{
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, kKey, L"dword", 0xFFFFFFFEu));
    const BYTE two[] = {5, 0};
    ASSERT_TRUE(SetRegBinary(HKEY_LOCAL_MACHINE, kKey, L"short", REG_BINARY, two, sizeof(two)));
    const BYTE eight[8] = {1};
    ASSERT_TRUE(SetRegBinary(HKEY_LOCAL_MACHINE, kKey, L"long", REG_QWORD, eight, sizeof(eight)));
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, kKey, L"text", L"12345"));

    int value = 99;
    EXPECT_EQ(ReadRegistryDword(HKEY_LOCAL_MACHINE, kKey, L"dword", value), ERROR_SUCCESS);
    EXPECT_EQ(value, -2);
    value = -1;
    EXPECT_EQ(ReadRegistryDword(HKEY_LOCAL_MACHINE, kKey, L"short", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 5);  // not mixed with the bytes that were there before
    value = 99;
    EXPECT_NE(ReadRegistryDword(HKEY_LOCAL_MACHINE, kKey, L"long", value), ERROR_SUCCESS);
    EXPECT_NE(ReadRegistryDword(HKEY_LOCAL_MACHINE, kKey, L"text", value), ERROR_SUCCESS);  // 12 bytes
    EXPECT_NE(ReadRegistryDword(HKEY_LOCAL_MACHINE, kKey, L"missing", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 99);
    ASSERT_TRUE(SetRegBinary(HKEY_LOCAL_MACHINE, kKey, L"empty", REG_DWORD, nullptr, 0));
    EXPECT_EQ(ReadRegistryDword(HKEY_LOCAL_MACHINE, kKey, L"empty", value), ERROR_SUCCESS);
    EXPECT_EQ(value, 99);  // present but holding nothing: the field keeps what it had
}

TEST_F(RegistryRead, ReferencesNameValuesUnderTheListedRootsOnly)
{
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, L"Software\\Vendor\\Deep", L"Path", L"C:\\deep.dll"));
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, L"Software\\Vendor", L"", L"default text"));
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, L"Software\\Vendor", L"Sys", L"%SystemRoot%\\x.dll", REG_EXPAND_SZ));
    ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, L"Software\\Vendor", L"Number", 3));
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", L"Odd", L"under a key named like the root"));

    wchar_t systemRoot[MAX_PATH] = {};
    ExpandEnvironmentStringsW(L"%SystemRoot%", systemRoot, MAX_PATH);

    struct Case {
        const wchar_t* reference;
        std::wstring text;
    } cases[] = {
        {L"HKEY_LOCAL_MACHINE\\Software\\Vendor\\Deep\\Path", L"C:\\deep.dll"},
        {L"HKEY_CURRENT_USER\\Software\\Vendor\\", L"default text"},  // trailing backslash: default value
        {L"HKEY_CURRENT_USER\\Software\\Vendor\\Sys", std::wstring(systemRoot) + L"\\x.dll"},
        {L"HKEY_CURRENT_USER\\Software\\Vendor\\Number", L""},  // not a string type
        {L"HKEY_CURRENT_USER\\Software\\Vendor\\Missing", L""},
        {L"HKEY_CURRENT_USER\\Odd", L"under a key named like the root"},  // single backslash
        {L"HKEY_LOCAL_MACHINE\\Path", L""},
        {L"hkey_local_machine\\Software\\Vendor\\Deep\\Path", L""},  // roots are case-sensitive
        {L"HKEY_LOCAL_MACHINE_X\\Software\\Vendor\\Deep\\Path", L""},
        {L"HKEY_PERFORMANCE_DATA\\Software\\Vendor\\Deep\\Path", L""},
        {L"HKEY_LOCAL_MACHINE", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveRegistryReference(c.reference), c.text) << testing::PrintToString(std::wstring(c.reference));
}

TEST(RegistryReference, RootKeys)
{
    EXPECT_EQ(RootKeyFromReference(L"HKEY_CLASSES_ROOT\\a\\b"), HKEY_CLASSES_ROOT);
    EXPECT_EQ(RootKeyFromReference(L"HKEY_CURRENT_USER\\a"), HKEY_CURRENT_USER);
    EXPECT_EQ(RootKeyFromReference(L"HKEY_LOCAL_MACHINE\\"), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(RootKeyFromReference(L"HKEY_USERS\\a\\b"), HKEY_USERS);
    EXPECT_EQ(RootKeyFromReference(L"HKEY_CURRENT_CONFIG\\a\\b"), HKEY_CURRENT_CONFIG);
    EXPECT_EQ(RootKeyFromReference(L"HKEY_DYN_DATA\\a\\b"), HKEY_DYN_DATA);
    EXPECT_EQ(RootKeyFromReference(L"HKEY_PERFORMANCE_DATA\\a\\b"), nullptr);
    EXPECT_EQ(RootKeyFromReference(L"HKEY_Local_Machine\\a\\b"), nullptr);
    EXPECT_EQ(RootKeyFromReference(L"HKEY_LOCAL_MACHINE"), nullptr);
    EXPECT_EQ(RootKeyFromReference(L""), nullptr);
}
