// Seeded runs of hostile input through the catalogue: generated registry entries of every value
// type, size and form, and mutated icon groups. Nothing may crash, and every entry is accounted for.
#include "catalog/app_info.h"
#include "catalog/catalog_builder.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/catalog/icon_probe.h"
#include "tests/catalog/module_probe.h"
#include "win/data_file_cache.h"
#include "win/resource_module.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

const wchar_t* const kValueNames[] = {L"AppHide",     L"AppCheck",  L"AppCheckFunc", L"AppName",    L"AppPath",
                                      L"AppOption",   L"Folder",    L"Category",     L"Description", L"IconPath",
                                      L"IconIndex",   L"HelpPath",  L"HelpOption1",  L"HelpOption2"};
const DWORD kTypes[] = {REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_BINARY, REG_QWORD, REG_NONE};

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}
    int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    std::wstring Text()
    {
        const std::wstring bin = TestBinDirectory();
        const std::wstring strings = bin + L"fixture_strings.dll";
        const std::wstring forms[] = {
            L"",
            L"word",
            L"@@word",
            L"@",
            L"@" + strings + L",-1",
            L"@" + strings + L",-65537",
            L"@" + strings + L",1",
            L"@a,b,c",
            L"@HKEY_LOCAL_MACHINE\\Software\\Fuzz\\Lib,-2",
            L"HKEY_LOCAL_MACHINE\\Software\\Fuzz\\Icon",
            L"HKEY_CURRENT_USER\\",
            bin + L"%Q%\\..\\fixture.ico",
            bin + L"fixture.ico",
            L"\"" + bin + L"icon_groups.dll\"",
            bin + L"icon_malformed.dll",
            bin + L"missing.dll",
            bin + L"check_fixture.dll, CheckCdecl, " + std::to_wstring(Below(3)),
            bin + L"check_fixture.dll,CheckStdcall",
            L"%WINDIR%\\%Q%\\x\\n%UNSET%",
            std::wstring(1000 + Below(60), L'x'),
            std::wstring(600, L'%') + L"Q%",
        };
        return forms[Below(static_cast<int>(std::size(forms)))];
    }

    // Data as stored: the text with or without its terminator, sometimes cut to an odd length.
    std::vector<BYTE> StringData()
    {
        const std::wstring text = Text();
        std::vector<BYTE> data(reinterpret_cast<const BYTE*>(text.c_str()),
                               reinterpret_cast<const BYTE*>(text.c_str() + text.size() + Below(2)));
        if (Below(5) == 0 && !data.empty())
            data.resize(Below(static_cast<int>(data.size())));
        return data;
    }

    std::vector<BYTE> NumberData()
    {
        const DWORD numbers[] = {0, 1, 2, 3, 11, 255, 0xFFFFFFFFu, 0x10005u, static_cast<DWORD>(random_())};
        const DWORD value = numbers[Below(static_cast<int>(std::size(numbers)))];
        const int sizes[] = {0, 1, 2, 3, 4, 4, 4, 8};
        std::vector<BYTE> data(8, 0);
        memcpy(data.data(), &value, sizeof(value));
        data.resize(sizes[Below(static_cast<int>(std::size(sizes)))]);
        return data;
    }

    std::mt19937& Engine() { return random_; }

private:
    std::mt19937 random_;
};

class Recorder : public ICatalogObserver {
public:
    void OnEntry(const CAppInfo& entry, bool builtIn, DropReason reason, CheckOutcome) override
    {
        (builtIn ? builtIn_ : registered_).push_back(entry.m_strId);
        ++reasons_[reason];
    }
    std::vector<std::wstring> registered_;
    std::vector<std::wstring> builtIn_;
    std::map<DropReason, int> reasons_;
};

}  // namespace

