#include "res/registry_paths.h"
#include "win/registry_key.h"
#include "tests/support/registry_sandbox.h"
#include "ui/window_state.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <vector>

namespace {

const std::wstring kKey = kWindowStateKeyPath;

std::vector<BYTE> Bytes(const void* data, std::size_t size)
{
    return std::vector<BYTE>(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
}
std::vector<BYTE> Terminated(const std::wstring& s) { return Bytes(s.c_str(), (s.size() + 1) * sizeof(wchar_t)); }

// The bytes and type of a stored value, to check exactly what the writers put there.
std::vector<BYTE> Raw(const wchar_t* name, DWORD& type)
{
    std::vector<BYTE> data(4096);
    DWORD bytes = static_cast<DWORD>(data.size());
    type = REG_NONE;
    if (SHGetValueW(HKEY_CURRENT_USER, kKey.c_str(), name, &type, data.data(), &bytes) != ERROR_SUCCESS)
        return {};
    data.resize(bytes);
    return data;
}

void ExpectStored(const wchar_t* name, DWORD expectedType, const std::vector<BYTE>& expected)
{
    DWORD type = 0;
    EXPECT_EQ(Raw(name, type), expected) << name;
    EXPECT_EQ(type, expectedType) << name;
}
void ExpectDword(const wchar_t* name, DWORD value) { ExpectStored(name, REG_DWORD, Bytes(&value, 4)); }
void ExpectString(const wchar_t* name, const std::wstring& value) { ExpectStored(name, REG_SZ, Terminated(value)); }

class WindowStateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sandbox.ok()); }
    RegistrySandbox sandbox;
};

}  // namespace

TEST_F(WindowStateTest, FirstRunFindsNothingAndTheFirstTabChangeCreatesTheKey)
{
    int left = 1, top = 2, right = 3, bottom = 4, tab = 77;
    EXPECT_FALSE(LoadWindowRect(left, top, right, bottom));
    EXPECT_FALSE(LoadActiveTabId(tab));
    EXPECT_EQ(tab, 77);
    for (int view = -1; view <= 3; ++view)
        EXPECT_EQ(LoadSelectedApp(view), L"");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kKey));

    SaveViewState(2, L"");
    ExpectDword(L"ActiveTabId", 2);
}

TEST_F(WindowStateTest, WindowRectRoundTripsAndNeedsFourDwordEdges)
{
    SaveWindowRect(-1200, -8, 400, 300);
    ExpectDword(L"left", static_cast<DWORD>(-1200));
    ExpectDword(L"bottom", 300);
    int left = 0, top = 0, right = 0, bottom = 0;
    ASSERT_TRUE(LoadWindowRect(left, top, right, bottom));
    EXPECT_EQ((std::vector<int>{left, top, right, bottom}), (std::vector<int>{-1200, -8, 400, 300}));

    const DWORD three = 300;
    const ULONGLONG wide = 300;
    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
    } badBottoms[] = {
        {"REG_SZ", REG_SZ, Terminated(L"300")},
        {"REG_BINARY", REG_BINARY, Bytes(&three, 4)},
        {"eight bytes", REG_DWORD, Bytes(&wide, 8)},
    };
    for (const auto& b : badBottoms) {
        SCOPED_TRACE(b.what);
        ASSERT_TRUE(SetRegBinary(HKEY_CURRENT_USER, kKey, L"bottom", b.type, b.data.data(), b.data.size()));
        EXPECT_FALSE(LoadWindowRect(left, top, right, bottom));
    }
    SHDeleteValueW(HKEY_CURRENT_USER, kKey.c_str(), L"bottom");
    EXPECT_FALSE(LoadWindowRect(left, top, right, bottom));
}

TEST_F(WindowStateTest, ActiveTabIdIsHandedOnAsReadOrZeroWhenNotADword)
{
    int tab = -1;
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kKey, L"ActiveTabId", L"2"));
    EXPECT_TRUE(LoadActiveTabId(tab));
    EXPECT_EQ(tab, 0);
    ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, kKey, L"ActiveTabId", 5));
    EXPECT_TRUE(LoadActiveTabId(tab));
    EXPECT_EQ(tab, 5);
}

