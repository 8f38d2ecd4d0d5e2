// Copies of a small icon library cut short (an interrupted copy, a half-finished install), listed
// by the inspector and loaded by the hub's catalogue builder: nothing crashes, an entry whose icon
// data the cut reaches is dropped with no-icon, a name whose string table it reaches is empty,
// and every other entry is shown whole.
//   BRINDLE_CUT_SEED=n   another seeded sample of cut points
//   BRINDLE_CUT_EVERY=1  every cut point of the file (slow: about four entries per byte)
#include "catalog/catalog_builder.h"
#include "tests/catalog/catalog_fixture.h"
#include "tests/catalog/inspector_run.h"
#include "win/data_file_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Range {
    size_t begin = 0;
    size_t end = 0;
};

// Where the resources of the intact library lie in its file: a data-file module is the file
// mapped flat, so a resource's address less the base is its file offset.
class ResourceLayout {
public:
    explicit ResourceLayout(const std::wstring& path)
        : m_module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)),
          m_base(reinterpret_cast<const BYTE*>(reinterpret_cast<UINT_PTR>(m_module) & ~UINT_PTR(3)))
    {
    }
    ~ResourceLayout() { FreeLibrary(m_module); }
    ResourceLayout(const ResourceLayout&) = delete;
    ResourceLayout& operator=(const ResourceLayout&) = delete;

    bool ok() const { return m_module != nullptr; }

    Range Of(LPCWSTR name, LPCWSTR type) const
    {
        HRSRC info = FindResourceW(m_module, name, type);
        const BYTE* data = info ? static_cast<const BYTE*>(LockResource(LoadResource(m_module, info))) : nullptr;
        if (!data)
            return {};
        const size_t begin = static_cast<size_t>(data - m_base);
        return {begin, begin + SizeofResource(m_module, info)};
    }

    // The group's directory and its 32-pixel image: all an entry's 32-pixel icon needs.
    size_t IconEnd(int group) const
    {
        const Range directory = Of(MAKEINTRESOURCEW(group), RT_GROUP_ICON);
        const BYTE* entries = m_base + directory.begin + 6;
        size_t end = directory.end;
        for (size_t offset = 0; directory.begin + 6 + offset + 14 <= directory.end; offset += 14) {
            if (entries[offset] == 32)
                end = std::max(end, Of(MAKEINTRESOURCEW(*reinterpret_cast<const WORD*>(entries + offset + 12)), RT_ICON).end);
        }
        return end;
    }

    size_t StringEnd(UINT id) const { return Of(MAKEINTRESOURCEW((id >> 4) + 1), RT_STRING).end; }

private:
    HMODULE m_module;
    const BYTE* m_base;
};

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());  // the texts here are ASCII
}

unsigned SeedOrDefault(unsigned fallback)
{
    const char* text = std::getenv("BRINDLE_CUT_SEED");
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

// One catalogue entry over one cut copy, and what it must come out as.
struct CutEntry {
    std::wstring id;
    std::wstring file;
    int iconIndex;
    UINT nameId;
    bool shown;
    std::wstring name;
};

// The registration of every entry, as the inspector's --reg reads it (UTF-8).
std::string RegFile(const std::vector<CutEntry>& entries, const std::wstring& appPath)
{
    auto quoted = [](std::wstring text) {
        std::string out;
        for (wchar_t c : text)
            out += c == L'\\' ? std::string("\\\\") : std::string(1, static_cast<char>(c));
        return "\"" + out + "\"";
    };
    std::ostringstream reg;
    reg << "Windows Registry Editor Version 5.00\r\n";
    for (const CutEntry& e : entries) {
        char index[16];
        std::snprintf(index, sizeof(index), "%08x", static_cast<unsigned>(e.iconIndex));
        reg << "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon\\" << Narrow(e.id) << "]\r\n"
            << "\"AppName\"=" << quoted(L"@" + e.file + L",-" + std::to_wstring(e.nameId)) << "\r\n"
            << "\"AppPath\"=" << quoted(appPath) << "\r\n"
            << "\"Category\"=dword:00000003\r\n"
            << "\"IconPath\"=" << quoted(e.file) << "\r\n"
            << "\"IconIndex\"=dword:" << index << "\r\n";
    }
    return reg.str();
}

class CatalogOutcomes : public ICatalogObserver {
public:
    void OnEntry(const CAppInfo& entry, bool, DropReason reason, CheckOutcome) override
    {
        seen[entry.m_strId] = {reason, entry.m_strAppName};
    }
    std::map<std::wstring, std::pair<DropReason, std::wstring>> seen;
};

}  // namespace