TEST(CatalogFuzz, GeneratedEntriesOfEveryTypeSizeAndFormAreAllAccountedFor)
{
    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.ok());
    SetEnvironmentVariableW(L"Q", L"QQQQQQQQQQ");
    const std::wstring bin = TestBinDirectory();
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, L"Software\\Fuzz", L"Lib", bin + L"fixture_strings.dll"));
    ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, L"Software\\Fuzz", L"Icon", bin + L"%Q%\\..\\fixture.ico",
                             REG_EXPAND_SZ));

    constexpr int kEntries = 300;
    Generator generate(20261208);
    std::set<std::wstring> ids;
    for (int i = 0; i < kEntries; ++i) {
        const std::wstring id = L"Fuzz" + std::to_wstring(i);
        ids.insert(id);
        ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(id), L"Seed", static_cast<DWORD>(i)));  // the key exists
        // Half the entries carry well-formed required values, so later rules are reached too.
        if (generate.Below(2)) {
            ASSERT_TRUE(RegisterMinimalApp(id, L"Fuzz entry", generate.Below(13)));
        }
        for (const wchar_t* name : kValueNames) {
            if (generate.Below(10) < 5)
                continue;
            const DWORD type = kTypes[generate.Below(static_cast<int>(std::size(kTypes)))];
            const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ || generate.Below(4) == 0;
            const std::vector<BYTE> data = text ? generate.StringData() : generate.NumberData();
            ASSERT_TRUE(SetRegBinary(HKEY_LOCAL_MACHINE, AppKey(id), name, type, data.data(),
                                     static_cast<DWORD>(data.size())));
        }
    }

    Recorder recorder;
    std::vector<std::unique_ptr<CAppInfo>> catalog;
    int icons = 0;
    {
        const win::DataFileCache iconFiles;
        BuildCatalog(catalog, &recorder);
        icons = MakeEveryIcon(catalog);
    }

    // Every subkey reported once, none invented, and kept plus dropped adds up to all of them.
    ASSERT_EQ(recorder.registered_.size(), static_cast<size_t>(kEntries));
    EXPECT_EQ(std::set<std::wstring>(recorder.registered_.begin(), recorder.registered_.end()), ids);
    EXPECT_TRUE(recorder.builtIn_.empty());  // no OSItems value
    int dropped = 0;
    for (const auto& counted : recorder.reasons_) {
        if (counted.first != DropReason::None)
            dropped += counted.second;
    }
    EXPECT_EQ(recorder.reasons_[DropReason::None], static_cast<int>(catalog.size()));
    EXPECT_EQ(static_cast<int>(catalog.size()) + dropped, kEntries);
    // The generator reaches both outcomes and several reasons, or the run proves little.
    EXPECT_GT(catalog.size(), 10u);
    EXPECT_GT(dropped, 10);
    EXPECT_GE(recorder.reasons_.size(), 5u);
    EXPECT_GE(icons, static_cast<int>(catalog.size()));  // the 32-pixel icon at least: it was the test
}

namespace {

std::vector<BYTE> GroupBytes(HMODULE module, int id)
{
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    const BYTE* data = info ? static_cast<const BYTE*>(LockResource(LoadResource(module, info))) : nullptr;
    return data ? std::vector<BYTE>(data, data + SizeofResource(module, info)) : std::vector<BYTE>();
}

// One fault per mutant: a wrong count, a cut, a foreign image id, odd sizes, garbage.
std::vector<BYTE> Mutate(std::vector<BYTE> group, Generator& generate)
{
    const int entries = (static_cast<int>(group.size()) - 6) / 14;
    auto field = [&](int entry, int offset) -> BYTE& { return group[6 + entry * 14 + offset]; };
    switch (generate.Below(6)) {
    case 0: {
        const WORD count = static_cast<WORD>(generate.Below(2) ? entries + 1 + generate.Below(40) : generate.Below(65536));
        memcpy(&group[4], &count, sizeof(count));
        break;
    }
    case 1:
        group.resize(1 + generate.Below(static_cast<int>(group.size()) - 1));  // no data would delete it
        break;
    case 2: {
        const WORD id = static_cast<WORD>(generate.Below(2) ? 100 + generate.Below(30) : generate.Below(65536));
        memcpy(&field(generate.Below(entries), 12), &id, sizeof(id));
        break;
    }
    case 3:
        field(generate.Below(entries), generate.Below(2)) = static_cast<BYTE>(generate.Below(256));
        field(generate.Below(entries), 6) = static_cast<BYTE>(generate.Below(64));
        break;
    case 4:
        for (int flips = 1 + generate.Below(4); flips > 0; --flips)
            group[generate.Below(static_cast<int>(group.size()))] = static_cast<BYTE>(generate.Below(256));
        break;
    default: {
        const WORD type = static_cast<WORD>(generate.Below(3));
        memcpy(&group[2], &type, sizeof(type));
        break;
    }
    }
    return group;
}

}  // namespace

