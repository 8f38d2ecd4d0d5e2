// The page's search: the box's text narrows each view to the entries that match, refilled as it
// is shown; clearing the text puts each view back as it was. The keys that reach the box from
// anywhere in the page live here too.
#include "ui/tab_ctrl_main.h"

#include "res/resource.h"
#include "ui/page_layout.h"
#include "win/resource_module.h"
#include "win/window_messages.h"

namespace {

// The note for a search that found nothing: the text as typed in place of the "%s".
std::wstring NoMatchText(const std::wstring& text)
{
    std::wstring note = LoadResString(IDS_SEARCH_NO_MATCH);
    const std::size_t mark = note.find(L"%s");
    if (mark != std::wstring::npos)
        note.replace(mark, 2, text);
    return note;
}

}  // namespace

bool CTabCtrlMain::IsSearchKey(const win::KeyEvent& key)
{
    if (key.Is(VK_F3))
        return !key.ctrl && !key.shift;
    return key.ctrl && !key.shift && (key.Is('F') || key.Is('E'));
}

void CTabCtrlMain::OnSearchTextChanged(const std::wstring& text)
{
    const bool wasSearching = m_model.Searching();
    m_model.SetSearchText(text);
    if (!m_model.Searching() && !wasSearching)
        return;  // blanks only: nothing to narrow, nothing to put back
    if (!m_model.Searching())
        EndSearch();
    const win::RedrawLock noRedraw(m_hWnd);
    ClearSelection();
    ShowViewOf(GetCurSel());
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool CTabCtrlMain::FilterView(page::View view)
{
    const int index = page::IndexOf(view);
    if (m_filteredBy[index] != m_model.SearchText()) {
        const EntryList matches = m_model.MatchesFor(view);
        m_views[index]->ShowMatches(matches);
        m_filteredBy[index] = m_model.SearchText();
        m_bFoundAny[index] = !matches.empty();
    }
    return m_bFoundAny[index];
}

void CTabCtrlMain::EndSearch()
{
    const int current = GetCurSel();
    for (int index = 0; index < page::kViewCount; ++index) {
        if (m_filteredBy[index].empty())
            continue;  // never narrowed: as it was
        const page::View view = static_cast<page::View>(index);
        m_views[index]->EndSearch(m_model.EntriesFor(view));
        m_filteredBy[index].clear();
        // A hidden view tells nobody; what it selects again is stored as the visible one's is.
        if (index != current)
            m_model.RecordSelection(view, m_views[index]->SelectedEntry());
    }
}

void CTabCtrlMain::ShowViewOf(int tab)
{
    page::View shown = page::View::Tree;
    page::ViewFromIndex(tab, shown);
    for (int view = 0; view < page::kViewCount; ++view) {
        if (view != page::IndexOf(shown))
            m_views[view]->ShowView(false);
    }
    const bool found = !m_model.Searching() || FilterView(shown);
    m_noMatch.ShowText(found ? std::wstring() : NoMatchText(m_model.SearchText()));
    m_views[page::IndexOf(shown)]->ShowView(found);
}

RECT CTabCtrlMain::SearchBoxRect() const
{
    RECT tab{};
    if (!GetItemRect(0, tab)) {
        const SIZE item = page::TabItemSize(m_scale);
        tab = RECT{0, 0, item.cx, item.cy};
    }
    return page::SearchBoxRect(GetClientRect(), tab, m_scale);
}

void CTabCtrlMain::OnSearchGoToResults()
{
    IPageView* view = CurrentView();
    if (!view)
        return;
    if (m_model.Searching()) {
        page::View shown = page::View::Tree;
        if (!page::ViewFromIndex(GetCurSel(), shown) || !FilterView(shown))
            return;  // nothing found: the focus stays in the box
        view->SelectFirstEntry();
    }
    view->FocusView();
}

void CTabCtrlMain::OnSearchLeave()
{
    SetFocusToCurrentView();
}
