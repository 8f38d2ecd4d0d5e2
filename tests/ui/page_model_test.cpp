// The page's decisions without a window: the first tab and each view's first selection, what the
// buttons offer for a selected entry and what Open and Help act on, with the state they store.
#include "res/registry_paths.h"
#include "tests/support/registry_sandbox.h"
#include "ui/page_model.h"
#include "ui/type_ahead.h"
#include "ui/window_state.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using page::View;

CAppInfo* AddEntry(CPageModel& model, const wchar_t* id, const wchar_t* path, const wchar_t* help)
{
    auto entry = std::make_unique<CAppInfo>();
    entry->m_strId = id;
    entry->m_strAppName = id;
    entry->m_strAppPath = path;
    entry->m_strHelpPath = help;
    model.Catalogue().push_back(std::move(entry));
    return model.Catalogue().back().get();
}

TEST(PageModel, FirstTabAndFirstSelectionsFollowTheRequestThenTheSavedState)
{
    struct Case {
        StartRequest start;
        int saved;         // "ActiveTabId"; -1: no window state at all, -2: stored as a string
        int tab;           // SelectTab(-1) makes it current
        bool named[3];     // the request's entry is what the tree, the list, the recent view select
    } cases[] = {
        {{L"", -1}, -1, 0, {false, false, false}},         // first start: Categories
        {{L"", -1}, 2, 2, {false, false, false}},          // the saved tab
        {{L"", -1}, 5, 0, {false, false, false}},          // a saved tab that names no view
        {{L"", -1}, -2, 0, {false, false, false}},         // or is no number
        {{L"", 1}, 2, 1, {false, false, false}},           // the requested tab, even without an entry
        {{L"Mouse", -1}, 2, 1, {false, true, false}},      // an entry without a tab: the List restores it
        {{L"Mouse", 0}, 2, 0, {true, false, false}},
        {{L"Mouse", 1}, 0, 1, {false, true, false}},
        {{L"Mouse", 2}, 0, 2, {false, false, true}},
        {{L"Mouse", 7}, 2, 2, {false, false, false}},      // a tab out of range counts as none named...
        {{L"Mouse", -2}, -1, 0, {false, false, false}},    // ...and so does a negative one but -1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start.name.c_str() << " tab " << c.start.tab << " saved " << c.saved);
        RegistrySandbox sandbox;
        ASSERT_TRUE(sandbox.ok());
        if (c.saved == -2) {
            ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kWindowStateKeyPath, L"ActiveTabId", L"1"));
        } else if (c.saved != -1) {
            ASSERT_TRUE(SetRegDword(HKEY_CURRENT_USER, kWindowStateKeyPath, L"ActiveTabId", c.saved));
        }
        for (const wchar_t* value : {L"TreeSelectedApp", L"AllSelectedApp", L"RecentSelectedApp"})
            ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kWindowStateKeyPath, value, L"Stored"));

        CPageModel model;
        model.SetStartRequest(c.start);
        EXPECT_EQ(model.ChooseTab(-1), c.tab);
        EXPECT_EQ(model.ChooseTab(1), 1) << "an asked tab is taken as it is";
        ViewContext context;
        context.start = c.start;
        for (View view : {View::Tree, View::All, View::Recent}) {
            const bool named = c.named[page::IndexOf(view)];
            EXPECT_EQ(CPageModel::RequestNamesEntryFor(view, c.start), named) << page::IndexOf(view);
            EXPECT_EQ(context.SelectionToRestore(view), named ? c.start.name : L"Stored") << page::IndexOf(view);
        }
        // Only a switch the user makes is saved; the next start takes it when nothing is requested.
        model.RecordActiveTab(2);
        CPageModel next;
        EXPECT_EQ(next.ChooseTab(-1), 2);
    }
    // Ctrl+Tab and Ctrl+Shift+Tab wrap around the three tabs.
    EXPECT_EQ(CPageModel::NextTab(2, 3, false), 0);
    EXPECT_EQ(CPageModel::NextTab(0, 3, false), 1);
    EXPECT_EQ(CPageModel::NextTab(0, 3, true), 2);
    EXPECT_EQ(CPageModel::NextTab(2, 3, true), 1);
}

