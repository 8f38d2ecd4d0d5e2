#include "recent_app_list.h"
#include "registry_sandbox.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace {

std::wstring Key() { return RecentListKeyPath(); }

// A clock the test sets by hand.
struct ManualClock {
    std::int32_t now = 1000;
};

RecentListSeams WithClock(ManualClock& clock)
{
    RecentListSeams seams;
    seams.now = [&clock] { return clock.now; };
    return seams;
}

void StoreEntry(int position, const std::wstring& name, DWORD time)
{
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, Key(), (L"Name" + std::to_wstring(position)).c_str(), name));
    ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, Key(), (L"Time" + std::to_wstring(position)).c_str(), time));
}

bool ReadStoredName(int position, std::wstring& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Key().c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    wchar_t buffer[600] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    LONG rc = RegQueryValueExW(key, (L"Name" + std::to_wstring(position)).c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer), &bytes);
    RegCloseKey(key);
    name = buffer;
    return rc == ERROR_SUCCESS && type == REG_SZ && bytes == (name.size() + 1) * sizeof(wchar_t);
}

bool ReadStoredTime(int position, DWORD& time)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Key().c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD bytes = sizeof(time);
    DWORD type = 0;
    LONG rc = RegQueryValueExW(key, (L"Time" + std::to_wstring(position)).c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(&time), &bytes);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD && bytes == 4;
}

bool ValueExists(const std::wstring& name) { return RegValueExists(HKEY_CURRENT_USER, Key(), name.c_str()); }

std::vector<std::wstring> Names(const CRecentAppList& list)
{
    std::vector<std::wstring> names;
    for (std::size_t i = 0; i < list.GetCount(); ++i)
        names.push_back(list.GetEntry(i).strName);
    return names;
}

// The stored list, read back position by position as the registry holds it (stops at a gap).
std::vector<std::pair<std::wstring, DWORD>> Stored()
{
    std::vector<std::pair<std::wstring, DWORD>> stored;
    for (int i = 0; i < 5; ++i) {
        std::wstring name;
        DWORD time = 0;
        if (!ReadStoredName(i, name) || !ReadStoredTime(i, time))
            break;
        stored.emplace_back(name, time);
    }
    return stored;
}

using Stored_t = std::vector<std::pair<std::wstring, DWORD>>;

class RecentAppListTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sandbox.ok()); }
    RegistrySandbox sandbox;
    ManualClock clock;
};

}  // namespace

TEST_F(RecentAppListTest, NoKeyGivesEmptyListAndFirstAddCreatesPositionZero)
{
    CRecentAppList list(WithClock(clock));
    EXPECT_EQ(list.Load(), 1);
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, Key()));

    clock.now = 1234567;
    list.Add(L"Display");
    EXPECT_EQ(Stored(), (Stored_t{{L"Display", 1234567}}));
    EXPECT_FALSE(ValueExists(L"Name1"));
    EXPECT_FALSE(ValueExists(L"Time1"));
}

TEST_F(RecentAppListTest, AddIgnoresCaseAndKeepsTheStoredSpelling)
{
    StoreEntry(0, L"Network", 900);
    StoreEntry(1, L"SETTINGS", 800);
    CRecentAppList list(WithClock(clock));
    list.Load();

    clock.now = 2000;
    list.Add(L"settings");
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"SETTINGS", L"Network"}));
    EXPECT_EQ(Stored(), (Stored_t{{L"SETTINGS", 2000}, {L"Network", 900}}));
    EXPECT_FALSE(ValueExists(L"Name2"));
}

