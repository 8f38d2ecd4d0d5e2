#include "ui/tab_ctrl_main.h"

#include "catalog/catalog_builder.h"
#include "catalog/catalog_cache.h"
#include "res/resource.h"
#include "sable/sable_colors.h"
#include "ui/app_launcher.h"
#include "ui/page_ids.h"
#include "ui/window_state.h"
#include "win/data_file_cache.h"
#include "win/resource_module.h"

namespace {

const int kTopBand = 15;  // pixels left free above the page
const int kTabWidth = 100;
const int kTabHeight = 22;
const COLORREF kPaneBackground = RGB(215, 221, 224);

RECT PageRect(const RECT& client)
{
    return RECT{client.left, client.top + kTopBand, client.right, client.bottom};
}

RECT OpenButtonRect(const RECT& c) { return RECT{c.right - 215, c.top + 68, c.right - 115, c.top + 90}; }
RECT HelpButtonRect(const RECT& c) { return RECT{c.right - 110, c.top + 68, c.right - 10, c.top + 90}; }
// Where the description pane centres itself, left of the buttons.
RECT DescriptionBand(const RECT& c) { return RECT{c.left + 10, c.top + 35, c.right - 225, c.top + 92}; }

}  // namespace

void CTabCtrlMainPainter::DrawBackdrop(HDC dc, const RECT& rc)
{
    sable::FillSolid(dc, rc, RGB(0, 0, 0));
}

CTabCtrlMain::CTabCtrlMain() : m_brushStatic(::CreateSolidBrush(kPaneBackground))
{
    SetPainter(&m_tabPainter);
}

CTabCtrlMain::~CTabCtrlMain()
{
    // The views and the pane point into the catalogue; by now their windows are gone.
    m_pSelectedApp = nullptr;
    m_appList.clear();
    m_brushStatic.reset();
    SetPainter(nullptr);  // the painter member goes before the window
}

int CTabCtrlMain::CreatePage(const RECT& rect, win::Window* parent)
{
    Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_GROUP | WS_TABSTOP | TCS_FIXEDWIDTH, WS_EX_CONTROLPARENT, PageRect(rect),
           parent ? parent->GetSafeHwnd() : nullptr, page::kTabCtrlId);
    const RECT client = GetClientRect();

    InsertItem(page::IndexOf(page::View::Tree), LoadResString(IDS_TAB_CATEGORIES));
    InsertItem(page::IndexOf(page::View::All), LoadResString(IDS_TAB_LIST));
    InsertItem(page::IndexOf(page::View::Recent), LoadResString(IDS_TAB_RECENT));
    const HFONT font = parent ? parent->GetFont() : nullptr;
    SetFont(font, true);
    SetItemSize(kTabWidth, kTabHeight);

    // Each icon file is opened once while the page is built, however many icons the catalogue
    // check and the three views ask of it.
    const win::DataFileCache iconFiles;
    // String-library texts and icon images come from the machine's start-up cache wherever
    // nothing they were read from has changed.
    CatalogCache startupCache(MachineCacheSetup());
    // The catalogue (registered applications, then the built-in items of "OSItems") and the
    // recent list are complete before the views fill themselves.
    BuildCatalog(m_appList);
    m_recentApps.Load();

    // Created first, so that they come first in the page's tab order.
    m_btnOpen.Create(LoadResString(IDS_OPEN), WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON,
                     OpenButtonRect(client), m_hWnd, page::kOpenButtonId);
    m_btnOpen.SetFont(font, true);
    m_btnHelp.Create(LoadResString(IDS_HELP), WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | BS_PUSHBUTTON,
                     HelpButtonRect(client), m_hWnd, page::kHelpButtonId);
    m_btnHelp.SetFont(font, true);

    m_editDescription.m_rcThreeLines = DescriptionBand(client);
    m_editDescription.CreateInParent(*this);

    m_treeCategory.m_pAppList = &m_appList;
    m_treeCategory.InitView(client, *this, *this, m_start);
    m_listAll.m_pAppList = &m_appList;
    m_listAll.InitView(client, *this, *this, m_start);
    m_listRecent.m_pAppList = &m_appList;
    m_listRecent.m_pRecentList = &m_recentApps;
    m_listRecent.InitView(client, *this, *this, m_start);

    SelectTab(-1);
    return 1;
}

void CTabCtrlMain::SelectTab(int index)
{
    int tab = page::IndexOf(page::View::Tree);
    page::View view;
    if (index != -1) {
        tab = index;
    } else if (page::ViewFromIndex(m_start.tab, view)) {
        tab = m_start.tab;
    } else if (m_start.tab == -1 && !m_start.name.empty()) {
        tab = page::IndexOf(page::View::All);
    } else {
        int saved = 0;
        if (LoadActiveTabId(saved) && page::ViewFromIndex(saved, view))
            tab = saved;
    }
    SetCurSel(tab);

    ::InvalidateRect(m_hWnd, &m_editDescription.m_rcThreeLines, FALSE);
    SendMessage(WM_SETREDRAW, FALSE);
    ClearSelection();
    ShowViewOf(GetCurSel());
    SendMessage(WM_SETREDRAW, TRUE);
}