TEST(PageModel, TheSelectedEntryIsWhatTheButtonsOfferAndWhatOpenAndHelpActOn)
{
    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.ok());
    std::int32_t clock = 1000;
    CPageModel model(RecentListSeams{[&clock] { return ++clock; }, nullptr});
    CAppInfo* full = AddEntry(model, L"Full", L"full.exe", L"full.chm");
    CAppInfo* noHelp = AddEntry(model, L"NoHelp", L"\"no help.exe\"", L"");
    CAppInfo* helpOnly = AddEntry(model, L"HelpOnly", L"", L"help.chm");
    struct Case {
        CAppInfo* entry;
        int tab;
        bool canOpen, canHelp;
        CAppInfo* opened;  // what Open and Help act on
        CAppInfo* helped;
    } cases[] = {
        {nullptr, 0, false, false, nullptr, nullptr},
        {full, 0, true, true, full, full},
        {noHelp, 1, true, false, noHelp, nullptr},
        {helpOnly, 2, false, true, helpOnly, helpOnly},  // Open then finds no program to start
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.entry ? c.entry->m_strId.c_str() : L"none") << " tab " << c.tab);
        const std::wstring before = LoadSelectedApp(c.tab);
        model.Select(c.entry, c.tab);
        EXPECT_EQ(model.SelectedEntry(), c.entry);
        EXPECT_EQ(model.CanOpen(), c.canOpen);
        EXPECT_EQ(model.CanHelp(), c.canHelp);
        EXPECT_EQ(model.EntryToOpen(), c.opened);
        EXPECT_EQ(model.EntryForHelp(), c.helped);
        EXPECT_EQ(LoadSelectedApp(c.tab), c.entry ? c.entry->m_strId : before) << "an entry is stored for its tab";

        model.ClearSelection();
        EXPECT_EQ(model.EntryToOpen(), nullptr);
        EXPECT_EQ(model.EntryForHelp(), nullptr);
        EXPECT_FALSE(model.CanOpen() || model.CanHelp());
        EXPECT_EQ(LoadSelectedApp(c.tab), c.entry ? c.entry->m_strId : before) << "clearing keeps what is stored";
    }

    // A start heads the recent list; its entries are found ignoring case, a name no longer
    // catalogued keeps its place as none.
    model.RecentList().Add(L"gone");
    model.RecentList().Add(L"FULL");
    model.RecordStart(*noHelp);
    EXPECT_EQ(model.RecentEntries(), (EntryList{noHelp, full, nullptr}));
    CRecentAppList stored;
    stored.Load();
    ASSERT_EQ(stored.GetCount(), 3u);
    EXPECT_EQ(stored.GetEntry(0).strName, L"NoHelp") << "saved at once";
    EXPECT_EQ(CPageModel::EntriesOf(View::All, model.Catalogue(), &model.RecentList()),
              (EntryList{full, noHelp, helpOnly}));
}

TEST(TypeAhead, TypedLettersFindTheNextRowWhoseNameBeginsWithThem)
{
    const std::vector<std::wstring> names{L"alpha",         L"Beta",          L"beta two", L"Gamma",
                                          L"pointer speed", L"Pointer Speed", L"Power",    L"Zed"};
    struct Key {
        wchar_t typed;
        DWORD time;   // message time, milliseconds
        int current;  // the focused row before the key (-1: none)
        int found;    // the row to select (-1: none matches)
    } keys[] = {
        {L'p', 0, -1, 4},        // the first name with p
        {L'o', 100, 4, 4},       // "po" still matches the focused row
        {L'w', 200, 4, 6},       // "pow"
        {L'b', 2000, 6, 1},      // after a pause a new word; from the next row on, round to Beta
        {L'b', 2100, 1, 2},      // one letter again: the next name with it
        {L'B', 2200, 2, 1},      // ... and round again, ignoring case
        {L'x', 4000, 1, -1},     // nothing begins with x
        {L'Z', 6000, -1, 7},     // from the top when nothing has the focus, ignoring case
        {L'g', 6500, 7, -1},     // "zg" names nothing: the focus stays
        {L'a', 9000, 7, 0},      // after a pause a new word: round to alpha
        {L'l', 9100, 0, 0},      // "al", "alp": still alpha
        {L'p', 9200, 0, 0},
    };
    TypeAhead search;
    for (const Key& key : keys) {
        SCOPED_TRACE(testing::Message() << "typed " << static_cast<char>(key.typed) << " at " << key.time);
        EXPECT_EQ(search.Type(key.typed, key.time, names, key.current), key.found);
    }
    EXPECT_EQ(FindNameByPrefix({}, 0, L"a"), -1) << "an empty list";
    EXPECT_EQ(FindNameByPrefix(names, 99, L"alpha"), 0) << "a start past the end begins at the top";
}

}  // namespace
