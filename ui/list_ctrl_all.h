// The "List" view: every catalogue entry once, as its 32-pixel icon with its name, in label order.
#pragma once
#include "sable/sable_scrollbar.h"
#include "ui/app_list.h"
#include "win/controls.h"

class IViewOwner;
struct StartRequest;

class CListCtrlAll : public win::ListCtrl {
public:
    CListCtrlAll();
    // Destroys the control while this object can still take its image list back.
    ~CListCtrlAll() override;

    const CAppList* m_pAppList = nullptr;  // the owner's catalogue; set before InitView

    // Creates the hidden control in `owner` (the tab control) and fills it; the selection goes to
    // the requested entry when the request names no tab or this one, else to the stored one.
    // Takes the keyboard focus. `sink` hears of selection changes from then on.
    bool InitView(const RECT& ownerClient, win::Window& owner, IViewOwner& sink, const StartRequest& start);
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

    win::ImageList m_imageList;
    bool m_bFilled = false;
    sable::SableScrollBarPaintHook m_scrollHook;
    IViewOwner* m_pOwner = nullptr;
};
