#include "ui/page_model.h"

#include "catalog/catalog_builder.h"
#include "ui/entry_order.h"
#include "ui/window_state.h"

#include <algorithm>
#include <cstdlib>

void CPageModel::Load(const win::DpiScale& scale)
{
    // The catalogue's test size and the views' sizes, read together at each entry's test.
    m_icons.SetSizes({kTestedIconSize, scale.ImageSize(page::kTreeIconSize), scale.ImageSize(page::kListIconSize)});
    const IconStore::Use icons(m_icons);
    BuildCatalog(m_appList);
    m_recentApps.Load();
}

ViewContext CPageModel::ContextFor(win::Window& parent, IViewOwner& owner, const win::DpiScale& scale)
{
    return ViewContext{&parent, &owner, &m_appList, &m_recentApps, m_start, scale, &m_icons};
}

int CPageModel::ChooseTab(int index) const
{
    page::View view = page::View::Tree;
    if (index != -1)
        return index;
    if (page::ViewFromIndex(m_start.tab, view))
        return m_start.tab;
    if (m_start.tab == -1 && !m_start.name.empty())
        return page::IndexOf(page::View::All);
    int saved = 0;
    if (LoadActiveTabId(saved) && page::ViewFromIndex(saved, view))
        return saved;
    return page::IndexOf(page::View::Tree);
}

int CPageModel::NextTab(int current, int count, bool backwards)
{
    if (backwards)
        return current <= 0 ? count - 1 : current - 1;
    return current >= count - 1 ? 0 : current + 1;
}

void CPageModel::RecordActiveTab(int tab)
{
    SaveViewState(tab, std::wstring());
}

void CPageModel::Select(CAppInfo* entry, int tab)
{
    m_pSelectedApp = entry;
    if (entry)
        SaveViewState(tab, entry->m_strId);
}

void CPageModel::SetSearchText(const std::wstring& text)
{
    m_search = EntrySearch(text);
    if (!m_search.IsEmpty() && !m_bIndexed) {
        m_index.Build(m_appList);
        m_shownOrder = EntriesOf(page::View::All, m_appList, nullptr);
        SortInShownOrder(m_shownOrder);
        m_bIndexed = true;
    }
}

EntryList CPageModel::MatchesFor(page::View view) const
{
    return m_index.Filter(view == page::View::Recent ? EntriesFor(view) : m_shownOrder, m_search);
}

void CPageModel::RecordSelection(page::View view, const CAppInfo* entry)
{
    if (entry)
        SaveViewState(page::IndexOf(view), entry->m_strId);
}

bool CPageModel::RequestNamesEntryFor(page::View view, const StartRequest& start)
{
    if (start.name.empty())
        return false;
    // A request without a tab (-1) is the list's to restore.
    if (view == page::View::All)
        return std::abs(start.tab) == page::IndexOf(view);
    return start.tab == page::IndexOf(view);
}

EntryList CPageModel::EntriesOf(page::View view, const CAppList& catalogue, const CRecentAppList* recent)
{
    EntryList entries;
    if (view != page::View::Recent) {
        entries.reserve(catalogue.size());
        for (const auto& entry : catalogue)
            entries.push_back(entry.get());
        return entries;
    }
    if (!recent)
        return entries;
    std::wstring names[kRecentCapacity];
    const int count = recent->GetNames(names);
    for (int i = 0; i < count; ++i) {
        CAppInfo* found = nullptr;
        for (const auto& entry : catalogue) {
            if (RecentIdsEqual(entry->m_strId, names[i])) {
                found = entry.get();
                break;
            }
        }
        entries.push_back(found);
    }
    return entries;
}
