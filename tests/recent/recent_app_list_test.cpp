#include "recent/recent_app_list.h"
#include "tests/support/registry_sandbox.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace {

using Strings = std::vector<std::wstring>;

std::wstring Value(const wchar_t* prefix, int position) { return prefix + std::to_wstring(position); }

void Store(int position, const std::wstring& name, DWORD time)
{
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, RecentListKeyPath(), Value(L"Name", position).c_str(), name));
    ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, RecentListKeyPath(), Value(L"Time", position).c_str(), time));
}

// Positions 0..5 as "name@time", read raw up to the first incomplete one; "<bad>" marks a
// position not stored as a terminated REG_SZ and a four-byte REG_DWORD.
Strings Stored()
{
    Strings stored;
    for (int i = 0; i <= 5; ++i) {
        wchar_t name[600] = {};
        DWORD nameType = 0, nameBytes = sizeof(name) - sizeof(wchar_t), time = 0, timeType = 0, timeBytes = 4;
        const std::wstring key = RecentListKeyPath();
        if (SHGetValueW(HKEY_CURRENT_USER, key.c_str(), Value(L"Name", i).c_str(), &nameType, name, &nameBytes) ||
            SHGetValueW(HKEY_CURRENT_USER, key.c_str(), Value(L"Time", i).c_str(), &timeType, &time, &timeBytes))
            break;
        const bool wellFormed = nameType == REG_SZ && nameBytes == (wcslen(name) + 1) * sizeof(wchar_t) &&
                                timeType == REG_DWORD && timeBytes == 4;
        stored.push_back(wellFormed ? name + (L"@" + std::to_wstring(static_cast<int>(time))) : L"<bad>");
    }
    return stored;
}

Strings Names(const CRecentAppList& list)
{
    Strings names;
    for (std::size_t i = 0; i < list.GetCount(); ++i)
        names.push_back(list.GetEntry(i).strName);
    return names;
}

class RecentAppListTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sandbox.ok()); }
    // A list whose clock reads `now`.
    RecentListSeams Seams()
    {
        RecentListSeams seams;
        seams.now = [this] { return now; };
        return seams;
    }
    RegistrySandbox sandbox;
    std::int32_t now = 1000;
};

}  // namespace

TEST_F(RecentAppListTest, NoKeyGivesAnEmptyListAndTheFirstAddCreatesPositionZero)
{
    CRecentAppList list(Seams());
    EXPECT_EQ(list.Load(), 1);
    EXPECT_EQ(list.GetCount(), 0u);
    list.Add(L"Display");
    EXPECT_EQ(Stored(), (Strings{L"Display@1000"}));
}

TEST_F(RecentAppListTest, AddIgnoresCaseAndKeepsTheStoredSpelling)
{
    Store(0, L"Network", 900);
    Store(1, L"SETTINGS", 800);
    CRecentAppList list(Seams());
    list.Load();
    list.Add(L"settings");
    EXPECT_EQ(Stored(), (Strings{L"SETTINGS@1000", L"Network@900"}));
}

TEST_F(RecentAppListTest, SixAddsKeepTheLastFiveMostRecentFirst)
{
    CRecentAppList list(Seams());
    for (const wchar_t* id : {L"a", L"b", L"c", L"d", L"e", L"f"}) {
        list.Add(id);
        ++now;
    }
    EXPECT_EQ(Stored(), (Strings{L"f@1005", L"e@1004", L"d@1003", L"c@1002", L"b@1001"}));
    std::wstring names[kRecentCapacity];
    EXPECT_EQ(list.GetNames(names), 5);
    EXPECT_EQ(Strings(names, names + 5), (Strings{L"f", L"e", L"d", L"c", L"b"}));
}

TEST_F(RecentAppListTest, SameSecondAndEarlierClockSortBehind)
{
    Store(0, L"first", 1000);
    CRecentAppList list(Seams());
    list.Load();
    list.Add(L"same second");  // equal times keep their order: appended, so behind
    now = 900;                 // the clock was set back
    list.Add(L"set back");
    now = -5;                  // signed comparison
    list.Add(L"negative");
    EXPECT_EQ(Stored(), (Strings{L"first@1000", L"same second@1000", L"set back@900", L"negative@-5"}));
}

TEST_F(RecentAppListTest, LoadSortsStablyOnSignedTimes)
{
    Store(0, L"x", 5);
    Store(1, L"y", static_cast<DWORD>(-1));
    Store(2, L"z", 7);
    Store(3, L"w", 5);
    Store(4, L"v", 0x80000000u);
    CRecentAppList list;
    list.Load();
    EXPECT_EQ(Names(list), (Strings{L"z", L"x", L"w", L"y", L"v"}));
}

