#include "ui/tab_ctrl_main.h"

#include "catalog/catalog_cache.h"
#include "res/resource.h"
#include "ui/page_layout.h"
#include "win/data_file_cache.h"
#include "win/resource_module.h"
#include "win/window_messages.h"

#include <oleacc.h>

namespace {

const DWORD kPageStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_GROUP | WS_TABSTOP | TCS_FIXEDWIDTH;
// The tab texts by page::View.
const UINT kTabTexts[page::kViewCount] = {IDS_TAB_CATEGORIES, IDS_TAB_LIST, IDS_TAB_RECENT};

}  // namespace

CTabCtrlMain::CTabCtrlMain() : m_brushStatic(sable::kBand)
{
    SetPainter(&m_tabPainter);
}

CTabCtrlMain::~CTabCtrlMain()
{
    SetPainter(nullptr);  // the painter member goes before the window
}

int CTabCtrlMain::CreatePage(const RECT& rect, win::Window* parent)
{
    const HWND parentWindow = parent ? parent->GetSafeHwnd() : nullptr;
    m_scale = win::DpiScale(m_nDialogDpi > 0 ? m_nDialogDpi : win::DpiOfWindow(parentWindow));
    if (m_nDialogFontDpi <= 0)
        m_nDialogFontDpi = m_scale.Dpi();
    m_nViewFontDpi = m_scale.Dpi();
    Create(kPageStyle, WS_EX_CONTROLPARENT, page::PageRect(rect, m_scale), parentWindow, page::kTabCtrlId);
    SetDpi(m_scale.Dpi());
    const page::Layout layout = page::LayoutOf(GetClientRect(), m_scale);

    for (int tab = 0; tab < page::kViewCount; ++tab)
        InsertItem(tab, LoadResString(kTabTexts[tab]));
    m_hDialogFont = parent ? parent->GetFont() : nullptr;
    MakeFonts();
    const HFONT font = PageFont();
    SetFont(font, true);
    const SIZE item = page::TabItemSize(m_scale);
    SetItemSize(item.cx, item.cy);

    // Each icon file is opened once while the page is built, however many icons the catalogue
    // check and the three views ask of it.
    const win::DataFileCache iconFiles;
    // String-library texts and icon images come from the machine's start-up cache wherever
    // nothing they were read from has changed.
    CatalogCache startupCache(MachineCacheSetup());
    // The catalogue and the recent list are complete before the views fill themselves.
    m_model.Load(m_scale);

    // Created first, so that they come first in the page's tab order.
    m_btnOpen.Create(LoadResString(IDS_OPEN), WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON,
                     layout.openButton, m_hWnd, page::kOpenButtonId);
    m_btnOpen.SetFont(font, true);
    m_btnHelp.Create(LoadResString(IDS_HELP), WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | BS_PUSHBUTTON,
                     layout.helpButton, m_hWnd, page::kHelpButtonId);
    m_btnHelp.SetFont(font, true);
    m_btnOpen.SetDpi(m_scale.Dpi());
    m_btnHelp.SetDpi(m_scale.Dpi());

    m_editDescription.SetScale(m_scale);
    m_editDescription.m_rcThreeLines = layout.descriptionBand;
    m_editDescription.CreateInParent(*this);

    const ViewContext context = m_model.ContextFor(*this, *this, m_scale);
    for (IPageView* view : m_views)
        view->InitView(context, layout.view);
    m_hViewFont = m_treeCategory.GetFont();
    // A screen reader names each view by its tab.
    m_treeCategory.SetAccessibleLabel(LoadResString(kTabTexts[page::IndexOf(page::View::Tree)]), ROLE_SYSTEM_OUTLINE);
    m_listAll.SetAccessibleLabel(LoadResString(kTabTexts[page::IndexOf(page::View::All)]), ROLE_SYSTEM_LIST);
    m_listRecent.SetAccessibleLabel(LoadResString(kTabTexts[page::IndexOf(page::View::Recent)]), ROLE_SYSTEM_LIST);

    // After the views, and no Tab stop: the page's Tab order stays as it was.
    const std::wstring cue = LoadResString(IDS_SEARCH_CUE);
    m_searchBox.Create(m_hWnd, page::kSearchBoxId, SearchBoxRect(), font, cue, m_scale, *this);
    m_searchBox.SetAccessibleLabel(cue, ROLE_SYSTEM_TEXT);
    m_noMatch.Create(m_hWnd, layout.view, m_hViewFont, m_scale);

    SelectTab(-1);
    return 1;
}

void CTabCtrlMain::SelectTab(int index)
{
    SetCurSel(m_model.ChooseTab(index));
    ::InvalidateRect(m_hWnd, &m_editDescription.m_rcThreeLines, FALSE);
    const win::RedrawLock noRedraw(m_hWnd);
    ClearSelection();
    ShowViewOf(GetCurSel());
}

bool CTabCtrlMain::OnSelChange(LRESULT& result)
{
    const win::RedrawLock noRedraw(m_hWnd);
    ClearSelection();
    const int tab = GetCurSel();
    ShowViewOf(tab);
    m_model.RecordActiveTab(tab);  // only a switch by the user is remembered
    result = 0;
    return true;
}

void CTabCtrlMain::ClearSelection()
{
    m_model.ClearSelection();
    m_btnOpen.EnableWindow(false);
    m_btnHelp.EnableWindow(false);
    m_editDescription.SetApp(nullptr);
}

IPageView* CTabCtrlMain::CurrentView() const
{
    page::View view = page::View::Tree;
    return page::ViewFromIndex(GetCurSel(), view) ? m_views[page::IndexOf(view)] : nullptr;
}

void CTabCtrlMain::OnSelectionChanged(CAppInfo* entry)
{
    ClearSelection();
    if (entry) {
        m_editDescription.SetApp(entry);
        m_model.Select(entry, GetCurSel());
        m_btnOpen.EnableWindow(m_model.CanOpen());
        m_btnHelp.EnableWindow(m_model.CanHelp());
    }
    ::InvalidateRect(m_hWnd, &m_editDescription.m_rcThreeLines, FALSE);
}

void CTabCtrlMain::SetFocusToCurrentView()
{
    IPageView* view = CurrentView();
    if (!view)
        return;
    // A view a search left empty is hidden behind the note: the box keeps the keys.
    if (m_model.Searching() && !m_bFoundAny[GetCurSel()])
        m_searchBox.Activate();
    else
        view->FocusView();
}

void CTabCtrlMain::KeepFocusUsable(HWND before)
{
    if (!before || before == m_hWnd)
        return;  // the tab strip keeps the focus
    const bool inView = before == m_treeCategory.GetSafeHwnd() || before == m_listAll.GetSafeHwnd() ||
                        before == m_listRecent.GetSafeHwnd();
    if (inView || !::IsWindowVisible(before) || !::IsWindowEnabled(before) || ::GetFocus() != before)
        SetFocusToCurrentView();
}

bool CTabCtrlMain::OnClose()
{
    return true;  // the page goes with its dialog, never on its own
}

bool CTabCtrlMain::OnCtlColor(HDC dc, HWND child, UINT ctlType, HBRUSH& brush)
{
    if (ctlType != CTLCOLOR_STATIC)
        return sable::SableTabCtrl::OnCtlColor(dc, child, ctlType, brush);
    // The read-only description pane.
    const sable::Palette palette = sable::CurrentPalette();
    ::SetBkColor(dc, palette.band);
    ::SetTextColor(dc, palette.bandText);
    brush = m_brushStatic.Get(palette.band);
    return brush != nullptr;
}
