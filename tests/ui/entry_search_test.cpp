// The rule the search box filters the views by: every typed word in the name or the description,
// letter case ignored, accents ignored where the system can separate them from their letters.
#include "catalog/app_info.h"
#include "ui/entry_search.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Whether this system decomposes an accented letter into its base letter and the accent.
bool SystemSeparatesAccents()
{
    wchar_t out[4] = {};
    return ::FoldStringW(MAP_COMPOSITE, L"\u00e9", 1, out, 4) == 2 && out[0] == L'e';
}

std::unique_ptr<CAppInfo> Entry(const wchar_t* name, const wchar_t* description)
{
    auto entry = std::make_unique<CAppInfo>();
    entry->m_strId = name;
    entry->m_strAppName = name;
    entry->m_strDescription = description;
    return entry;
}

TEST(EntrySearch, EveryWordInTheNameOrTheDescriptionIgnoringCase)
{
    const bool folds = SystemSeparatesAccents();
    struct Case {
        const wchar_t* text;
        const wchar_t* name;
        const wchar_t* description;
        bool matches;
    } cases[] = {
        // Letter case, either way round.
        {L"mouse", L"Mouse", L"", true},
        {L"MOUSE", L"mouse", L"", true},
        {L"ouS", L"Mouse", L"", true},  // a word anywhere in the name
        // Two words: both somewhere, in any order, each in the name or the description.
        {L"pointer speed", L"Pointer Speed", L"", true},
        {L"speed pointer", L"Pointer Speed", L"", true},
        {L"pointer wheel", L"Pointer Speed", L"Buttons and the wheel.", true},
        {L"pointer colour", L"Pointer Speed", L"Buttons and the wheel.", false},
        // Blanks around and between words are no words.
        {L"  speed \t  pointer  ", L"Pointer Speed", L"", true},
        // The description alone, on any of its lines.
        {L"wheel", L"Mouse", L"Buttons and pointer.\r\nThe WHEEL scrolls.", true},
        // A word is found in one of the two, never across them nor across a line break.
        {L"speedbuttons", L"Pointer Speed", L"Buttons", false},
        {L"pointer.the", L"Mouse", L"Buttons and pointer.\r\nThe wheel.", false},
        // Accented letters ignore case whatever the system folds...
        {L"CAF\u00c9", L"Caf\u00e9 Hours", L"", true},
        {L"\u00e9cran", L"Display", L"R\u00e9glages de l'\u00c9CRAN", true},
        // ...and match their base letter, both ways, where the system separates accents.
        {L"cafe", L"Caf\u00e9 Hours", L"", folds},
        {L"\u00e9cran", L"Ecran", L"", folds},
        {L"strasse", L"Stra\u00dfe", L"", false},  // a different letter, not an accent
        // No match.
        {L"printer", L"Mouse", L"Buttons and pointer.", false},
        {L"mouse printer", L"Mouse", L"Buttons and pointer.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.text << "\" in \"" << c.name << "\" / \"" << c.description << "\"");
        const auto entry = Entry(c.name, c.description);
        const EntrySearch search(c.text);
        EXPECT_FALSE(search.IsEmpty());
        EXPECT_EQ(c.matches, search.Matches(*entry));
        // The index answers as the entry itself does.
        CAppList catalogue;
        catalogue.push_back(Entry(c.name, c.description));
        SearchIndex index;
        index.Build(catalogue);
        EXPECT_EQ(c.matches ? 1u : 0u, index.Filter({catalogue.front().get()}, search).size());
    }
}

TEST(EntrySearch, FilterKeepsTheOrderDropsGapsAndPassesEverythingForNoWords)
{
    CAppList catalogue;
    catalogue.push_back(Entry(L"Sound", L"Speakers and volume."));
    catalogue.push_back(Entry(L"Mouse", L"Pointer speed."));
    catalogue.push_back(Entry(L"Speech", L"Voice and volume."));
    SearchIndex index;
    index.Build(catalogue);
    CAppInfo* sound = catalogue[0].get();
    CAppInfo* mouse = catalogue[1].get();
    CAppInfo* speech = catalogue[2].get();
    // An entry made after the index (the index does not know it) is searched all the same.
    const auto later = Entry(L"Volume Mixer", L"");

    const EntryList shown{speech, nullptr, mouse, later.get(), sound};  // a view's order, a gap included
    EXPECT_EQ((EntryList{speech, later.get(), sound}), index.Filter(shown, EntrySearch(L"volume")));
    EXPECT_EQ((EntryList{speech, mouse, sound}), index.Filter(shown, EntrySearch(L"SP")));
    EXPECT_EQ(EntryList{}, index.Filter(shown, EntrySearch(L"printer")));
    for (const wchar_t* nothing : {L"", L"   ", L"\t"}) {
        const EntrySearch search(nothing);
        EXPECT_TRUE(search.IsEmpty());
        EXPECT_EQ((EntryList{speech, mouse, later.get(), sound}), index.Filter(shown, search));
    }
}

}  // namespace