TEST(IconGroupMutation, AHundredMutantsOfAValidGroupGiveAnIconOrNoneAndNeverCrash)
{
    // The mutants become groups 1000-1099 of a copy of the well-formed library, the original
    // group 5 group 1100; groups "ALPHA", "ZETA", 3, 5, 7 come first, so group 1000 + i is
    // at position 5 + i.
    TempDirectory dir;
    const std::wstring library = dir.path() + L"mutants.dll";
    ASSERT_TRUE(CopyFileW(FixturePath(L"icon_groups.dll").c_str(), library.c_str(), FALSE));
    std::vector<BYTE> valid;
    {
        const win::DataFileModule original(FixturePath(L"icon_groups.dll"));
        ASSERT_TRUE(original);
        valid = GroupBytes(original.get(), 5);
    }
    ASSERT_EQ(valid.size(), 6u + 6 * 14);
    constexpr int kMutants = 100;
    Generator generate(1208);
    HANDLE update = BeginUpdateResourceW(library.c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    const WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    for (int i = 0; i <= kMutants; ++i) {
        std::vector<BYTE> group = i < kMutants ? Mutate(valid, generate) : valid;
        ASSERT_TRUE(UpdateResourceW(update, RT_GROUP_ICON, MAKEINTRESOURCEW(1000 + i), language, group.data(),
                                    static_cast<DWORD>(group.size())));
    }
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));

    int icons = 0;
    int none = 0;
    int disagreements = 0;
    for (int i = 0; i <= kMutants; ++i) {
        for (int size : {16, 32}) {
            bool made[2] = {};
            for (int bySelector = 0; bySelector < 2; ++bySelector) {
                CAppInfo entry;
                entry.m_strIconPath = library;
                entry.m_nIconIndex = bySelector ? -(1000 + i) : 5 + i;
                HICON icon = entry.CreateAppIcon(size);
                made[bySelector] = icon != nullptr;
                (icon ? icons : none) += 1;
                if (icon)
                    DestroyIcon(icon);
            }
            disagreements += made[0] != made[1];
            if (i == kMutants) {
                EXPECT_TRUE(made[0] && made[1]) << "the unmutated group at " << size;
            }
        }
    }
    EXPECT_EQ(icons + none, (kMutants + 1) * 2 * 2);
    EXPECT_GT(none, 20);   // mutants our checks refuse
    EXPECT_GT(icons, 20);  // mutants still usable
    // However the group is selected, the same group gives the same answer: a refused group is
    // never handed to the platform's extraction instead.
    EXPECT_EQ(disagreements, 0);
}

TEST(DataFileCache, EachFileIsOpenedOnceWhileTheCacheLivesAndClosedWithIt)
{
    const std::wstring groups = FixturePath(L"icon_groups.dll");
    auto makeIcons = [&groups](int count) {
        for (int i = 0; i < count; ++i) {
            CAppInfo entry;
            entry.m_strIconPath = groups;
            entry.m_nIconIndex = i % 3;
            HICON icon = entry.CreateAppIcon(i % 2 ? 16 : 32);
            EXPECT_NE(icon, nullptr);
            DestroyIcon(icon);
            EXPECT_FALSE(LoadLibraryString(FixturePath(L"fixture_strings.dll"), 1).empty());
        }
    };
    makeIcons(3);  // the platform maps what it needs for icons once, on first use
    DataFileModuleProbe probe(groups);
    const int before = CountMappedViews();
    {
        const win::DataFileCache cache;
        makeIcons(10);
        EXPECT_EQ(CountMappedViews(), before + 2);  // one view per distinct file
        EXPECT_EQ(cache.Size(), 2u);
    }
    probe.ExpectUnchanged();
}