TEST_F(RecentAppListTest, SixAddsKeepTheLastFiveMostRecentFirst)
{
    CRecentAppList list(WithClock(clock));
    list.Load();
    const wchar_t* ids[] = {L"a", L"b", L"c", L"d", L"e", L"f"};
    for (const wchar_t* id : ids) {
        list.Add(id);
        ++clock.now;
    }
    EXPECT_EQ(Stored(), (Stored_t{{L"f", 1005}, {L"e", 1004}, {L"d", 1003}, {L"c", 1002}, {L"b", 1001}}));

    std::wstring names[kRecentCapacity];
    ASSERT_EQ(list.GetNames(names), 5);
    EXPECT_EQ(names[0], L"f");
    EXPECT_EQ(names[4], L"b");

    // A fresh list sees the same.
    CRecentAppList reloaded;
    reloaded.Load();
    EXPECT_EQ(Names(reloaded), (std::vector<std::wstring>{L"f", L"e", L"d", L"c", L"b"}));
}

TEST_F(RecentAppListTest, NewEntryInTheSameSecondStaysBehindPositionZero)
{
    StoreEntry(0, L"first", 5000);
    CRecentAppList list(WithClock(clock));
    list.Load();
    clock.now = 5000;
    list.Add(L"second");
    EXPECT_EQ(Stored(), (Stored_t{{L"first", 5000}, {L"second", 5000}}));
}

TEST_F(RecentAppListTest, ClockSetBackSortsALaterStartBehindOlderOnes)
{
    CRecentAppList list(WithClock(clock));
    list.Load();
    clock.now = 1000;
    list.Add(L"early");
    clock.now = 900;
    list.Add(L"later");
    clock.now = -5;  // before 1970: still a signed comparison
    list.Add(L"negative");
    EXPECT_EQ(Stored(), (Stored_t{{L"early", 1000}, {L"later", 900}, {L"negative", static_cast<DWORD>(-5)}}));
}

TEST_F(RecentAppListTest, LoadSortsStablyOnSignedTimes)
{
    StoreEntry(0, L"x", 5);
    StoreEntry(1, L"y", static_cast<DWORD>(-1));
    StoreEntry(2, L"z", 7);
    StoreEntry(3, L"w", 5);
    StoreEntry(4, L"v", 0x80000000u);  // the smallest signed time
    CRecentAppList list;
    list.Load();
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"z", L"x", L"w", L"y", L"v"}));
}

TEST_F(RecentAppListTest, LoadStopsAtAMissingNameAndTheNextAddDropsLaterPositions)
{
    StoreEntry(0, L"zero", 300);
    StoreEntry(1, L"one", 200);
    ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, Key(), L"Time2", 150));
    StoreEntry(3, L"three", 100);
    CRecentAppList list(WithClock(clock));
    list.Load();
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"zero", L"one"}));

    clock.now = 400;
    list.Add(L"new");
    EXPECT_EQ(Stored(), (Stored_t{{L"new", 400}, {L"zero", 300}, {L"one", 200}}));
    EXPECT_FALSE(ValueExists(L"Name3"));
    EXPECT_FALSE(ValueExists(L"Time3"));
}

TEST_F(RecentAppListTest, ValueTypesAreNotExaminedButSizesAre)
{
    // Time1 as a four-byte REG_SZ: its bytes are the time.
    StoreEntry(0, L"zero", 300);
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, Key(), L"Name1", L"one"));
    const BYTE timeBytes[] = {0x10, 0x27, 0x00, 0x00};  // 10000
    ASSERT_TRUE(SetRegBinary(HKEY_CURRENT_USER, Key(), L"Time1", REG_SZ, timeBytes, sizeof(timeBytes)));
    // Position 2: a time of eight bytes does not fit and ends loading.
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, Key(), L"Name2", L"two"));
    const ULONGLONG wide = 50;
    ASSERT_TRUE(SetRegBinary(HKEY_CURRENT_USER, Key(), L"Time2", REG_QWORD, &wide, sizeof(wide)));

    CRecentAppList list;
    list.Load();
    ASSERT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(list.GetEntry(0).strName, L"one");
    EXPECT_EQ(list.GetEntry(0).tLastRun, 10000);
    EXPECT_EQ(list.GetEntry(1).strName, L"zero");
}