TEST(CutIconLibrary, EveryCutDropsTheEntriesWhoseDataItReachesAndShowsTheOthers)
{
    const std::wstring library = FixturePath(L"icon_cut.dll");
    const std::string bytes = ReadWholeFile(library);
    ASSERT_GT(bytes.size(), 4096u);
    const ResourceLayout layout(library);
    ASSERT_TRUE(layout.ok());

    // Positions 0-2 are groups 1-3; group 2 is also reached by its id. Names are strings 1, 2, 40.
    const struct {
        int iconIndex;
        int group;
        UINT nameId;
        const wchar_t* name;
    } kinds[] = {{0, 1, 1, L"First cut entry"}, {1, 2, 2, L"Second cut entry"}, {2, 3, 40, L"Third cut entry"},
                 {-2, 2, 40, L"Third cut entry"}};

    // Every edge of every resource, and a seeded sample of the rest (or every byte).
    std::set<size_t> cuts = {0, bytes.size()};
    for (const auto& kind : kinds) {
        for (size_t edge : {layout.IconEnd(kind.group), layout.StringEnd(kind.nameId),
                            layout.Of(MAKEINTRESOURCEW(kind.group), RT_GROUP_ICON).begin}) {
            for (size_t around : {edge - 1, edge, edge + 1})
                cuts.insert(std::min(around, bytes.size()));
        }
    }
    const unsigned seed = SeedOrDefault(20261214);
    RecordProperty("seed", static_cast<int>(seed));
    SCOPED_TRACE("BRINDLE_CUT_SEED=" + std::to_string(seed));
    std::mt19937 random(seed);
    const char* everyText = std::getenv("BRINDLE_CUT_EVERY");
    const bool every = everyText && *everyText == '1';
    for (size_t i = 0; every ? i <= bytes.size() : i < 200; ++i)
        cuts.insert(every ? i : random() % bytes.size());

    TempDirectory dir;
    std::vector<CutEntry> entries;
    for (size_t cut : cuts) {
        const std::wstring file = dir.path() + L"cut" + std::to_wstring(cut) + L".dll";
        std::ofstream(file.c_str(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(cut));
        for (const auto& kind : kinds) {
            const bool shown = cut >= layout.IconEnd(kind.group);
            const std::wstring name = cut >= layout.StringEnd(kind.nameId) ? kind.name : L"";
            entries.push_back({L"Cut" + std::to_wstring(cut) + L"_" + std::to_wstring(kind.iconIndex), file,
                               kind.iconIndex, kind.nameId, shown, name});
        }
    }
    const size_t shownCount = std::count_if(entries.begin(), entries.end(), [](const CutEntry& e) { return e.shown; });
    ASSERT_GT(shownCount, 20u);  // both outcomes are reached often, or the run proves little
    ASSERT_GT(entries.size() - shownCount, 20u);

    // The inspector, a process of its own: it must end normally and list every entry as expected.
    const std::wstring reg = dir.path() + L"cuts.reg";
    std::ofstream(reg.c_str(), std::ios::binary) << RegFile(entries, library);
    std::string output;
    EXPECT_EQ(RunInspector(L"--reg \"" + reg + L"\"", output, nullptr, nullptr, every ? 1200000 : 30000), 1)
        << output.substr(0, 2000);
    std::set<std::string> lines;
    for (const std::string& line : Lines(output))
        lines.insert(line);
    for (const CutEntry& e : entries) {
        const std::string expected =
            Narrow(e.id) + (e.shown ? "\tshown\t3\t" : "\tdropped:no-icon\t3\t") + Narrow(e.name);
        EXPECT_EQ(lines.count(expected), 1u) << expected;
    }

    // The hub's catalogue, built in this process with its icon files held open as the page does.
    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.ok());
    for (const CutEntry& e : entries) {
        ASSERT_TRUE(RegisterMinimalApp(e.id, L"@" + e.file + L",-" + std::to_wstring(e.nameId), 3));
        ASSERT_TRUE(SetRegString(HKEY_LOCAL_MACHINE, AppKey(e.id), L"IconPath", e.file));
        ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, AppKey(e.id), L"IconIndex", static_cast<DWORD>(e.iconIndex)));
    }
    CatalogOutcomes outcomes;
    std::vector<std::unique_ptr<CAppInfo>> catalog;
    {
        const win::DataFileCache files;
        BuildCatalog(catalog, &outcomes);
    }
    ASSERT_EQ(outcomes.seen.size(), entries.size());
    for (const CutEntry& e : entries) {
        SCOPED_TRACE(Narrow(e.id));
        EXPECT_EQ(outcomes.seen[e.id].first, e.shown ? DropReason::None : DropReason::NoIcon);
        EXPECT_EQ(outcomes.seen[e.id].second, e.name);
    }
    EXPECT_EQ(catalog.size(), shownCount);
}