bool CTabCtrlMain::OnSelChange(LRESULT& result)
{
    SendMessage(WM_SETREDRAW, FALSE);
    ClearSelection();
    const int tab = GetCurSel();
    ShowViewOf(tab);
    SaveViewState(tab, std::wstring());  // only a switch by the user is remembered
    SendMessage(WM_SETREDRAW, TRUE);
    result = 0;
    return true;
}

void CTabCtrlMain::ClearSelection()
{
    m_pSelectedApp = nullptr;
    m_btnOpen.EnableWindow(false);
    m_btnHelp.EnableWindow(false);
    m_editDescription.SetApp(nullptr);
}

// Shows the view of `tab` and hides the other two; the shown one reports its selection.
void CTabCtrlMain::ShowViewOf(int tab)
{
    page::View view = page::View::Tree;
    page::ViewFromIndex(tab, view);
    if (view != page::View::Tree)
        m_treeCategory.ShowView(false);
    if (view != page::View::All)
        m_listAll.ShowView(false);
    if (view != page::View::Recent)
        m_listRecent.ShowView(false);
    switch (view) {
    case page::View::Tree:
        m_treeCategory.ShowView(true);
        break;
    case page::View::All:
        m_listAll.ShowView(true);
        break;
    case page::View::Recent:
        m_listRecent.ShowView(true);
        break;
    }
}

void CTabCtrlMain::OnSelectionChanged(CAppInfo* entry)
{
    ClearSelection();
    if (entry) {
        m_editDescription.SetApp(entry);
        m_btnOpen.EnableWindow(!entry->m_strAppPath.empty());
        m_btnHelp.EnableWindow(!entry->m_strHelpPath.empty());
        SaveViewState(GetCurSel(), entry->m_strId);
    }
    m_pSelectedApp = entry;
    ::InvalidateRect(m_hWnd, &m_editDescription.m_rcThreeLines, FALSE);
}

void CTabCtrlMain::RecalcLayout(const RECT& rect)
{
    if (!m_hWnd)
        return;
    const RECT page = PageRect(rect);
    const RECT before = GetClientRect();
    int grow = (page.bottom - page.top) - (before.bottom - before.top);
    MoveWindow(page, false);

    const RECT client = GetClientRect();
    m_treeCategory.MoveView(client, grow);
    m_listAll.MoveView(client, grow);
    m_listRecent.MoveView(client, grow);

    if (grow < 0)
        grow = 0;
    RECT strip{client.left, client.bottom - grow - 1, client.right, client.bottom};
    ::RedrawWindow(m_hWnd, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CTabCtrlMain::SetFocusToCurrentView()
{
    page::View view = page::View::Tree;
    if (!page::ViewFromIndex(GetCurSel(), view))
        return;
    switch (view) {
    case page::View::Tree:
        m_treeCategory.SetFocus();
        break;
    case page::View::All:
        m_listAll.SetFocus();
        break;
    case page::View::Recent:
        m_listRecent.SetFocus();
        break;
    }
}

bool CTabCtrlMain::OnCommand(UINT id, UINT code, HWND source)
{
    if (code == BN_CLICKED && id == page::kOpenButtonId) {
        OnBnClickedOpen();
        return true;
    }
    if (code == BN_CLICKED && id == page::kHelpButtonId) {
        OnBnClickedHelp();
        return true;
    }
    return sable::SableTabCtrl::OnCommand(id, code, source);
}

void CTabCtrlMain::OnBnClickedOpen()
{
    CAppInfo* app = m_pSelectedApp;  // the message box of a failure runs a loop of its own
    if (!app || OpenApp(*app) != OpenResult::Started)
        return;
    m_recentApps.Add(app->m_strId);
    // The visible recent view keeps its items under the user's eyes; a hidden one is rebuilt.
    if (!m_listRecent.IsWindowVisible())
        m_listRecent.RefreshView();
}

void CTabCtrlMain::OnBnClickedHelp()
{
    if (m_pSelectedApp)
        OpenHelp(*m_pSelectedApp);
}

bool CTabCtrlMain::OnCtlColor(HDC dc, HWND child, UINT ctlType, HBRUSH& brush)
{
    if (ctlType != CTLCOLOR_STATIC)
        return sable::SableTabCtrl::OnCtlColor(dc, child, ctlType, brush);
    // The read-only description pane.
    ::SetBkColor(dc, kPaneBackground);
    ::SetTextColor(dc, RGB(0, 0, 0));
    brush = m_brushStatic.get();
    return true;
}
