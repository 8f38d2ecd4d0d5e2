#include "registry_key.h"
#include "registry_sandbox.h"
#include "window_state.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cstring>
#include <vector>

namespace {

const std::wstring kKey = kWindowStateKey;

bool Exists(const wchar_t* name) { return RegValueExists(HKEY_CURRENT_USER, kKey, name); }

// Raw read of a stored value, to check what the writers put there.
bool ReadRaw(const wchar_t* name, DWORD& type, std::vector<BYTE>& data)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD bytes = 0;
    LONG rc = RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes);
    data.assign(bytes, 0);
    if (rc == ERROR_SUCCESS && bytes)
        rc = RegQueryValueExW(key, name, nullptr, &type, data.data(), &bytes);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void ExpectStoredDword(const wchar_t* name, DWORD expected)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(ReadRaw(name, type, data)) << name;
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << name;
    ASSERT_EQ(data.size(), 4u) << name;
    DWORD value = 0;
    memcpy(&value, data.data(), 4);
    EXPECT_EQ(value, expected) << name;
}

void ExpectStoredString(const wchar_t* name, const std::wstring& expected)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(ReadRaw(name, type, data)) << name;
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << name;
    const std::wstring withTerminator(expected.c_str(), expected.size() + 1);
    ASSERT_EQ(data.size(), withTerminator.size() * sizeof(wchar_t)) << name;
    EXPECT_EQ(memcmp(data.data(), withTerminator.data(), data.size()), 0) << name;
}

class WindowStateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sandbox.ok()); }
    RegistrySandbox sandbox;
};

}  // namespace

TEST_F(WindowStateTest, FirstRunFindsNothingAndTheFirstSaveCreatesTheKey)
{
    int left = 11, top = 12, right = 13, bottom = 14;
    EXPECT_FALSE(LoadWindowRect(left, top, right, bottom));
    int tab = 77;
    EXPECT_FALSE(LoadActiveTabId(tab));
    EXPECT_EQ(tab, 77);
    for (int view = 0; view < 3; ++view)
        EXPECT_EQ(LoadSelectedApp(view), L"");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kKey));

    SaveViewState(2, L"");
    ASSERT_TRUE(LoadActiveTabId(tab));
    EXPECT_EQ(tab, 2);
}

TEST_F(WindowStateTest, WindowRectRoundTripsWithNegativeEdges)
{
    SaveWindowRect(-1200, -8, 400, 300);
    ExpectStoredDword(L"left", static_cast<DWORD>(-1200));
    ExpectStoredDword(L"top", static_cast<DWORD>(-8));
    ExpectStoredDword(L"right", 400);
    ExpectStoredDword(L"bottom", 300);
    int left = 0, top = 0, right = 0, bottom = 0;
    ASSERT_TRUE(LoadWindowRect(left, top, right, bottom));
    EXPECT_EQ(left, -1200);
    EXPECT_EQ(top, -8);
    EXPECT_EQ(right, 400);
    EXPECT_EQ(bottom, 300);
}

TEST_F(WindowStateTest, WindowRectNeedsAllFourEdgesAsDwords)
{
    struct Case {
        const char* what;
        bool (*arrangeBottom)();
    } cases[] = {
        {"bottom missing", [] { return true; }},
        {"bottom as REG_SZ", [] { return SetRegString(HKEY_CURRENT_USER, kKey, L"bottom", L"300"); }},
        {"bottom as 8 bytes", [] {
             const ULONGLONG v = 300;
             return SetRegBinary(HKEY_CURRENT_USER, kKey, L"bottom", REG_DWORD, &v, sizeof(v));
         }},
        {"bottom as REG_BINARY", [] {
             const DWORD v = 300;
             return SetRegBinary(HKEY_CURRENT_USER, kKey, L"bottom", REG_BINARY, &v, sizeof(v));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SHDeleteKeyW(HKEY_CURRENT_USER, kKey.c_str());
        ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, kKey, L"left", 10));
        ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, kKey, L"top", 20));
        ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, kKey, L"right", 30));
        ASSERT_TRUE(c.arrangeBottom());
        int left = 0, top = 0, right = 0, bottom = 0;
        EXPECT_FALSE(LoadWindowRect(left, top, right, bottom));
    }
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

    SHDeleteValueW(HKEY_CURRENT_USER, kKey.c_str(), L"ActiveTabId");
    tab = 9;
    EXPECT_TRUE(LoadActiveTabId(tab));  // the key exists, the value does not
    EXPECT_EQ(tab, 0);
}

namespace {

std::vector<BYTE> Bytes(const void* data, std::size_t size)
{
    const BYTE* p = static_cast<const BYTE*>(data);
    return std::vector<BYTE>(p, p + size);
}

// The string's units with its terminator, as a writer stores them.
std::vector<BYTE> Terminated(const std::wstring& s) { return Bytes(s.c_str(), (s.size() + 1) * sizeof(wchar_t)); }

}  // namespace

