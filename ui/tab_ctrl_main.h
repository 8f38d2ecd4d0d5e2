// The working area of the main dialog: a skinned tab control that holds the Open and Help
// buttons, the description pane and the three views, shows the view of the current tab and keeps
// the buttons and the pane in step with the entry selected in it. What to show and what Open and
// Help act on, the page model decides.
#pragma once
#include "sable/sable_button.h"
#include "sable/sable_colors.h"
#include "sable/sable_tab.h"
#include "ui/category_tree.h"
#include "ui/description_edit.h"
#include "ui/list_ctrl_all.h"
#include "ui/list_ctrl_recent.h"
#include "ui/page_ids.h"
#include "ui/page_model.h"
#include "ui/page_view.h"
#include "ui/start_request.h"
#include "ui/tab_ctrl_main_painter.h"
#include "ui/view_owner.h"
#include "win/dpi.h"
#include "win/handles.h"

#include <windows.h>

#include <array>

class CTabCtrlMain : public sable::SableTabCtrl, public IViewOwner {
public:
    CTabCtrlMain();
    ~CTabCtrlMain() override;

    // What the command line asked to show first; set before CreatePage.
    void SetStartRequest(const StartRequest& start) { m_model.SetStartRequest(start); }
    // The DPI the dialog is laid out at, and the one its font was made for (another when the
    // window reached a monitor of another DPI before the page was made); set before CreatePage.
    // Without them the page takes the system's DPI for the dialog for both.
    void SetDialogDpi(int dpi, int fontDpi)
    {
        m_nDialogDpi = dpi;
        m_nDialogFontDpi = fontDpi;
    }

    // Creates the control (id 10000) in `parent` at `rect` less a 15-pixel band on top, reads
    // the catalogue and the recent list, and creates the buttons, the pane and the views. Returns 1.
    int CreatePage(const RECT& rect, win::Window* parent);
    // Follows a new client rectangle of the dialog; nothing before CreatePage.
    void RecalcLayout(const RECT& rect);
    // Lays the whole page out again at `dpi` in the dialog's client rectangle `rect`: fonts,
    // tab items, buttons, pane, views with their images. Nothing before CreatePage.
    void ChangeDpi(int dpi, const RECT& rect);
    // Gives the keyboard focus to the view of the current tab.
    void SetFocusToCurrentView();
    // Makes tab 0, 1 or 2 current and shows its view (-1: the start-up choice). Not recorded.
    void SelectTab(int index);

    void OnSelectionChanged(CAppInfo* entry) override;
    // A view's request reaches the page as its button command, posted to the tab control.
    void OnEntryCommand(EntryCommand command, CAppInfo* entry) override;

    // Open and Help of the entry last reported by the visible view: the buttons' clicks, the
    // commands the views post and Enter on a focused button. Nothing without an entry. A start
    // is recorded in the recent list.
    void OnBnClickedOpen();
    void OnBnClickedHelp();

    // The page's keys: Tab and Shift+Tab bring the tab strip into the cycle, Ctrl+Tab and
    // Ctrl+Shift+Tab switch tabs (unrecorded) and keep the focus on a window that still takes
    // keys, Enter on a focused button acts as its click.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    bool OnCommand(UINT id, UINT code, HWND source) override;
    bool OnCtlColor(HDC dc, HWND child, UINT ctlType, HBRUSH& brush) override;
    // A child window would be destroyed by WM_CLOSE (a multi-line edit sends it on Escape).
    bool OnClose() override;

private:
    bool OnSelChange(LRESULT& result) override;

    void ClearSelection();
    // After a keyboard tab switch: the focus, which was on `before`, goes to the new current view
    // when `before` was a view or is now hidden or disabled; the tab strip keeps it.
    void KeepFocusUsable(HWND before);
    // Shows the view of `tab` and hides the others; the shown one reports its selection.
    void ShowViewOf(int tab);
    IPageView* CurrentView() const;
    // The fonts of the page and of the views at the current scale: the dialog's and the views'
    // own at the DPIs they were made for, copies made for any other.
    void MakeFonts();
    HFONT PageFont() const { return m_pageFont ? m_pageFont.get() : m_hDialogFont; }
    HFONT ViewFont() const { return m_viewFont ? m_viewFont.get() : m_hViewFont; }

    // Fonts made for a DPI other than the page's first; first, so that they outlive the controls.
    win::UniqueFont m_pageFont;
    win::UniqueFont m_viewFont;
    CDescriptionEdit m_editDescription;
    sable::SableButton m_btnOpen;
    sable::SableButton m_btnHelp;
    CTreeCtrlCategory m_treeCategory;
    CListCtrlAll m_listAll;
    CListCtrlRecent m_listRecent;
    // The views by page::View.
    const std::array<IPageView*, page::kViewCount> m_views{{&m_treeCategory, &m_listAll, &m_listRecent}};
    CTabCtrlMainPainter m_tabPainter;
    sable::SolidBrush m_brushStatic;
    win::DpiScale m_scale;           // the DPI the page is laid out at
    int m_nDialogDpi = 0;            // as the dialog gave it before CreatePage
    HFONT m_hDialogFont = nullptr;   // the dialog's (not owned) ...
    int m_nDialogFontDpi = 0;        // ... made for this DPI
    HFONT m_hViewFont = nullptr;     // the views' own (not owned) ...
    int m_nViewFontDpi = 0;          // ... made for the DPI the page was created at
    // Last, so that the catalogue the views and the pane point into goes first.
    CPageModel m_model;
};
