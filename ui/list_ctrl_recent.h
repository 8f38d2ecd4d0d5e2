// The "Recent Settings" view: the recently started entries still in the catalogue, as 32-pixel
// icons with their names, in label order.
#pragma once
#include "sable/sable_scrollbar.h"
#include "ui/app_list.h"
#include "win/controls.h"

class CRecentAppList;
class IViewOwner;
struct StartRequest;

class CListCtrlRecent : public win::ListCtrl {
public:
    CListCtrlRecent();
    // Destroys the control while this object can still take its image list back.
    ~CListCtrlRecent() override;

    const CAppList* m_pAppList = nullptr;         // the owner's catalogue; set before InitView
    CRecentAppList* m_pRecentList = nullptr;      // the owner's recent list; set before InitView

    // Creates the hidden control in `owner` (the tab control) and fills it from the recent list;
    // the selection goes to the requested entry when the request names this view, else to the
    // stored one. Leaves the keyboard focus where it is.
    bool InitView(const RECT& ownerClient, win::Window& owner, IViewOwner& sink, const StartRequest& start);
    // Lists the recent list's entries afresh, nothing selected; showing the view selects the first.
    bool RefreshView();
    // Hides, or shows and restores the selection from the control's anchor.
    bool ShowView(bool show);
    void MoveView(const RECT& ownerClient, int grow);

    // Enter with at least one item selected opens and is consumed.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    // Open and Help of the context menu go to the tab control as its button commands.
    bool OnCommand(UINT id, UINT code, HWND source) override;
    void OnDestroy() override;

private:
    bool OnItemChanged(int item, UINT oldState, UINT newState, LPARAM data, LRESULT& result) override;
    bool OnDblClk(int item, LRESULT& result) override;
    bool OnRClick(int item, LRESULT& result) override;
    bool OnCustomDraw(NMLVCUSTOMDRAW* draw, LRESULT& result) override;

    // The first catalogue entry whose id is `name` ignoring case, or null.
    CAppInfo* FindEntry(const std::wstring& name) const;

    win::ImageList m_imageList;
    bool m_bFilled = false;
    sable::SableScrollBarPaintHook m_scrollHook;
    IViewOwner* m_pOwner = nullptr;
};