TEST_F(WindowStateTest, SelectionsAreReadOnlyWhenTheyAreWellFormedStrings)
{
    const std::wstring longest(1024, L'x');
    const wchar_t unterminated[] = {L'a', L'b'};
    const BYTE odd[] = {'a', 0, 'b', 0, 0};
    const DWORD number = 1;
    const struct Case {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
        std::wstring expected;
    } cases[] = {
        {"REG_SZ", REG_SZ, Terminated(L"Display"), L"Display"},
        {"REG_EXPAND_SZ unchanged", REG_EXPAND_SZ, Terminated(L"%windir%\\x"), L"%windir%\\x"},
        {"1024 characters", REG_SZ, Terminated(longest), longest},
        {"1025 characters", REG_SZ, Terminated(std::wstring(1025, L'y')), L""},
        {"REG_BINARY", REG_BINARY, Terminated(L"Display"), L""},
        {"REG_DWORD", REG_DWORD, Bytes(&number, sizeof(number)), L""},
        {"odd byte length", REG_SZ, Bytes(odd, sizeof(odd)), L""},
        {"no terminator", REG_SZ, Bytes(unterminated, sizeof(unterminated)), L""},
        {"zero bytes", REG_SZ, std::vector<BYTE>(), L""},
    };
    const wchar_t* names[] = {L"TreeSelectedApp", L"AllSelectedApp", L"RecentSelectedApp"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int view = 0; view < 3; ++view) {
            SCOPED_TRACE(view);
            SHDeleteKeyW(HKEY_CURRENT_USER, kKey.c_str());
            ASSERT_TRUE(SetRegBinary(HKEY_CURRENT_USER, kKey, names[view], c.type, c.data.data(),
                                     static_cast<DWORD>(c.data.size())));
            EXPECT_EQ(LoadSelectedApp(view), c.expected);
            // Only that view's value is consulted.
            EXPECT_EQ(LoadSelectedApp((view + 1) % 3), L"");
        }
    }
    EXPECT_EQ(LoadSelectedApp(3), L"");
    EXPECT_EQ(LoadSelectedApp(-1), L"");
}

TEST_F(WindowStateTest, SaveViewStateRecordsTheTabOrTheViewSelection)
{
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kKey, L"AllSelectedApp", L"kept"));
    SaveViewState(1, L"");
    ExpectStoredDword(L"ActiveTabId", 1);
    ExpectStoredString(L"AllSelectedApp", L"kept");

    SaveViewState(0, L"Tree Id");
    SaveViewState(1, L"All Id");
    SaveViewState(2, L"Recent Id");
    ExpectStoredString(L"TreeSelectedApp", L"Tree Id");
    ExpectStoredString(L"AllSelectedApp", L"All Id");
    ExpectStoredString(L"RecentSelectedApp", L"Recent Id");
    ExpectStoredDword(L"ActiveTabId", 1);
    EXPECT_EQ(LoadSelectedApp(2), L"Recent Id");
}

TEST_F(WindowStateTest, SaveViewStateForAnUnknownViewWritesNothing)
{
    SaveViewState(3, L"Display");
    SaveViewState(-1, L"Display");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kKey));
    // An out-of-range tab without an id is still recorded as read back later.
    SaveViewState(7, L"");
    ExpectStoredDword(L"ActiveTabId", 7);
    EXPECT_FALSE(Exists(L"TreeSelectedApp"));
    EXPECT_FALSE(Exists(L"AllSelectedApp"));
    EXPECT_FALSE(Exists(L"RecentSelectedApp"));
}

TEST_F(WindowStateTest, ClearTreeSelectedAppDeletesOnlyAReadableTreeSelection)
{
    SaveViewState(0, L"Tree");
    SaveViewState(1, L"All");
    SaveViewState(2, L"Recent");
    ClearTreeSelectedApp();
    EXPECT_FALSE(Exists(L"TreeSelectedApp"));
    ExpectStoredString(L"AllSelectedApp", L"All");
    ExpectStoredString(L"RecentSelectedApp", L"Recent");

    ClearTreeSelectedApp();  // nothing stored: nothing changes
    ExpectStoredString(L"AllSelectedApp", L"All");

    // A tree value that does not read as a selection is left alone.
    const DWORD binary = 42;
    ASSERT_TRUE(SetRegBinary(HKEY_CURRENT_USER, kKey, L"TreeSelectedApp", REG_BINARY, &binary, sizeof(binary)));
    ClearTreeSelectedApp();
    EXPECT_TRUE(Exists(L"TreeSelectedApp"));
}

TEST_F(WindowStateTest, RegistryKeyClosesOnCloseAndHandsOwnershipOnMove)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kWindowStateKey));
    ASSERT_TRUE(key.WriteDword(L"d", 3));
    CRegistryKey moved(std::move(key));
    EXPECT_FALSE(key.IsOpen());
    ASSERT_TRUE(moved.IsOpen());
    DWORD value = 0;
    EXPECT_TRUE(moved.ReadDword(L"d", value));
    EXPECT_EQ(value, 3u);

    // Reading a string with room for exactly its characters and terminator succeeds; one unit less fails.
    ASSERT_TRUE(moved.WriteString(L"s", L"abc"));
    std::wstring text = L"unchanged";
    EXPECT_FALSE(moved.ReadString(L"s", 3, text));
    EXPECT_EQ(text, L"unchanged");
    EXPECT_TRUE(moved.ReadString(L"s", 4, text));
    EXPECT_EQ(text, L"abc");

    // Wine counts no process handles, so a closed key shows itself as an invalid handle
    // (checked at once, before any other handle could take its value).
    const HKEY raw = moved.Get();
    moved.Close();
    EXPECT_FALSE(moved.IsOpen());
    EXPECT_EQ(RegQueryValueExW(raw, L"d", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(moved.ReadDword(L"d", value));

    CRegistryKey readOnly;
    ASSERT_TRUE(readOnly.OpenForRead(HKEY_CURRENT_USER, kWindowStateKey));
    EXPECT_FALSE(readOnly.WriteDword(L"e", 1));
    HKEY scopedRaw = nullptr;
    {
        CRegistryKey scoped;
        ASSERT_TRUE(scoped.OpenForRead(HKEY_CURRENT_USER, kWindowStateKey));
        scopedRaw = scoped.Get();
        EXPECT_EQ(RegQueryValueExW(scopedRaw, L"d", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    }
    EXPECT_EQ(RegQueryValueExW(scopedRaw, L"d", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
}