TEST_F(RecentAppListTest, LoadStopsAtTheFirstUnreadablePositionAndAddDropsTheRest)
{
    Store(0, L"zero", 300);
    Store(1, L"one", 200);
    ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, RecentListKeyPath(), L"Time2", 150));  // Name2 missing
    Store(3, L"three", 100);
    CRecentAppList list(Seams());
    list.Load();
    EXPECT_EQ(Names(list), (Strings{L"zero", L"one"}));
    list.Add(L"new");
    EXPECT_EQ(Stored(), (Strings{L"new@1000", L"zero@300", L"one@200"}));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RecentListKeyPath(), L"Name3"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, RecentListKeyPath(), L"Time3"));
}

TEST_F(RecentAppListTest, TypesAreNotExaminedButSizesAre)
{
    const std::wstring longest(511, L'n');
    Store(0, longest, 300);
    ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, RecentListKeyPath(), L"Name1", L"one"));
    const BYTE timeBytes[] = {0x10, 0x27, 0x00, 0x00};  // a four-byte REG_SZ holding 10000
    ASSERT_TRUE(SetRegBinary(HKEY_CURRENT_USER, RecentListKeyPath(), L"Time1", REG_SZ, timeBytes, 4));
    Store(2, std::wstring(512, L'm'), 50);  // one character too long: loading ends here
    Store(3, L"three", 40);
    CRecentAppList list;
    list.Load();
    ASSERT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(list.GetEntry(0).strName, L"one");
    EXPECT_EQ(list.GetEntry(0).tLastRun, 10000);
    EXPECT_EQ(list.GetEntry(1).strName, longest);

    const ULONGLONG wide = 50;  // a time of eight bytes ends loading too
    ASSERT_TRUE(SetRegBinary(HKEY_CURRENT_USER, RecentListKeyPath(), L"Time0", REG_QWORD, &wide, sizeof(wide)));
    CRecentAppList again;
    again.Load();
    EXPECT_EQ(again.GetCount(), 0u);
}

TEST_F(RecentAppListTest, PositionFiveIsNeverReadNorDeleted)
{
    for (int i = 0; i <= 5; ++i)
        Store(i, L"id" + std::to_wstring(i), 100 + i);
    CRecentAppList list(Seams());
    list.Load();
    EXPECT_EQ(Names(list), (Strings{L"id4", L"id3", L"id2", L"id1", L"id0"}));
    list.Add(L"fresh");
    EXPECT_EQ(Stored(), (Strings{L"fresh@1000", L"id4@104", L"id3@103", L"id2@102", L"id1@101", L"id5@105"}));
}

// A save stopped part-way (every write after the first `allowed` fails) must leave a list
// without gaps; a new entry must not cost any entry that stays in the list.
TEST_F(RecentAppListTest, ASaveStoppedPartWayKeepsTheStoredEntriesReadable)
{
    const struct {
        const wchar_t* added;
        Strings kept;  // ids that stay in the list and must be readable at every stopping point
    } cases[] = {
        {L"F", {L"A", L"B", L"C", L"D"}},  // a new id: E is trimmed by design
        {L"C", {}},                       // a refresh rotates the list
    };
    for (const auto& c : cases) {
        for (int allowed = 0; allowed <= 10; ++allowed) {
            SCOPED_TRACE(testing::Message() << "adding " << c.added << ", writes allowed " << allowed);
            SHDeleteKeyW(HKEY_CURRENT_USER, RecentListKeyPath().c_str());
            const Strings before = {L"A", L"B", L"C", L"D", L"E"};
            for (int i = 0; i < 5; ++i)
                Store(i, before[i], 50 - i);
            RecentListSeams seams = Seams();
            int attempted = 0;
            seams.writeValue = [&attempted, allowed](const std::wstring& name, unsigned long type, const void* data,
                                                     unsigned long bytes) {
                return attempted++ < allowed && SHSetValueW(HKEY_CURRENT_USER, RecentListKeyPath().c_str(),
                                                            name.c_str(), type, data, bytes) == ERROR_SUCCESS;
            };
            CRecentAppList list(seams);
            list.Load();
            list.Add(c.added);

            CRecentAppList reloaded;
            reloaded.Load();
            const Strings names = Names(reloaded);
            EXPECT_EQ(names.size(), 5u);
            for (const std::wstring& id : c.kept)
                EXPECT_NE(std::find(names.begin(), names.end(), id), names.end()) << "lost " << id;
            if (allowed == 0) {
                EXPECT_EQ(names, before);
            }
        }
    }
}