TEST_F(RecentAppListTest, NamesUpTo511CharactersLoadAndLongerOnesEndLoading)
{
    const std::wstring longest(511, L'n');
    StoreEntry(0, longest, 30);
    StoreEntry(1, std::wstring(512, L'm'), 20);
    StoreEntry(2, L"after", 10);
    CRecentAppList list;
    list.Load();
    ASSERT_EQ(list.GetCount(), 1u);
    EXPECT_EQ(list.GetEntry(0).strName, longest);
}

TEST_F(RecentAppListTest, PositionFiveIsNeverReadNorDeleted)
{
    for (int i = 0; i < 5; ++i)
        StoreEntry(i, L"id" + std::to_wstring(i), 100 - i);
    StoreEntry(5, L"five", 999);
    CRecentAppList list(WithClock(clock));
    list.Load();
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"id0", L"id1", L"id2", L"id3", L"id4"}));

    clock.now = 500;
    list.Add(L"fresh");
    std::wstring name;
    DWORD time = 0;
    ASSERT_TRUE(ReadStoredName(5, name));
    ASSERT_TRUE(ReadStoredTime(5, time));
    EXPECT_EQ(name, L"five");
    EXPECT_EQ(time, 999u);
    EXPECT_EQ(Stored().size(), 5u);
}

namespace {

// Lets the first `allowed` writes through to the registry and fails every later one,
// as if the program had stopped in the middle of a save.
RecentListSeams StopAfterWrites(ManualClock& clock, int allowed, int& attempted)
{
    RecentListSeams seams = WithClock(clock);
    seams.writeValue = [allowed, &attempted](const std::wstring& name, unsigned long type, const void* data,
                                             unsigned long bytes) {
        if (attempted++ >= allowed)
            return false;
        return SHSetValueW(HKEY_CURRENT_USER, RecentListKeyPath().c_str(), name.c_str(), type, data, bytes) ==
               ERROR_SUCCESS;
    };
    return seams;
}

}  // namespace

TEST_F(RecentAppListTest, ASaveStoppedPartWayKeepsEveryStoredEntryReadable)
{
    const std::vector<std::wstring> before = {L"A", L"B", L"C", L"D", L"E"};
    // Adding a new id makes A..D move down one position; E is trimmed by design.
    for (int allowed = 0; allowed <= 10; ++allowed) {
        SCOPED_TRACE(allowed);
        SHDeleteKeyW(HKEY_CURRENT_USER, Key().c_str());
        for (int i = 0; i < 5; ++i)
            StoreEntry(i, before[i], 50 - i);

        int attempted = 0;
        CRecentAppList list(StopAfterWrites(clock, allowed, attempted));
        list.Load();
        list.Add(L"F");
        EXPECT_EQ(attempted, 10);

        CRecentAppList reloaded;
        reloaded.Load();
        const std::vector<std::wstring> names = Names(reloaded);
        EXPECT_EQ(names.size(), 5u);
        for (int i = 0; i < 4; ++i)
            EXPECT_NE(std::find(names.begin(), names.end(), before[i]), names.end()) << "lost " << i;
        if (allowed == 0) {
            EXPECT_EQ(names, before);
        } else if (allowed == 10) {
            EXPECT_EQ(names, (std::vector<std::wstring>{L"F", L"A", L"B", L"C", L"D"}));
        }
    }
}

TEST_F(RecentAppListTest, ASaveStoppedPartWayNeverLeavesAGap)
{
    // Refreshing an existing entry rotates the list; whatever the stopping point,
    // every stored position stays readable.
    for (int allowed = 0; allowed <= 6; ++allowed) {
        SCOPED_TRACE(allowed);
        SHDeleteKeyW(HKEY_CURRENT_USER, Key().c_str());
        StoreEntry(0, L"A", 30);
        StoreEntry(1, L"B", 20);
        StoreEntry(2, L"C", 10);

        int attempted = 0;
        CRecentAppList list(StopAfterWrites(clock, allowed, attempted));
        list.Load();
        list.Add(L"C");
        CRecentAppList reloaded;
        reloaded.Load();
        EXPECT_EQ(reloaded.GetCount(), 3u);
    }
}
