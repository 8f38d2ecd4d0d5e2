// The list control both entry lists are: the all-applications list and the recent list differ
// only in what they fill themselves with and which selection they restore.
#pragma once
#include "sable/sable_scrollbar.h"
#include "ui/app_list.h"
#include "win/controls.h"

class IViewOwner;

class CEntryListView : public win::ListCtrl {
public:
    // Destroys the control while this object can still take its image list back.
    ~CEntryListView() override;

    const CAppList* m_pAppList = nullptr;  // the owner's catalogue; set before InitView

    // Hides, or shows and restores the selection from the control's anchor.
    bool ShowView(bool show);
    void MoveView(const RECT& ownerClient, int grow);

    // Enter with at least one item selected opens and is consumed.
    bool PreTranslateMessage(MSG* msg) override;

protected:
    CEntryListView() = default;

    // Creates the hidden control `id` in `owner` with its image list; false when it could not.
    bool CreateView(UINT id, const RECT& ownerClient, win::Window& owner, IViewOwner& sink);
    // Selects the last item of `match` (the first item without one); item changes reach the owner from now on.
    void FinishFill(const CAppInfo* match);

    // Open and Help of the context menu go to the tab control as its button commands.
    bool OnCommand(UINT id, UINT code, HWND source) override;
    void OnDestroy() override;

    win::ImageList m_imageList;

private:
    bool OnItemChanged(int item, UINT oldState, UINT newState, LPARAM data, LRESULT& result) override;
    bool OnDblClk(int item, LRESULT& result) override;
    bool OnRClick(int item, LRESULT& result) override;
    bool OnCustomDraw(NMLVCUSTOMDRAW* draw, LRESULT& result) override;

    bool m_bFilled = false;
    sable::SableScrollBarPaintHook m_scrollHook;
    IViewOwner* m_pOwner = nullptr;
};
