// The page without its windows: the catalogue and the recent list it owns, the start request and
// the entry selected in the visible view, with the rules that choose the first tab and each view's
// first selection, and decide what the buttons offer and what Open and Help act on. The tab
// control shows what it decides.
#pragma once
#include "catalog/icon_store.h"
#include "recent/recent_app_list.h"
#include "ui/app_list.h"
#include "ui/entry_search.h"
#include "ui/page_ids.h"
#include "ui/page_view.h"
#include "ui/start_request.h"

#include <string>

class CPageModel {
public:
    CPageModel() = default;
    explicit CPageModel(RecentListSeams recentSeams) : m_recentApps(std::move(recentSeams)) {}

    // What the command line asked to show first; before the views are created.
    void SetStartRequest(const StartRequest& start) { m_start = start; }
    // Reads the catalogue (registered applications, then the built-in items) and the recent list;
    // each entry's icon file is read once, for the test and for the views at `scale`.
    void Load(const win::DpiScale& scale = win::DpiScale());

    CAppList& Catalogue() { return m_appList; }
    CRecentAppList& RecentList() { return m_recentApps; }
    // What the views are created with: this model's catalogue, recent list and start request, and the page's scale.
    ViewContext ContextFor(win::Window& parent, IViewOwner& owner, const win::DpiScale& scale);
    EntryList RecentEntries() const { return EntriesOf(page::View::Recent, m_appList, &m_recentApps); }

    // The tab to make current for SelectTab(`index`): `index` itself unless it is -1; then the
    // requested tab, the List for a requested entry without a tab, the saved tab when it names a
    // view, else Categories.
    int ChooseTab(int index) const;
    // The tab Ctrl+Tab (Ctrl+Shift+Tab: `backwards`) reaches from `current` among `count`, wrapping.
    static int NextTab(int current, int count, bool backwards);
    // The user made `tab` current: it is saved. Switches by the keyboard rules are not.
    void RecordActiveTab(int tab);

    // The visible view of `tab` reported `entry` (null: none); an entry is saved as the tab's selection.
    void Select(CAppInfo* entry, int tab);
    void ClearSelection() { m_pSelectedApp = nullptr; }
    CAppInfo* SelectedEntry() const { return m_pSelectedApp; }
    // What the buttons offer: Open for an entry with a path, Help for one with a help file.
    bool CanOpen() const { return m_pSelectedApp && !m_pSelectedApp->m_strAppPath.empty(); }
    bool CanHelp() const { return m_pSelectedApp && !m_pSelectedApp->m_strHelpPath.empty(); }
    // What Open and Help act on (whoever asks): the selected entry, for Help only one with a help
    // file; null when there is nothing to act on.
    CAppInfo* EntryToOpen() const { return m_pSelectedApp; }
    CAppInfo* EntryForHelp() const { return CanHelp() ? m_pSelectedApp : nullptr; }
    // `entry` was started: it heads the recent list, which is saved at once.
    void RecordStart(const CAppInfo& entry) { m_recentApps.Add(entry.m_strId); }

    // The search box's text: while it has words, each view lists only the entries that match
    // them. Never stored.
    void SetSearchText(const std::wstring& text);
    const std::wstring& SearchText() const { return m_search.Text(); }
    bool Searching() const { return !m_search.IsEmpty(); }
    // Everything `view` lists: the catalogue, or the recent list as it is now.
    EntryList EntriesFor(page::View view) const { return EntriesOf(view, m_appList, &m_recentApps); }
    // What `view` lists while searching: its entries that match, in their order.
    EntryList MatchesFor(page::View view) const;
    // `entry` is what the hidden `view` selects again after a search: stored as its selection.
    void RecordSelection(page::View view, const CAppInfo* entry);

    // Whether the start request names an entry for `view` to select: the tree and the recent
    // view only when it names their tab, the list also when it names no tab.
    static bool RequestNamesEntryFor(page::View view, const StartRequest& start);
    // The entries `view` lists: the catalogue in its order; for the recent view each recent name,
    // most recent first, as its first catalogue entry ignoring case (null when there is none).
    static EntryList EntriesOf(page::View view, const CAppList& catalogue, const CRecentAppList* recent);

private:
    IconStore m_icons;  // the entries' icons, kept from the one read of each icon file
    CAppList m_appList;
    CRecentAppList m_recentApps;
    CAppInfo* m_pSelectedApp = nullptr;
    StartRequest m_start;
    EntrySearch m_search;
    // Made at the first search (the catalogue does not change after Load): the folded texts, and
    // the catalogue in the order the views show it, so that a view has no matches to sort.
    SearchIndex m_index;
    EntryList m_shownOrder;
    bool m_bIndexed = false;
};
