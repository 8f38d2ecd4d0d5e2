// The working area of the main dialog: a skinned tab control that builds the catalogue, holds
// the Open and Help buttons, the description pane and the three views, shows the view of the
// current tab and keeps the buttons and the pane in step with the entry selected in it.
#pragma once
#include "recent/recent_app_list.h"
#include "sable/sable_button.h"
#include "sable/sable_tab.h"
#include "ui/app_list.h"
#include "ui/category_tree.h"
#include "ui/description_edit.h"
#include "ui/list_ctrl_all.h"
#include "ui/list_ctrl_recent.h"
#include "ui/start_request.h"
#include "ui/view_owner.h"
#include "win/handles.h"

#include <windows.h>

// Fills the tab control's background black; the rest of the strip is the skin's.
class CTabCtrlMainPainter : public sable::SableTabPainter {
public:
    void DrawBackdrop(HDC dc, const RECT& rc) override;
};

class CTabCtrlMain : public sable::SableTabCtrl, public IViewOwner {
public:
    CTabCtrlMain();
    ~CTabCtrlMain() override;

    // What the command line asked to show first; set before CreatePage.
    void SetStartRequest(const StartRequest& start) { m_start = start; }

    // Creates the control (id 10000) in `parent` at `rect` less a 15-pixel band on top, reads
    // the catalogue and the recent list, and creates the buttons, the pane and the views. Returns 1.
    int CreatePage(const RECT& rect, win::Window* parent);
    // Follows a new client rectangle of the dialog; nothing before CreatePage.
    void RecalcLayout(const RECT& rect);
    // Gives the keyboard focus to the view of the current tab.
    void SetFocusToCurrentView();
    // Makes tab 0, 1 or 2 current and shows its view (-1: the start-up choice). Not recorded.
    void SelectTab(int index);

    void OnSelectionChanged(CAppInfo* entry) override;

    // Open and Help of the entry last reported by the visible view: the buttons' clicks and
    // the commands the views post. Launching is not built yet; both do nothing for now.
    void OnBnClickedOpen();
    void OnBnClickedHelp();

protected:
    bool OnCommand(UINT id, UINT code, HWND source) override;
    bool OnCtlColor(HDC dc, HWND child, UINT ctlType, HBRUSH& brush) override;

private:
    bool OnSelChange(LRESULT& result) override;

    void ClearSelection();
    void ShowViewOf(int tab);

    CDescriptionEdit m_editDescription;
    sable::SableButton m_btnOpen;
    sable::SableButton m_btnHelp;
    CTreeCtrlCategory m_treeCategory;
    CListCtrlAll m_listAll;
    CListCtrlRecent m_listRecent;
    CAppList m_appList;
    CAppInfo* m_pSelectedApp = nullptr;
    CRecentAppList m_recentApps;
    CTabCtrlMainPainter m_tabPainter;
    win::UniqueBrush m_brushStatic;
    StartRequest m_start;
};