TEST_F(WindowStateTest, SelectionsAreReadOnlyWhenTheyAreWellFormedStrings)
{
    const std::wstring longest(1024, L'x');
    const wchar_t unterminated[] = {L'a', L'b'};
    const BYTE odd[] = {'a', 0, 'b', 0, 0};
    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
        std::wstring expected;
    } cases[] = {
        {"REG_SZ", REG_SZ, Terminated(L"Display"), L"Display"},
        {"REG_EXPAND_SZ, unchanged", REG_EXPAND_SZ, Terminated(L"%windir%\\x"), L"%windir%\\x"},
        {"1024 characters", REG_SZ, Terminated(longest), longest},
        {"1025 characters", REG_SZ, Terminated(longest + L"y"), L""},
        {"REG_BINARY", REG_BINARY, Terminated(L"Display"), L""},
        {"odd byte length", REG_SZ, Bytes(odd, sizeof(odd)), L""},
        {"no terminator", REG_SZ, Bytes(unterminated, sizeof(unterminated)), L""},
        {"zero bytes", REG_SZ, {}, L""},
    };
    const wchar_t* names[] = {L"TreeSelectedApp", L"AllSelectedApp", L"RecentSelectedApp"};
    for (const auto& c : cases) {
        for (int view = 0; view < 3; ++view) {
            SCOPED_TRACE(testing::Message() << c.what << ", view " << view);
            SHDeleteKeyW(HKEY_CURRENT_USER, kKey.c_str());
            ASSERT_TRUE(SetRegBinary(HKEY_CURRENT_USER, kKey, names[view], c.type, c.data.data(), c.data.size()));
            EXPECT_EQ(LoadSelectedApp(view), c.expected);
            EXPECT_EQ(LoadSelectedApp((view + 1) % 3), L"");  // only that view's value counts
        }
    }
}

TEST_F(WindowStateTest, SaveViewStateRecordsTheTabOrOneViewsSelection)
{
    SaveViewState(3, L"Display");  // no such view: nothing written
    SaveViewState(-1, L"Display");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kKey));

    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kKey, L"AllSelectedApp", L"kept"));
    SaveViewState(1, L"");
    ExpectDword(L"ActiveTabId", 1);
    ExpectString(L"AllSelectedApp", L"kept");

    SaveViewState(0, L"Tree Id");
    SaveViewState(2, L"Recent Id");
    SaveViewState(3, L"Other");
    ExpectString(L"TreeSelectedApp", L"Tree Id");
    ExpectString(L"AllSelectedApp", L"kept");
    ExpectString(L"RecentSelectedApp", L"Recent Id");
    ExpectDword(L"ActiveTabId", 1);
    EXPECT_EQ(LoadSelectedApp(2), L"Recent Id");
}

TEST_F(WindowStateTest, ClearTreeSelectedAppDeletesOnlyAReadableTreeSelection)
{
    SaveViewState(0, L"Tree");
    SaveViewState(1, L"All");
    SaveViewState(2, L"Recent");
    ClearTreeSelectedApp();
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kKey, L"TreeSelectedApp"));
    ClearTreeSelectedApp();
    ExpectString(L"AllSelectedApp", L"All");
    ExpectString(L"RecentSelectedApp", L"Recent");

    const DWORD binary = 42;  // not a selection: left alone
    ASSERT_TRUE(SetRegBinary(HKEY_CURRENT_USER, kKey, L"TreeSelectedApp", REG_BINARY, &binary, 4));
    ClearTreeSelectedApp();
    ExpectStored(L"TreeSelectedApp", REG_BINARY, Bytes(&binary, 4));
}

TEST_F(WindowStateTest, RegistryKeyOwnsItsHandleAndChecksCapacity)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kWindowStateKeyPath));
    ASSERT_TRUE(key.WriteString(L"s", L"abc"));
    CRegistryKey moved(std::move(key));
    EXPECT_FALSE(key.IsOpen());
    std::wstring text = L"unchanged";
    EXPECT_FALSE(moved.ReadString(L"s", 3, text));  // no room for the terminator
    EXPECT_EQ(text, L"unchanged");
    EXPECT_TRUE(moved.ReadString(L"s", 4, text));
    EXPECT_EQ(text, L"abc");

    // Assigning over an open key closes the key it held and takes the other's.
    CRegistryKey target;
    ASSERT_TRUE(target.OpenForRead(HKEY_CURRENT_USER, kWindowStateKeyPath));
    const HKEY replaced = target.Get();
    const HKEY taken = moved.Get();
    target = std::move(moved);
    EXPECT_EQ(RegQueryValueExW(replaced, L"s", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(moved.IsOpen());
    EXPECT_EQ(target.Get(), taken);
    moved = std::move(target);

    // Wine counts no process handles; a closed key shows as an invalid handle (checked at
    // once, before another handle could reuse the value).
    const HKEY raw = moved.Get();
    moved.Close();
    EXPECT_EQ(RegQueryValueExW(raw, L"s", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
    HKEY scopedRaw = nullptr;
    {
        CRegistryKey scoped;
        ASSERT_TRUE(scoped.OpenForRead(HKEY_CURRENT_USER, kWindowStateKeyPath));
        EXPECT_FALSE(scoped.WriteDword(L"d", 1));  // read-only
        scopedRaw = scoped.Get();
    }
    EXPECT_EQ(RegQueryValueExW(scopedRaw, L"s", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
}
